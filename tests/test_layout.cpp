// The window as a player first sees it: geometry from init.xml fitted to the
// screen, no seams or clipped controls at the default size, maximised or at
// the smallest size, and the map centred when its page is shown.
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QProgressBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>

#include "session/coms.h"
#include "base/screen_fit.h"
#include "support/common.h"
#include "support/window_fixture.h"

namespace {

using Layout = WindowFixture;

TEST(ScreenFit, StoredGeometryIsFittedToTheScreensAvailableArea)
{
    const ScreenFit fit(QRect(0, 30, 1920, 1050)); // a panel along the top
    const QSize minimum(700, 500);
    const std::pair<QSize, QSize> sizes[] = {
        {{992, 701}, {992, 701}}, // fits as it is
        {{2147483647, 701}, {1920, 701}}, // wider than any screen
        {{992, 2147483647}, {992, 1050}}, // taller
        {{-2147483647 - 1, -5}, {700, 500}}, // nonsense: the window's minimum
        {{10, 10}, {700, 500}}, // below the minimum
    };
    for (const auto& [stored, applied] : sizes)
        EXPECT_EQ(fit.WindowSize(stored, minimum), applied) << stored.width() << "x" << stored.height();
    EXPECT_EQ(fit.WindowSize({992, 701}, {2500, 500}), QSize(1920, 701)) << "the screen wins over the minimum";
    EXPECT_EQ(fit.CentredPosition({992, 701}), QPoint(464, 204));
    EXPECT_EQ(fit.CentredPosition({1920, 1050}), QPoint(0, 30));
    const std::pair<int, int> heights[] = {{55, 55}, {0, 1}, {-7, 1}, {2147483647, 1050}};
    for (const auto& [stored, applied] : heights)
        EXPECT_EQ(fit.PanelHeight(stored), applied) << stored;
    const std::pair<int64_t, int> texts[] = {{15, 15}, {0, 1}, {2147483648, 262}};
    for (const auto& [stored, applied] : texts)
        EXPECT_EQ(fit.TextHeight(stored), applied) << stored;
}

TEST_F(Layout, GeometryFromTheFileIsFittedToTheScreenAndTheSizeKeptInItUntilThePlayerResizes)
{
    WriteFile(WorkPath("init.xml"),
        "<init-file>\n<size width='2147483647' height='701'/>\n"
        "<input-window height='2147483647'/>\n"
        "<font name='DejaVu Sans' colour='0' height='-2147483648' size='0'/>\n</init-file>\n");
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_FALSE(w.grab().isNull()); // painting the whole window
    const QRect screen = w.screen()->availableGeometry();
    EXPECT_LE(w.width(), screen.width());
    EXPECT_LE(w.InputPanelHeight(), screen.height());
    EXPECT_GT(w.OutputEdit->height(), 0);
    EXPECT_GE(w.OutputEdit->font().pixelSize(), 1);
    EXPECT_LE(w.OutputEdit->font().pixelSize(), screen.height() / 4);
    EXPECT_EQ(w.WindowWidth(), 2147483647);
    w.resize(w.width() - 10, w.height());
    EXPECT_EQ(w.WindowWidth(), w.width());
}

// The program's named controls a layout squeezed below the least size they
// can show themselves in (fixed sizes and hand-placed controls such as the
// sliding ticker are the design's; Qt's own parts are sized by their owners).
QStringList Squeezed(const QWidget& window)
{
    QStringList squeezed;
    for (const QWidget* c : window.findChildren<QWidget*>(QRegularExpression("^(?!qt_)")))
        if (c->isVisible() && c->parentWidget()->layout() && c->minimumSize() != c->maximumSize()
            && (c->width() < c->minimumSizeHint().width() || c->height() < c->minimumSizeHint().height()))
            squeezed << c->objectName();
    return squeezed;
}

TEST_F(Layout, NothingIsClippedOrSeamedTheOutputTakesTheRoomGaugesStayPutAndTheMapGridsCentre)
{
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // At the default, the largest and the smallest size.
    for (const QSize size : {QSize(1920, 1050), w.minimumSizeHint(), QSize(992, 701)}) {
        w.resize(size);
        QApplication::processEvents();
        EXPECT_EQ(Squeezed(w).join(", ").toStdString(), "") << size.width() << "x" << size.height();
        EXPECT_GE(w.OutputEdit->height(), w.MainNotebook->currentWidget()->height() - 120) << size.height();
    }
    // The statistics' tabs stand below their pages, and the grids' cells fill them.
    const QWidget* scorePage = w.StatsNoteBook->currentWidget();
    EXPECT_GE(
        w.StatsNoteBook->tabBar()->mapTo(&w, QPoint()).y(), scorePage->mapTo(&w, QPoint(0, scorePage->height())).y());
    for (const QTableWidget* grid : {w.StatsGrid, w.ShipGrid}) {
        EXPECT_EQ(grid->columnViewportPosition(1) + grid->columnWidth(1), grid->viewport()->width())
            << grid->objectName().toStdString();
        EXPECT_EQ(grid->rowViewportPosition(7) + grid->rowHeight(7), grid->viewport()->height())
            << grid->objectName().toStdString();
    }

    // A gauge's bar stays put while its caption comes and goes.
    w.GetComs().SetMode(Coms::Streaming);
    for (QProgressBar* bar : {w.StatBar, w.ShipBar}) {
        auto* box = qobject_cast<QGroupBox*>(bar->parentWidget());
        ASSERT_TRUE(box);
        w.StatsNoteBook->setCurrentIndex(bar == w.StatBar ? 0 : 1);
        QApplication::processEvents();
        const QRect uncaptioned = QRect(bar->mapTo(&w, QPoint()), bar->size());
        const QRect boxUncaptioned = box->geometry();
        // The first figure takes the selected first row, so its bar is shown.
        w.ReceiveChunk(bar == w.StatBar
                ? "<s-player-stats name='Nova'/>\n<s-player-stats stat='sta' max='40' cur='20'/>\n"
                : "<s-ship-stats class='Trader'/>\n<s-ship-stats stat='fuel' max='40' cur='20'/>\n");
        QApplication::processEvents();
        ASSERT_FALSE(box->title().isEmpty()) << box->objectName().toStdString();
        EXPECT_EQ(bar->value(), 50) << "the figure's bar is shown";
        EXPECT_EQ(QRect(bar->mapTo(&w, QPoint()), bar->size()), uncaptioned) << box->objectName().toStdString();
        EXPECT_EQ(box->geometry(), boxUncaptioned) << box->objectName().toStdString();
    }

    // A long quote shows whole; the ticker shows a long message.
    w.ReceiveChunk("<s-exchange name='Kyrnos'/>\n<s-exch-sell name='Electronics' price='1104' stock='600'/>\n");
    w.TopNotebook->setCurrentWidget(w.ExchTab);
    QApplication::processEvents();
    ASSERT_EQ(w.HistoryListBox->count(), 1);
    EXPECT_EQ(Squeezed(w).join(", ").toStdString(), "") << "with a quote of three lines";
    const QString quote = w.HistoryListBox->item(0)->text();
    EXPECT_LE(w.HistoryListBox->fontMetrics().horizontalAdvance(quote), w.HistoryListBox->viewport()->width())
        << quote.toStdString();
    EXPECT_GE(w.TickerPanel->contentsRect().width() / QFontMetrics(w.TickerEdit->font()).averageCharWidth(), 60);

    // The map grids centre on the current location when shown or resized; the
    // map fills the page right of its information panel.
    const int key = 30 * 64 + 30;
    w.ReceiveChunk("<s-new-map name='Sol'/>\n<s-new-loc name='Pad' loc-num='1950'>\n</s-new-loc>\n");
    const auto centred = [key](const TileGrid* grid) {
        const auto scroll = CentreScroll(key, grid->VisibleColumns(), grid->VisibleRows());
        return scroll && grid->LeftColumn() == scroll->left && grid->TopRow() == scroll->top;
    };
    EXPECT_TRUE(centred(w.DetailGrid));
    w.MainNotebook->setCurrentIndex(1);
    QApplication::processEvents();
    const auto* mapPage = qobject_cast<QSplitter*>(w.MainNotebook->currentWidget());
    const QWidget* info = Control<QWidget>(&w, "MapInfoPanel");
    ASSERT_TRUE(mapPage && info);
    EXPECT_EQ(info->width(), 204);
    EXPECT_LE(w.MapGrid->x() - info->geometry().right() - 1, mapPage->handleWidth());
    EXPECT_TRUE(centred(w.MapGrid)) << w.MapGrid->LeftColumn() << "," << w.MapGrid->TopRow();
    w.resize(1400, 900);
    QApplication::processEvents();
    EXPECT_TRUE(centred(w.MapGrid)) << w.MapGrid->LeftColumn() << "," << w.MapGrid->TopRow();
}

} // namespace
