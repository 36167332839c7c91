#pragma once
// The client's picture of the current map: every location seen on it (or
// stored in its file), the current location, and the map's information
// record. It stores itself in maps/ and paints from the links tile strip.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include <QImage>

#include "map/location.h"
#include "panels/infra.h"

class MainView;
class MapView;

// Tiles of the links strip, in strip order.
enum Tile : int {
    kTileEmpty = 0,
    kTileCurrent = 1,
    kTileLocation = 2,
    kTileVertical = 3,
    kTileHorizontal = 4,
    kTileRising = 5,
    kTileFalling = 6,
    kTileCrossing = 7,
};

inline constexpr int kGridCells = 2 * kMapWidth + 1; // 129 columns and rows
inline constexpr int kTileSize = 16;

// The file name a map name is stored under ("Sol Belt" -> "sol_belt.xml"),
// with separators and characters no file name can hold made harmless;
// empty when the name cannot name a file.
std::string MapFileStem(const std::string& mapName);

class KyrMap {
public:
    KyrMap(MainView& main, MapView& view, QImage links);
    // Stores the map before it goes.
    ~KyrMap();

    KyrMap(const KyrMap&) = delete;
    KyrMap& operator=(const KyrMap&) = delete;

    void NewMap(const AttribList& attributes);
    void AddLocation(std::unique_ptr<Location> location, bool redraw);
    void ClearMap();

    void SaveMap();
    // The map's file; empty when the map name cannot name one.
    std::string MapFileName() const;
    void LoadMap();

    // The tile that grid cell (column, row) shows.
    int TileAt(int column, int row) const;
    // The location drawn at grid cell (column, row), if any.
    const Location* LocationAt(int column, int row) const;
    // The status bar text for the cell under the mouse.
    std::string LocationNameAt(int column, int row) const;
    // The map and the current location in words, for screen readers.
    std::string Summary() const;
    void ShowInfrastructure();

    const QImage& Links() const { return links; }
    Infra& Info() { return info; }
    const Infra& Info() const { return info; }
    int32_t Current() const { return current; }
    const std::map<int32_t, std::unique_ptr<Location>>& Locations() const { return locations; }

private:
    bool HasExit(int column, int row, int exit) const;

    MainView& main;
    MapView& view;
    QImage links;
    Infra info;
    std::map<int32_t, std::unique_ptr<Location>> locations;
    // The drawable locations by key, for painting without tree look-ups.
    std::array<const Location*, kMapWidth * kMapWidth> drawable;
    int32_t current = -1;
    // The stored file could not be read: it is kept aside before the next save.
    bool unreadableFile = false;
};
