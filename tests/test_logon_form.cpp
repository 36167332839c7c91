// The logon dialog driven as a player would, with the resulting init.xml.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "account/logon.h"
#include "support/account_settings.h"
#include "support/modal_script.h"

namespace {

QLineEdit* Edit(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(name);
}

QString Shown(QWidget* w)
{
    return Edit(w, "HostEdit")->text() + "|" + Edit(w, "PortEdit")->text() + "|"
           + Edit(w, "KyrEdit")->text() + "|" + Edit(w, "AccountEdit")->text() + "|"
           + Edit(w, "PasswordEdit")->text() + "|"
           + (w->findChild<QCheckBox*>("SaveCheck")->isChecked() ? "save" : "nosave");
}

std::string Block(const std::string& avatar, const std::string& host, int port,
                  const std::string& id, const std::string& attributes)
{
    return "   <avatar name='" + avatar + "'>\n      <server host='" + host + "' port='"
           + std::to_string(port) + "'/>\n      <account id='" + id + "'" + attributes
           + "/>\n   </avatar>\n\n";
}

class LogonFormTest : public ::testing::Test {
protected:
    AccountSettings settings;
    FakeMainView& view = settings.view;
    TLogonForm form;
    ModalScript script;

    void Run()
    {
        Login login(view, settings.init, form);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.unexpected, 0);
        state = login.GetState();
    }
    Login::State state = Login::Refused;
};

TEST_F(LogonFormTest, ControlsCarryTheirCaptionsAndLimits)
{
    EXPECT_EQ(form.windowTitle(), "Logon to Kyrnos II");
    EXPECT_EQ(Edit(&form, "HostEdit")->maxLength(), 80);
    EXPECT_EQ(Edit(&form, "PortEdit")->maxLength(), 8);
    EXPECT_EQ(Edit(&form, "KyrEdit")->maxLength(), 16);
    EXPECT_EQ(Edit(&form, "AccountEdit")->maxLength(), 32);
    EXPECT_EQ(Edit(&form, "PasswordEdit")->maxLength(), 80);
    EXPECT_EQ(Edit(&form, "PasswordEdit")->echoMode(), QLineEdit::Password);
    TypeInto(Edit(&form, "PasswordEdit"), "abc");
    EXPECT_EQ(Edit(&form, "PasswordEdit")->displayText(), "***");
    EXPECT_EQ(form.findChild<QCheckBox*>("SaveCheck")->text(), "Save Password");
    EXPECT_EQ(form.findChild<QPushButton*>("DeleteBtn")->text(), "Delete Current");
    EXPECT_EQ(form.findChild<QPushButton*>("LastBtn")->text(), "Last   ");
    EXPECT_EQ(form.findChild<QPushButton*>("NextBtn")->text(), "Next ");
    EXPECT_EQ(form.findChild<QPushButton*>("OKBtn")->text(), "Connect");
    EXPECT_TRUE(form.findChild<QPushButton*>("OKBtn")->isDefault());
    EXPECT_EQ(form.findChild<QPushButton*>("CancelBtn")->text(), "Cancel");
}

TEST_F(LogonFormTest, FirstLogonAppendsTheTypedAccount)
{
    QString shown;
    script.Then([&](QWidget* w) {
        shown = Shown(w);
        TypeInto(Edit(w, "KyrEdit"), "Nova");
        TypeInto(Edit(w, "AccountEdit"), "novaid");
        TypeInto(Edit(w, "PasswordEdit"), "starlight");
        w->findChild<QCheckBox*>("SaveCheck")->click();
        ClickButton(w, "OKBtn");
    });
    Run();
    EXPECT_EQ(shown, "localhost|30003||||nosave");
    EXPECT_EQ(settings.AccountBlocks(),
              Block("Nova", "localhost", 30003, "novaid", " password='starlight' current='true'"));
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "localhost");
    EXPECT_EQ(view.connections[0].port, 30003);
    EXPECT_EQ(view.connections[0].avatar, "Nova");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(LogonFormTest, TypingIsCutAtTheLimits)
{
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "KyrEdit"), "ABCDEFGHIJKLMNOPQRSTUV");
        TypeInto(Edit(w, "PortEdit"), "000012345");
        ClickButton(w, "OKBtn");
    });
    Run();
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].avatar, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(view.connections[0].port, 1234);
}

