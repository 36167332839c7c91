#include "map/map_display.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>

#include "map/map_grid.h"
#include "map/world_map.h"
#include "base/ansi.h"
#include "widgets/textpane.h"

namespace {

constexpr int kBoardCode = 107;
constexpr int kUpCode = 46;
constexpr int kDownCode = 45;

} // namespace

MapDisplay::MapDisplay(const Widgets& widgets, std::function<void()> command, std::function<void()> after)
    : w(widgets)
    , commandWindow(std::move(command))
    , afterUpDown(std::move(after))
{
}

void MapDisplay::Attach(WorldMap& map, const QString& picturePath)
{
    world = &map;
    w.mapImage->setAccessibleName("No map");
    const QPixmap picture(picturePath);
    if (picture.isNull())
        w.mapImage->setText("No map");
    else
        w.mapImage->setPixmap(picture);
    for (TileGrid* grid : {w.detailGrid, w.mapGrid}) {
        grid->SetSource(&map);
        connect(grid, &TileGrid::keyReleased, this, [&map](int code) { map.MoveByKey(code); });
        connect(grid, &TileGrid::cellHovered, this, [&map](int column, int row) { map.ShowLocationName(column, row); });
        connect(grid, &TileGrid::cellActivated, this, [&map](int column, int row) { map.TravelTo(column, row); });
    }
    // A direction button's tag plus 33 is the key it stands for.
    for (QToolButton* button : w.buttons->findChildren<QToolButton*>()) {
        const QVariant tag = button->property("tag");
        if (tag.isValid())
            connect(button, &QToolButton::clicked, this, [&map, code = tag.toInt() + 33] { map.MoveByKey(code); });
    }
    connect(w.buttons->findChild<QToolButton*>("BoardBtn"), &QToolButton::clicked, this,
        [&map] { map.MoveByKey(kBoardCode); });
    // Up and down move on the release of any mouse button.
    w.buttons->findChild<QToolButton*>("UpBtn")->installEventFilter(this);
    w.buttons->findChild<QToolButton*>("DownBtn")->installEventFilter(this);
}

bool MapDisplay::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && world) {
        world->MoveByKey(watched->objectName() == "UpBtn" ? kUpCode : kDownCode);
        afterUpDown();
    }
    return QObject::eventFilter(watched, event);
}

void MapDisplay::ShowMapGrids()
{
    w.mapImage->hide();
    w.detailGrid->show();
}

void MapDisplay::RepaintGrids()
{
    w.detailGrid->Refresh();
    w.mapGrid->Refresh();
}

void MapDisplay::CentreGrids(int32_t key)
{
    w.detailGrid->CentreOn(key);
    w.detailGrid->Refresh();
    w.mapGrid->CentreOn(key);
    w.mapGrid->Refresh();
}

void MapDisplay::SetMapMemo(const std::vector<std::string>& lines)
{
    w.mapMemo->ClearLines();
    for (const std::string& line : lines)
        w.mapMemo->AppendLine(FromAnsi(line));
}

void MapDisplay::ShowCommandWindow()
{
    commandWindow();
}

void MapDisplay::RunSoon(std::function<void()> task)
{
    QTimer::singleShot(0, this, std::move(task));
}
