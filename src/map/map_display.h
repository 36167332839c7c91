#pragma once
// The map's widgets as the map model sees them: the two grids, the picture
// shown while there is no map, MapMemo, and the movement buttons, which it
// connects to the map's handlers.

#include <functional>

#include <QObject>

#include "map/mapview.h"

class QLabel;
class QWidget;
class TextPane;
class TileGrid;
class WorldMap;

class MapDisplay : public QObject, public MapView {
    Q_OBJECT
public:
    struct Widgets {
        TileGrid* detailGrid;
        TileGrid* mapGrid;
        QLabel* mapImage;
        TextPane* mapMemo;
        // Holds the direction buttons (with their tags), BoardBtn, UpBtn and DownBtn.
        QWidget* buttons;
    };

    // `commandWindow` shows the command window; `afterUpDown` runs after
    // the up and down buttons have sent their move.
    MapDisplay(const Widgets& widgets, std::function<void()> commandWindow, std::function<void()> afterUpDown);

    // Connects the grids and buttons to the map; `picturePath` is MapImage's picture.
    void Attach(WorldMap& world, const QString& picturePath);

    void ShowMapGrids() override;
    void RepaintGrids() override;
    void CentreGrids(int32_t key) override;
    void SetMapMemo(const std::vector<std::string>& lines) override;
    void ShowCommandWindow() override;
    void RunSoon(std::function<void()> task) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Widgets w;
    std::function<void()> commandWindow;
    std::function<void()> afterUpDown;
    WorldMap* world = nullptr;
};
