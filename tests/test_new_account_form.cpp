// The new account dialog: initial values, the stat spinners and every check
// of "Send to Server" in order with its message.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTest>

#include "account/new_account.h"
#include "support/account_settings.h"
#include "support/modal_script.h"

namespace {

QLineEdit* Edit(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(name);
}

SpinControl* Spin(QWidget* w, const char* name)
{
    return w->findChild<SpinControl*>(name);
}

// A complete, valid set of entries with every stat point used.
void FillValid(QWidget* w)
{
    TypeInto(Edit(w, "IDEdit"), "pilot7");
    TypeInto(Edit(w, "PwEdit"), "password1");
    TypeInto(Edit(w, "PwConfEdit"), "password1");
    TypeInto(Edit(w, "EMailEdit"), "pilot@example.org");
    TypeInto(Edit(w, "NameEdit"), "Vega");
    TypeInto(Edit(w, "RaceEdit"), "Human");
    for (int i = 0; i < 10; ++i)
        Spin(w, "StrSpin")->StepUp();
    for (int i = 0; i < 20; ++i)
        Spin(w, "UpDown1")->StepUp();
    for (int i = 0; i < 30; ++i)
        Spin(w, "DexSpin")->StepUp();
}

int StatTotal(QWidget* w)
{
    int total = 0;
    for (const char* name : {"StrEdit", "StaEdit", "DexEdit", "IntEdit", "UnusedEdit"})
        total += Edit(w, name)->text().toInt();
    return total;
}

class NewAccountFormTest : public ::testing::Test {
protected:
    AccountSettings settings;
    FakeMainView& view = settings.view;
    TNewAccountForm form;
    ModalScript script;

    int Run()
    {
        NewAccount account(view, settings.init, form);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.unexpected, 0);
        return account.State();
    }
};

TEST_F(NewAccountFormTest, StartsWithItsInitialValuesAndLimits)
{
    EXPECT_EQ(form.windowTitle(), "New Account & Avatar");
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Edit(&form, "IDEdit")->maxLength(), 23);
    EXPECT_EQ(Edit(&form, "PwEdit")->maxLength(), 15);
    EXPECT_EQ(Edit(&form, "PwConfEdit")->maxLength(), 15);
    EXPECT_EQ(Edit(&form, "PwEdit")->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Edit(&form, "PwConfEdit")->echoMode(), QLineEdit::Password);
    TypeInto(Edit(&form, "PwEdit"), "abcd");
    EXPECT_EQ(Edit(&form, "PwEdit")->displayText(), "****");
    EXPECT_EQ(Edit(&form, "EMailEdit")->maxLength(), 79);
    EXPECT_EQ(Edit(&form, "NameEdit")->maxLength(), 15);
    EXPECT_EQ(Edit(&form, "RaceEdit")->maxLength(), 15);
    EXPECT_TRUE(form.findChild<QCheckBox*>("NewAcCheck")->isChecked());
    EXPECT_FALSE(form.findChild<QCheckBox*>("SavePwCheck")->isChecked());
    EXPECT_TRUE(form.findChild<QRadioButton*>("FemaleRadio")->isChecked());
    EXPECT_EQ(form.findChild<QGroupBox*>("GenderRadio")->title(), " Gender ");
    for (const char* name : {"StrEdit", "StaEdit", "DexEdit", "IntEdit"}) {
        EXPECT_EQ(Edit(&form, name)->text(), "20") << name;
        EXPECT_TRUE(Edit(&form, name)->isReadOnly()) << name;
    }
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "60");
    EXPECT_EQ(Edit(&form, "HostEdit")->text(), "localhost");
    EXPECT_EQ(Edit(&form, "PortEdit")->text(), "30003");
    EXPECT_EQ(form.findChild<QPushButton*>("SendBtn")->text(), "Send to Server");
    EXPECT_TRUE(form.findChild<QPushButton*>("SendBtn")->isDefault());
    EXPECT_EQ(form.findChild<QPushButton*>("CancelBtn")->text(), "Cancel");
    EXPECT_TRUE(form.MayClose());
}

