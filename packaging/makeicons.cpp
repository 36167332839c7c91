// Draws the program's icon in the sizes desktops use, in the hicolor theme's
// layout:  orvix_icons DIR  writes DIR/NxN/apps/<id>.png.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

namespace {

// A ringed planet on a dark tile: the game is trading between worlds.
QImage Icon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 24, 52));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    QRadialGradient body(QPointF(26, 24), 26);
    body.setColorAt(0, QColor(250, 210, 120));
    body.setColorAt(1, QColor(170, 90, 40));
    p.setBrush(body);
    p.drawEllipse(QPointF(32, 32), 17, 17);

    // The ring passes in front of the planet below its equator.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(130, 200, 240), 3.5));
    p.save();
    p.translate(32, 32);
    p.rotate(-20);
    p.drawArc(QRectF(-28, -8, 56, 16), 180 * 16, 180 * 16);
    p.restore();
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: orvix_icons DIR ICON_ID\n";
        return 2;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString sub = QStringLiteral("%1x%1/apps").arg(size);
        QDir dir(args[1]);
        if (!dir.mkpath(sub) || !Icon(size).save(dir.filePath(sub + "/" + args[2] + ".png"), "PNG")) {
            QTextStream(stderr) << "cannot write the icon of size " << size << "\n";
            return 1;
        }
    }
    return 0;
}
