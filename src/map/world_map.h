#pragma once
// The map subsystem as the rest of the program sees it: the map model once
// the first s-new-map has created it, the map elements of the server, and
// the keys, buttons and mouse of the two grids. Every handler does nothing
// while there is no map.

#include <memory>
#include <string>

#include <Qt>

#include "map/kyrmap.h"
#include "map/travel.h"

class MainView;
class MapView;

// The key code a released key stands for (Page Up 33 ... keypad 9 105);
// 0 for keys the map does not know.
int MapKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

class WorldMap {
public:
    WorldMap(MainView& main, MapView& view);
    ~WorldMap();

    // s-new-map: creates the model (loading the tile strip) when there is none.
    void NewMap(const AttribList& attributes);
    // The end of s-new-loc.
    void LocationArrived(std::unique_ptr<Location> location);
    void MapInfo(const AttribList& attributes);
    void AddFactory(const AttribList& attributes);
    void RemoveFactory(const AttribList& attributes);
    void UpdateWorkers(const AttribList& attributes);
    void ShowInfrastructure();
    // Before a new connection: the map is stored and emptied.
    void ClearMap();
    // At shut-down: the map is stored and the model goes.
    void DestroyMap() { map.reset(); }

    // The name of the location under the mouse on the fourth status panel.
    void ShowLocationName(int column, int row);
    // Shows and sends the movement a key code or button stands for.
    void MoveByKey(int code);

    // A double-click or Enter on grid cell (column, row): travel there when
    // a known location is drawn in it.
    void TravelTo(int column, int row);
    // Any text the client sends, for travel to tell the player's commands.
    void TextSent(const std::string& text) { travel.TextSent(text); }
    void StopTravel(Travel::StopReason reason) { travel.Stop(reason); }

    const KyrMap* Map() const { return map.get(); }
    KyrMap* Map() { return map.get(); }

private:
    MainView& main;
    MapView& view;
    std::unique_ptr<KyrMap> map;
    Travel travel;
};
