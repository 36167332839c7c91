// The real main window on the offscreen platform: how lines reach the panes,
// the lists, closing, what each menu item does; and the general error display.
#include <stdexcept>

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "about/about.h"
#include "app/application.h"
#include "support/common.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

using MainWindow = WindowFixture;

TEST_F(MainWindow, StartsOfflineInItsOwnFoldersWithPasteFollowingTheFocus)
{
    ASSERT_TRUE(QDir(tempDir.path()).mkpath("maps/old"));
    TMainForm& w = Window();
    for (const char* dir : {"maps/old", "logs", "pictures"})
        EXPECT_TRUE(QDir(WorkPath(dir)).exists()) << dir;
    EXPECT_EQ(w.StatusPanels[0]->text(), "Offline");
    for (const char* disabled : {"StopLoggingItem", "PasteItem", "LogOffItem"})
        EXPECT_FALSE(Item(disabled)->isEnabled()) << disabled;
    // Paste is usable while the input line has the focus.
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason), out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w.InputEdit, &in);
    EXPECT_TRUE(Item("PasteItem")->isEnabled());
    QApplication::sendEvent(w.InputEdit, &out);
    EXPECT_FALSE(Item("PasteItem")->isEnabled());
}

TEST_F(MainWindow, ShownLinesReachThePanesTheyBelongTo)
{
    // `shown` is what OutputEdit and MapRepeater show (null: nothing).
    struct Row {
        const char* text;
        bool suppressBlanks, skipStory;
        const char* shown;
        bool inStory;
    };
    const Row rows[] = {
        {" ", false, false, " ", true},
        {"", false, false, "", true},
        {" ", true, false, nullptr, false},
        {"", true, false, nullptr, false},
        {"  ", true, false, "  ", true},
        {"A dusty plain", false, true, "A dusty plain", false},
        {"caf\xE9 \x80 \x93q\x94", false, false, "caf\u00e9 \u20ac \u201cq\u201d", true},
    };
    TMainForm& w = Window();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        if (w.OptionChecked(Option::SuppressBlankLines) != row.suppressBlanks)
            Item("BlankLinesItem")->trigger();
        for (TextPane* pane : {w.OutputEdit, w.MapRepeater, w.StoryMemo})
            pane->ClearLines();
        w.DisplayText(row.text, row.skipStory);
        const QStringList shown = row.shown ? QStringList{QString::fromUtf8(row.shown)} : QStringList{};
        EXPECT_EQ(PaneLines(w.OutputEdit), shown);
        EXPECT_EQ(PaneLines(w.MapRepeater), shown);
        EXPECT_EQ(PaneLines(w.StoryMemo), row.inStory ? shown : QStringList{});
    }
    w.AddToStory("story only");
    EXPECT_EQ(PaneLines(w.StoryMemo).last(), "story only");
    EXPECT_EQ(w.OutputEdit->LineCount(), 1);
}

TEST_F(MainWindow, PanesTrimToTheLimitTheMenuChooses)
{
    TMainForm& w = Window();
    auto show = [&](int n) {
        for (int i = 0; i < n; ++i) {
            w.DisplayText("line " + std::to_string(i));
            w.AddToScrollback("s");
        }
    };
    show(302);
    for (TextPane* pane : {w.OutputEdit, w.MapRepeater, w.StoryMemo, w.ScrollBackMemo})
        EXPECT_EQ(pane->LineCount(), 201);

    Item("BufferSizeItem")->trigger();
    show(401);
    EXPECT_EQ(w.OutputEdit->LineCount(), 501);
    show(49);
    // Turned off, the pane is cut back only by the next line.
    Item("BufferSizeItem")->trigger();
    EXPECT_EQ(w.OutputEdit->LineCount(), 550);
    show(1);
    EXPECT_EQ(w.OutputEdit->LineCount(), 201);
    w.SetBufferLines(201);
    EXPECT_TRUE(Item("BufferSizeItem")->isChecked());
}

