// The main window on the offscreen platform: start-up, panes, lists, menus.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QFrame>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

QString Status(TMainForm& w, int panel)
{
    return w.StatusPanels[panel]->text();
}

QAction* Item(TMainForm& w, const char* name)
{
    auto* a = w.findChild<QAction*>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}

QStringList Items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace

using MainWindow = WindowFixture;

TEST_F(MainWindow, StartsWithItsDesignStateAndCreatesItsFolders)
{
    TMainForm& w = Window();
    for (const char* dir : {"maps", "logs", "pictures"})
        EXPECT_TRUE(QDir(WorkPath(dir)).exists()) << dir;
    EXPECT_EQ(w.windowTitle(), "Orvix - Version 1.60");
    EXPECT_EQ(w.size(), QSize(992, 701));
    EXPECT_EQ(w.BufferLines(), 200);
    EXPECT_EQ(w.WorkDir(), tempDir.path().toStdString());
    EXPECT_EQ(Status(w, 0), "Offline");

    // Initial check marks and enabled states of the menus.
    for (const char* checked : {"LightsItem", "StatsItem", "SoundItem"})
        EXPECT_TRUE(Item(w, checked)->isChecked()) << checked;
    for (const char* unchecked : {"AutoLogItem", "TextAlertItem", "BufferSizeItem", "BlankLinesItem",
                                  "DisplayClientStreamItem", "DisplayServerStreamItem"})
        EXPECT_FALSE(Item(w, unchecked)->isChecked()) << unchecked;
    for (const char* disabled : {"StopLoggingItem", "PasteItem", "LogOffItem"})
        EXPECT_FALSE(Item(w, disabled)->isEnabled()) << disabled;
    EXPECT_TRUE(Item(w, "LogonItem")->isEnabled());
    EXPECT_TRUE(Item(w, "NewAccountAvatarItem")->isEnabled());

    // Every region is there under its name, with its captions and tab positions.
    EXPECT_EQ(w.MainNotebook->tabPosition(), QTabWidget::South);
    EXPECT_EQ(w.TopNotebook->tabPosition(), QTabWidget::East);
    EXPECT_EQ(w.PlayersNotebook->tabPosition(), QTabWidget::East);
    EXPECT_EQ(w.ContentsNotebook->tabPosition(), QTabWidget::East);
    QStringList mainTabs, topTabs;
    for (int i = 0; i < w.MainNotebook->count(); ++i)
        mainTabs << w.MainNotebook->tabText(i);
    for (int i = 0; i < w.TopNotebook->count(); ++i)
        topTabs << w.TopNotebook->tabText(i);
    EXPECT_EQ(mainTabs, QStringList({"Main", "Map", "Story", "Scrollback"}));
    EXPECT_EQ(topTabs, QStringList({"Ex/SP", "Exch", "TB"}));
    EXPECT_EQ(w.TBNamePanel->text(), "Connection not yet initiated");
    EXPECT_EQ(w.TickerEdit->text(), QString(74, ' '));
    EXPECT_TRUE(w.DetailGrid->isHidden());
    for (const char* name : {"OutputEdit", "InputEdit", "StoryMemo", "ScrollBackMemo", "MapRepeater",
                             "MapMemo", "LocListBox", "PlayerListBox", "FriendsListBox", "SpynetOutput",
                             "TBMemo", "HistoryListBox", "StatsGrid", "ShipGrid", "MapGrid", "T0", "T9",
                             "NMoveBtn", "NWMoveBtn", "BoardBtn", "UpBtn", "DownBtn", "CommandBtn",
                             "TBEndBtn", "ExchImage", "SpynetImage", "StatBar", "ShipBar"})
        EXPECT_NE(w.findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(w.findChild<QWidget*>("NEMoveBtn")->toolTip(), "Move North-East");
    EXPECT_EQ(w.StatsGrid->columnWidth(0), 88);
    EXPECT_EQ(w.ShipGrid->columnWidth(1), 60);
}

TEST_F(MainWindow, ExistingFoldersAreLeftAsTheyAre)
{
    ASSERT_TRUE(QDir(tempDir.path()).mkpath("maps/old"));
    Window();
    EXPECT_TRUE(QDir(WorkPath("maps/old")).exists());
}

TEST_F(MainWindow, OutputPanesTrimInBatchesAtTheDefaultLimit)
{
    TMainForm& w = Window();
    for (int i = 1; i <= 301; ++i)
        w.DisplayText("line " + std::to_string(i));
    EXPECT_EQ(w.OutputEdit->LineCount(), 301);
    EXPECT_EQ(w.MapRepeater->LineCount(), 301);
    EXPECT_EQ(w.StoryMemo->LineCount(), 301);
    w.DisplayText("line 302");
    EXPECT_EQ(w.OutputEdit->LineCount(), 201);
    EXPECT_EQ(w.MapRepeater->LineCount(), 201);
    EXPECT_EQ(w.StoryMemo->LineCount(), 201);
    EXPECT_EQ(w.OutputEdit->LineAt(0), "line 102");
    EXPECT_EQ(w.OutputEdit->LineAt(200), "line 302");
    EXPECT_EQ(w.OutputEdit->Lines().size(), 201);
}

TEST_F(MainWindow, LargeBufferTrimsAtFiveHundred)
{
    TMainForm& w = Window();
    Item(w, "BufferSizeItem")->trigger();
    EXPECT_EQ(w.BufferLines(), 500);
    for (int i = 1; i <= 601; ++i)
        w.DisplayText("x");
    EXPECT_EQ(w.OutputEdit->LineCount(), 601);
    w.DisplayText("y");
    EXPECT_EQ(w.OutputEdit->LineCount(), 501);

    // Turning it off leaves the pane until the next line, which cuts it back.
    for (int i = 0; i < 49; ++i)
        w.DisplayText("z");
    ASSERT_EQ(w.OutputEdit->LineCount(), 550);
    Item(w, "BufferSizeItem")->trigger();
    EXPECT_EQ(w.BufferLines(), 200);
    EXPECT_EQ(w.OutputEdit->LineCount(), 550);
    w.DisplayText("last");
    EXPECT_EQ(w.OutputEdit->LineCount(), 201);
}

TEST_F(MainWindow, SetBufferLinesDrivesTheCheckMark)
{
    TMainForm& w = Window();
    w.SetBufferLines(201);
    EXPECT_TRUE(w.OptionChecked(Option::LargeBuffer));
    w.SetBufferLines(200);
    EXPECT_FALSE(w.OptionChecked(Option::LargeBuffer));
    EXPECT_EQ(w.BufferLines(), 200);
}

TEST_F(MainWindow, BlankLinesAreSuppressedOnlyWhenAsked)
{
    TMainForm& w = Window();
    w.DisplayText(" ");
    w.DisplayText("");
    EXPECT_EQ(w.OutputEdit->LineCount(), 2);
    EXPECT_EQ(w.StoryMemo->LineCount(), 2);

    Item(w, "BlankLinesItem")->trigger();
    w.DisplayText(" ");
    w.DisplayText("");
    w.DisplayText("  ");
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({" ", "", "  "}));
    EXPECT_EQ(w.MapRepeater->LineCount(), 3);
    EXPECT_EQ(w.StoryMemo->LineCount(), 3);
}

