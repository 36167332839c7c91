// One session against the bundled game server itself: a new account with
// both refusals on the way, play, then a logon with a wrong password first.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

#include "input/command_history.h"
#include "map/world_map.h"
#include "session/coms.h"
#include "support/account_settings.h"
#include "support/common.h"
#include "support/kyrnd_process.h"
#include "support/modal_script.h"
#include "support/window_fixture.h"

namespace {

class KyrndSession : public WindowFixture {
protected:
    void TearDown() override
    {
        server.kill(); // nothing of its data is kept
        server.waitForFinished();
        WindowFixture::TearDown();
    }
    // kyrnd on a free port with a fresh data directory, so with its demo accounts.
    QString StartServer()
    {
        QString log;
        const quint16 port = StartKyrnd(server, ORVIX_KYRND, QuietKyrndOptions(dataDir.path()), &log);
        EXPECT_NE(port, 0) << server.errorString().toStdString() << "\n" << log.toStdString();
        return port ? QString::number(port) : QString();
    }
    void WaitForPlay()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->GetComs().GetMode() == Coms::Streaming; }, 20000))
            << PaneLines(window->OutputEdit).join('\n').toStdString();
    }

    QTemporaryDir dataDir;
    QProcess server;
    ModalScript script;
};

TEST_F(KyrndSession, NewAvatarPlaysThenLogsOnAgainAfterAWrongPassword)
{
    const QString port = StartServer();
    ASSERT_FALSE(port.isEmpty());

    // The demo account holds both the ID and the name asked for first.
    script.Then([&](QWidget* dialog) {
        Act(dialog,
            {"PortEdit=" + port, "IDEdit=demo1", "PwEdit=password1", "PwConfEdit=password1",
                "EMailEdit=pilot@example.org", "NameEdit=Nova", "RaceEdit=Human", "StrSpin+15", "UpDown1+15",
                "DexSpin+15", "UpDown2+15", "SendBtn"});
    });
    script.Then([&](QWidget* dialog) { Act(dialog, {"IDEdit=newpilot", "SendBtn"}); });
    script.Then([&](QWidget* dialog) { Act(dialog, {"NameEdit=Rigel", "SendBtn"}); });
    Item("NewAccountAvatarItem")->trigger();
    WaitForPlay();
    EXPECT_EQ(messages.size(), 2u);

    Item("LogOffItem")->trigger();
    QString shown;
    script.Then([&](QWidget* dialog) {
        shown = Shown(dialog, {"KyrEdit", "AccountEdit"});
        Act(dialog, {"PasswordEdit=not-it", "OKBtn"});
    });
    script.Then([&](QWidget* dialog) { Act(dialog, {"PasswordEdit=password1", "OKBtn"}); });
    Item("LogonItem")->trigger();
    WaitForPlay();
    EXPECT_EQ(shown, "Rigel|newpilot");
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(messages.size(), 3u);
}

// The demo avatar walks two steps east by typed commands, then travels back
// by a double-click on the map.
TEST_F(KyrndSession, TravelByTheMapWalksBackOneMoveAtATime)
{
    const QString port = StartServer();
    ASSERT_FALSE(port.isEmpty());
    TMainForm& w = Window();
    w.show();
    script.Then([&](QWidget* dialog) {
        Act(dialog,
            {"HostEdit=127.0.0.1", "PortEdit=" + port, "KyrEdit=Nova", "AccountEdit=demo1", "PasswordEdit=orvixdemo",
                "OKBtn"});
    });
    Item("LogonItem")->trigger();
    WaitForPlay();
    const auto standsOn = [&](int key) {
        return QTest::qWaitFor([&] { return w.GetWorldMap().Map() && w.GetWorldMap().Map()->Current() == key; }, 10000);
    };
    const int concourse = 30 * 64 + 30;
    ASSERT_TRUE(standsOn(concourse));
    for (int key : {concourse + 1, concourse + 2}) {
        QTest::keyClicks(w.InputEdit, "e");
        QTest::keyClick(w.InputEdit, Qt::Key_Return);
        ASSERT_TRUE(standsOn(key));
    }

    w.MainNotebook->setCurrentIndex(1);
    w.MapGrid->CentreOn(concourse);
    const QPoint cell(16 * (61 - w.MapGrid->LeftColumn()) + 8, 16 * (61 - w.MapGrid->TopRow()) + 8);
    QTest::mouseDClick(w.MapGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(w.StatusPanels[3]->text(), "Travelling to Spaceport Concourse: 2 steps to go");
    ASSERT_TRUE(standsOn(concourse));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.StatusPanels[3]->text() == "Arrived at Spaceport Concourse"; }, 5000));
    const QStringList lines = w.MapRepeater->Lines();
    EXPECT_EQ(lines.filter(QRegularExpression("^(w|> e)$")), QStringList({"> e", "> e", "w", "w"}));
    // The second move follows the whole text of the place the first led to.
    EXPECT_TRUE(lines.at(lines.lastIndexOf("w") - 1).startsWith("Obvious exits")) << lines.join('\n').toStdString();
    EXPECT_EQ(w.GetHistory().Commands(), (std::deque<std::string>{"e"}));
}

} // namespace
