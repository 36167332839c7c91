// The real window's controls reaching what they drive: the map's buttons and
// grids, the status panels, the voting reminder, the menu's pages, the log
// dialog and the options kept in init.xml.
#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "settings/init.h"
#include "social/friends.h"
#include "support/common.h"
#include "support/modal_script.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class Wiring : public WindowFixture {
protected:
    // The window, with the addresses it opens recorded.
    TMainForm& Open()
    {
        TMainForm& w = Window();
        w.SetUrlOpener([this](const QUrl& address) { opened.push_back(address); });
        return w;
    }
    // Console lights showing one of their colours.
    int LitLights()
    {
        int lit = 0;
        for (QLabel* light : window->TwinkPanel->findChildren<QLabel*>()) {
            const QColor c = light->palette().color(QPalette::Window);
            lit += c == Qt::red || c == Qt::green || c == Qt::yellow || c == Qt::blue;
        }
        return lit;
    }

    ScriptServer server;
    std::vector<QUrl> opened;
};

TEST_F(Wiring, MapControlsSendMovesAnUnwritableMapIsReportedAndPanelsFollowTheirFiguresClicksQuotesAndLights)
{
    TMainForm& w = Open();
    w.show();
    ASSERT_TRUE(server.Stream(w));
    ASSERT_TRUE(server.SendUntil("<s-new-map name='Sol'/>\n<s-new-loc name='Dock' loc-num='454'>\n</s-new-loc>\n"
                                 "<s-new-loc name='Pad' loc-num='455'>\n</s-new-loc>\n",
        [&] { return PaneLines(w.OutputEdit).contains("Pad"); }));
    EXPECT_FALSE(w.MapImage->isVisible());
    server.ClearReceived();

    const std::pair<const char*, const char*> buttons[] = {
        {"NWMoveBtn", "nw"},
        {"NMoveBtn", "n"},
        {"NEMoveBtn", "ne"},
        {"WMoveBtn", "w"},
        {"EMoveBtn", "e"},
        {"SWMoveBtn", "sw"},
        {"SMoveBtn", "s"},
        {"SEMoveBtn", "se"},
        {"BoardBtn", "board"},
    };
    QByteArray expected;
    for (const auto& [name, command] : buttons) {
        QTest::mouseClick(Control<QToolButton>(&w, name), Qt::LeftButton);
        expected += QByteArray(command) + "\n";
    }
    // Up and down answer any mouse button and hand the focus back to the input line.
    for (const auto& [button, mouse, command] :
        {std::tuple(w.UpBtn, Qt::RightButton, "u\n"), std::tuple(w.DownBtn, Qt::MiddleButton, "d\n")}) {
        w.OutputEdit->setFocus();
        QTest::mouseClick(button, mouse);
        EXPECT_EQ(w.focusWidget(), w.InputEdit) << command;
        expected += command;
    }
    // A key released on the grid moves; the mouse over a location names it.
    QTest::keyRelease(w.DetailGrid, Qt::Key_Left);
    expected += "w\n";
    TileGrid* grid = w.DetailGrid;
    const QPoint here(
        (grid->SelectedColumn() - grid->LeftColumn()) * 16 + 8, (grid->SelectedRow() - grid->TopRow()) * 16 + 8);
    QMouseEvent move(
        QEvent::MouseMove, here, grid->viewport()->mapToGlobal(here), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    EXPECT_EQ(w.StatusPanels[3]->text(), "Pad");
    ASSERT_TRUE(server.WaitForReceived(expected)) << server.Received().toStdString();
    EXPECT_EQ(server.Received(), expected);

    // Leaving the map stores it; a folder in the way is reported.
    ASSERT_TRUE(QDir().mkpath(WorkPath("maps/sol.xml")));
    ASSERT_TRUE(server.SendUntil("<s-new-map name='Next'/>\n",
        [&] { return PaneLines(w.ScrollBackMemo).contains("Can't open file for writing:"); }));
    const QStringList scrollback = PaneLines(w.ScrollBackMemo);
    EXPECT_EQ(
        scrollback.mid(scrollback.size() - 2), QStringList({"Can't open file for writing:", WorkPath("maps/sol.xml")}));

    // The panels follow their figures, clicks and quotes; the lights flicker while connected.
    ASSERT_TRUE(QTest::qWaitFor([&] { return LitLights() > 0; }));
    ASSERT_TRUE(server.SendUntil("<s-player-stats name='Nova'/>\n<s-player-stats stat='sta' max='30' cur='1'/>\n"
                                 "<s-player-stats stat='cash' amount='5'/>\n",
        [&] { return w.StatsGrid->item(1, 0) != nullptr; }));
    EXPECT_EQ(w.StatBar->palette().color(QPalette::Highlight), QColor(Qt::red));
    EXPECT_GT(w.StatBar->value(), 0);
    // A figure without a bar empties it; back on stamina it fills again.
    QTest::mouseClick(
        w.StatsGrid->viewport(), Qt::LeftButton, {}, w.StatsGrid->visualItemRect(w.StatsGrid->item(1, 0)).center());
    EXPECT_EQ(w.StatBar->value(), 0);
    EXPECT_NE(w.StatBar->palette().color(QPalette::Highlight), QColor(Qt::red));
    QTest::keyClick(w.StatsGrid, Qt::Key_Up);
    EXPECT_EQ(w.StatBar->palette().color(QPalette::Highlight), QColor(Qt::red));

    ASSERT_TRUE(server.SendUntil("<s-exchange name='Kyrnos'/>\n<s-exch-sell name='Grain' price='120' stock='30'/>\n",
        [&] { return w.HistoryListBox->count() == 1; }));
    const QString quote = w.TickerEdit->text();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.TickerEdit->text() != quote; })) << "the ticker scrolls";
    QListWidgetItem* line = w.HistoryListBox->item(0);
    const QPoint at = w.HistoryListBox->visualItemRect(line).center();
    QTest::mouseClick(w.HistoryListBox->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(w.HistoryListBox->toolTip(), line->text());
    server.ClearReceived();
    QTest::mouseDClick(w.HistoryListBox->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(server.WaitForReceived("buy Grain\n"));

    // The menu item and the connection's end reach the lights.
    Item("LightsItem")->trigger();
    EXPECT_EQ(LitLights(), 0);
    Item("LightsItem")->trigger();
    EXPECT_TRUE(w.TwinkleTimer->isActive());
    server.CloseClient();
    ASSERT_TRUE(WaitStatus("Disconnected"));
    EXPECT_FALSE(w.TwinkleTimer->isActive());
    EXPECT_TRUE(w.MapImage->isVisible());
}

TEST_F(Wiring, VotingReminderAtTheFirstShowingAnswersWithItsButtons)
{
    const qint64 now = QDateTime::currentSecsSinceEpoch(), day = 86400;
    // Last vote, the button pressed, the page opened, the next vote time is now.
    const std::tuple<qint64, const char*, bool, bool> rows[] = {
        {now - 60, nullptr, false, false},
        {now - 2 * day, "VoteBtn", true, true},
        {now - 2 * day, "AlreadyBtn", false, true},
        {now - 2 * day, "CancelBtn", false, false},
    };
    for (const auto& [voted, button, opens, votedNow] : rows) {
        SCOPED_TRACE(button ? button : "none");
        window.reset();
        opened.clear();
        WriteFile(WorkPath("init.xml"),
            "<?xml version=\"1.0\"?>\n<init-file>\n<voting time='" + QByteArray::number(voted) + "'/>\n</init-file>\n");
        TMainForm& w = Open();
        w.show();
        QPointer<QWidget> reminder = w.findChild<QWidget*>("TmcReminderForm");
        ASSERT_EQ(reminder && reminder->isVisible(), button != nullptr);
        if (!button)
            continue;
        ASSERT_TRUE(ClickButton(reminder, button));
        EXPECT_TRUE(!reminder || !reminder->isVisible());
        const QUrl votingPage = QUrl::fromLocalFile(WorkPath("manual/vote.html"));
        EXPECT_EQ(opened, opens ? std::vector<QUrl>{votingPage} : std::vector<QUrl>{});
        EXPECT_EQ(w.Settings().VotingTime() >= now, votedNow);
        EXPECT_EQ(w.Settings().VotingTime() == 0, !votedNow);
    }
}

TEST_F(Wiring, HelpAndWebItemsOpenTheirPages)
{
    // Item; the environment variable that sets it (or none); the address opened.
    const std::tuple<const char*, const char*, QUrl> rows[] = {
        {"OrvixManual1", nullptr, QUrl::fromLocalFile(WorkPath("manual/index.html"))},
        {"ManualsItem", nullptr, QUrl::fromLocalFile(WorkPath("manual/game.html"))},
        {"MapsItem", nullptr, QUrl::fromLocalFile(WorkPath("manual/maps.html"))},
        {"QuickStartItem", nullptr, QUrl::fromLocalFile(WorkPath("manual/quickstart.html"))},
        {"ExtrasItem", nullptr, QUrl::fromLocalFile(WorkPath("manual/extras.html"))},
        {"FeedbackItem", nullptr, QUrl::fromLocalFile(WorkPath("manual/feedback.html"))},
        {"ExtrasItem", "ORVIX_EXTRAS_URL", QUrl("https://shop.kyrn.test/extras")},
        {"FeedbackItem", "ORVIX_FEEDBACK_URL", QUrl("mailto:staff@kyrn.test")},
        {"FeedbackItem", "ORVIX_FEEDBACK_URL", QUrl::fromLocalFile(WorkPath("manual/feedback.html"))}, // no address
    };
    const QByteArray notAnAddress = "just words";
    for (const auto& [name, variable, address] : rows) {
        if (variable)
            qputenv(variable, address.isLocalFile() ? notAnAddress : address.toEncoded());
        window.reset();
        opened.clear();
        Open();
        if (variable)
            qunsetenv(variable);
        Item(name)->trigger();
        EXPECT_EQ(opened, std::vector<QUrl>{address}) << name;
    }
}

// The log dialog adds the extension; offline commands send nothing; the
// friends dialog is reused; menu options are kept for the next start.
TEST_F(Wiring, LogDialogOfflineCommandsFriendsDialogAndMenuOptionsKept)
{
    TMainForm& w = Open();
    ModalScript script;
    script.Then([](QWidget* dialog) {
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_TRUE(name);
        TypeInto(name, "tonight");
        QTest::keyClick(name, Qt::Key_Return);
    });
    Item("StartLoggingItem")->trigger();
    ASSERT_TRUE(script.WaitFinished());
    EXPECT_TRUE(QFile::exists(WorkPath("logs/tonight.log")));
    EXPECT_FALSE(QFile::exists(WorkPath("logs/tonight")));
    EXPECT_TRUE(Item("StopLoggingItem")->isEnabled());

    Item("DisplayClientStreamItem")->trigger();
    w.SendText("look\n");
    EXPECT_EQ(w.ScrollBackMemo->LineCount(), 0);
    for (int i = 0; i < 2; ++i)
        Item("Friendsitem")->trigger();
    EXPECT_EQ(w.findChildren<TFriendsForm*>().size(), 1);

    const char* items[] = {"LightsItem", "SoundItem", "TextAlertItem", "BlankLinesItem", "StatsItem"};
    std::vector<bool> before;
    for (const char* name : items) {
        before.push_back(Item(name)->isChecked());
        Item(name)->trigger();
    }
    window.reset(); // written at shut-down
    for (std::size_t i = 0; i < std::size(items); ++i)
        EXPECT_NE(Item(items[i])->isChecked(), before[i]) << items[i];
}

} // namespace
