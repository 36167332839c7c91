// Writes the data files Orvix reads into a working directory:
//   orvix_assets DIR
// Everything is synthesised here, so the program works out of the box.
#include <cmath>
#include <cstdint>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
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
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2)
        << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(pcm.size());
    out.writeRawData(pcm.constData(), pcm.size());
    return f.error() == QFile::NoError;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
    if (!ok) {
        QTextStream(stderr) << "cannot write the data files\n";
        return 1;
    }
    return 0;
}
