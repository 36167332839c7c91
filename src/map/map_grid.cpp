#include "map/map_grid.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "map/world_map.h"
#include "base/ansi.h"

std::optional<GridScroll> CentreScroll(int32_t key, int visibleColumns, int visibleRows)
{
    // A location without coordinates, or beyond the square, has no cell.
    if (key < 0 || key >= kMapWidth * kMapWidth)
        return std::nullopt;
    const int column = 2 * (key % kMapWidth) + 1;
    const int row = 2 * (key / kMapWidth) + 1;
    const auto clamp = [](int first, int visible) { return std::max(0, std::min(first, kGridCells - visible)); };
    return GridScroll{
        column, row, clamp(column - visibleColumns / 2, visibleColumns), clamp(row - visibleRows / 2, visibleRows)};
}

TileGrid::TileGrid(const QString& objectName, const QString& accessibleName, QWidget* parent)
    : QAbstractScrollArea(parent)
    , baseName(accessibleName)
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::CrossCursor);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        bar->setSingleStep(1);
    UpdateScrollBars();
    Refresh();
}

void TileGrid::SetSource(const WorldMap* source)
{
    world = source;
    Refresh();
}

int TileGrid::LeftColumn() const
{
    return horizontalScrollBar()->value();
}

int TileGrid::TopRow() const
{
    return verticalScrollBar()->value();
}

int TileGrid::VisibleColumns() const
{
    return std::max(1, viewport()->width() / kTileSize);
}

int TileGrid::VisibleRows() const
{
    return std::max(1, viewport()->height() / kTileSize);
}

QPoint TileGrid::CellAt(const QPoint& point) const
{
    if (point.x() < 0 || point.y() < 0)
        return {-1, -1};
    return {LeftColumn() + point.x() / kTileSize, TopRow() + point.y() / kTileSize};
}

void TileGrid::CentreOn(int32_t key)
{
    const auto scroll = CentreScroll(key, VisibleColumns(), VisibleRows());
    if (!scroll)
        return;
    selColumn = scroll->column;
    selRow = scroll->row;
    ScrollTo(scroll->left, scroll->top);
}

void TileGrid::SelectCell(int column, int row)
{
    if (column < 0 || row < 0 || column >= kGridCells || row >= kGridCells)
        return;
    selColumn = column;
    selRow = row;
    EnsureVisible(column, row);
    viewport()->update();
}

void TileGrid::Refresh()
{
    const KyrMap* map = world ? world->Map() : nullptr;
    // A screen reader hears the map in words, not 16,641 cells.
    setAccessibleName(baseName + ": " + (map ? FromAnsi(map->Summary()) : QStringLiteral("no map")));
    viewport()->update();
}

void TileGrid::UpdateScrollBars()
{
    horizontalScrollBar()->setRange(0, std::max(0, kGridCells - VisibleColumns()));
    horizontalScrollBar()->setPageStep(VisibleColumns());
    verticalScrollBar()->setRange(0, std::max(0, kGridCells - VisibleRows()));
    verticalScrollBar()->setPageStep(VisibleRows());
}

void TileGrid::ScrollTo(int left, int top)
{
    horizontalScrollBar()->setValue(left);
    verticalScrollBar()->setValue(top);
}

void TileGrid::EnsureVisible(int column, int row)
{
    int left = LeftColumn(), top = TopRow();
    if (column < left)
        left = column;
    else if (column >= left + VisibleColumns())
        left = column - VisibleColumns() + 1;
    if (row < top)
        top = row;
    else if (row >= top + VisibleRows())
        top = row - VisibleRows() + 1;
    ScrollTo(left, top);
}

void TileGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect area = event->rect();
    const KyrMap* map = world ? world->Map() : nullptr;
    if (!map) {
        painter.fillRect(area, palette().base());
        return;
    }
    if (tilesKey != map->Links().cacheKey()) {
        tiles = QPixmap::fromImage(map->Links());
        tilesKey = map->Links().cacheKey();
    }
    const int left = LeftColumn(), top = TopRow();
    const int firstColumn = left + area.left() / kTileSize;
    const int lastColumn = std::min(kGridCells - 1, left + area.right() / kTileSize);
    const int firstRow = top + area.top() / kTileSize;
    const int lastRow = std::min(kGridCells - 1, top + area.bottom() / kTileSize);
    // Past the last cell the grid shows its background.
    painter.fillRect(area, palette().window());
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            painter.drawPixmap((column - left) * kTileSize, (row - top) * kTileSize, tiles,
                kTileSize * map->TileAt(column, row), 0, kTileSize, kTileSize);
    if (hasFocus()) {
        const QRect cell((selColumn - left) * kTileSize, (selRow - top) * kTileSize, kTileSize, kTileSize);
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
    }
}

void TileGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    CentreOnCurrent();
}

// A grid centred while hidden was centred for a size it no longer has.
void TileGrid::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    CentreOnCurrent();
}

void TileGrid::CentreOnCurrent()
{
    if (const KyrMap* map = world ? world->Map() : nullptr) {
        CentreOn(map->Current());
        viewport()->update();
    }
}

void TileGrid::keyPressEvent(QKeyEvent* event)
{
    // The grid's own handling moves its selected cell; the move itself
    // is sent when the key is released.
    switch (event->key()) {
    case Qt::Key_Left: SelectCell(selColumn - 1, selRow); break;
    case Qt::Key_Right: SelectCell(selColumn + 1, selRow); break;
    case Qt::Key_Up: SelectCell(selColumn, selRow - 1); break;
    case Qt::Key_Down: SelectCell(selColumn, selRow + 1); break;
    case Qt::Key_Home: SelectCell(0, selRow); break;
    case Qt::Key_End: SelectCell(kGridCells - 1, selRow); break;
    case Qt::Key_PageUp: SelectCell(selColumn, std::max(0, selRow - VisibleRows())); break;
    case Qt::Key_PageDown: SelectCell(selColumn, std::min(kGridCells - 1, selRow + VisibleRows())); break;
    // On the press: the release of an Enter that closed a dialog lands here too.
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat())
            emit cellActivated(selColumn, selRow);
        break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void TileGrid::keyReleaseEvent(QKeyEvent* event)
{
    // One key-up per press, as with any key: held keys repeat presses only.
    if (event->isAutoRepeat())
        return;
    if (const int code = MapKeyCode(event->key(), event->modifiers())) {
        event->accept();
        emit keyReleased(code);
        return;
    }
    QAbstractScrollArea::keyReleaseEvent(event);
}

void TileGrid::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = CellAt(event->position().toPoint());
    SelectCell(cell.x(), cell.y());
}

void TileGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint cell = CellAt(event->position().toPoint());
    SelectCell(cell.x(), cell.y());
    emit cellActivated(cell.x(), cell.y());
}

void TileGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint cell = CellAt(event->position().toPoint());
    if (cell == hovered)
        return;
    hovered = cell;
    emit cellHovered(cell.x(), cell.y());
}

void TileGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

// The selected cell is marked only while the grid has the focus.
void TileGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TileGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}