TEST_F(MainWindow, SkipStoryLinesStayOutOfTheStory)
{
    TMainForm& w = Window();
    w.DisplayText("A dusty plain", true);
    w.DisplayText("You see a rock.");
    w.AddToStory("story only");
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"A dusty plain", "You see a rock."}));
    EXPECT_EQ(PaneLines(w.MapRepeater), QStringList({"A dusty plain", "You see a rock."}));
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({"You see a rock.", "story only"}));
}

TEST_F(MainWindow, WindowsAnsiBytesAreShownAsTheirCharacters)
{
    TMainForm& w = Window();
    w.DisplayText("caf\xE9 \x80 5 \x93quoted\x94");
    EXPECT_EQ(w.OutputEdit->LineAt(0), QString::fromUtf8("café € 5 “quoted”"));
}

TEST_F(MainWindow, ScrollbackTrimsItsOwnLinesButNotRawEchoes)
{
    TMainForm& w = Window();
    for (int i = 0; i < 302; ++i)
        w.AddToScrollback("s");
    EXPECT_EQ(w.ScrollBackMemo->LineCount(), 201);
}

TEST_F(MainWindow, LocationListIsSortedIgnoringCase)
{
    TMainForm& w = Window();
    for (const char* item : {"lamp", "Axe", "bottle", "axe", "Zebra"})
        w.AddLocationItem(item);
    EXPECT_EQ(Items(w.LocListBox), QStringList({"Axe", "axe", "bottle", "lamp", "Zebra"}));
    w.RemoveLocationItem("AXE");
    EXPECT_EQ(Items(w.LocListBox), QStringList({"axe", "bottle", "lamp", "Zebra"}));
    w.RemoveLocationItem("missing");
    EXPECT_EQ(w.LocListBox->count(), 4);
}

