// One session against the bundled game server itself: a new account with
// both refusals on the way, play, then a logon with a wrong password first.
#include <gtest/gtest.h>

#include <QProcess>
#include <QTest>

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

} // namespace
