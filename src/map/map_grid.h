#pragma once
// One of the two map grids (the Map tab's MapGrid and the small DetailGrid):
// 129 x 129 cells of 16 pixels painted from the map model's tile strip,
// only the cells on screen, with a selected cell the arrow keys move. For
// screen readers it is one element carrying a summary of the map.

#include <cstdint>
#include <optional>

#include <QAbstractScrollArea>
#include <QPixmap>

class WorldMap;

// Where centring on a location puts a grid: the selected cell and the
// clamped left column and top row. None for a key off the 64 x 64 square.
struct GridScroll {
    int column, row, left, top;
    bool operator==(const GridScroll&) const = default;
};
std::optional<GridScroll> CentreScroll(int32_t key, int visibleColumns, int visibleRows);

class TileGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    TileGrid(const QString& objectName, const QString& accessibleName, QWidget* parent = nullptr);

    // The map to paint; while it has no model the grid is blank.
    void SetSource(const WorldMap* world);
    // Selects the location's cell and scrolls so that it is centred. The
    // grid centres on the current location again whenever it is shown or resized.
    void CentreOn(int32_t key);
    void SelectCell(int column, int row);
    // Repaints and refreshes the summary.
    void Refresh();

    int SelectedColumn() const { return selColumn; }
    int SelectedRow() const { return selRow; }
    int LeftColumn() const;
    int TopRow() const;
    // Whole cells on screen.
    int VisibleColumns() const;
    int VisibleRows() const;
    // The grid cell under a point of the viewport.
    QPoint CellAt(const QPoint& point) const;

signals:
    // A released key the map knows, as its key code.
    void keyReleased(int code);
    void cellHovered(int column, int row);
    // A double-click on a cell, or Enter on the selected one.
    void cellActivated(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateScrollBars();
    void CentreOnCurrent();
    void ScrollTo(int left, int top);
    void EnsureVisible(int column, int row);

    const WorldMap* world = nullptr;
    QString baseName;
    QPixmap tiles;
    qint64 tilesKey = 0;
    int selColumn = 0;
    int selRow = 0;
    QPoint hovered{-1, -1};
};