TEST_F(NewAccountFormTest, StatsAndUnusedPointsAlwaysAddUpTo140)
{
    SpinControl* str = Spin(&form, "StrSpin");
    SpinControl* intel = Spin(&form, "UpDown2");
    str->StepDown(); // at the bound: no step, no change
    EXPECT_EQ(Edit(&form, "StrEdit")->text(), "20");
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "60");
    for (int i = 0; i < 50; ++i)
        str->StepUp();
    EXPECT_EQ(Edit(&form, "StrEdit")->text(), "70");
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "10");
    str->StepUp(); // at the upper bound
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "10");
    for (int i = 0; i < 10; ++i)
        intel->StepUp();
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "0");
    EXPECT_EQ(StatTotal(&form), 140);

    script.Answer(QMessageBox::Ok);
    intel->StepUp(); // nothing left
    ASSERT_TRUE(script.WaitFinished());
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0], "You have no stats left to allocate!");
    EXPECT_EQ(script.icons[0], QMessageBox::Critical);
    EXPECT_EQ(Edit(&form, "IntEdit")->text(), "30");
    EXPECT_EQ(StatTotal(&form), 140);

    str->StepDown();
    EXPECT_EQ(Edit(&form, "StrEdit")->text(), "69");
    EXPECT_EQ(Edit(&form, "UnusedEdit")->text(), "1");
    EXPECT_EQ(StatTotal(&form), 140);
}

TEST_F(NewAccountFormTest, HeldArrowWithNoPointsLeftShowsOneBox)
{
    int clicks = 0;
    script.Then([&](QWidget* w) {
        for (int i = 0; i < 50; ++i)
            Spin(w, "StrSpin")->StepUp();
        for (int i = 0; i < 10; ++i)
            Spin(w, "UpDown2")->StepUp();
        auto* up = Spin(w, "UpDown2")->findChild<QToolButton*>("Up");
        QObject::connect(up, &QToolButton::clicked, [&] { ++clicks; });
        QTest::mousePress(up, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return script.Finished(); }, 5000));
        EXPECT_FALSE(up->isDown());
        QTest::mouseRelease(up, Qt::LeftButton);
        ClickButton(w, "CancelBtn");
    });
    script.Then([&](QWidget* box) {
        // The arrow is still held: its repeat goes on under the box.
        const int first = clicks;
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks > first; }, 3000));
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    Run();
    EXPECT_EQ(script.messages, std::vector<QString>{"You have no stats left to allocate!"});
    EXPECT_EQ(StatTotal(&form), 140);
}

TEST_F(NewAccountFormTest, ChecksRunInOrderWithTheirMessages)
{
    std::vector<bool> openAfterEach;
    auto send = [&](QWidget* w) {
        ClickButton(w, "SendBtn");
        openAfterEach.push_back(w->isVisible() && !form.MayClose());
    };
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "HostEdit"), "");
        send(w);
        TypeInto(Edit(w, "HostEdit"), "localhost");
        TypeInto(Edit(w, "PortEdit"), "");
        send(w);
        TypeInto(Edit(w, "PortEdit"), "30003");
        TypeInto(Edit(w, "IDEdit"), "abcd");
        send(w);
        TypeInto(Edit(w, "IDEdit"), "abcde");
        TypeInto(Edit(w, "NameEdit"), "Al Bo"); // refused before the password is looked at
        send(w);
        TypeInto(Edit(w, "NameEdit"), "7up");
        send(w);
        TypeInto(Edit(w, "NameEdit"), "");
        TypeInto(Edit(w, "PwEdit"), "short");
        send(w);
        TypeInto(Edit(w, "PwEdit"), "password1");
        TypeInto(Edit(w, "PwConfEdit"), "password2");
        send(w);
        EXPECT_EQ(Edit(w, "PwEdit")->text(), "");
        EXPECT_EQ(Edit(w, "PwConfEdit")->text(), "");
        TypeInto(Edit(w, "PwEdit"), "password1");
        TypeInto(Edit(w, "PwConfEdit"), "password1");
        TypeInto(Edit(w, "EMailEdit"), "nobody.example.org");
        send(w);
        TypeInto(Edit(w, "EMailEdit"), "me@example.org");
        TypeInto(Edit(w, "NameEdit"), "Al");
        send(w);
        TypeInto(Edit(w, "NameEdit"), "Al9");
        TypeInto(Edit(w, "RaceEdit"), "Ox");
        send(w);
        TypeInto(Edit(w, "RaceEdit"), "0xen");
        send(w);
        TypeInto(Edit(w, "RaceEdit"), "Ox_en");
        send(w);
        TypeInto(Edit(w, "RaceEdit"), "Oxen");
        send(w); // 60 points unused: No keeps the dialog open
        EXPECT_TRUE(view.connections.empty());
        send(w); // Yes goes on with the points unused
    });
    for (int i = 0; i < 12; ++i)
        script.Answer(QMessageBox::Ok);
    script.Answer(QMessageBox::No);
    script.Answer(QMessageBox::Yes);
    EXPECT_EQ(Run(), 0);

    EXPECT_EQ(script.messages,
              (std::vector<QString>{"No host server name given",
                                    "No host port number given",
                                    "Account IDs must be at least 5 letters",
                                    "Letters and numbers only in name and species",
                                    "Name and species must start with a letter.",
                                    "Passwordss must be at least 8 letters",
                                    "Your password does not match the confirmation",
                                    "Invalid e-mail address",
                                    "Names must be at least 3 letters",
                                    "Species names must be at least 3 letters",
                                    "Name and species must start with a letter.",
                                    "Letters and numbers only in name and species",
                                    "You have not used all your stat points\nContinue anyway?",
                                    "You have not used all your stat points\nContinue anyway?"}));
    for (QMessageBox::Icon icon : script.icons)
        EXPECT_EQ(icon, QMessageBox::Critical);
    std::vector<bool> expectedOpen(13, true);
    expectedOpen.push_back(false);
    EXPECT_EQ(openAfterEach, expectedOpen);
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].avatar, "Al9");
    ASSERT_EQ(settings.init.Accounts().size(), 1u);
    const AccountRec& rec = *settings.init.Accounts().front();
    EXPECT_EQ(rec.species, "Oxen");
    EXPECT_EQ(rec.strength, "20");
    EXPECT_EQ(rec.intelligence, "20");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(NewAccountFormTest, WithoutNewAccountTheEmailAndConfirmationAreNotChecked)
{
    script.Then([&](QWidget* w) {
        FillValid(w);
        w->findChild<QCheckBox*>("NewAcCheck")->click();
        TypeInto(Edit(w, "PwConfEdit"), "different");
        TypeInto(Edit(w, "EMailEdit"), "");
        ClickButton(w, "SendBtn");
    });
    Run();
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(view.connections.size(), 1u);
}

