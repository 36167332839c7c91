#include "panels/panels.h"

Panels::Panels(MainView& v, StatsPageView& score, StatsPageView& ship, ExchangeView& exch, LightsView& lights)
    : view(v)
    , scorePage(score)
    , shipPage(ship)
    , exchange(v, exch)
    , twinkles(v, lights)
{
}

Panels::~Panels() = default;

void Panels::PlayerStatsElement(const AttribList& attributes)
{
    if (avatarStats)
        avatarStats->Update(attributes);
    else
        avatarStats = std::make_unique<AvatarStats>(view, scorePage, attributes);
}

void Panels::ShipStatsElement(const AttribList& attributes)
{
    if (shipStats)
        shipStats->Update(attributes);
    else
        shipStats = std::make_unique<ShipStats>(view, shipPage, attributes);
}

void Panels::Connected()
{
    if (avatarStats)
        avatarStats->ResetAvatarStats();
    if (shipStats)
        shipStats->ResetShipStats();
    twinkles.Connected();
}

void Panels::Disconnected()
{
    twinkles.Disconnected();
}

void Panels::SelectStat(const std::string& label)
{
    if (avatarStats)
        avatarStats->SelectStat(label);
    else
        StatPage(scorePage, {}).Select(label);
}

void Panels::SelectShipStat(const std::string& label)
{
    if (shipStats)
        shipStats->SelectShipStat(label);
    else
        StatPage(shipPage, {}).Select(label);
}
