// The line pane: counting, trimming, following, selecting and copying.
#include <climits>
#include <memory>

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "shell/textpane.h"

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

    // The lines on screen from the first to the last drawn.
    QStringList Shown()
    {
        pane.repaint();
        QStringList shown;
        const int rows = pane.viewport()->height() / pane.fontMetrics().lineSpacing();
        for (int i = pane.TopLine(); i < pane.LineCount() && shown.size() <= rows; ++i)
            shown << pane.LineAt(i);
        return shown;
    }

    int Rows() const { return pane.viewport()->height() / pane.fontMetrics().lineSpacing(); }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ShiftModifier)
    {
        QTest::keyClick(&pane, key, mods);
    }

    void Drag(QEvent::Type type, QPoint at)
    {
        QMouseEvent e(type, QPointF(at), pane.viewport()->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(pane.viewport(), &e);
    }
};

} // namespace

TEST_F(Pane, CountsLinesIncludingEmptyOnes)
{
    EXPECT_EQ(pane.LineCount(), 0);
    pane.AppendLine("");
    pane.AppendLine("");
    pane.AppendLine("x");
    EXPECT_EQ(pane.Lines(), QStringList({"", "", "x"}));
}

TEST_F(Pane, TextWithLineFeedsBecomesSeveralLinesWithoutCarriageReturns)
{
    pane.AppendLine("one\r\ntwo\nthree\r");
    EXPECT_EQ(pane.Lines(), QStringList({"one", "two", "three"}));
    EXPECT_EQ(pane.toPlainText(), "one\ntwo\nthree");
}

TEST_F(Pane, TrimsOnlyPastAHundredSurplusLines)
{
    Fill(300);
    pane.TrimTo(200);
    EXPECT_EQ(pane.LineCount(), 300);
    pane.AppendLine("extra");
    pane.TrimTo(200);
    EXPECT_EQ(pane.LineCount(), 200);
    EXPECT_EQ(pane.LineAt(0), "line 101");
    EXPECT_EQ(pane.LineAt(199), "extra");
    EXPECT_EQ(pane.LineAt(500), "");
}

TEST_F(Pane, ReplaceTextAndClear)
{
    Fill(3);
    pane.ReplaceText("a\nb");
    EXPECT_EQ(pane.Lines(), QStringList({"a", "b"}));
    pane.ReplaceText("");
    EXPECT_EQ(pane.LineCount(), 0);
    Fill(2);
    pane.clear();
    EXPECT_EQ(pane.LineCount(), 0);
}

TEST_F(Pane, FollowsTheNewestLineUntilScrolledBack)
{
    Show();
    Fill(100);
    QApplication::processEvents();
    QScrollBar* bar = pane.verticalScrollBar();
    // The last page is full: its top line is the scroll bar's end.
    EXPECT_EQ(bar->maximum(), 100 - Rows());
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(pane.TopLine(), 80);

    // Scrolled back, new lines do not move the view.
    bar->setValue(10);
    QApplication::processEvents();
    Fill(5, "more ");
    pane.repaint();
    QApplication::processEvents();
    EXPECT_EQ(pane.TopLine(), 10);

    // Back at the end, it follows again.
    bar->setValue(bar->maximum());
    Fill(1, "last ");
    pane.repaint();
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_GT(pane.TopLine(), 90);
}

TEST_F(Pane, ScrolledBackViewKeepsItsLinesWhenTrimmed)
{
    Show();
    Fill(301);
    QApplication::processEvents();
    pane.verticalScrollBar()->setValue(150);
    QApplication::processEvents();
    pane.AppendLine("new");
    pane.TrimTo(200);
    pane.repaint();
    EXPECT_EQ(pane.LineAt(pane.TopLine()), "line 150");
}

TEST_F(Pane, ScrollToTopShowsTheFirstLine)
{
    Show();
    Fill(50);
    pane.ScrollToTop();
    pane.repaint();
    EXPECT_EQ(pane.TopLine(), 0);
}

TEST_F(Pane, SelectAllAndCopy)
{
    Fill(3);
    EXPECT_FALSE(pane.HasSelection());
    QApplication::clipboard()->setText("before");
    pane.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "before");
    pane.selectAll();
    EXPECT_EQ(pane.SelectedText(), "line 0\nline 1\nline 2");
    pane.copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "line 0\nline 1\nline 2");
}

