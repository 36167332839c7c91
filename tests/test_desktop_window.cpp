// The window as a keyboard and screen-reader player meets it: find in the
// output, links opened with Ctrl+click, a name on every control, new lines
// spoken, and dialogs walked with Tab.
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

#include "account/logon.h"
#include "account/new_account.h"
#include "widgets/find_bar.h"
#include "macros/macro.h"
#include "macros/macroform.h"
#include "social/friends.h"
#include "social/friends_code.h"
#include "support/common.h"
#include "support/fake_mainview.h"
#include "support/window_fixture.h"

using DesktopWindow = WindowFixture;

namespace {

// The update handler is a plain function: it records through this.
QStringList* heard = nullptr;

void Record(QAccessibleEvent* event)
{
    if (const auto* insert = static_cast<QAccessibleTextInsertEvent*>(event);
        heard && event->type() == QAccessible::TextInserted)
        *heard << QString("%1@%2:%3")
                      .arg(event->object()->objectName())
                      .arg(insert->changePosition())
                      .arg(insert->textInserted());
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
    EXPECT_EQ(bar->StatusText(), "1 match");
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

TEST_F(DesktopWindow, CtrlClickOpensAnAddressAndAScreenReaderFindsEveryControlNamedAndHearsEachNewLine)
{
    TMainForm& w = Window();
    std::vector<QUrl> opened;
    w.SetUrlOpener([&](const QUrl& url) { opened.push_back(url); });
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.DisplayText("https://kyrn.example.org/");
    QWidget* viewport = w.OutputEdit->viewport();
    viewport->repaint();
    // The only line sits at the top of the pane; a plain click selects.
    const QPoint onLink(12, w.OutputEdit->fontMetrics().lineSpacing() / 2);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, onLink);
    EXPECT_TRUE(opened.empty());
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, onLink);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://kyrn.example.org/"));
    EXPECT_EQ(w.OutputEdit->LineAt(0), "https://kyrn.example.org/");

    QStringList unnamed;
    int seen = 0;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* face) {
        for (int i = 0; i < face->childCount(); ++i) {
            QAccessibleInterface* child = face->child(i);
            if (!child)
                continue;
            if (auto* widget = qobject_cast<QWidget*>(child->object()); widget && !widget->objectName().isEmpty()
                && !widget->objectName().startsWith("qt_")
                // Text labels read their own text; picture labels have none.
                && (!qobject_cast<QLabel*>(widget) || widget->objectName().endsWith("Image"))) {
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
    EXPECT_TRUE(w.findChild<QWidget*>("HistoryListBox")->accessibleDescription().startsWith("The exchange's quotes"));

    // A new line is spoken once, from the output; its copies stay quiet.
    w.DisplayText("Docking bay.");
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w.OutputEdit)->textInterface();
    ASSERT_TRUE(text);
    const int at = text->characterCount();
    QStringList log;
    heard = &log;
    // As a screen reader's bridge does when one connects.
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    platform->setActive(true);
    const auto previous = QAccessible::installUpdateHandler(Record);
    w.DisplayText("A Zircon beacon blinks.");
    QAccessible::installUpdateHandler(previous);
    platform->setActive(false);
    heard = nullptr;

    EXPECT_EQ(log, QStringList{QString("OutputEdit@%1:A Zircon beacon blinks.\n").arg(at)});
    // A screen reader reads the pane at that place.
    EXPECT_EQ(text->text(at, text->characterCount()), "A Zircon beacon blinks.\n");
    int start = 0, end = 0;
    EXPECT_EQ(text->textAtOffset(at + 4, QAccessible::WordBoundary, &start, &end), "Zircon");
    EXPECT_EQ(text->textBeforeOffset(at, QAccessible::LineBoundary, &start, &end), "Docking bay.\n");
}

TEST(DialogKeyboard, TabWalksEachDialogInTheOrderItIsRead)
{
    FakeMainView view;
    Macro macros(view);
    Friends friends(view);
    // Each chain starts at a control and goes Tab by Tab, round to the first control again.
    const std::pair<std::function<std::unique_ptr<QDialog>()>, QString> rows[] = {
        {[] { return std::make_unique<TLogonForm>(); },
            "HostEdit PortEdit KyrEdit AccountEdit PasswordEdit SaveCheck DeleteBtn LastBtn NextBtn OKBtn CancelBtn "
            "HostEdit"},
        {[&] { return std::make_unique<TMacroBox>(macros); }, "FKeyMemo LastBtn NextBtn CancelBtn OkBtn FKeyMemo"},
        {[&] { return std::make_unique<TFriendsForm>(friends); },
            "SyndicratCheck CommanderCheck AdventCheck TraderCheck ManufacturerCheck EngineerCheck TechnoCheck "
            "PlutocratCheck FriendsList NewEdit AddBtn DeleteBtn AudioCheck OKBtn CancelBtn GHogCheck"},
        {[] { return std::make_unique<TNewAccountForm>(); },
            "RaceEdit MaleRadio StrEdit StaEdit DexEdit IntEdit UnusedEdit HostEdit PortEdit CancelBtn SendBtn IDEdit"},
    };
    for (const auto& [make, chain] : rows) {
        const std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        const QStringList names = chain.split(' ');
        Control<QWidget>(dialog.get(), names.first().toLatin1().constData())->setFocus(Qt::TabFocusReason);
        QStringList walked{QApplication::focusWidget()->objectName()};
        while (walked.size() < names.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        EXPECT_EQ(walked.join(' ').toStdString(), chain.toStdString());
    }
}