TEST_F(LogonFormTest, NextPastTheLastGivesABlankEntryThatBecomesANewAccount)
{
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    settings.Store("Bob", "bobid", "", false, "b.host", 1002);
    std::vector<QString> seen;
    script.Then([&](QWidget* w) {
        seen.push_back(Shown(w));
        ClickButton(w, "NextBtn");
        seen.push_back(Shown(w));
        ClickButton(w, "NextBtn");
        seen.push_back(Shown(w));
        TypeInto(Edit(w, "KyrEdit"), "Cid");
        TypeInto(Edit(w, "AccountEdit"), "cidid");
        ClickButton(w, "OKBtn");
    });
    Run();
    EXPECT_EQ(seen, (std::vector<QString>{"a.host|1001|Ann|annid|p1|save",
                                          "b.host|1002|Bob|bobid||nosave",
                                          "b.host|1002||||nosave"}));
    EXPECT_EQ(settings.AccountBlocks(),
              Block("Ann", "a.host", 1001, "annid", " password='p1'")
                  + Block("Bob", "b.host", 1002, "bobid", "")
                  + Block("Cid", "b.host", 1002, "cidid", " current='true'"));
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "b.host");
    EXPECT_EQ(view.connections[0].avatar, "Cid");
}

TEST_F(LogonFormTest, LastOnTheFirstEntryChangesNothingNotEvenTheModifiedFlag)
{
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    settings.Store("Bob", "bobid", "p2", false, "b.host", 1002);
    script.Then([&](QWidget* w) {
        w->findChild<QCheckBox*>("SaveCheck")->click(); // now clear
        ClickButton(w, "LastBtn");
        EXPECT_EQ(Shown(w), "a.host|1001|Ann|annid|p1|nosave");
        EXPECT_TRUE(form.Modified());
        ClickButton(w, "OKBtn");
    });
    Run();
    // The cleared save flag was stored: no password in the file.
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", "a.host", 1001, "annid", " current='true'")
                                            + Block("Bob", "b.host", 1002, "bobid", " password='p2'"));
}

TEST_F(LogonFormTest, LastMovesBackAndDiscardsEdits)
{
    settings.Store("Ann", "annid", "p1", false, "a.host", 1001);
    settings.Store("Bob", "bobid", "p2", true, "b.host", 1002);
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "AccountEdit"), "changed");
        ClickButton(w, "LastBtn");
        EXPECT_EQ(Shown(w), "a.host|1001|Ann|annid|p1|save");
        EXPECT_FALSE(form.Modified());
        ClickButton(w, "OKBtn");
    });
    Run();
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", "a.host", 1001, "annid", " password='p1' current='true'")
                                            + Block("Bob", "b.host", 1002, "bobid", " password='p2'"));
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "a.host");
}

TEST_F(LogonFormTest, ConnectWithoutChangesWritesTheFileAndConnects)
{
    settings.Store("Ann", "annid", "p1", false, "a.host", 1001);
    script.Then([&](QWidget* w) { ClickButton(w, "OKBtn"); });
    Run();
    // GetCurrentAccount flagged the only entry; the file shows it.
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", "a.host", 1001, "annid", " password='p1' current='true'"));
    EXPECT_EQ(settings.init.Accounts().size(), 1u);
    EXPECT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(state, Login::WaitLogin);
}