TEST_F(MainWindow, ListsKeepTheirOrderAndCountAndCommandsUseTheSelectedEntry)
{
    TMainForm& w = Window();
    for (const char* item : {"lamp", "Axe", "bottle", "axe"})
        w.AddLocationItem(item);
    w.RemoveLocationItem("AXE");
    w.RemoveLocationItem("missing");
    EXPECT_EQ(ListItems(w.LocListBox), QStringList({"axe", "bottle", "lamp"}));

    for (const char* name : {"zed", "Amy", "MiXed"})
        w.AddPlayerItem(name);
    w.RemovePlayerItem("MIXED");
    w.StatusPanels[2]->setText("stale");
    w.RemovePlayerItem("nobody");
    EXPECT_EQ(ListItems(w.PlayerListBox), QStringList({"Amy", "zed"}));
    EXPECT_EQ(w.StatusPanels[2]->text(), "2 players");
    w.ClearPlayerList();
    EXPECT_EQ(w.StatusPanels[2]->text(), "");

    for (const char* name : {"zed", "Amy", "bob"})
        w.AddFriendItem(name);
    w.RemoveFriendItem("AMY");
    w.RemoveFriendItem("bob");
    EXPECT_EQ(ListItems(w.FriendsListBox), QStringList({"zed"})) << "friends are removed whatever the case";

    // Player commands and double clicks use the selected entry.
    for (const char* name : {"Amy", "Bob", "Zed"})
        w.AddPlayerItem(name);
    w.PlayerListBox->setCurrentRow(1);
    w.RemovePlayerItem("Bob"); // takes the selection with him
    Item("HugItem")->trigger();
    w.PlayerListBox->setCurrentRow(1);
    w.PlayersNotebook->setCurrentIndex(1);
    Item("KissItem")->trigger();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], std::pair(MessageKind::Error, QString("You need to select a player first!")));
    EXPECT_EQ(w.OutputEdit->LineCount(), 0);

    w.PlayersNotebook->setCurrentIndex(0);
    Item("SpynetReport")->trigger();
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({"spynet report Zed"}));

    // A double click on a player adds the name to the input line; on a
    // location item it examines the item and keeps the input line.
    w.InputEdit->setPlainText("hug");
    emit w.PlayerListBox->itemDoubleClicked(w.PlayerListBox->currentItem());
    EXPECT_EQ(w.InputEdit->toPlainText(), "hug Zed ");
    EXPECT_EQ(w.InputEdit->textCursor().position(), 8);
    w.LocListBox->setCurrentRow(2); // the lamp, listed above
    emit w.LocListBox->itemDoubleClicked(w.LocListBox->item(2));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"spynet report Zed", " ", "> ex lamp"}));
    EXPECT_EQ(w.InputEdit->toPlainText(), "hug Zed ");
}

TEST_F(MainWindow, TabsAddBlankLinesDumpingReplacesTheScrollbackItemsOpenWindowsAndExitAsks)
{
    TMainForm& w = Window();
    w.show();
    for (int tab : {1, 2, 0})
        w.MainNotebook->setCurrentIndex(tab);
    EXPECT_EQ(PaneLines(w.MapRepeater), QStringList({" ", " "}));
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({" "}));
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({" "}));

    w.AddToScrollback("old");
    w.DisplayText("first");
    Item("DumptoScrollItem")->trigger();
    Item("DumptoScrollItem")->trigger();
    EXPECT_EQ(PaneLines(w.ScrollBackMemo), QStringList({" ", "first"}));
    EXPECT_TRUE(w.ScrollBackMemo->isVisibleTo(w.MainNotebook));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " \nfirst");
    EXPECT_EQ(w.OutputEdit->LineCount(), 2);

    Item("AboutItem")->trigger();
    auto* about = Control<TAboutForm>(&w, "AboutForm");
    EXPECT_TRUE(about && about->isVisible() && !about->isModal());
    Item("StatsItem")->trigger();
    EXPECT_FALSE(w.StatsPanel->isVisible());

    // Exit asks, and only OK closes.
    w.SetConfirmHook({});
    ModalScript script;
    script.Answer(QMessageBox::Cancel).Then([](QWidget* box) { QTest::keyClick(box, Qt::Key_Return); });
    Item("ExitItem")->trigger();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.close());
    EXPECT_EQ(script.messages, (std::vector<QString>{"Close Orvix?", "Close Orvix?"}));
}

struct Throwing : QObject {
    bool event(QEvent* e) override
    {
        return e->type() == QEvent::User ? throw std::runtime_error("Socket error: connection reset")
                                         : QObject::event(e);
    }
};

// An exception escaping an event handler is shown and the loop goes on.
TEST(GeneralErrorDisplay, ShowsTheMessageAndKeepsTheLoopRunning)
{
    auto* app = qobject_cast<OrvixApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    QStringList shown;
    app->SetErrorDisplay([&](const QString& message) { shown << message; });
    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 2 && timerRan; }, 2000));
    EXPECT_EQ(shown[0], "Socket error: connection reset");
    app->SetErrorDisplay({});
}

} // namespace
