// The line pane: counting, trimming, following, selecting and copying.
#include <QApplication>
#include <QClipboard>
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
    EXPECT_EQ(bar->maximum(), 99);
    EXPECT_EQ(bar->value(), 99);
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

    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, {}, QPoint(5, lineHeight / 2));
    EXPECT_EQ(pane.SelectedText(), "alpha beta");
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