TEST_F(LogonFormTest, DeleteConfirmedRemovesTheEntryAndShowsTheFirstRemaining)
{
    settings.Store("Ann", "annid", "p1", false, "a.host", 1001);
    settings.Store("Bob", "bobid", "p2", true, "b.host", 1002);
    settings.Store("Cid", "cidid", "p3", false, "c.host", 1003);
    script.Then([&](QWidget* w) {
        ClickButton(w, "DeleteBtn");
        EXPECT_EQ(Shown(w), "a.host|1001|Ann|annid|p1|save");
        // Written at once, before Connect (and before the first is flagged).
        EXPECT_EQ(settings.AccountBlocks(),
                  Block("Ann", "a.host", 1001, "annid", " password='p1'")
                      + Block("Cid", "c.host", 1003, "cidid", " password='p3'"));
        ClickButton(w, "CancelBtn");
    });
    script.Answer(QMessageBox::Yes);
    Run();
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0], "Delete entry. Are you sure?");
    EXPECT_TRUE(view.connections.empty()); // cancelled
}

TEST_F(LogonFormTest, DeletingTheLastEntryShowsTheDefaultServer)
{
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    script.Then([&](QWidget* w) {
        ClickButton(w, "DeleteBtn");
        EXPECT_EQ(Shown(w), "localhost|30003|Ann|annid|p1|save");
        ClickButton(w, "CancelBtn");
    });
    script.Answer(QMessageBox::Yes);
    Run();
    EXPECT_TRUE(settings.init.Accounts().empty());
    EXPECT_EQ(settings.File().find("<avatar"), std::string::npos);
    EXPECT_NE(settings.File().find("</init-file>"), std::string::npos);
}

TEST_F(LogonFormTest, SaveCheckClickSurvivesDeleteAnsweredNo)
{
    // What the box shows is what is stored: unticked, no password kept.
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    script.Then([&](QWidget* w) {
        w->findChild<QCheckBox*>("SaveCheck")->click();
        ClickButton(w, "DeleteBtn");
        EXPECT_FALSE(form.Modified());
        ClickButton(w, "OKBtn");
    });
    script.Answer(QMessageBox::No);
    Run();
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", "a.host", 1001, "annid", " current='true'"));
    EXPECT_EQ(view.connections.size(), 1u);
}

TEST_F(LogonFormTest, StoredHostLongerThanTheEditIsKeptUnlessEdited)
{
    const std::string host(90, 'h');
    settings.Store("Ann", "annid", "p1", true, host, 1001);
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "PasswordEdit"), "p2");
        ClickButton(w, "OKBtn");
    });
    Run();
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", host, 1001, "annid", " password='p2' current='true'"));
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, host);
}

TEST_F(LogonFormTest, PortOutsideItsRangeIsRefusedNotWrapped)
{
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "PortEdit"), "70000");
        ClickButton(w, "OKBtn");
        EXPECT_TRUE(w->isVisible());
        TypeInto(Edit(w, "PortEdit"), "4000");
        ClickButton(w, "OKBtn");
    });
    script.Answer(QMessageBox::Ok);
    Run();
    EXPECT_EQ(script.messages, std::vector<QString>{"The port number must be between 0 and 65535."});
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].port, 4000);
}

TEST_F(LogonFormTest, TypedTextSurvivesDeleteAnsweredNo)
{
    // What the dialog shows is what is stored and connected to.
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "HostEdit"), "new.host");
        ClickButton(w, "DeleteBtn");
        ClickButton(w, "OKBtn");
    });
    script.Answer(QMessageBox::No);
    Run();
    EXPECT_EQ(settings.AccountBlocks(), Block("Ann", "new.host", 1001, "annid", " password='p1' current='true'"));
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "new.host");
}

TEST_F(LogonFormTest, CancelLeavesEverythingAsItWas)
{
    settings.Store("Ann", "annid", "p1", true, "a.host", 1001);
    script.Then([&](QWidget* w) {
        TypeInto(Edit(w, "AccountEdit"), "other");
        ClickButton(w, "CancelBtn");
    });
    Run();
    EXPECT_EQ(settings.File(), "");
    EXPECT_TRUE(view.connections.empty());
    EXPECT_EQ(state, Login::WaitLogin);
}

} // namespace
