// One session against the bundled game server through the real window, on
// the platform QT_QPA_PLATFORM names: the suite runs it offscreen, and
// test_platforms natively under a Wayland compositor and an X server. A new
// avatar with both refusals on the way plays, then logs on again after a
// wrong password. The stored window size is one a hand edit may leave, far
// wider than any screen; it must reach the screen fitted.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "session/coms.h"
#include "support/account_settings.h"
#include "support/common.h"
#include "support/kyrnd_process.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

// What the platform says while the window runs: what it cannot do must pass quietly.
QStringList warnings;

void Record(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        warnings << text;
}

using PlatformSession = WindowFixture;

TEST_F(PlatformSession, NewAvatarMovesByTheMapsKeysOpensAMenuAndLogsOnAgainAfterAWrongPassword)
{
    QTemporaryDir data;
    QProcess server;
    QString log;
    const quint16 port = StartKyrnd(server, ORVIX_KYRND, QuietKyrndOptions(data.path()), &log);
    ASSERT_NE(port, 0) << log.toStdString();
    WriteFile(WorkPath("init.xml"), "<init-file>\n<size width='2147483647' height='701'/>\n</init-file>\n");
    if (QGuiApplication::platformName() != "offscreen") // which says what it lacks
        qInstallMessageHandler(Record);
    TMainForm& w = Window();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w)) << QGuiApplication::platformName().toStdString();
    EXPECT_LE(w.width(), w.screen()->availableGeometry().width());
    const auto play = [&] { return QTest::qWaitFor([&] { return w.GetComs().GetMode() == Coms::Streaming; }, 20000); };

    // The demo account holds both the ID and the name asked for first.
    ModalScript script;
    script.Then([&](QWidget* dialog) {
        Act(dialog,
            {"PortEdit=" + QString::number(port), "IDEdit=demo1", "PwEdit=password1", "PwConfEdit=password1",
                "EMailEdit=pilot@example.org", "NameEdit=Nova", "RaceEdit=Human", "StrSpin+15", "UpDown1+15",
                "DexSpin+15", "UpDown2+15", "SendBtn"});
    });
    script.Then([&](QWidget* dialog) { Act(dialog, {"IDEdit=newpilot", "SendBtn"}); });
    script.Then([&](QWidget* dialog) { Act(dialog, {"NameEdit=Rigel", "SendBtn"}); });
    Item("NewAccountAvatarItem")->trigger();
    ASSERT_TRUE(play()) << PaneLines(w.OutputEdit).join('\n').toStdString();
    EXPECT_EQ(messages.size(), 2u);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return w.DetailGrid->isVisible() && w.DetailGrid->SelectedColumn() == 61; }, 20000));

    // The map's keys move; the server's answer centres the map on the new place (x 29, then 30 again).
    QTest::keyClick(w.DetailGrid, Qt::Key_Left);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.DetailGrid->SelectedColumn() == 59; }, 10000));
    QTest::keyClick(w.DetailGrid, Qt::Key_6, Qt::KeypadModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.DetailGrid->SelectedColumn() == 61; }, 10000));

    // A window of its own, placed and raised where the platform lets it.
    w.CommandBtn->click();
    QWidget* commandWindow = w.findChild<QWidget*>("CommandForm");
    ASSERT_TRUE(commandWindow);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(commandWindow));
    commandWindow->close();

    QMenu* menu = w.findChild<QMenu*>("ConnectMenu");
    w.menuBar()->setActiveAction(menu->menuAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 5000));
    menu->close();
    Item("LogOffItem")->trigger();
    EXPECT_EQ(w.StatusPanels[0]->text(), "Disconnected");

    // The logon dialog comes filled from the account just made.
    QString shown;
    script.Then([&](QWidget* dialog) {
        shown = Shown(dialog, {"KyrEdit", "AccountEdit"});
        Act(dialog, {"PasswordEdit=not-it", "OKBtn"});
    });
    script.Then([&](QWidget* dialog) { Act(dialog, {"PasswordEdit=password1", "OKBtn"}); });
    Item("LogonItem")->trigger();
    EXPECT_TRUE(play()) << PaneLines(w.OutputEdit).join('\n').toStdString();
    EXPECT_EQ(shown, "Rigel|newpilot");
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_EQ(script.unexpected, 0);
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(warnings.join('\n').toStdString(), "");
    server.kill();
    server.waitForFinished();
}

} // namespace
