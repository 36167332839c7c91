// The session log and screen dump: file names and stamps from a fixed clock,
// the three menu states, what lands in the files, and failures.
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include "logging/logging.h"
#include "logging/session_log.h"
#include "support/account_settings.h"

namespace {

constexpr std::int64_t kDec5 = 1796479387; // Sat Dec  5 14:03:07 2026 UTC

void UseUtc()
{
    setenv("TZ", "UTC", 1);
    tzset();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(LogNames, StampAndDailyNameAtMonthAndYearEdges)
{
    UseUtc();
    struct Row {
        std::int64_t when;
        const char* stamp;
        const char* name;
    };
    const Row rows[] = {
        {kDec5, "Sat Dec  5 14:03:07 2026\n", "2026Dec5.log"},
        {1769903999, "Sat Jan 31 23:59:59 2026\n", "2026Jan31.log"},
        {1798761600, "Fri Jan  1 00:00:00 2027\n", "2027Jan1.log"},
        {1835427900, "Tue Feb 29 09:05:00 2028\n", "2028Feb29.log"},
        {2182593600, "Tue Mar  1 12:00:00 2039\n", "2039Mar1.log"}, // past 32-bit seconds
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TimeStamp(row.when), row.stamp);
        EXPECT_EQ(TimeStamp(row.when).size(), 25u);
        EXPECT_EQ(DailyLogName(row.when), row.name);
    }
}

class RecordingMenu : public LogMenuView {
public:
    void SetLoggingItems(bool start, bool stop) override
    {
        startEnabled = start;
        stopEnabled = stop;
    }
    std::optional<std::string> ChooseLogFile(const std::string& title, const std::string& folder) override
    {
        titles.push_back(title);
        folders.push_back(folder);
        return chosen;
    }
    std::string StoryText() const override { return story; }

    bool startEnabled = true;
    bool stopEnabled = false;
    std::optional<std::string> chosen;
    std::string story;
    std::vector<std::string> titles;
    std::vector<std::string> folders;
};

class SessionLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseUtc();
        ASSERT_TRUE(dir.isValid());
        settings.view.workDir = dir.path().toStdString();
        std::filesystem::create_directory(settings.view.workDir + "/logs");
    }
    std::unique_ptr<SessionLog> NewLog()
    {
        return std::make_unique<SessionLog>(settings.view, menu, settings.init, [this] { return now; });
    }
    std::string Path(const char* name) const { return settings.view.workDir + "/" + name; }
    std::string DailyPath() const { return settings.view.workDir + "/logs/2026Dec5.log"; }
    bool AutoChecked() { return settings.view.OptionChecked(Option::AutoLog); }
    // Start enabled, Stop enabled, Log all Sessions checked.
    std::tuple<bool, bool, bool> Items() { return {menu.startEnabled, menu.stopEnabled, AutoChecked()}; }

    QTemporaryDir dir;
    AccountSettings settings;
    RecordingMenu menu;
    std::int64_t now = kDec5;
};

using Items = std::tuple<bool, bool, bool>;
const Items kNoLog{true, false, false};
const Items kManual{false, true, false};
const Items kAutomatic{false, false, true};

TEST_F(SessionLogTest, StateTableAndWhatTheFileHolds)
{
    auto log = NewLog();
    menu.chosen = Path("mine.log");
    log->StartLoggingItemClick();
    EXPECT_EQ(menu.titles.back(), "Log to file...");
    EXPECT_EQ(menu.folders.back(), settings.view.workDir + "/logs");
    EXPECT_EQ(Items(), kManual);
    EXPECT_EQ(settings.view.status[1], "Logging");
    log->WriteLine("Hello \xe9t\xe9"); // Windows-1252 bytes as they came

    // Log all Sessions keeps the manual file going as the session log.
    log->AutoLogItemClick();
    EXPECT_EQ(Items(), kAutomatic);
    EXPECT_TRUE(settings.init.AutoLog());
    log->WriteLine("more");

    // Unchecking it is Stop Logging.
    now += 65;
    log->AutoLogItemClick();
    EXPECT_EQ(Items(), kNoLog);
    EXPECT_FALSE(settings.init.AutoLog());
    EXPECT_FALSE(log->IsOpen());
    EXPECT_EQ(settings.view.status[1], "");
    log->WriteLine("not logged");

    EXPECT_EQ(ReadFile(Path("mine.log")), "\n*** Logging started ***\nSat Dec  5 14:03:07 2026\n"
                                           "Hello \xe9t\xe9\nmore\n"
                                           "\nSat Dec  5 14:04:12 2026\n*** Logging finished ***\n");
    EXPECT_EQ(settings.view.DisplayedTexts(),
              (std::vector<std::string>{Path("mine.log") + " opened for logging", "Logging stopped"}));

    // Cancelling the dialog changes nothing; Stop from a manual log.
    menu.chosen.reset();
    log->StartLoggingItemClick();
    EXPECT_EQ(Items(), kNoLog);
    menu.chosen = Path("mine.log");
    log->StartLoggingItemClick();
    log->StopLoggingItemClick();
    EXPECT_EQ(Items(), kNoLog);
    EXPECT_EQ(ReadFile(Path("mine.log")).find("not logged"), std::string::npos);
}

