// Logging on and creating an account through the real window over TCP: a
// scripted server plays the prompts, the dialogs are answered as a player
// would, and every byte the client sends is checked.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "account/new_account.h"
#include "shell/coms.h"
#include "support/modal_script.h"
#include "support/script_server.h"
#include "support/window_fixture.h"

namespace {

QLineEdit* Edit(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(name);
}

class AccountSession : public WindowFixture {
protected:
    ScriptServer server;
    ModalScript script;

    QString Port() const { return QString::number(server.Port()); }

    void Pick(const char* menuItem)
    {
        QAction* item = Window().findChild<QAction*>(menuItem);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        item->trigger(); // returns when the dialog has closed
    }

    // Sends one chunk and waits until the client has answered with `reply`.
    void Expect(const QByteArray& chunk, const QByteArray& reply)
    {
        const qsizetype before = server.Received().size();
        server.Send(chunk);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return server.Received().mid(before).contains(reply); }, 5000))
            << "after " << chunk.constData() << " got " << server.Received().mid(before).constData();
    }

    int ConnectedLines() const
    {
        return static_cast<int>(PaneLines(window->OutputEdit).count("Connected"));
    }

    QByteArray InitFile() const
    {
        QFile file(WorkPath("init.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void FillNewAccount(QWidget* w)
    {
        TypeInto(Edit(w, "HostEdit"), "127.0.0.1");
        TypeInto(Edit(w, "PortEdit"), Port());
        TypeInto(Edit(w, "IDEdit"), "pilot7");
        TypeInto(Edit(w, "PwEdit"), "password1");
        TypeInto(Edit(w, "PwConfEdit"), "password1");
        TypeInto(Edit(w, "EMailEdit"), "pilot@example.org");
        TypeInto(Edit(w, "NameEdit"), "Vega");
        TypeInto(Edit(w, "RaceEdit"), "Human");
        for (int i = 0; i < 20; ++i) {
            w->findChild<SpinControl*>("StrSpin")->StepUp();
            w->findChild<SpinControl*>("UpDown1")->StepUp();
            w->findChild<SpinControl*>("DexSpin")->StepUp();
        }
    }
};

TEST_F(AccountSession, RefusedPasswordThenCorrectOneReachesPlay)
{
    Window();
    script.Then([&](QWidget* w) {
        EXPECT_EQ(Edit(w, "HostEdit")->text(), "localhost");
        EXPECT_EQ(Edit(w, "PortEdit")->text(), "30003");
        TypeInto(Edit(w, "HostEdit"), "127.0.0.1");
        TypeInto(Edit(w, "PortEdit"), Port());
        TypeInto(Edit(w, "KyrEdit"), "Nova");
        TypeInto(Edit(w, "AccountEdit"), "novaid");
        TypeInto(Edit(w, "PasswordEdit"), "wrongpw");
        ClickButton(w, "OKBtn");
    });
    Pick("LogonItem");
    ASSERT_TRUE(server.WaitForClient());
    QTcpSocket* firstClient = server.Client();

    Expect("Welcome to Kyrnos II\nKyrnos II login:\n", "novaid\n");
    Expect("Account password:\n", "wrongpw\n");

    // The dialog comes back from inside the reading of this chunk; the
    // prompt after the refusal waits in the same chunk, and more arrives
    // while the dialog is open. All of it is handled once Connect is pressed.
    script.Then([&](QWidget* w) {
        EXPECT_TRUE(messages.size() == 1 && messages[0].first == MessageKind::Information);
        server.Send("Account password:\n");
        TypeInto(Edit(w, "PasswordEdit"), "rightpw");
        ClickButton(w, "OKBtn");
    });
    Expect("Sorry, the account ID or password is wrong.\nKyrnos II login:\n", "rightpw\n");
    ASSERT_TRUE(script.Finished());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Login Problem: The account ID and/or\npassword were incorrect!\n"
                                  "Please correct and try again.");

    Expect("Identity confirmed.\nLinking to Kyrnos DataSpace...\n", "<c-orvix version='1.60'>\n");
    EXPECT_EQ(window->GetComs().GetMode(), Coms::AwaitingStream);
    Expect("You float in the DataSpace.\n<s-no-op/>\n", "look\n");
    EXPECT_EQ(window->GetComs().GetMode(), Coms::Streaming);
    Expect("<s-no-op/>\n", "<c-no-op/>\n");

    EXPECT_EQ(server.Received(), QByteArray("novaid\nwrongpw\nno\nnovaid\nrightpw\n"
                                            "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n"
                                            "look\n<c-no-op/>\n"));
    EXPECT_EQ(server.Client(), firstClient);
    EXPECT_EQ(ConnectedLines(), 1);
    EXPECT_EQ(script.unexpected, 0);
    const QStringList shown = PaneLines(window->OutputEdit);
    EXPECT_TRUE(shown.contains("Sorry, the account ID or password is wrong."));
    EXPECT_TRUE(shown.contains("Linking to Kyrnos DataSpace..."));
    EXPECT_TRUE(shown.contains("You float in the DataSpace."));
    EXPECT_TRUE(InitFile().contains("<account id='novaid' current='true'/>"));
}

TEST_F(AccountSession, NewAccountWithRefusedIdAndNameReachesPlay)
{
    Window();
    script.Then([&](QWidget* w) {
        FillNewAccount(w);
        ClickButton(w, "SendBtn");
    });
    Pick("NewAccountAvatarItem");
    ASSERT_TRUE(server.WaitForClient());
    QTcpSocket* firstClient = server.Client();

    Expect("Welcome\nKyrnos II login:\n", "new\n");
    Expect("Choose an account ID (letters and numbers only):\n", "pilot7\n");
    Expect("Choose a password (8 to 15 letters):\n", "password1\n");
    Expect("Please confirm password:\n", "password1\n");
    Expect("E-mail (never given to any processing agency):\n", "pilot@example.org\n");

    script.Then([&](QWidget* w) {
        EXPECT_EQ(Edit(w, "IDEdit")->text(), "pilot7");
        TypeInto(Edit(w, "IDEdit"), "pilot8");
        ClickButton(w, "SendBtn");
    });
    // The password prompt rides in the same chunk as the refusal.
    Expect("That ID is taken; choose a different name.\nChoose a password (8 to 15 letters):\n",
           "pilot8\npassword1\n");
    Expect("Please confirm password:\n", "password1\n");
    Expect("E-mail (never given to any processing agency):\n", "pilot@example.org\n");
    Expect("Please provide a name for your avatar:\n", "Vega\n");
    Expect("Please choose the race of your avatar:\n", "Human\n");
    Expect("Please choose the gender of your avatar:\n", "female\nno\n");
    Expect("Points to allocate to strength:\n", "40\n");
    Expect("Points to allocate to stamina:\n", "40\n");
    Expect("Points to allocate to dexterity:\n", "40\n");
    Expect("Points to allocate to intelligence: 20\nDo you want to play using this char?\n", "yes\n");

    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "NameEdit"), "Vega2");
        ClickButton(w, "SendBtn");
    });
    Expect("Sorry, Vega is not available.\nPlease provide a name for your avatar:\n", "Vega2\n");
    Expect("Please choose the race of your avatar:\n", "Human\n");
    Expect("Please choose the gender of your avatar:\n", "female\nno\n");
    Expect("allocate to strength\nallocate to stamina\nallocate to dexterity\n", "40\n40\n40\n");
    Expect("Do you want to play using this char?\n", "yes\n");
    Expect("Linking to Kyrnos...\n", "<c-orvix version='1.60'>\n");
    Expect("<s-no-op/>\n", "look\n");
    Expect("<s-no-op/>\n", "<c-no-op/>\n");

    EXPECT_EQ(server.Received(),
              QByteArray("new\npilot7\npassword1\npassword1\npilot@example.org\n"
                         "pilot8\npassword1\npassword1\npilot@example.org\n"
                         "Vega\nHuman\nfemale\nno\n40\n40\n40\nyes\n"
                         "Vega2\nHuman\nfemale\nno\n40\n40\n40\nyes\n"
                         "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>\n"
                         "look\n<c-no-op/>\n"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].second,
              "The account ID you have choosen is already in use\nPlease try another ID.");
    EXPECT_EQ(messages[1].second,
              "The avatar name you have choosen is already in use\nPlease try another name.");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(server.Client(), firstClient);
    EXPECT_EQ(ConnectedLines(), 1);
    EXPECT_EQ(window->GetComs().GetMode(), Coms::Streaming);
    // One stored account, updated in place by the two later sends.
    const QByteArray file = InitFile();
    EXPECT_EQ(file.count("<avatar "), 1);
    EXPECT_TRUE(file.contains("<avatar name='Vega2'>"));
    EXPECT_TRUE(file.contains("<account id='pilot8' current='true'/>"));
}

} // namespace