TEST_F(MainWindow, PlayerListKeepsItsCountInTheStatusBar)
{
    TMainForm& w = Window();
    w.AddPlayerItem("zed");
    w.AddPlayerItem("Amy");
    w.AddPlayerItem("MiXed");
    EXPECT_EQ(Items(w.PlayerListBox), QStringList({"Amy", "MiXed", "zed"}));
    EXPECT_EQ(Status(w, 2), "3 players");
    w.RemovePlayerItem("MIXED");
    EXPECT_EQ(Items(w.PlayerListBox), QStringList({"Amy", "zed"}));
    EXPECT_EQ(Status(w, 2), "2 players");
    w.StatusPanels[2]->setText("stale");
    w.RemovePlayerItem("nobody");
    EXPECT_EQ(Status(w, 2), "2 players");
    w.ClearPlayerList();
    EXPECT_EQ(w.PlayerListBox->count(), 0);
    EXPECT_EQ(Status(w, 2), "");
}

TEST_F(MainWindow, FriendsListKeepsInsertionOrder)
{
    TMainForm& w = Window();
    w.AddFriendItem("zed");
    w.AddFriendItem("Amy");
    w.AddFriendItem("bob");
    w.RemoveFriendItem("AMY");
    EXPECT_EQ(Items(w.FriendsListBox), QStringList({"zed", "Amy", "bob"}));
    w.RemoveFriendItem("Amy");
    EXPECT_EQ(Items(w.FriendsListBox), QStringList({"zed", "bob"}));
}

TEST_F(MainWindow, ClosingAsksFirstAndCancelKeepsRunning)
{
    TMainForm& w = Window();
    w.show();
    confirmAnswer = false;
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(confirmations.size(), 1u);
    EXPECT_EQ(confirmations[0], "Close Orvix?");
    confirmAnswer = true;
    EXPECT_TRUE(w.close());
}

TEST_F(MainWindow, TickerStaysCentredWhenResized)
{
    TMainForm& w = Window();
    w.show();
    w.TopNotebook->setCurrentWidget(w.ExchTab);
    QApplication::processEvents();
    // At the design size the ticker is wider than its panel.
    EXPECT_EQ(w.TickerEdit->x(), (w.TickerPanel->width() - w.TickerEdit->width()) / 2);
    EXPECT_LT(w.TickerEdit->x(), 0);
    w.resize(1700, 800);
    QApplication::processEvents();
    EXPECT_EQ(w.TickerEdit->x(), (w.TickerPanel->width() - w.TickerEdit->width()) / 2);
    EXPECT_GT(w.TickerEdit->x(), 0);
}

TEST_F(MainWindow, PlayerCommandNeedsASelectedPlayerOfTheShownList)
{
    TMainForm& w = Window();
    w.AddPlayerItem("Zed");
    w.PlayerListBox->setCurrentRow(0);
    w.PlayersNotebook->setCurrentIndex(1);
    Item(w, "HugItem")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, MessageKind::Error);
    EXPECT_EQ(messages[0].second, "You need to select a player first!");
    EXPECT_EQ(w.OutputEdit->LineCount(), 0);

    w.PlayersNotebook->setCurrentIndex(0);
    Item(w, "SpynetReport")->trigger();
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({"spynet report Zed"}));
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({"spynet report Zed"}));
}

TEST_F(MainWindow, PlayerWhoLeavesTakesTheSelectionWithHim)
{
    TMainForm& w = Window();
    for (const char* name : {"Amy", "Bob", "Cy"})
        w.AddPlayerItem(name);
    w.PlayerListBox->setCurrentRow(1);
    w.RemovePlayerItem("Bob");
    EXPECT_TRUE(w.PlayerListBox->selectedItems().isEmpty());
    // Nobody is chosen for the player's next command.
    Item(w, "HugItem")->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "You need to select a player first!");
}

