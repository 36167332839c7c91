#include "map/world_map.h"

#include <QImage>
#include <QString>

#include "map/mapview.h"
#include "views/mainview.h"

namespace {

constexpr int kCommandWindow = 106; // keypad multiply
// The key codes of the compass exits, in exit table order: n, ne, e, se, s, sw, w, nw.
constexpr int kExitKeyCodes[8] = {38, 33, 39, 34, 40, 35, 37, 36};

const char* MoveCommand(int code)
{
    switch (code) {
    case 33:
    case 105: return "ne";
    case 34:
    case 99: return "se";
    case 35:
    case 97: return "sw";
    case 36:
    case 103: return "nw";
    case 37:
    case 100: return "w";
    case 38:
    case 104: return "n";
    case 39:
    case 102: return "e";
    case 40:
    case 98: return "s";
    case 45:
    case 96: return "d";
    case 46:
    case 110: return "u";
    case 101:
    case 107: return "board";
    default: return nullptr;
    }
}

} // namespace

int MapKeyCode(int qtKey, Qt::KeyboardModifiers modifiers)
{
    if (modifiers.testFlag(Qt::KeypadModifier)) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return 96 + (qtKey - Qt::Key_0);
        switch (qtKey) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        default: break; // keypad keys without Num Lock are the keys below
        }
    }
    switch (qtKey) {
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

WorldMap::WorldMap(MainView& m, MapView& v)
    : main(m)
    , view(v)
    , travel(
          m, [this](int exit) { MoveByKey(kExitKeyCodes[exit]); },
          [this](Travel::Task task) { view.RunSoon(std::move(task)); })
{
}

WorldMap::~WorldMap() = default;

void WorldMap::NewMap(const AttribList& attributes)
{
    if (!map) {
        const std::string path = main.WorkDir() + "/links.bmp";
        QImage links(QString::fromStdString(path));
        if (links.isNull()) {
            // The next s-new-map tries again.
            main.ShowMessage(MessageKind::Error, "Cannot load the map tiles from " + path);
            return;
        }
        map = std::make_unique<KyrMap>(main, view, std::move(links));
    }
    travel.Stop(Travel::StopReason::MapChanged);
    map->NewMap(attributes);
}

void WorldMap::LocationArrived(std::unique_ptr<Location> location)
{
    if (!map)
        return;
    map->AddLocation(std::move(location), true);
    travel.Arrived(*map);
}

void WorldMap::MapInfo(const AttribList& attributes)
{
    if (map)
        map->Info().MapInfo(attributes);
}

void WorldMap::AddFactory(const AttribList& attributes)
{
    if (map)
        map->Info().AddFactory(attributes);
}

void WorldMap::RemoveFactory(const AttribList& attributes)
{
    if (map)
        map->Info().RemoveFactory(attributes);
}

void WorldMap::UpdateWorkers(const AttribList& attributes)
{
    if (map)
        map->Info().UpdateWorkers(attributes);
}

void WorldMap::ShowInfrastructure()
{
    if (map)
        map->ShowInfrastructure();
}

void WorldMap::ClearMap()
{
    travel.Stop(Travel::StopReason::MapChanged);
    if (map)
        map->ClearMap();
}

void WorldMap::ShowLocationName(int column, int row)
{
    if (map)
        main.SetStatusText(3, map->LocationNameAt(column, row));
}

void WorldMap::MoveByKey(int code)
{
    if (!map)
        return;
    if (code == kCommandWindow) {
        view.ShowCommandWindow();
        return;
    }
    if (const char* command = MoveCommand(code)) {
        main.DisplayText(command);
        main.SendText(std::string(command) + "\n");
    }
}

void WorldMap::TravelTo(int column, int row)
{
    if (!map || column % 2 != 1 || row % 2 != 1)
        return;
    if (const Location* location = map->LocationAt(column, row))
        travel.Start(*map, LocationKey(*location));
}
