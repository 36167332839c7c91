#include "panels/ship_stats.h"

#include <array>

#include "panels/panel_pictures.h"
#include "views/mainview.h"

namespace {

constexpr std::array<Figure, 9> kShipFigures{{
    {"hull", "Hull", Figure::Gauge, " Hull "},
    {"shields", "Shields", Figure::Gauge, " Shields "},
    {"engines", "Engines", Figure::Gauge, " Engines "},
    {"fuel", "Fuel", Figure::Gauge, " Fuel "},
    {"computer", "Computer", Figure::Gauge, " Computer "},
    {"cargo", "Cargo Space", Figure::Gauge, " Cargo Space Left "},
    {"navcomp", "Nav Comp", Figure::Fixed, "Installed"},
    {"customs-cert", "Customs", Figure::Fixed, "Yes"},
    {"ship", {}, Figure::FrontPage},
}};

} // namespace

ShipStats::ShipStats(MainView& v, StatsPageView& p, const AttribList& first)
    : view(v)
    , page(p)
    , figures(p, kShipFigures)
    , shipClass(GetAttribute(first, "class"))
{
    ShowClass();
}

void ShipStats::Update(const AttribList& attributes)
{
    if (std::string c = GetAttribute(attributes, "class"); !c.empty()) {
        shipClass = std::move(c);
        ShowClass();
        return;
    }
    const Figure* figure = figures.Apply(attributes);
    if (figure && figure->kind == Figure::FrontPage)
        view.ShowShipPage();
}

void ShipStats::ResetShipStats()
{
    shipClass.clear();
    page.SetHeading({});
    if (const std::string path = pictures.Find("space", "space"); !path.empty())
        page.LoadPicture(path);
    figures.Reset();
}

void ShipStats::ShowClass()
{
    page.SetHeading("-" + shipClass + " Class-");
    if (const std::string path = pictures.Find(LowerFirst(shipClass), "space"); !path.empty())
        page.LoadPicture(path);
}
