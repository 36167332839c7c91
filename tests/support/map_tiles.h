#pragma once
// The map's tile strip as the run directory holds it: eight 16 x 16 tiles,
// one colour each, so a drawn grid shows which tile went where.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

inline QColor TileColour(int tile)
{
    return QColor(30 * tile, 255 - 30 * tile, 0);
}

inline bool WriteMapTiles(const QString& path)
{
    QImage links(128, 16, QImage::Format_RGB32);
    QPainter painter(&links);
    for (int tile = 0; tile < 8; ++tile)
        painter.fillRect(16 * tile, 0, 16, 16, TileColour(tile));
    painter.end();
    return links.save(path, "BMP");
}
