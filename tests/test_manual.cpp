// The help pages: put in place by their tool, every Help item opens one of
// them, and every link between them leads to a page that is there.
#include <QAction>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

#include "support/window_fixture.h"

namespace {

class Manual : public WindowFixture {
protected:
    int RunTool(const QString& world)
    {
        QProcess tool;
        tool.start(ORVIX_MANUAL_TOOL, {tempDir.path(), ORVIX_MANUAL_PAGES, world});
        EXPECT_TRUE(tool.waitForFinished(30000));
        error = tool.readAllStandardError();
        return tool.exitCode();
    }
    QString Page(const QString& name)
    {
        QFile f(WorkPath("manual/" + name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QByteArray error;
};

TEST_F(Manual, EveryHelpItemOpensAShippedPageAndOnlyThreeAddressesLeave)
{
    ASSERT_EQ(RunTool(ORVIX_WORLD_FILE), 0) << error.constData();
    TMainForm& w = Window();
    std::vector<QUrl> opened;
    w.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    for (const char* item : {"OrvixManual1", "ManualsItem", "MapsItem", "QuickStartItem"}) {
        opened.clear();
        w.findChild<QAction*>(item)->trigger();
        ASSERT_EQ(opened.size(), 1u) << item;
        EXPECT_TRUE(opened[0].isLocalFile()) << item;
        EXPECT_TRUE(QFile::exists(opened[0].toLocalFile())) << opened[0].toString().toStdString();
    }
    opened.clear();
    w.findChild<QAction*>("ExtrasItem")->trigger();
    w.findChild<QAction*>("FeedbackItem")->trigger();
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl("https://kyrn.example.org/extras"),
                                         QUrl("mailto:feedback@kyrn.example.org")}));

    // Links between the pages resolve; the maps page names every map and place.
    const QRegularExpression href("href=\"([^\"#]*)");
    for (const QString& name : QDir(WorkPath("manual")).entryList({"*.html"})) {
        for (const auto& m : href.globalMatch(Page(name)))
            EXPECT_TRUE(QFile::exists(WorkPath("manual/" + m.captured(1))))
                << name.toStdString() << " -> " << m.captured(1).toStdString();
    }
    const QString maps = Page("maps.html");
    for (const char* text : {"Kyrnos", "Kyrnos Wilds", "Vessa", "Kyrn System", "Spaceport Concourse",
                             "<code>board</code> lifts off to Orbit of Kyrnos (Kyrn System)"})
        EXPECT_TRUE(maps.contains(text)) << text;
}

TEST_F(Manual, AWorldFileThatCannotBeReadIsRefused)
{
    QFile broken(WorkPath("broken.xml"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<world><map id='a' name='A'><loc x='1'");
    broken.close();
    EXPECT_NE(RunTool(broken.fileName()), 0);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_NE(RunTool(WorkPath("missing.xml")), 0);
}

} // namespace
