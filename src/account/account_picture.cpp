#include "account/account_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

QPixmap AccountPicture(int width, int height)
{
    QPixmap picture(width, height);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(4, 6, 28));
    sky.setColorAt(1, QColor(20, 12, 48));
    painter.fillRect(picture.rect(), sky);

    // A few fixed stars, so the picture is the same on every run.
    painter.setPen(QColor(220, 220, 255));
    for (int i = 0; i < 40; ++i)
        painter.drawPoint((i * 37 + 11) % width, (i * 53 + 7) % height);

    const qreal radius = std::min(width, height) * 0.32;
    const QPointF centre(width * 0.55, height * 0.58);
    QRadialGradient planet(centre - QPointF(radius / 3, radius / 3), radius * 1.4);
    planet.setColorAt(0, QColor(120, 190, 255));
    planet.setColorAt(0.6, QColor(30, 90, 170));
    planet.setColorAt(1, QColor(5, 20, 50));
    painter.setPen(Qt::NoPen);
    painter.setBrush(planet);
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(230, 200, 120, 200), 2));
    painter.drawEllipse(centre, radius * 1.6, radius * 0.35);
    return picture;
}
