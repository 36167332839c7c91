// Writes the data files Orvix reads into a working directory:
//   orvix_assets DIR
// Everything is synthesised here, so the program works out of the box.
#include <cmath>
#include <cstdint>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTextStream>

namespace {

struct Tone {
    double hz;
    double seconds;
};

// 16-bit mono PCM at 22050 Hz, with a short fade so it does not click.
bool WriteWave(const QString& path, const QList<Tone>& tones, double volume = 0.4)
{
    constexpr int rate = 22050;
    QByteArray pcm;
    QDataStream samples(&pcm, QIODevice::WriteOnly);
    samples.setByteOrder(QDataStream::LittleEndian);
    for (const Tone& t : tones) {
        const int count = static_cast<int>(t.seconds * rate);
        const int fade = std::min(count / 4, rate / 100);
        for (int i = 0; i < count; ++i) {
            double env = 1.0;
            if (i < fade)
                env = double(i) / fade;
            else if (i > count - fade)
                env = double(count - i) / fade;
            const double v = t.hz > 0 ? std::sin(2 * M_PI * t.hz * i / rate) : 0.0;
            samples << static_cast<int16_t>(v * env * volume * 32767);
        }
    }

    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + pcm.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    out.writeRawData(pcm.constData(), pcm.size());
    return f.error() == QFile::NoError;
}

QImage Canvas(int w, int h, QColor top, QColor bottom)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(img.rect(), g);
    return img;
}

void Caption(QImage& img, const QString& text, int pixelSize, QColor colour = Qt::white)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f("DejaVu Sans");
    f.setPixelSize(pixelSize);
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(img.rect(), Qt::AlignCenter | Qt::TextWordWrap, text);
}

// A portrait: a head and shoulders silhouette over the avatar's initial.
QImage Portrait(const QString& name, QColor tint)
{
    QImage img = Canvas(100, 100, tint.lighter(150), tint.darker(200));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 24, 40, 200));
        p.drawEllipse(QPointF(50, 38), 18, 21);
        p.drawRoundedRect(QRectF(18, 62, 64, 50), 24, 24);
    }
    Caption(img, "\n\n\n\n" + name, 13);
    return img;
}

QImage Interference()
{
    QImage img(100, 100, QImage::Format_RGB32);
    QRandomGenerator rng(1234);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int v = int(rng.bounded(256));
            const int band = (y / 6) % 2 ? 30 : 0;
            img.setPixel(x, y, qRgb(std::min(v + band, 255), v, std::min(v + 20, 255)));
        }
    Caption(img, "NO SIGNAL", 14, QColor(255, 80, 80));
    return img;
}

// A commodity crate with its name.
QImage Commodity(const QString& name, QColor colour)
{
    QImage img = Canvas(100, 60, colour.lighter(140), colour.darker(180));
    {
        QPainter p(&img);
        p.setPen(QPen(QColor(255, 255, 255, 120), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(6, 6, 88, 48));
        p.drawLine(6, 6, 94, 54);
        p.drawLine(94, 6, 6, 54);
    }
    Caption(img, name, 13);
    return img;
}

// Deep space with stars: the ship picture before a class is known.
QImage Starfield(int w, int h, quint32 seed)
{
    QImage img = Canvas(w, h, QColor(8, 10, 30), QColor(0, 0, 6));
    QPainter p(&img);
    QRandomGenerator rng(seed);
    for (int i = 0; i < w * h / 60; ++i) {
        const int v = 120 + int(rng.bounded(136));
        p.setPen(QColor(v, v, std::min(v + 30, 255)));
        p.drawPoint(int(rng.bounded(w)), int(rng.bounded(h)));
    }
    return img;
}

// A ship of a class in flight, with the class name under it.
QImage ShipPicture(const QString& name, QColor hull, double length)
{
    QImage img = Starfield(148, 96, 99);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const double half = length / 2;
        QPolygonF body;
        body << QPointF(74 + half, 38) << QPointF(74 - half + 14, 24) << QPointF(74 - half, 28)
             << QPointF(74 - half, 48) << QPointF(74 - half + 14, 52);
        p.setPen(QPen(hull.lighter(160), 1.5));
        p.setBrush(hull);
        p.drawPolygon(body);
        p.setBrush(QColor(255, 170, 60));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(74 - half - 4, 38), 5, 7);
        p.setBrush(QColor(150, 210, 255));
        p.drawEllipse(QPointF(74 + half - 14, 36), 5, 3);
    }
    QImage label(148, 24, QImage::Format_ARGB32);
    label.fill(Qt::transparent);
    Caption(label, name, 13, QColor(230, 230, 240));
    QPainter(&img).drawImage(0, 70, label);
    return img;
}

