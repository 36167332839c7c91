#pragma once
// The static shape of the game world as read from the world file: maps of
// locations on a 64 x 64 grid, the commodities and exchanges, story lines
// and the simulated players. The state that changes while the server runs
// (prices, workforce, who stands where) lives elsewhere.

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>

constexpr int kMapWidth = 64;

// Directions in the order of the exit attributes of a location element.
enum class Dir { N, NE, E, SE, S, SW, W, NW, U, D };
constexpr int kDirCount = 10;

// "n", "ne", ... "d"
QString dirName(Dir d);
// Long form for prose: "north", "north-east", ... "down".
QString dirLongName(Dir d);
std::optional<Dir> dirFromName(const QString& name);
Dir opposite(Dir d);

// A place in the world: a map and a location number on it.
struct Place {
    QString map;
    int loc = -1;
    bool valid() const { return loc >= 0 && !map.isEmpty(); }
    // The number first: broadcasts compare every player's place, and most
    // differ there without a look at the map's name.
    bool operator==(const Place& o) const { return loc == o.loc && map == o.map; }
};

inline int locNum(int x, int y)
{
    return y * kMapWidth + x;
}

struct LocationDef {
    int num = -1;
    QString name;
    QStringList description;
    std::array<Place, kDirCount> exits; // invalid place = no exit
    QStringList items; // things lying about
    QString exchange; // id of the exchange here, if any
    bool customs = false; // customs certificates are issued here
    int hazard = 0; // damage a ship takes on arriving here
    Place board; // where "board" takes you, if anywhere
};

struct MapDef {
    QString id;
    QString name;
    QString system;
    QString owner;
    QString economy;
    int workers = 0;
    bool space = false; // moving here burns fuel
    QMap<QString, int> factories; // output -> count
    std::map<int, LocationDef> locations;
};

struct CommodityDef {
    QString name;
    int price = 0; // the exchange's base selling price per ton
    int stock = 0; // tons on offer at the start
    QString description;
};

struct ExchangeDef {
    QString id;
    QString name;
    QStringList commodities;
    QStringList produces; // sold cheaply here, bought dear elsewhere
};

struct BotDef {
    QString name;
    int rank = 0;
    QString species;
    QString gender;
    QString map; // where it wanders
    QStringList sayings;
};

struct World {
    QString system;
    Place start;
    std::map<QString, MapDef> maps;
    QList<CommodityDef> commodities;
    std::map<QString, ExchangeDef> exchanges;
    QStringList story; // "+++" news lines sent now and then
    QList<BotDef> bots;

    const MapDef* map(const QString& id) const;
    const LocationDef* location(const Place& p) const;
    const CommodityDef* commodity(const QString& name) const; // case-insensitive
};

// Rank names by rank number, as the client's friend alerts know them.
QString rankName(int rank);
constexpr int kRankCount = 16;
