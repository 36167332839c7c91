// The status panels in the real window over a scripted session on
// 127.0.0.1: the pages fill, the bar and lights take their colours, the
// ticker runs on its timer and a double-clicked quote is traded.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "shell/coms.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

class PanelsWindow : public WindowFixture {
protected:
    TMainForm& Stream()
    {
        TMainForm& w = Window();
        w.OpenConnection("127.0.0.1", server.Port(), "Nova");
        EXPECT_TRUE(server.WaitForClient());
        EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; }, 5000));
        w.GetComs().SetMode(Coms::Streaming);
        return w;
    }
    template <typename Pred>
    void SendAndWait(const QByteArray& bytes, Pred done)
    {
        server.Send(bytes);
        ASSERT_TRUE(QTest::qWaitFor(done, 5000));
    }
    static QString Cell(const QTableWidget* grid, int row, int column)
    {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }
    static QColor Background(const TMainForm& w, const char* light)
    {
        return w.findChild<QWidget*>(light)->palette().color(QPalette::Window);
    }

    ScriptServer server;
};

} // namespace

TEST_F(PanelsWindow, FiguresFillTheGridsAndTheSelectedRowDrivesTheBar)
{
    TMainForm& w = Stream();
    SendAndWait("<s-player-stats name='Nova'/>\n<s-player-stats rank='Pilot'/>\n"
                "<s-player-stats stat='sta' max='30' cur='20'/>\n<s-player-stats stat='cash' amount='1500'/>\n"
                "<s-ship-stats class='Trader'/>\n<s-ship-stats stat='fuel' max='30' cur='5'/>\n",
                [&] { return !Cell(w.ShipGrid, 0, 1).isEmpty(); });
    EXPECT_TRUE(server.WaitForReceived("ex Nova\n"));
    EXPECT_EQ(w.NameLabel->text(), "Nova");
    EXPECT_EQ(w.RankLabel->text(), "-Pilot-");
    EXPECT_EQ(w.ClassLabel->text(), "-Trader Class-");
    EXPECT_EQ(Cell(w.StatsGrid, 1, 0), "Cash");
    EXPECT_EQ(Cell(w.StatsGrid, 1, 1), "1Kig");
    // Row 0 is current from the start, as in any string grid.
    EXPECT_EQ(w.findChild<QGroupBox*>("StatBox")->title(), " Stamina ");
    EXPECT_EQ(w.StatBar->value(), 66);
    EXPECT_EQ(w.StatBar->palette().color(QPalette::Highlight), QColor(Qt::yellow));
    EXPECT_EQ(w.ShipBar->value(), 16);
    EXPECT_EQ(w.ShipBar->palette().color(QPalette::Highlight), QColor(Qt::red));

    w.StatsGrid->setCurrentCell(1, 0);
    EXPECT_EQ(w.findChild<QGroupBox*>("StatBox")->title(), "");
    EXPECT_EQ(w.StatBar->value(), 0);

    // A reconnection empties the pages but keeps the lights' rule.
    ScriptServer second;
    w.OpenConnection("127.0.0.1", second.Port(), "Nova");
    ASSERT_TRUE(second.WaitForClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.NameLabel->text().isEmpty(); }, 5000));
    EXPECT_EQ(Cell(w.StatsGrid, 0, 0), "");
    EXPECT_TRUE(w.TwinkleTimer->isActive());
}

TEST_F(PanelsWindow, QuotesRunTheTickerAndADoubleClickTrades)
{
    TMainForm& w = Stream();
    w.TopNotebook->setCurrentIndex(0);
    SendAndWait("<s-exchange name='Kyrnos'/>\n<s-exch-sell name='Grain' price='120' stock='30'/>\n",
                [&] { return w.HistoryListBox->count() == 1; });
    EXPECT_EQ(w.TopNotebook->currentWidget(), w.ExchTab);
    EXPECT_EQ(w.LastExchGroup->title(), " Kyrnos Commodity Exchange ");
    EXPECT_EQ(w.CommodLabel2->text(), "Exch sells at 120/ton");
    EXPECT_TRUE(w.TickerTimer->isActive());
    // The ticker, wider than its panel, sits centred in it.
    EXPECT_EQ(w.TickerEdit->x(), (w.TickerPanel->width() - w.TickerEdit->width()) / 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.TickerEdit->text().startsWith(QString(70, ' ') + "+++"); }, 5000));

    QListWidgetItem* item = w.HistoryListBox->item(0);
    w.HistoryListBox->setCurrentItem(item);
    emit w.HistoryListBox->itemClicked(item);
    EXPECT_EQ(w.HistoryListBox->toolTip(), "Exch sells Grain at 120/ton (30)");
    emit w.HistoryListBox->itemDoubleClicked(item);
    ASSERT_TRUE(server.WaitForReceived("buy Grain\n"));
    EXPECT_EQ(w.OutputEdit->Lines().last(), ">buy Grain");
}

TEST_F(PanelsWindow, MenuItemsSwitchTheLightsAndThePanel)
{
    TMainForm& w = Window();
    QAction* lightsItem = w.findChild<QAction*>("LightsItem");
    lightsItem->trigger();
    EXPECT_FALSE(w.TwinkleTimer->isActive());
    EXPECT_EQ(Background(w, "T0"), w.palette().color(QPalette::Button));
    lightsItem->trigger();
    ASSERT_TRUE(w.TwinkleTimer->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Background(w, "T0") != w.palette().color(QPalette::Button)
                                             || Background(w, "T5") != w.palette().color(QPalette::Button); },
                                5000));

    w.findChild<QAction*>("StatsItem")->trigger();
    EXPECT_FALSE(w.MenuItem(Option::StatsPanel)->isChecked());
    EXPECT_TRUE(w.StatsPanel->isHidden());
    w.findChild<QAction*>("StatsItem")->trigger();
    EXPECT_FALSE(w.StatsPanel->isHidden());
}
