// The data files the run command puts in place are real, readable files.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "shell/datafiles.h"

TEST(DataFiles, GeneratorWritesPlayableSoundsAndLoadablePictures)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess tool;
    tool.start(ORVIX_ASSETS_TOOL, {dir.path()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();

    for (const char* sound : {"alert", "launch", "land", "cash", "tb"}) {
        QFile f(dir.filePath(QString("sounds/%1.wav").arg(sound)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << sound;
        const QByteArray head = f.read(44);
        EXPECT_TRUE(head.startsWith("RIFF")) << sound;
        EXPECT_EQ(head.mid(8, 8), QByteArray("WAVEfmt ")) << sound;
        EXPECT_GT(f.size(), 1000) << sound;
    }
    for (const char* picture : {"interference", "exchange", "Nova", "Grain", "about", "space", "trader"}) {
        QImage img(dir.filePath(QString("pictures/%1.bmp").arg(picture)));
        EXPECT_FALSE(img.isNull()) << picture;
    }
    // The map's tile strip: eight distinct 16 x 16 tiles; and the picture
    // shown where no map is.
    const QImage links(dir.filePath("links.bmp"));
    ASSERT_EQ(links.size(), QSize(128, 16));
    for (int i = 0; i < 8; ++i)
        for (int j = i + 1; j < 8; ++j)
            EXPECT_NE(links.copy(16 * i, 0, 16, 16), links.copy(16 * j, 0, 16, 16)) << i << " " << j;
    EXPECT_FALSE(QImage(dir.filePath("mapimage.bmp")).isNull());
    // Names are found whatever their letter case.
    EXPECT_EQ(FindDataFile(dir.filePath("pictures/NOVA.bmp")), dir.filePath("pictures/Nova.bmp"));
    EXPECT_TRUE(FindDataFile(dir.filePath("pictures/nobody.bmp")).isEmpty());
    EXPECT_TRUE(FindDataFile(dir.filePath("nofolder/x.bmp")).isEmpty());
}