bool SavePictures(const QDir& dir)
{
    bool ok = true;
    auto save = [&](const QImage& img, const QString& name) {
        ok = img.save(dir.filePath("pictures/" + name + ".bmp"), "BMP") && ok;
    };
    const struct {
        const char* name;
        QColor tint;
    } people[] = {{"Nova", QColor(60, 120, 200)}, {"Vega", QColor(170, 80, 160)}, {"Mira", QColor(200, 140, 60)},
        {"Zed", QColor(70, 160, 90)}, {"Orrin", QColor(150, 60, 60)}, {"Talia", QColor(60, 150, 150)}};
    for (const auto& person : people)
        save(Portrait(person.name, person.tint), person.name);
    save(Interference(), "interference");

    const struct {
        const char* name;
        QColor colour;
    } goods[] = {{"Grain", QColor(190, 160, 60)}, {"Textiles", QColor(150, 90, 170)}, {"Spices", QColor(190, 90, 40)},
        {"Medicines", QColor(200, 60, 60)}, {"Alloys", QColor(120, 130, 150)}, {"Machinery", QColor(90, 100, 90)},
        {"Electronics", QColor(40, 120, 170)}, {"Luxuries", QColor(170, 140, 40)}};
    for (const auto& good : goods)
        save(Commodity(good.name, good.colour), good.name);
    save(Commodity("Exchange", QColor(60, 70, 110)), "exchange");

    // The Spaceship page: space before a class is known, then the class.
    save(Starfield(148, 96, 42), "space");
    save(ShipPicture("Trader", QColor(110, 120, 140), 92), "trader");
    save(ShipPicture("Hauler", QColor(140, 110, 70), 116), "hauler");

    QImage about = Canvas(200, 120, QColor(20, 30, 70), QColor(0, 0, 10));
    {
        QPainter p(&about);
        QRandomGenerator rng(7);
        p.setPen(Qt::white);
        for (int i = 0; i < 80; ++i)
            p.drawPoint(int(rng.bounded(200)), int(rng.bounded(120)));
    }
    Caption(about, "ORVIX", 36, QColor(230, 200, 120));
    save(about, "about");
    return ok;
}

// The map's tile strip: eight 16 x 16 tiles in the order the map paints
// them: empty, current location, location, vertical, horizontal, rising
// diagonal, falling diagonal, both diagonals.
QImage MapTiles()
{
    constexpr int t = 16;
    QImage img(8 * t, t, QImage::Format_RGB32);
    img.fill(QColor(12, 18, 34));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen link(QColor(120, 170, 220), 2.2, Qt::SolidLine, Qt::FlatCap);
    // Each tile is drawn inside its own square: a stroke's width or its
    // smoothing must not reach the neighbour, which the map places anywhere.
    auto tile = [&](int i) {
        p.setClipRect(QRect(i * t, 0, t, t));
        return QRectF(i * t, 0, t, t);
    };
    // The current location: a bright ring around a filled centre.
    p.setPen(QPen(QColor(255, 210, 60), 2));
    p.setBrush(QColor(255, 120, 40));
    p.drawRoundedRect(tile(1).adjusted(2, 2, -2, -2), 3, 3);
    p.setPen(QPen(QColor(150, 200, 240), 1.5));
    p.setBrush(QColor(40, 110, 160));
    p.drawRoundedRect(tile(2).adjusted(2.5, 2.5, -2.5, -2.5), 3, 3);
    p.setPen(link);
    const QRectF vertical = tile(3);
    p.drawLine(QPointF(vertical.center().x(), 0), QPointF(vertical.center().x(), t));
    const QRectF horizontal = tile(4);
    p.drawLine(QPointF(horizontal.left(), t / 2), QPointF(horizontal.right(), t / 2));
    const QRectF rising = tile(5);
    p.drawLine(rising.bottomLeft(), rising.topRight());
    const QRectF falling = tile(6);
    p.drawLine(falling.topLeft(), falling.bottomRight());
    const QRectF crossing = tile(7);
    p.drawLine(crossing.bottomLeft(), crossing.topRight());
    p.drawLine(crossing.topLeft(), crossing.bottomRight());
    return img;
}

// Shown where the detail map goes while no map is known.
QImage NoMapPicture()
{
    QImage img = Canvas(172, 172, QColor(10, 16, 40), QColor(0, 0, 8));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QRandomGenerator rng(11);
        p.setPen(QColor(220, 220, 255));
        for (int i = 0; i < 90; ++i)
            p.drawPoint(int(rng.bounded(172)), int(rng.bounded(172)));
        QRadialGradient planet(QPointF(70, 70), 60, QPointF(55, 55));
        planet.setColorAt(0, QColor(110, 170, 210));
        planet.setColorAt(1, QColor(20, 50, 90));
        p.setPen(Qt::NoPen);
        p.setBrush(planet);
        p.drawEllipse(QPointF(86, 80), 46, 46);
        p.setPen(QPen(QColor(200, 180, 120, 170), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(86, 80), 70, 16);
    }
    QImage caption(172, 40, QImage::Format_ARGB32);
    caption.fill(Qt::transparent);
    Caption(caption, "NO MAP", 16, QColor(230, 200, 120));
    QPainter(&img).drawImage(0, 132, caption);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing text needs a GUI application, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: orvix_assets DIR\n";
        return 2;
    }
    QDir dir(args[1]);
    if (!dir.mkpath("sounds") || !dir.mkpath("pictures")) {
        QTextStream(stderr) << "cannot create folders in " << args[1] << "\n";
        return 1;
    }
    bool ok = WriteWave(dir.filePath("sounds/alert.wav"), {{880, 0.08}, {0, 0.03}, {1320, 0.10}});
    ok = WriteWave(dir.filePath("sounds/launch.wav"), {{220, 0.15}, {330, 0.15}, {440, 0.15}, {660, 0.3}}) && ok;
    ok = WriteWave(dir.filePath("sounds/land.wav"), {{660, 0.15}, {440, 0.15}, {330, 0.15}, {220, 0.3}}) && ok;
    ok = WriteWave(dir.filePath("sounds/cash.wav"), {{1568, 0.06}, {0, 0.02}, {2093, 0.12}}) && ok;
    ok = WriteWave(dir.filePath("sounds/tb.wav"), {{988, 0.07}, {0, 0.04}, {988, 0.07}, {0, 0.04}, {1319, 0.12}}) && ok;
    ok = SavePictures(dir) && ok;
    ok = MapTiles().save(dir.filePath("links.bmp"), "BMP") && ok;
    ok = NoMapPicture().save(dir.filePath("mapimage.bmp"), "BMP") && ok;
    if (!ok) {
        QTextStream(stderr) << "cannot write the data files\n";
        return 1;
    }
    return 0;
}
