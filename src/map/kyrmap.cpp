#include "map/kyrmap.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "map/map_parser.h"
#include "map/mapview.h"
#include "base/ansi.h"
#include "views/mainview.h"

namespace {

enum Exit { kN, kNe, kE, kSe, kS, kSw, kW, kNw };

// Longest name a file system takes, less ".xml".
constexpr qsizetype kMaxStem = 255 - 4;

bool IsOnGrid(int column, int row)
{
    return column >= 0 && row >= 0 && column < kGridCells && row < kGridCells;
}

bool IsDrawable(int32_t key)
{
    return key >= 0 && key < kMapWidth * kMapWidth;
}

} // namespace

std::string MapFileStem(const std::string& mapName)
{
    QString stem = FromAnsi(mapName).replace(QLatin1Char(' '), QLatin1Char('_')).toLower();
    // One name, one file inside maps/: no separators, no characters that
    // some file system cannot hold, so no step out of the folder either.
    for (QChar& c : stem)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || QStringView(u"/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    const QByteArray bytes = stem.toUtf8();
    if (bytes.isEmpty() || bytes.size() > kMaxStem)
        return {};
    return bytes.toStdString();
}

KyrMap::KyrMap(MainView& m, MapView& v, QImage tiles)
    : main(m)
    , view(v)
    , links(std::move(tiles))
{
    drawable.fill(nullptr);
}

KyrMap::~KyrMap()
{
    SaveMap();
}

void KyrMap::NewMap(const AttribList& attributes)
{
    view.ShowMapGrids();
    ClearMap();
    info.ResetInfo(attributes);
    main.ClearLocationList();
    LoadMap();
    view.RepaintGrids();
    current = -1;
}

void KyrMap::AddLocation(std::unique_ptr<Location> location, bool redraw)
{
    current = LocationKey(*location);
    if (IsDrawable(current))
        drawable[static_cast<std::size_t>(current)] = location.get();
    locations[current] = std::move(location);
    if (redraw)
        view.CentreGrids(current);
}

void KyrMap::ClearMap()
{
    if (!locations.empty() && !info.name.empty())
        SaveMap();
    locations.clear();
    drawable.fill(nullptr);
    view.RepaintGrids();
    view.SetMapMemo({});
}

std::string KyrMap::MapFileName() const
{
    const std::string stem = MapFileStem(info.name);
    if (stem.empty())
        return {};
    return main.WorkDir() + "/maps/" + stem + ".xml";
}

void KyrMap::SaveMap()
{
    if (info.name.empty() || locations.size() < 2)
        return;
    const std::string path = MapFileName();
    if (path.empty())
        return;

    std::string out = "<?xml version=\"1.0\"?>\n\n";
    info.WriteHeader(out);
    for (const auto& [key, location] : locations)
        WriteLocation(*location, out);
    out += "\n</map>\n";

    const QString file = QString::fromStdString(path);
    if (unreadableFile) {
        // What could not be read is kept beside the new file, not lost.
        QFile::remove(file + ".bad");
        QFile::rename(file, file + ".bad");
        unreadableFile = false;
    }
    // The old file is replaced only once the new one is complete.
    QSaveFile saved(file);
    if (!saved.open(QIODevice::WriteOnly)
        || saved.write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size())
        || !saved.commit()) {
        main.AddToScrollback("Can't open file for writing:");
        main.AddToScrollback(path);
    }
}

void KyrMap::LoadMap()
{
    unreadableFile = false;
    const std::string path = MapFileName();
    if (path.empty() || !QFileInfo::exists(QString::fromStdString(path)))
        return;
    MapParser parser(path, [this](std::unique_ptr<Location> location) { AddLocation(std::move(location), false); });
    if (!parser.ParseFile() || !parser.SawMap()) {
        unreadableFile = true;
        main.AddToScrollback("Can't read map file:");
        main.AddToScrollback(path);
    }
}

const Location* KyrMap::LocationAt(int column, int row) const
{
    // Locations stand on odd cells only; column or row 128 is the outer link row.
    if (!IsOnGrid(column, row) || column / 2 >= kMapWidth || row / 2 >= kMapWidth)
        return nullptr;
    return drawable[static_cast<std::size_t>((row / 2) * kMapWidth + column / 2)];
}

bool KyrMap::HasExit(int column, int row, int exit) const
{
    const Location* location = LocationAt(column, row);
    return location && location->exits[static_cast<std::size_t>(exit)];
}

int KyrMap::TileAt(int c, int r) const
{
    if (!IsOnGrid(c, r))
        return kTileEmpty;
    const bool oddColumn = c % 2 == 1, oddRow = r % 2 == 1;
    if (oddColumn && oddRow) {
        const Location* location = LocationAt(c, r);
        if (!location)
            return kTileEmpty;
        return LocationKey(*location) == current ? kTileCurrent : kTileLocation;
    }
    if (oddColumn)
        return HasExit(c, r - 1, kS) || HasExit(c, r + 1, kN) ? kTileVertical : kTileEmpty;
    if (oddRow)
        return HasExit(c - 1, r, kE) || HasExit(c + 1, r, kW) ? kTileHorizontal : kTileEmpty;
    // Links are drawn when either end declares them, so one-way exits show too.
    const bool rising = HasExit(c - 1, r + 1, kNe) || HasExit(c + 1, r - 1, kSw);
    const bool falling = HasExit(c - 1, r - 1, kSe) || HasExit(c + 1, r + 1, kNw);
    if (rising && falling)
        return kTileCrossing;
    if (rising)
        return kTileRising;
    return falling ? kTileFalling : kTileEmpty;
}

std::string KyrMap::LocationNameAt(int column, int row) const
{
    if (column % 2 != 1 || row % 2 != 1)
        return {};
    const Location* location = LocationAt(column, row);
    return location ? location->name : std::string();
}

std::string KyrMap::Summary() const
{
    std::string text = info.name + " map, " + std::to_string(locations.size())
        + (locations.size() == 1 ? " location known" : " locations known");
    const auto here = locations.find(current);
    if (here == locations.end())
        return text + ".";
    const Location& location = *here->second;
    text += ". Current location: " + location.name;
    if (IsDrawable(current))
        text += ", x " + std::to_string(location.x) + ", y " + std::to_string(location.y);
    return text + ".";
}

void KyrMap::ShowInfrastructure()
{
    view.SetMapMemo(info.InfrastructureLines());
}
