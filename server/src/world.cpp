#include "world.h"

namespace {
const char* const kShort[kDirCount] = {"n", "ne", "e", "se", "s", "sw", "w", "nw", "u", "d"};
const char* const kLong[kDirCount]
    = {"north", "north-east", "east", "south-east", "south", "south-west", "west", "north-west", "up", "down"};
const char* const kRanks[kRankCount]
    = {"GroundHog", "Commander", "Captain", "Adventurer", "Merchant", "Trader", "Industrialist", "Manufacturer",
        "Financier", "Founder", "Engineer", "Mogul", "Technocrat", "Magnate", "Plutocrat", "Syndicrat"};
} // namespace

QString dirName(Dir d)
{
    return QString::fromLatin1(kShort[static_cast<int>(d)]);
}

QString dirLongName(Dir d)
{
    return QString::fromLatin1(kLong[static_cast<int>(d)]);
}

std::optional<Dir> dirFromName(const QString& name)
{
    const QString n = name.toLower();
    for (int i = 0; i < kDirCount; ++i) {
        if (n == QLatin1String(kShort[i]) || n == QLatin1String(kLong[i]))
            return static_cast<Dir>(i);
    }
    return std::nullopt;
}

Dir opposite(Dir d)
{
    switch (d) {
    case Dir::U: return Dir::D;
    case Dir::D: return Dir::U;
    default: return static_cast<Dir>((static_cast<int>(d) + 4) % 8);
    }
}

const MapDef* World::map(const QString& id) const
{
    auto it = maps.find(id);
    return it == maps.end() ? nullptr : &it->second;
}

const LocationDef* World::location(const Place& p) const
{
    const MapDef* m = map(p.map);
    if (!m)
        return nullptr;
    auto it = m->locations.find(p.loc);
    return it == m->locations.end() ? nullptr : &it->second;
}

const CommodityDef* World::commodity(const QString& name) const
{
    for (const CommodityDef& c : commodities) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QString rankName(int rank)
{
    if (rank < 0 || rank >= kRankCount)
        return QString::fromLatin1(kRanks[0]);
    return QString::fromLatin1(kRanks[rank]);
}
