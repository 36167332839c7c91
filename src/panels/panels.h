#pragma once
// The status panels as the rest of the program sees them: the dispatcher
// hands over the statistics and exchange elements, the connection reports
// its opening and closing. The statistics records come into being with the
// first element of their kind and live to the end of the run.

#include <cstdint>
#include <memory>
#include <string>

#include "panels/avatar_stats.h"
#include "panels/exchange.h"
#include "panels/ship_stats.h"
#include "panels/twinkles.h"

class MainView;

class Panels {
public:
    Panels(MainView& view, StatsPageView& score, StatsPageView& ship, ExchangeView& exchange, LightsView& lights);
    ~Panels();

    // s-player-stats, s-ship-stats.
    void PlayerStatsElement(const AttribList& attributes);
    void ShipStatsElement(const AttribList& attributes);
    Exchange& GetExchange() { return exchange; }
    Twinkles& GetTwinkles() { return twinkles; }

    // Resets the figures that exist and starts the lights when wanted.
    void Connected();
    void Disconnected();

    // Grid clicks; before any figure has arrived the rows are empty anyway.
    void SelectStat(const std::string& label);
    void SelectShipStat(const std::string& label);

    AvatarStats* GetAvatarStats() const { return avatarStats.get(); }
    ShipStats* GetShipStats() const { return shipStats.get(); }

private:
    MainView& view;
    StatsPageView& scorePage;
    StatsPageView& shipPage;
    std::unique_ptr<AvatarStats> avatarStats;
    std::unique_ptr<ShipStats> shipStats;
    Exchange exchange;
    Twinkles twinkles;
};