TEST_F(Pane, MouseDragSelectsText)
{
    Show();
    pane.AppendLine("alpha beta");
    pane.AppendLine("gamma delta");
    pane.ScrollToTop();
    pane.repaint();
    const int lineHeight = pane.fontMetrics().lineSpacing();
    // From the start of the first line to the middle of the second.
    QTest::mousePress(pane.viewport(), Qt::LeftButton, {}, QPoint(1, lineHeight / 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(200, lineHeight + lineHeight / 2),
                     pane.viewport()->mapToGlobal(QPointF(200, lineHeight + lineHeight / 2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pane.viewport(), &drag);
    QTest::mouseRelease(pane.viewport(), Qt::LeftButton, {}, QPoint(200, lineHeight + lineHeight / 2));
    EXPECT_TRUE(pane.HasSelection());
    EXPECT_EQ(pane.SelectedText(), "alpha beta\ngamma delta");

    // A double click takes the word under the mouse.
    const int betaX = pane.fontMetrics().horizontalAdvance("alpha be") + 4;
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, QPoint(betaX, lineHeight / 2));
    EXPECT_EQ(pane.SelectedText(), "beta");

    // Shift+click extends from the anchor.
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, {}, QPoint(1, lineHeight / 2));
    QTest::mouseClick(pane.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      QPoint(pane.fontMetrics().horizontalAdvance("gamma") + 4, lineHeight + lineHeight / 2));
    EXPECT_EQ(pane.SelectedText(), "alpha beta\ngamma");
}

TEST_F(Pane, OneStepUpFromTheBottomKeepsThePaneFull)
{
    Show();
    Fill(100);
    const QStringList bottom = Shown();
    ASSERT_GE(bottom.size(), Rows());
    EXPECT_EQ(bottom.back(), "line 99");

    QTest::keyClick(&pane, Qt::Key_Up);
    QStringList up = Shown();
    ASSERT_GE(up.size(), Rows());
    EXPECT_EQ(up.front(), "line " + QString::number(100 - Rows() - 1));

    // Back down one step is the bottom again, and new lines are followed.
    QTest::keyClick(&pane, Qt::Key_Down);
    pane.AppendLine("next");
    QApplication::processEvents();
    EXPECT_EQ(Shown().back(), "next");
}

TEST_F(Pane, KeyboardSelectsFromTheBottomAcrossScreens)
{
    Show();
    Fill(100);
    Shown();
    // Nothing clicked: selecting starts at the end of the last line shown.
    Key(Qt::Key_Home);
    EXPECT_EQ(pane.SelectedText(), "line 99");
    Key(Qt::Key_Up);
    EXPECT_EQ(pane.SelectedText(), "line 98\nline 99");
    for (int i = 0; i < 3; ++i)
        Key(Qt::Key_PageUp);
    const QStringList selected = pane.SelectedText().split('\n');
    EXPECT_EQ(selected.size(), 2 + 3 * pane.verticalScrollBar()->pageStep());
    EXPECT_EQ(selected.back(), "line 99");
    // The view follows the selection's free end.
    EXPECT_EQ(pane.LineAt(pane.TopLine()), selected.front());
    Key(Qt::Key_Right);
    EXPECT_EQ(pane.SelectedText().split('\n').front(), "ine " + selected.front().mid(5));
}

TEST_F(Pane, DragPastTheBottomEdgeScrollsAndSelectsMoreThanAScreen)
{
    Show();
    Fill(100);
    pane.ScrollToTop();
    pane.repaint();
    const int lineHeight = pane.fontMetrics().lineSpacing();
    Drag(QEvent::MouseButtonPress, QPoint(1, lineHeight / 2));
    Drag(QEvent::MouseMove, QPoint(50, pane.viewport()->height() + 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.TopLine() >= 2 * Rows(); }, 5000));
    Drag(QEvent::MouseButtonRelease, QPoint(50, pane.viewport()->height() + 20));
    const QStringList selected = pane.SelectedText().split('\n');
    EXPECT_EQ(selected.front(), "line 0");
    EXPECT_GT(selected.size(), 2 * Rows());
}

TEST_F(Pane, ContextMenuCopiesAndSelectsAll)
{
    Fill(2);
    std::unique_ptr<QMenu> menu(pane.CreateContextMenu());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), "&Copy");
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_EQ(actions[1]->text(), "Select &All");
    actions[1]->trigger();
    menu.reset(pane.CreateContextMenu());
    ASSERT_TRUE(menu->actions()[0]->isEnabled());
    menu->actions()[0]->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "line 0\nline 1");
}

TEST_F(Pane, SelectionWhoseLinesAreTrimmedAwayIsDropped)
{
    Fill(301);
    pane.selectAll();
    pane.AppendLine("new");
    pane.TrimTo(200);
    EXPECT_FALSE(pane.HasSelection());
    EXPECT_EQ(pane.SelectedText(), "");
}

TEST_F(Pane, LimitsFromFilesCannotOverflow)
{
    Fill(3);
    pane.TrimTo(INT_MAX);
    EXPECT_EQ(pane.LineCount(), 3);
    Fill(200);
    pane.TrimTo(INT_MIN);
    EXPECT_EQ(pane.LineCount(), 0);
}

TEST_F(Pane, EntryKeepsItsLineFeedsAsOneLine)
{
    Show();
    pane.AppendEntry("one\r\ntwo\n");
    pane.AppendEntry("three");
    EXPECT_EQ(pane.Lines(), QStringList({"one\ntwo\n", "three"}));
    pane.selectAll();
    EXPECT_EQ(pane.SelectedText(), "one\ntwo\n\nthree");
    // Shown over rows of its own: the entry takes two, the next line one.
    pane.ScrollToTop();
    pane.repaint();
    const int lineHeight = pane.fontMetrics().lineSpacing();
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, QPoint(8, 2 * lineHeight + lineHeight / 2));
    EXPECT_EQ(pane.SelectedText(), "three");
}

TEST_F(Pane, LongLinesWrapInsteadOfScrollingSideways)
{
    Show();
    const int rows = pane.viewport()->height() / pane.fontMetrics().lineSpacing();
    ASSERT_GE(rows, 3);
    // As many lines as there are rows would all fit unwrapped; wrapped, the
    // long one pushes the first ones out of view.
    Fill(rows - 1);
    pane.AppendLine(QString(60, 'w') + " " + QString(60, 'w') + " " + QString(60, 'w'));
    pane.repaint();
    EXPECT_GT(pane.TopLine(), 0);
}

TEST_F(Pane, ScrollToTopAfterABurstStaysAtTheTop)
{
    Show();
    pane.ClearLines();
    Fill(4);
    pane.ScrollToTop();
    QApplication::processEvents();
    EXPECT_EQ(pane.verticalScrollBar()->value(), 0);
    // Lines added later do not pull the view down.
    Fill(40, "more ");
    QApplication::processEvents();
    pane.repaint();
    EXPECT_EQ(pane.verticalScrollBar()->value(), 0);
    EXPECT_EQ(pane.TopLine(), 0);
}
