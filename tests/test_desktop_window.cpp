// The window as a keyboard and screen-reader player meets it: find in the
// output, links opened with Ctrl+click, and a name on every control.
#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include "find/find_bar.h"
#include "support/window_fixture.h"

using DesktopWindow = WindowFixture;

namespace {

struct Heard {
    QObject* pane;
    int position;
    QString text;
};
// The update handler is a plain function: it records through this.
std::vector<Heard>* heard = nullptr;

void Record(QAccessibleEvent* event)
{
    if (heard && event->type() == QAccessible::TextInserted) {
        const auto* insert = static_cast<QAccessibleTextInsertEvent*>(event);
        heard->push_back({event->object(), insert->changePosition(), insert->textInserted()});
    }
}

} // namespace

TEST_F(DesktopWindow, CtrlFFindsInThePaneOfTheCurrentPageAndEscapeReturnsTheFocus)
{
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    for (int i = 0; i < 300; ++i)
        w.DisplayText(i == 40 ? "A Zircon beacon blinks." : "line " + std::to_string(i));
    w.InputEdit->setFocus();

    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    auto* bar = w.OutputEdit->findChild<FindBar*>("FindBar");
    ASSERT_TRUE(bar && bar->isVisible());
    auto* edit = bar->findChild<QLineEdit*>("FindEdit");
    ASSERT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }, 2000));
    QTest::keyClicks(edit, "zircon");
    EXPECT_EQ(w.OutputEdit->SelectedText(), "Zircon");
    EXPECT_EQ(bar->StatusText(), "1 matches");
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(bar->StatusText(), "Not found");

    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.InputEdit->hasFocus(); }, 2000));

    // Pages without a pane have no find bar.
    w.MainNotebook->setCurrentIndex(1);
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    for (FindBar* other : w.findChildren<FindBar*>())
        EXPECT_FALSE(other->isVisible()) << other->parentWidget()->objectName().toStdString();
}

TEST_F(DesktopWindow, CtrlClickOnAnAddressOpensItAndAPlainClickSelects)
{
    TMainForm& w = Window();
    std::vector<QUrl> opened;
    w.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.DisplayText("https://kyrn.example.org/");
    QWidget* viewport = w.OutputEdit->viewport();
    viewport->repaint();
    // The only line sits at the top of the pane.
    const QPoint onLink(12, w.OutputEdit->fontMetrics().lineSpacing() / 2);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, onLink);
    EXPECT_TRUE(opened.empty());
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, onLink);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://kyrn.example.org/"));
    EXPECT_EQ(w.OutputEdit->LineAt(0), "https://kyrn.example.org/");
}

TEST_F(DesktopWindow, AScreenReaderFindsEveryNamedControlNamedAndDescribed)
{
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QStringList unnamed;
    int seen = 0;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* face) {
        for (int i = 0; i < face->childCount(); ++i) {
            QAccessibleInterface* child = face->child(i);
            if (!child)
                continue;
            if (auto* widget = qobject_cast<QWidget*>(child->object());
                widget && !widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")
                && !qobject_cast<QLabel*>(widget)) {
                ++seen;
                if (child->text(QAccessible::Name).isEmpty() || widget->accessibleDescription().isEmpty())
                    unnamed << widget->objectName();
            }
            walk(child);
        }
    };
    walk(QAccessible::queryAccessibleInterface(&w));
    EXPECT_GT(seen, 30);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    EXPECT_EQ(w.OutputEdit->accessibleName(), "Output");
    EXPECT_EQ(w.InputEdit->accessibleName(), "Input line");
}

TEST_F(DesktopWindow, TheOutputSpeaksEachNewLineOnceAndItsCopiesStayQuiet)
{
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.DisplayText("Docking bay.");
    std::vector<Heard> log;
    heard = &log;
    // As a screen reader's bridge does when one connects.
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_TRUE(platform);
    platform->setActive(true);
    const auto previous = QAccessible::installUpdateHandler(Record);
    w.DisplayText("A Zircon beacon blinks.");
    QAccessible::installUpdateHandler(previous);
    platform->setActive(false);
    heard = nullptr;

    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].pane, w.OutputEdit);
    EXPECT_EQ(log[0].text, "A Zircon beacon blinks.\n");
    // A screen reader reads the pane at the place the event names.
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w.OutputEdit)->textInterface();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text(log[0].position, text->characterCount()), log[0].text);
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(log[0].position + 4, QAccessible::WordBoundary, &start, &end), "Zircon");
    EXPECT_EQ(text->textBeforeOffset(log[0].position, QAccessible::LineBoundary, &start, &end), "Docking bay.\n");
}
