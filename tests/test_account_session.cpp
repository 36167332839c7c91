// Logging on through the real window over TCP: a scripted server plays the
// prompts, the dialog is answered as a player would, and every byte the
// client sends is checked.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include "support/account_settings.h"
#include "support/modal_script.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

using AccountSession = WindowFixture;

TEST_F(AccountSession, RefusedPasswordThenTheRightOneHandsOverToTheGameStream)
{
    ScriptServer server;
    ModalScript script;
    // Sends a chunk and waits for the client's answer.
    const auto expect = [&](const QByteArray& chunk, const QByteArray& reply) {
        server.Send(chunk);
        const bool answered = server.WaitForReceived(reply);
        EXPECT_TRUE(answered) << "no " << reply.constData() << " in " << server.Received().constData();
        return answered;
    };
    TMainForm& w = Window();
    script.Then([&](QWidget* dialog) {
        Act(dialog,
            {"HostEdit=127.0.0.1", "PortEdit=" + QString::number(server.Port()), "KyrEdit=Nova", "AccountEdit=novaid",
                "PasswordEdit=wrongpw", "OKBtn"});
    });
    Item("LogonItem")->trigger(); // returns when the dialog has closed
    ASSERT_TRUE(server.WaitForClient());
    ASSERT_TRUE(expect("Welcome to Kyrnos II\nKyrnos II login:\n", "novaid\n"));
    ASSERT_TRUE(expect("Account password:\n", "wrongpw\n"));

    // The dialog comes back from inside the reading of this chunk; the
    // prompt after the refusal waits in the same chunk, and more arrives
    // while the dialog is open. All of it is handled once Connect is pressed.
    script.Then([&](QWidget* dialog) {
        server.Send("Account password:\n");
        Act(dialog, {"PasswordEdit=rightpw", "OKBtn"});
    });
    ASSERT_TRUE(expect("Sorry, the account ID or password is wrong.\nKyrnos II login:\n", "rightpw\n"));
    EXPECT_EQ(messages.size(), 1u); // the refusal's box

    // The hello ends the logon; the look starts the stream, which answers the keep-alive.
    ASSERT_TRUE(expect("Identity confirmed.\nLinking to Kyrnos DataSpace...\n", "<c-orvix version='1.60'>\n"));
    ASSERT_TRUE(expect("You float in the DataSpace.\n<s-no-op/>\n", "look\n"));
    ASSERT_TRUE(expect("<s-no-op/>\n", "<c-no-op/>\n"));

    EXPECT_EQ(server.Received(),
        QByteArray("novaid\nwrongpw\nno\nnovaid\nrightpw\n"
                   "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n"
                   "look\n<c-no-op/>\n"));
    EXPECT_EQ(script.unexpected, 0);
    // One connection throughout, and the prose on both sides of the hand-over is shown.
    const QStringList shown = PaneLines(w.OutputEdit);
    EXPECT_EQ(shown.count("Connected"), 1);
    EXPECT_TRUE(shown.contains("Sorry, the account ID or password is wrong."));
    EXPECT_TRUE(shown.contains("You float in the DataSpace."));
}

} // namespace
