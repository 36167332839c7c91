// The tools the run command uses: the data files and the manual they put in
// place are real, readable files.
#include <algorithm>
#include <vector>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/common.h"

namespace {

int RunTool(const char* tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return process.exitCode();
}

TEST(Tools, DataFilesArePlayableSoundsLoadablePicturesAndCleanMapTiles)
{
    QTemporaryDir dir;
    ASSERT_EQ(RunTool(ORVIX_ASSETS_TOOL, {dir.path()}), 0);
    for (const char* sound : {"alert", "launch", "land", "cash", "tb"}) {
        const QByteArray wav = ReadFile(dir.filePath(QString("sounds/%1.wav").arg(sound)));
        EXPECT_TRUE(wav.startsWith("RIFF") && wav.mid(8, 8) == "WAVEfmt " && wav.size() > 1000) << sound;
    }
    for (const char* picture : {"interference", "exchange", "Nova", "Grain", "about", "space", "trader", "../mapimage"})
        EXPECT_FALSE(QImage(dir.filePath(QString("pictures/%1.bmp").arg(picture))).isNull()) << picture;
    const QImage links(dir.filePath("links.bmp")); // eight distinct 16 x 16 tiles
    ASSERT_EQ(links.size(), QSize(128, 16));
    for (int i = 0; i < 8; ++i)
        for (int j = i + 1; j < 8; ++j)
            EXPECT_NE(links.copy(16 * i, 0, 16, 16), links.copy(16 * j, 0, 16, 16)) << i << " " << j;
    // A stroke reaches a tile's edge only where its link leaves the cell; any
    // other mark on an edge stands as a stray dot beside the neighbouring cell.
    const QRgb background = links.pixel(0, 0);
    // Where each tile's link leaves it, in the tile's own pixels.
    const std::vector<QPoint> exits[8] = {{}, {}, {}, {{8, 0}, {8, 15}}, {{0, 8}, {15, 8}}, {{0, 15}, {15, 0}},
        {{0, 0}, {15, 15}}, {{0, 0}, {15, 15}, {0, 15}, {15, 0}}};
    for (int tile = 0; tile < 8; ++tile)
        for (int i = 0; i < 16; ++i)
            for (const QPoint edge : {QPoint(i, 0), QPoint(i, 15), QPoint(0, i), QPoint(15, i)}) {
                const bool atExit = std::any_of(exits[tile].begin(), exits[tile].end(),
                    [&](QPoint exit) { return (exit - edge).manhattanLength() <= 3; });
                EXPECT_TRUE(atExit || links.pixel(16 * tile + edge.x(), edge.y()) == background)
                    << "tile " << tile << " at " << edge.x() << "," << edge.y();
            }
}

TEST(Tools, TheManualsLinksResolveAndItsMapsPageIsDrawnFromTheWorld)
{
    QTemporaryDir dir;
    ASSERT_EQ(RunTool(ORVIX_MANUAL_TOOL, {dir.path(), ORVIX_MANUAL_PAGES, ORVIX_WORLD_FILE}), 0);
    for (const QString& name : QDir(dir.filePath("manual")).entryList({"*.html"}))
        for (const auto& m :
            QRegularExpression("href=\"([^\"#]*)").globalMatch(ReadFile(dir.filePath("manual/" + name))))
            EXPECT_TRUE(QFile::exists(dir.filePath("manual/" + m.captured(1))))
                << name.toStdString() << " -> " << m.captured(1).toStdString();
    EXPECT_TRUE(ReadFile(dir.filePath("manual/maps.html"))
                    .contains("<code>board</code> lifts off to Orbit of Kyrnos (Kyrn System)"));
    // Each area of a map is drawn cropped to its places; economies read as a player says them.
    WriteFile(dir.filePath("corners.xml"),
        "<world><map id='c' name='C' economy='None'><loc x='0' y='0' name='NW'/>"
        "<loc x='2' y='1' name='Near'/><loc x='63' y='63' name='SE'/></map>"
        "<map id='s' name='S' economy='Vacuum'><loc x='5' y='5' name='Orbit'/></map>"
        "</world>");
    ASSERT_EQ(RunTool(ORVIX_MANUAL_TOOL, {dir.path(), ORVIX_MANUAL_PAGES, dir.filePath("corners.xml")}), 0);
    const QString corners = ReadFile(dir.filePath("manual/maps.html"));
    EXPECT_EQ(corners.count("<td"), 3 * 2 + 1 + 1) << "NW and Near in 3 x 2 cells, SE and Orbit in one each";
    EXPECT_TRUE(corners.contains("<caption>Around SE</caption>"));
    EXPECT_FALSE(corners.contains("None economy") || corners.contains("Vacuum economy"));
    WriteFile(dir.filePath("broken.xml"), "<world><map id='a' name='A'><loc x='1'");
    EXPECT_NE(RunTool(ORVIX_MANUAL_TOOL, {dir.path(), ORVIX_MANUAL_PAGES, dir.filePath("broken.xml")}), 0);
}

} // namespace
