// The session log and screen dump under a fixed clock: the menu's three
// states, what lands in the files, and failures.
#include <csignal>
#include <sys/resource.h>

#include <QDir>

#include <gtest/gtest.h>

#include "logging/logging.h"
#include "logging/session_log.h"
#include "support/account_settings.h"
#include "support/common.h"

namespace {

struct RecordingMenu : LogMenuView {
    void SetLoggingItems(bool start, bool stop) override { items = {start, stop}; }
    std::optional<std::string> ChooseLogFile(const std::string& title, const std::string& dir) override
    {
        asked.push_back(title + " in " + dir);
        return chosen;
    }
    std::string StoryText() const override { return "first\nsecond"; }
    std::pair<bool, bool> items{true, false};
    std::optional<std::string> chosen;
    std::vector<std::string> asked;
};

class SessionLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        view.workDir = dir.path().toStdString();
        ASSERT_TRUE(QDir(dir.path()).mkdir("logs"));
    }
    std::string Path(const std::string& name) const { return view.workDir + "/" + name; }
    std::string Text(const std::string& name) const
    {
        return ReadFile(QString::fromStdString(Path(name))).toStdString();
    }
    // "Sta": Start enabled, Stop disabled, Log all Sessions unchecked (capitals for on).
    std::string State()
    {
        return std::string(menu.items.first ? "S" : "s") + (menu.items.second ? "T" : "t")
            + (view.options[Option::AutoLog] ? "A" : "a");
    }

    QTemporaryDir dir;
    AccountSettings settings;
    FakeMainView& view = settings.view;
    RecordingMenu menu;
    std::int64_t now = 1796479387; // Sat Dec  5 14:03:07 2026 UTC
    SessionLog log{view, menu, settings.init, [this] { return now; }};
};

TEST_F(SessionLogTest, TheMenusThreeStatesAndWhatTheFilesHold)
{
    enum Click { Start, Stop, Auto };
    const std::tuple<Click, std::optional<std::string>, std::string, std::string> steps[] = {
        // click, file chosen, line written after it, state: no log "Sta", manual "sTa", automatic "stA"
        {Start, "mine.log", "Hello \xe9t\xe9", "sTa"}, // Windows-1252 bytes as they came
        {Auto, {}, "more", "stA"}, // the manual file goes on as the session log
        {Auto, {}, "not logged", "Sta"}, // unchecking it is Stop Logging
        {Start, std::nullopt, "", "Sta"}, // the dialog cancelled
        {Start, "mine.log", "again", "sTa"}, {Stop, {}, "", "Sta"}, {Auto, {}, "daily", "stA"}, {Auto, {}, "", "Sta"}};
    for (const auto& [click, chosen, line, state] : steps) {
        menu.chosen = chosen ? std::optional(Path(*chosen)) : std::nullopt;
        (click == Start         ? log.StartLoggingItemClick()
                : click == Stop ? log.StopLoggingItemClick()
                                : log.AutoLogItemClick());
        log.WriteLine(line);
        EXPECT_EQ(State() + view.status[1], state + (state == "Sta" ? "" : "Logging")) << line;
        EXPECT_EQ(settings.init.AutoLog(), state == "stA") << line;
        now += 65;
    }
    const auto frame = [](const char* from, const char* lines, const char* to) {
        return std::string("\n*** Logging started ***\nSat Dec  5 ") + from + " 2026\n" + lines + "\nSat Dec  5 " + to
            + " 2026\n*** Logging finished ***\n";
    };
    EXPECT_EQ(Text("mine.log"),
        frame("14:03:07", "Hello \xe9t\xe9\nmore\n", "14:05:17") + frame("14:07:27", "again\n", "14:08:32"));
    EXPECT_EQ(Text("logs/2026Dec5.log"), frame("14:09:37", "daily\n", "14:10:42"));
    EXPECT_EQ(menu.asked.front() + "|" + view.DisplayedTexts().front(),
        "Log to file... in " + Path("logs") + "|" + Path("mine.log") + " opened for logging");
}

TEST_F(SessionLogTest, ScreenDumpsAppendAndFilesThatCannotBeOpenedAreReported)
{
    menu.chosen = Path("d\xc3\xa9.log"); // a UTF-8 file name
    log.SaveScreenItemClick();
    log.SaveScreenItemClick();
    const std::string one = "\n*** Screen buffer save ***\nSat Dec  5 14:03:07 2026\n\nfirst\nsecond\n"
                            "Sat Dec  5 14:03:07 2026\n*** End of screen buffer save ***\n";
    EXPECT_EQ(Text("d\xc3\xa9.log"), one + one);
    EXPECT_EQ(menu.asked.back() + "|" + view.DisplayedTexts().back(), // the name shown in the game's encoding
        "Dump screen buffer to file... in " + Path("logs") + "|Screen buffer saved to " + Path("d\xe9.log"));

    view.displayed.clear();
    menu.chosen = Path("no-such-dir/x.log");
    log.StartLoggingItemClick();
    ASSERT_TRUE(QDir(dir.path()).rmdir("logs"));
    settings.init.SetAutoLog(true);
    log.AutoLogItemClick(); // the automatic kind stays unchecked and leaves the setting alone
    log.SaveScreenItemClick();
    EXPECT_EQ(State() + (settings.init.AutoLog() ? "+" : ""), "Sta+");
    EXPECT_EQ(view.DisplayedTexts(),
        (std::vector<std::string>{"***Unable to open " + Path("no-such-dir/x.log") + " for logging***",
            "***Unable to open " + Path("logs/2026Dec5.log") + " for logging***",
            "***Unable to open " + Path("no-such-dir/x.log") + " for screen dump***"}));
}

TEST_F(SessionLogTest, AFullDiskStopsLoggingWithOneMessage)
{
    menu.chosen = Path("full.log");
    log.StartLoggingItemClick();
    // The file may not grow past 200 bytes from here on: writes then fail as on a full disk.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit small{200, old.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    for (int i = 0; i < 20; ++i)
        log.WriteLine("a line of the story, number " + std::to_string(i));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(State() + view.status[1], "Sta") << "closed";
    EXPECT_EQ(
        std::ranges::count(view.DisplayedTexts(), "***Unable to write to " + Path("full.log") + "; logging stopped***"),
        1);
    EXPECT_NE(Text("full.log").find("number 0\n"), std::string::npos);
}

} // namespace
