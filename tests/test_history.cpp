// Command history: recall with the arrow keys, what is kept, its file, and
// that nothing typed before the game is under way (a password) is kept.
#include <filesystem>

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "input/command_history.h"
#include "session/coms.h"
#include "session/history_keys.h"
#include "support/common.h"
#include "support/window_fixture.h"

namespace {

using Recall = std::optional<std::string>;

TEST(CommandHistory, UpAndDownWalkTheCommandsGiveBackTheDraftAndFiveHundredAreKept)
{
    CommandHistory history;
    EXPECT_EQ(history.Previous("typed"), Recall()) << "nothing to recall";
    history.Add("n");
    history.Add("look");
    history.Add("say hi");
    struct Row {
        bool up;
        Recall line;
    };
    const Row rows[] = {
        {false, {}}, // Down before any recall does nothing
        {true, "say hi"}, // the newest first
        {true, "look"},
        {true, "n"},
        {true, {}}, // the oldest stays
        {false, "look"},
        {false, "say hi"},
        {false, "half typ"}, // past the newest: the line as it was
        {false, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.up ? history.Previous("half typ") : history.Next(), row.line);

    // Five hundred are kept, and a repeat once.
    for (int i = 0; i <= 500; ++i)
        history.Add("go " + std::to_string(i));
    history.Add("go 500");
    history.Add("");
    history.Add("go 499");
    ASSERT_EQ(history.Commands().size(), 500u);
    EXPECT_EQ(history.Commands().front(), "go 2");
    EXPECT_EQ(history.Commands()[498], "go 500");
    EXPECT_EQ(history.Commands().back(), "go 499");
}

TEST(CommandHistory, FileIsTheOwnersAloneReadsBackAndAFileThatCannotBeWrittenIsReportedOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("history.txt");
    CommandHistory first(path.toStdString());
    first.Add("look");
    first.Add("say caf\xe9");
    EXPECT_EQ(ReadFile(path), "look\nsay caf\xe9\n");
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(path.toStdString()).permissions(), perms::owner_read | perms::owner_write);
    // Written elsewhere with carriage returns and blank lines, and longer than the limit.
    QByteArray lines = "\r\n\r\n";
    for (int i = 0; i < 600; ++i)
        lines += "cmd " + QByteArray::number(i) + "\r\n";
    WriteFile(path, lines);
    CommandHistory second(path.toStdString());
    second.Load();
    ASSERT_EQ(second.Commands().size(), 500u);
    EXPECT_EQ(second.Commands().front(), "cmd 100");
    EXPECT_EQ(second.Previous(""), Recall("cmd 599"));

    // A file that cannot be written is reported once; the history goes on in memory.
    std::vector<std::string> reports;
    CommandHistory history(dir.filePath("missing/history.txt").toStdString());
    history.SetFailureReport([&](const std::string& path) { reports.push_back(path); });
    history.Add("look");
    history.Add("n");
    EXPECT_EQ(reports, std::vector{dir.filePath("missing/history.txt").toStdString()});
    EXPECT_EQ(history.Previous(""), Recall("n"));
}

// The real input line: Up on the first row and Down on the last recall;
// inside a text of several rows the arrows move the caret.
TEST(HistoryKeys, RecallOnlyFromTheFirstAndLastRow)
{
    CommandHistory history;
    history.Add("look");
    history.Add("say hi");
    QPlainTextEdit edit;
    new HistoryKeys(edit, history);
    edit.show();
    QTest::keyClicks(&edit, "one");
    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, "two");
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.toPlainText(), "one\ntwo") << "the caret went up a row";
    EXPECT_EQ(edit.textCursor().blockNumber(), 0);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.toPlainText(), "say hi");
    QTest::keyClick(&edit, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(edit.toPlainText(), "say hi") << "Shift+Up selects";
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.toPlainText(), "look");
    QTest::keyClick(&edit, Qt::Key_Down);
    QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.toPlainText(), "one\ntwo");
    EXPECT_EQ(edit.textCursor().position(), 7);
}

class HistoryWindow : public WindowFixture { };

// A logon asks for the password in the output window, and the player may
// answer in the input line: that answer is never kept nor recalled.
TEST_F(HistoryWindow, APasswordTypedDuringLogonIsNeverKept)
{
    TMainForm& w = Window();
    w.show();
    w.InputEdit->setFocus();
    w.GetComs().SetMode(Coms::LoggingOn);
    QTest::keyClicks(w.InputEdit, "hunter2");
    QTest::keyClick(w.InputEdit, Qt::Key_Return);
    w.GetComs().SetMode(Coms::Streaming);
    QTest::keyClicks(w.InputEdit, "look");
    QTest::keyClick(w.InputEdit, Qt::Key_Return);
    QTest::keyClick(w.InputEdit, Qt::Key_Up);
    EXPECT_EQ(w.InputEdit->toPlainText(), "look");
    QTest::keyClick(w.InputEdit, Qt::Key_Up);
    EXPECT_EQ(w.InputEdit->toPlainText(), "look") << "nothing older";
    EXPECT_EQ(ReadFile(WorkPath("history.txt")), "look\n");
}

} // namespace