TEST_F(MainWindow, EnterInTheCloseConfirmationCloses)
{
    TMainForm& w = Window();
    w.show();
    w.SetConfirmHook({});
    ModalScript script;
    script.Then([](QWidget* box) {
        auto* question = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->windowTitle(), "Confirm");
        EXPECT_TRUE(question->defaultButton() == question->button(QMessageBox::Ok));
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_TRUE(w.close());
    EXPECT_EQ(script.messages, std::vector<QString>{"Close Orvix?"});
}

TEST_F(MainWindow, MapRepeaterSitsBelowASplitter)
{
    TMainForm& w = Window();
    auto* splitter = w.findChild<QSplitter*>("MapInfoSplitter");
    ASSERT_NE(splitter, nullptr);
    ASSERT_EQ(splitter->count(), 2);
    EXPECT_EQ(splitter->widget(0), w.MapMemo);
    EXPECT_EQ(splitter->widget(1), w.MapRepeater);
    w.resize(992, 701);
    w.show();
    w.MainNotebook->setCurrentIndex(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.MapRepeater->isVisible(); }, 2000));
    EXPECT_NEAR(w.MapRepeater->height(), 140, 10);
    // The player drags the boundary up.
    splitter->setSizes({100, splitter->height() - 100});
    EXPECT_GT(w.MapRepeater->height(), 300);
}

TEST_F(MainWindow, DoubleClickOnAPlayerAddsTheNameToTheInputLine)
{
    TMainForm& w = Window();
    w.AddPlayerItem("Zed");
    w.InputEdit->setPlainText("hug");
    w.PlayerListBox->setCurrentRow(0);
    emit w.PlayerListBox->itemDoubleClicked(w.PlayerListBox->item(0));
    EXPECT_EQ(w.InputEdit->toPlainText(), "hug Zed ");
    EXPECT_EQ(w.InputEdit->textCursor().position(), 8);
}

TEST_F(MainWindow, DumpToScrollbackReplacesItsContent)
{
    TMainForm& w = Window();
    w.AddToScrollback("old");
    w.DisplayText("first");
    w.DisplayText("second");
    Item(w, "DumptoScrollItem")->trigger();
    Item(w, "DumptoScrollItem")->trigger();
    EXPECT_EQ(PaneLines(w.ScrollBackMemo), QStringList({"first", "second"}));
    EXPECT_EQ(w.MainNotebook->tabText(w.MainNotebook->currentIndex()), "Scrollback");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first\nsecond");
    EXPECT_EQ(w.OutputEdit->LineCount(), 2);
}

TEST_F(MainWindow, SwitchingTabsAddsABlankLineToThePaneShown)
{
    TMainForm& w = Window();
    w.MainNotebook->setCurrentIndex(1);
    EXPECT_EQ(PaneLines(w.MapRepeater), QStringList({" "}));
    w.MainNotebook->setCurrentIndex(2);
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({" "}));
    w.MainNotebook->setCurrentIndex(0);
    // The blank on Main goes to both output panes but not the story.
    EXPECT_EQ(PaneLines(w.OutputEdit), QStringList({" "}));
    EXPECT_EQ(PaneLines(w.MapRepeater), QStringList({" ", " "}));
    EXPECT_EQ(PaneLines(w.StoryMemo), QStringList({" "}));
}

TEST_F(MainWindow, StatsPanelFollowsItsMenuItem)
{
    TMainForm& w = Window();
    w.show();
    w.ShowStatsPanel(false);
    EXPECT_FALSE(w.StatsPanel->isVisible());
    EXPECT_FALSE(w.OptionChecked(Option::StatsPanel));
    Item(w, "StatsItem")->trigger();
    EXPECT_TRUE(w.StatsPanel->isVisible());
}

TEST_F(MainWindow, ColourAndFontReachTheirPanes)
{
    TMainForm& w = Window();
    w.ApplyColour(0x00336699);  // 0x00BBGGRR
    EXPECT_EQ(w.OutputEdit->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
    EXPECT_EQ(w.TBNamePanel->palette().color(QPalette::Window), QColor(0x99, 0x66, 0x33));
    FontSpec f{"DejaVu Sans Mono", 0x000000FF, -20, 0};
    w.ApplyFont(f);
    EXPECT_EQ(w.OutputEdit->font().pixelSize(), 20);
    EXPECT_EQ(w.OutputEdit->palette().color(QPalette::Text), QColor(0xFF, 0, 0));
    EXPECT_EQ(w.StatsGrid->palette().color(QPalette::Text), QColor(0xFF, 0, 0));
    EXPECT_EQ(w.OutputFont(), f);
}