TEST_F(SessionLogTest, TwoSessionsOfADayShareTheDailyFile)
{
    for (int session = 0; session < 2; ++session) {
        auto log = NewLog();
        log->AutoLogItemClick();
        EXPECT_EQ(Items(), kAutomatic);
        log->WriteLine("session " + std::to_string(session));
        now += 60;
        log->Close();
        menu.startEnabled = true;
        settings.view.options[Option::AutoLog] = false;
    }
    EXPECT_EQ(ReadFile(DailyPath()),
              "\n*** Logging started ***\nSat Dec  5 14:03:07 2026\nsession 0\n"
              "\nSat Dec  5 14:04:07 2026\n*** Logging finished ***\n"
              "\n*** Logging started ***\nSat Dec  5 14:04:07 2026\nsession 1\n"
              "\nSat Dec  5 14:05:07 2026\n*** Logging finished ***\n");
}

TEST_F(SessionLogTest, FilesThatCannotBeOpenedAreReported)
{
    auto log = NewLog();
    menu.chosen = Path("no-such-dir/x.log");
    log->StartLoggingItemClick();
    EXPECT_EQ(Items(), kNoLog);
    EXPECT_FALSE(log->IsOpen());

    // The automatic kind stays unchecked and leaves the setting alone.
    std::filesystem::remove(settings.view.workDir + "/logs");
    settings.init.SetAutoLog(true);
    log->AutoLogItemClick();
    EXPECT_FALSE(AutoChecked());
    EXPECT_TRUE(settings.init.AutoLog());

    log->SaveScreenItemClick();
    EXPECT_EQ(menu.titles.back(), "Dump screen buffer to file...");
    EXPECT_EQ(settings.view.DisplayedTexts(),
              (std::vector<std::string>{"***Unable to open " + Path("no-such-dir/x.log") + " for logging***",
                                        "***Unable to open " + DailyPath() + " for logging***",
                                        "***Unable to open " + Path("no-such-dir/x.log")
                                            + " for screen dump***"}));
    EXPECT_TRUE(settings.view.status[1].empty());
}

TEST_F(SessionLogTest, ScreenDumpsAppendFramedCopies)
{
    auto log = NewLog();
    menu.chosen = Path("d\xc3\xa9.log"); // a UTF-8 file name
    menu.story = "first\nsecond";
    log->SaveScreenItemClick();
    log->SaveScreenItemClick();
    const std::string one = "\n*** Screen buffer save ***\nSat Dec  5 14:03:07 2026\n\nfirst\nsecond\n"
                            "Sat Dec  5 14:03:07 2026\n*** End of screen buffer save ***\n";
    EXPECT_EQ(ReadFile(*menu.chosen), one + one);
    // Shown in the game's encoding, like every line of the window.
    EXPECT_EQ(settings.view.DisplayedTexts().back(), "Screen buffer saved to " + Path("d\xe9.log"));
    EXPECT_EQ(Items(), kNoLog);
}

TEST_F(SessionLogTest, AFullDiskStopsLoggingWithOneMessage)
{
    auto log = NewLog();
    menu.chosen = Path("full.log");
    log->StartLoggingItemClick();
    ASSERT_TRUE(log->IsOpen());

    // The file may not grow past 200 bytes from here on: writes then fail
    // as on a full disk.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    for (int i = 0; i < 20; ++i)
        log->WriteLine("a line of the story, number " + std::to_string(i));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(log->IsOpen());
    EXPECT_EQ(Items(), kNoLog);
    EXPECT_TRUE(settings.view.status[1].empty());
    const auto shown = settings.view.DisplayedTexts();
    EXPECT_EQ(std::count(shown.begin(), shown.end(),
                         "***Unable to write to " + Path("full.log") + "; logging stopped***"),
              1);
    const std::string text = ReadFile(Path("full.log"));
    EXPECT_LE(text.size(), 200u);
    EXPECT_NE(text.find("number 0\n"), std::string::npos);
}

} // namespace
