// The rest of the menus on the real window: options kept across a restart,
// the session log and screen dump as the player uses them, the about box.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QTest>

#include "about/about.h"
#include "logging/logging.h"
#include "settings/init.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

std::string ReadFile(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

using MenusWindow = WindowFixture;

TEST_F(MenusWindow, EveryToggleComesBackAfterARestartButTheStreamDisplays)
{
    const Option saved[] = {Option::AutoLog,    Option::ConsoleLights,      Option::StatsPanel,
                            Option::SoundFx,    Option::TextAlert,          Option::LargeBuffer,
                            Option::SuppressBlankLines};
    const Option notSaved[] = {Option::DisplayClientStream, Option::DisplayServerStream};
    std::map<Option, bool> before;
    {
        TMainForm& w = Window();
        for (Option o : saved) {
            before[o] = w.MenuItem(o)->isChecked();
            w.MenuItem(o)->trigger();
            ASSERT_NE(w.MenuItem(o)->isChecked(), before[o]);
        }
        for (Option o : notSaved)
            w.MenuItem(o)->trigger();
        window.reset();
    }
    TMainForm& w = Window();
    for (Option o : saved)
        EXPECT_NE(w.MenuItem(o)->isChecked(), before[o]) << static_cast<int>(o);
    for (Option o : notSaved)
        EXPECT_FALSE(w.MenuItem(o)->isChecked());
    EXPECT_EQ(w.BufferLines(), 500);
    EXPECT_TRUE(w.StatsPanel->isHidden());

    // Unchecking "Log all Sessions" is remembered too.
    w.MenuItem(Option::AutoLog)->trigger();
    window.reset();
    EXPECT_FALSE(Window().MenuItem(Option::AutoLog)->isChecked());
    EXPECT_EQ(ReadFile(WorkPath("init.xml")).find("autolog"), std::string::npos);
}

TEST_F(MenusWindow, LogAllSessionsFramesEachRunInTheDaysFile)
{
    const QString daily = WorkPath("logs/" + QString::fromStdString(DailyLogName(std::time(nullptr))));
    Window().MenuItem(Option::AutoLog)->trigger();
    EXPECT_EQ(window->StatusPanels[1]->text(), "Logging");
    window->DisplayText("first session");
    window.reset();

    // The next start opens the log before any connection.
    TMainForm& w = Window();
    EXPECT_TRUE(w.MenuItem(Option::AutoLog)->isChecked());
    EXPECT_FALSE(w.findChild<QAction*>("StartLoggingItem")->isEnabled());
    EXPECT_FALSE(w.findChild<QAction*>("StopLoggingItem")->isEnabled());
    EXPECT_EQ(Count(ReadFile(daily), "*** Logging started ***"), 2u);
    w.DisplayText("second session");
    w.DisplayText("not in the story", true);
    w.MenuItem(Option::AutoLog)->trigger();

    const std::string text = ReadFile(daily);
    EXPECT_EQ(Count(text, "*** Logging started ***"), 2u);
    EXPECT_EQ(Count(text, "*** Logging finished ***"), 2u);
    EXPECT_LT(text.find("first session"), text.find("*** Logging finished ***"));
    EXPECT_EQ(text.find("not in the story"), std::string::npos);
    // "Logging stopped" is the last line before the closing banner.
    const auto stopped = text.find("second session\nLogging stopped\n\n");
    ASSERT_NE(stopped, std::string::npos);
    EXPECT_EQ(text.size() - stopped, std::string("second session\nLogging stopped\n\n").size() + 25
                                         + std::string("*** Logging finished ***\n").size());
    EXPECT_TRUE(w.StatusPanels[1]->text().isEmpty());
}

TEST_F(MenusWindow, StartLoggingAndSaveScreenBufferWriteWhatTheStoryShows)
{
    TMainForm& w = Window();
    w.show();
    ModalScript script;
    auto choose = [](const QString& path) {
        return [path](QWidget* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            files->selectFile(path);
            QMetaObject::invokeMethod(files, "accept");
        };
    };
    script.Then(choose(WorkPath("logs/mine"))).Then(choose(WorkPath("logs/dump.log")));

    w.findChild<QAction*>("StartLoggingItem")->trigger();
    EXPECT_FALSE(w.findChild<QAction*>("StartLoggingItem")->isEnabled());
    EXPECT_TRUE(w.findChild<QAction*>("StopLoggingItem")->isEnabled());
    w.DisplayText("Caf\xe9 on Kyrnos");
    w.AddToStory("+++ Grain harvest +++");
    w.findChild<QAction*>("StopLoggingItem")->trigger();
    const std::string story = PaneLines(w.StoryMemo).join('\n').toLatin1().toStdString();
    w.findChild<QAction*>("SaveScreenItem")->trigger();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.unexpected, 0);

    // The default suffix is added to a bare name.
    const std::string log = ReadFile(WorkPath("logs/mine.log"));
    EXPECT_NE(log.find("\nCaf\xe9 on Kyrnos\n+++ Grain harvest +++\nLogging stopped\n\n"),
              std::string::npos);
    const std::string dump = ReadFile(WorkPath("logs/dump.log"));
    EXPECT_NE(dump.find("\n" + story + "\n"), std::string::npos);
    EXPECT_NE(story.find("Caf\xe9 on Kyrnos"), std::string::npos);
    EXPECT_EQ(PaneLines(w.OutputEdit).last(), "Screen buffer saved to " + WorkPath("logs/dump.log"));
}

TEST_F(MenusWindow, AboutBoxIsNotModal)
{
    TMainForm& w = Window();
    w.show();
    w.findChild<QAction*>("AboutItem")->trigger();
    auto* about = w.findChild<TAboutForm*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Orvix - Version 1.60");
    EXPECT_NE(about->findChild<QLabel*>("AboutImage"), nullptr);
}

} // namespace
