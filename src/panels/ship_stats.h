#pragma once
// The spaceship's figures on the "Spaceship" page: its class and six
// systems, one s-ship-stats element at a time.

#include <string>

#include "panels/panel_pictures.h"
#include "panels/stat_page.h"

class MainView;

class ShipStats {
public:
    // The first s-ship-stats: takes only its class.
    ShipStats(MainView& view, StatsPageView& page, const AttribList& first);

    void Update(const AttribList& attributes);
    void ResetShipStats();
    void SelectShipStat(const std::string& label) { figures.Select(label); }

    const std::string& ShipClass() const { return shipClass; }
    Gauge Value(std::string_view stat) const { return figures.Value(stat); }

private:
    void ShowClass();

    MainView& view;
    StatsPageView& page;
    StatPage figures;
    std::string shipClass;
    PictureFinder pictures;
};