TEST_F(NewAccountFormTest, SendFillsTheRecordFromEveryControl)
{
    script.Then([&](QWidget* w) {
        FillValid(w);
        w->findChild<QCheckBox*>("SavePwCheck")->click();
        w->findChild<QRadioButton*>("NeuterRadio")->click();
        TypeInto(Edit(w, "HostEdit"), "game.example");
        TypeInto(Edit(w, "PortEdit"), "4242x");
        ClickButton(w, "SendBtn");
    });
    Run();
    ASSERT_EQ(settings.init.Accounts().size(), 1u);
    const AccountRec& rec = *settings.init.Accounts().front();
    EXPECT_EQ(rec.host, "game.example");
    EXPECT_EQ(rec.port, 4242);
    EXPECT_EQ(rec.avatarName, "Vega");
    EXPECT_EQ(rec.accountId, "pilot7");
    EXPECT_EQ(rec.password, "password1");
    EXPECT_TRUE(rec.current);
    EXPECT_TRUE(rec.savePassword);
    EXPECT_EQ(rec.email, "pilot@example.org");
    EXPECT_EQ(rec.species, "Human");
    EXPECT_EQ(rec.gender, "neuter");
    EXPECT_EQ(rec.strength, "30");
    EXPECT_EQ(rec.stamina, "40");
    EXPECT_EQ(rec.dexterity, "50");
    EXPECT_EQ(rec.intelligence, "20");
    EXPECT_EQ(settings.AccountBlocks(), "   <avatar name='Vega'>\n"
                                        "      <server host='game.example' port='4242'/>\n"
                                        "      <account id='pilot7' password='password1' current='true'/>\n"
                                        "   </avatar>\n\n");
}

TEST_F(NewAccountFormTest, AfterAFailedCheckOnlyCancelCloses)
{
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "IDEdit"), "abc");
        ClickButton(w, "SendBtn");
        EXPECT_FALSE(form.MayClose());
        w->close();
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(w, Qt::Key_Escape);
        EXPECT_TRUE(w->isVisible());
        ClickButton(w, "CancelBtn");
        EXPECT_FALSE(w->isVisible());
    });
    script.Answer(QMessageBox::Ok);
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(form.MayClose());
    EXPECT_TRUE(view.connections.empty());
    EXPECT_EQ(settings.File(), "");
}

TEST_F(NewAccountFormTest, TheDialogKeepsWhatWasTypedBetweenUses)
{
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "IDEdit"), "kept1");
        Spin(w, "DexSpin")->StepUp();
        ClickButton(w, "CancelBtn");
    });
    Run();
    QString id, dex;
    script.Then([&](QWidget* w) {
        id = Edit(w, "IDEdit")->text();
        dex = Edit(w, "DexEdit")->text();
        ClickButton(w, "CancelBtn");
    });
    Run();
    EXPECT_EQ(id, "kept1");
    EXPECT_EQ(dex, "21");
}

} // namespace
