// The line pane: counting, trimming, following, selecting and copying. Positions
// come from the pane's own line spacing and scroll bar, never from letter widths.
#include <climits>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include "widgets/textpane.h"

namespace {

struct Pane : ::testing::Test {
    TextPane pane{"Pane"};
    Pane() { pane.resize(300, 120); }

    void Show()
    {
        pane.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
    }
    void Fill(int n, const QString& prefix = "line ")
    {
        for (int i = 0; i < n; ++i)
            pane.AppendLine(prefix + QString::number(i));
    }
    // The first line on screen once pending updates are drawn.
    int Top()
    {
        QApplication::processEvents();
        pane.repaint();
        return pane.TopLine();
    }
    int Page() const { return pane.verticalScrollBar()->pageStep(); }
    // The middle of a row, counted from the top while the first line is shown.
    int Row(int row) const { return row * pane.fontMetrics().lineSpacing() + pane.fontMetrics().lineSpacing() / 2; }
    int RightEdge() const { return pane.viewport()->width() - 1; }
    void Mouse(QEvent::Type type, QPoint at)
    {
        QMouseEvent e(type, at, pane.viewport()->mapToGlobal(at),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.viewport(), &e);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ShiftModifier) { QTest::keyClick(&pane, key, mods); }
};

TEST_F(Pane, LinesEntriesReplacingAndTrimming)
{
    pane.AppendLine("");
    pane.AppendLine("one\r\ntwo\nthree\r");
    pane.AppendEntry("four\r\nfive\n");
    EXPECT_EQ(pane.Lines(), QStringList({"", "one", "two", "three", "four\nfive\n"}));
    EXPECT_EQ(pane.LineAt(500), "");
    pane.selectAll();
    EXPECT_EQ(pane.SelectedText(), "\none\ntwo\nthree\nfour\nfive\n");
    pane.ReplaceText("a\nb");
    EXPECT_EQ(pane.Lines(), QStringList({"a", "b"}));
    pane.clear();
    EXPECT_EQ(pane.LineCount(), 0);

    // Trimming drops the oldest lines only past a hundred surplus ones.
    struct Row {
        int held, limit, count;
        const char* first;
    };
    for (const Row& row : {Row{300, 200, 300, "line 0"}, Row{301, 200, 200, "line 101"}, Row{3, INT_MAX, 3, "line 0"},
             Row{203, INT_MIN, 0, ""}}) {
        SCOPED_TRACE(row.held);
        pane.ClearLines();
        Fill(row.held);
        pane.selectAll();
        pane.TrimTo(row.limit);
        EXPECT_EQ(pane.LineCount(), row.count);
        EXPECT_EQ(pane.LineAt(0), row.first);
        // A selection whose lines went is dropped.
        EXPECT_EQ(pane.HasSelection(), row.count == row.held);
    }
}

TEST_F(Pane, FollowsTheNewestLineUntilScrolledBackHoldsAtTheTopAndWrapsLongLines)
{
    Show();
    Fill(100);
    QScrollBar* bar = pane.verticalScrollBar();
    Top();
    // The scroll bar ends at the first whole line of the last page.
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(bar->maximum() >= 100 - Page() && bar->maximum() < 100);
    // One step up from the bottom keeps the pane full.
    Key(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(bar->value(), bar->maximum() - 1);
    EXPECT_EQ(Top(), bar->value());
    // Scrolled back, new lines and trimming leave the view on its lines.
    Fill(201, "more ");
    Top();
    bar->setValue(150);
    EXPECT_EQ(Top(), 150);
    pane.AppendLine("new");
    pane.TrimTo(200);
    EXPECT_EQ(pane.LineAt(Top()), "more 50");
    // Back at the end, it follows again.
    Key(Qt::Key_End, Qt::ControlModifier);
    pane.AppendLine("last");
    Top();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GE(bar->maximum(), pane.LineCount() - Page());

    // Scrolled to the top, it holds there.
    pane.ClearLines();
    Fill(Page() - 1);
    pane.ScrollToTop();
    Fill(40, "more ");
    EXPECT_EQ(Top(), 0);
    // Lines that would all fit unwrapped push the first out of view.
    pane.ClearLines();
    Fill(Page() - 1);
    pane.AppendLine(QString(60, 'w') + " " + QString(60, 'w') + " " + QString(60, 'w'));
    EXPECT_GT(Top(), 0);
    // Lines are measured again when the width or the font changes.
    pane.resize(4000, pane.height());
    EXPECT_EQ(Top(), 0);
    QFont bigger = pane.font();
    bigger.setPointSize(bigger.pointSize() * 3);
    pane.setFont(bigger);
    EXPECT_GT(Top(), 0);
}

TEST_F(Pane, KeyboardSelectsFromTheBottomAcrossScreens)
{
    Show();
    Fill(100);
    Top();
    // Nothing clicked: selecting starts at the end of the last line shown.
    Key(Qt::Key_Home);
    EXPECT_EQ(pane.SelectedText(), "line 99");
    Key(Qt::Key_Up);
    EXPECT_EQ(pane.SelectedText(), "line 98\nline 99");
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_PageUp);
    const QStringList selected = pane.SelectedText().split('\n');
    EXPECT_EQ(selected.size(), 2 + 3 * Page());
    EXPECT_EQ(selected.back(), "line 99");
    // The view follows the selection's free end.
    EXPECT_EQ(pane.LineAt(Top()), selected.front());
    Key(Qt::Key_Right);
    EXPECT_EQ(pane.SelectedText().split('\n').front(), selected.front().mid(1));
}

TEST_F(Pane, MouseSelectsByDragWordAndShiftClick)
{
    Show();
    pane.AppendLine("alpha beta");
    pane.AppendEntry("gamma\ndelta");
    pane.AppendLine("epsilon");
    pane.ScrollToTop();
    Top();
    Mouse(QEvent::MouseButtonPress, {1, Row(0)});
    Mouse(QEvent::MouseMove, {RightEdge(), Row(2)});
    Mouse(QEvent::MouseButtonRelease, {RightEdge(), Row(2)});
    EXPECT_EQ(pane.SelectedText(), "alpha beta\ngamma\ndelta");
    // A double click takes the word; an entry's rows are its own.
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, {1, Row(3)});
    EXPECT_EQ(pane.SelectedText(), "epsilon");
    // Shift+click extends from the last click.
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, {1, Row(3)});
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, Qt::ShiftModifier, {RightEdge(), Row(0)});
    EXPECT_EQ(pane.SelectedText(), "\ngamma\ndelta\n");

    // A drag past the bottom edge scrolls on and selects more than a screen.
    Fill(100);
    Top();
    const QPoint below(50, pane.viewport()->height() + 20);
    Mouse(QEvent::MouseButtonPress, {1, Row(0)});
    Mouse(QEvent::MouseMove, below);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.TopLine() >= 2 * Page(); }, 5000));
    Mouse(QEvent::MouseButtonRelease, below);
    EXPECT_TRUE(pane.SelectedText().startsWith("alpha beta\n"));
    EXPECT_GT(pane.SelectedText().count('\n'), 2 * Page());
}

TEST_F(Pane, CopyAndSelectAllByKeysAndContextMenu)
{
    Fill(2);
    QApplication::clipboard()->setText("before");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    std::unique_ptr<QMenu> menu(pane.CreateContextMenu()); // Copy, Select All
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());
    menu->actions().at(1)->trigger();
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "line 0\nline 1");
    pane.AppendLine("x");
    Key(Qt::Key_A, Qt::ControlModifier);
    menu.reset(pane.CreateContextMenu());
    menu->actions().at(0)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "line 0\nline 1\nx");
}

} // namespace
