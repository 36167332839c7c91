#pragma once
// The map fed with server lines through the dispatcher, in a fresh working
// directory that holds the tile strip (one colour a tile) and a maps folder.

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include <QDir>

#include "dispatch/server_parser.h"
#include "map/mapview.h"
#include "map/world_map.h"
#include "support/fake_mainview.h"
#include "support/map_tiles.h"
#include "support/scoped_workdir.h"

struct FakeMapView : MapView {
    void ShowMapGrids() override { ++gridShowings; }
    void RepaintGrids() override { }
    void CentreGrids(int32_t key) override { centred.push_back(key); }
    void SetMapMemo(const std::vector<std::string>& lines) override { memo = lines; }
    void ShowCommandWindow() override { ++commandWindows; }
    int gridShowings = 0;
    int commandWindows = 0;
    std::vector<int32_t> centred;
    std::vector<std::string> memo;
};

struct MapRig {
    MapRig()
    {
        view.workDir = dir.Path();
        QDir().mkpath("maps");
        WriteMapTiles("links.bmp");
    }
    void Feed(std::initializer_list<std::string> lines)
    {
        std::ranges::for_each(lines, [this](const auto& l) { parser.ParseText(l); });
    }
    void Enter(const std::string& name, const std::string& extra = " system='Sol' owner='Landlord'")
    {
        Feed({"<s-new-map name='" + name + "'" + extra + "/>"});
    }
    // Arriving at a location: the map learns it and makes it the current one.
    void Visit(const std::string& name, int number, const std::string& exits = "")
    {
        Feed({"<s-new-loc name='" + name + "' loc-num='" + std::to_string(number) + "'" + exits + ">", "</s-new-loc>"});
    }
    KyrMap& Map() { return *world.Map(); }

    ScopedWorkDir dir;
    FakeMainView view;
    FakeMapView mapView;
    WorldMap world{view, mapView};
    DispatchTargets targets{nullptr, nullptr, nullptr, nullptr,
        [this](std::unique_ptr<Location> l) { world.LocationArrived(std::move(l)); }, &world};
    ServerParser parser{view, targets};
};
