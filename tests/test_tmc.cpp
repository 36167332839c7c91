// The voting reminder: the 24-hour rule on 64 bits, the three answers, and
// the dialogs as the player meets them.
#include <fstream>

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "settings/init.h"
#include "social/tmc.h"
#include "social/tmc_code.h"
#include "social/tmc_reminder.h"
#include "support/account_settings.h"
#include "support/window_fixture.h"

namespace {

constexpr std::int64_t kNow = 1796479387;

TEST(TmcRules, ReminderAndVoteByTimeSinceTheLastVote)
{
    struct Row {
        std::int64_t votingTime;
        bool due;      // a reminder at start-up
        bool voteOpens; // "Vote Now" opens the page (else: the error box)
    };
    const Row rows[] = {
        {0, false, true},                      // reminders off; voting turns them on
        {kNow - 86400, false, false},          // exactly a day: still within it
        {kNow - 86401, true, true},            // a day and a second
        {kNow, false, false},                  // just voted
        {kNow + 3600, true, true},             // ahead of the clock: not silenced
        {kNow - (std::int64_t{1} << 40), true, true}, // far past, beyond 32 bits
        {1, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.votingTime);
        AccountSettings s;
        std::vector<std::string> opened;
        Tmc tmc(s.init, s.view, [&](const std::string& a) { opened.push_back(a); },
                [] { return kNow; });
        s.init.SetVotingTime(row.votingTime);
        EXPECT_EQ(tmc.ReminderDue(), row.due);
        tmc.Vote();
        if (row.voteOpens) {
            EXPECT_EQ(opened, std::vector<std::string>{"https://kyrn.example.org/vote"});
            EXPECT_EQ(s.init.VotingTime(), kNow);
            EXPECT_TRUE(s.view.messages.empty());
        } else {
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(s.init.VotingTime(), row.votingTime);
            ASSERT_EQ(s.view.messages.size(), 1u);
            EXPECT_EQ(s.view.messages[0],
                      std::make_pair(MessageKind::Error,
                                     std::string("You've already voted\nin the last 24 hours!")));
        }
    }
}

TEST(TmcRules, AlreadyVotedPostponesAndCancelSwitchesOff)
{
    AccountSettings s;
    std::int64_t now = kNow;
    Tmc tmc(s.init, s.view, [](const std::string&) { FAIL() << "nothing to open"; },
            [&] { return now; });
    s.init.SetVotingTime(kNow - 100000);
    tmc.AlreadyVoted();
    EXPECT_EQ(s.init.VotingTime(), kNow);
    now += 86401;
    EXPECT_TRUE(tmc.ReminderDue());
    tmc.Cancel();
    EXPECT_EQ(s.init.VotingTime(), 0);
    EXPECT_FALSE(tmc.ReminderDue());
}

class VotingWindow : public WindowFixture {
protected:
    void Settings(const std::string& votingLine)
    {
        std::ofstream(WorkPath("init.xml").toStdString())
            << "<?xml version=\"1.0\"?>\n<init-file>\n" << votingLine << "</init-file>\n";
    }
    TTmcReminderForm* Reminder() { return window->findChild<TTmcReminderForm*>(); }
};

TEST_F(VotingWindow, ReminderOnTheFirstShowingOnlyAndItsButtons)
{
    Settings("\t<voting time='1000'/>\n");
    TMainForm& w = Window();
    std::vector<QUrl> opened;
    w.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    w.show();
    TTmcReminderForm* reminder = Reminder();
    ASSERT_NE(reminder, nullptr);
    EXPECT_EQ(reminder->windowTitle(), "TMC Voting Reminder");
    EXPECT_FALSE(reminder->isModal());
    EXPECT_TRUE(reminder->windowFlags() & Qt::WindowStaysOnTopHint);
    QStringList lines;
    for (const QLabel* label : reminder->findChildren<QLabel*>())
        lines << label->text();
    EXPECT_EQ(lines, QStringList({"This is your daily reminder to vote for Kyrnos II on",
                                  "The Mud Connector. To vote now , click on the 'Vote'",
                                  "button. If you've already voted, click on the 'Already",
                                  "Voted' button  to continue with the daily reminders.",
                                  "To stop the reminders click on the 'Cancel' button.",
                                  "Thank you for your help building the Kyr community."}));

    // "Already Voted" opens nothing and closes the reminder.
    reminder->findChild<QPushButton*>("AlreadyBtn")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Reminder() == nullptr; }, 2000));
    EXPECT_GT(w.Settings().VotingTime(), 1000);
    EXPECT_TRUE(opened.empty());

    w.hide();
    w.Settings().SetVotingTime(1000);
    w.show();
    EXPECT_EQ(Reminder(), nullptr);

    // The menu's letter: "Vote Now" opens the voting page.
    w.findChild<QAction*>("VotingItem")->trigger();
    auto* letter = w.findChild<TTmcForm*>();
    ASSERT_NE(letter, nullptr);
    EXPECT_EQ(letter->windowTitle(), "The Mud Connector");
    EXPECT_TRUE(letter->findChild<QPlainTextEdit*>("TmcMemo")->toPlainText().contains("top ten"));
    EXPECT_TRUE(letter->findChild<QPushButton*>("VoteBtn")->isDefault());
    letter->findChild<QPushButton*>("VoteBtn")->click();
    EXPECT_EQ(opened, std::vector<QUrl>{QUrl("https://kyrn.example.org/vote")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.findChild<TTmcForm*>() == nullptr; }, 2000));

    // Cancel switches the reminders off, and so the file holds no vote.
    w.findChild<QAction*>("VotingItem")->trigger();
    w.findChild<TTmcForm*>()->findChild<QPushButton*>("CancelBtn")->click();
    EXPECT_EQ(w.Settings().VotingTime(), 0);
}

TEST_F(VotingWindow, NoReminderWhenOffOrRecent)
{
    const std::string recent = "\t<voting time='" + std::to_string(std::time(nullptr)) + "'/>\n";
    for (const std::string& line : {std::string(), recent}) {
        Settings(line);
        Window().show();
        EXPECT_EQ(Reminder(), nullptr) << line;
        window.reset();
    }
}

TEST(TmcSettings, VoteTimesBeyond32BitsAreWritten)
{
    AccountSettings s;
    s.init.SetVotingTime(std::int64_t{1} << 33);
    ASSERT_TRUE(s.init.WriteSettings());
    EXPECT_NE(s.File().find("\t<voting time='8589934592'/>\n"), std::string::npos);
}

} // namespace
