// Logging on: the conversation line by line with the dialog played by a
// script, then the real dialog driven as a player would.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include <QCheckBox>

#include "account/logon.h"
#include "support/account_settings.h"
#include "support/common.h"
#include "support/modal_script.h"

namespace {

using Prompt = ScriptedPrompt<LogonPrompt, Login>;

void ConnectUnchanged(Login& login)
{
    login.Accept({}, false);
}

TEST(PortFromText, DigitsWithAnOptionalSignUpToTheFirstNonDigit)
{
    // Past 32 bits it saturates instead of wrapping round to a real port.
    const std::pair<const char*, int32_t> rows[] = {{"30003", 30003}, {"12ab", 12}, {"abc", 0}, {"", 0}, {"-5", -5},
        {"+77", 77}, {" 80", 0}, {"4294967376", INT32_MAX}, {"-99999999999999999999", INT32_MIN}};
    for (const auto& [text, port] : rows)
        EXPECT_EQ(PortFromText(text), port) << text;
}

TEST(LoginConversation, EachStateAnswersOnlyItsOwnPrompt)
{
    // One logon, line by line; each row gives what the line sends, whether it
    // is shown, the state after it and what handling it returns.
    using S = Login::State;
    const struct {
        const char* line;
        const char* sent;
        bool shown;
        S state;
        int result;
    } rows[] = {
        {"Password:", "", true, S::WaitLogin, 0},
        {"LOGIN:", "", true, S::WaitLogin, 0},
        {"Enter your existing account name: ", "annid\n", true, S::WaitPassword, 0},
        // One step a line, even when the line holds the next prompt too.
        {"password: Linking to Kyrnos DataSpace", "wrongpw\n", true, S::WaitVerdict, 0},
        {"Last logged on yesterday", "", false, S::WaitVerdict, 0},
        {"login:", "", false, S::WaitVerdict, 0},
        {"linking to kyrnos dataspace", "", false, S::WaitVerdict, 0},
        // The box, the "no", then the dialog again, where the password is corrected.
        {"Sorry, the password is wrong.", "no\n", true, S::WaitLogin, 0},
        {"Please enter your login: ", "annid\n", true, S::WaitPassword, 0},
        {"Password: ", "rightpw\n", true, S::WaitVerdict, 0},
        {"Linking to Kyrnos DataSpace...", "", true, S::WaitVerdict, 1},
    };
    AccountSettings settings;
    FakeMainView& view = settings.view;
    settings.Store("Ann", "annid", "wrongpw", true);
    Prompt prompt;
    prompt.actions.push_back(ConnectUnchanged);
    prompt.actions.push_back([](Login& login) {
        // Nothing is shown or answered while the dialog is open.
        EXPECT_EQ(login.HandleLine("Linking to Kyrnos DataSpace"), 0);
        login.Accept({"kyrn.example", "30003", "Ann", "annid", "rightpw", false}, true);
    });
    Login login(view, settings.init, prompt);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        view.sent.clear();
        view.displayed.clear();
        EXPECT_EQ(login.HandleLine(row.line), row.result);
        EXPECT_EQ(view.SentBytes(), row.sent);
        EXPECT_EQ(view.DisplayedTexts(), row.shown ? std::vector<std::string>{row.line} : std::vector<std::string>{});
        EXPECT_EQ(login.GetState(), row.state);
    }
    EXPECT_EQ(prompt.opened, 2);
    EXPECT_EQ(view.messages,
        (decltype(view.messages){{MessageKind::Information,
            "Login Problem: The account ID and/or\npassword were incorrect!\n"
            "Please correct and try again."}}));
    // No second connection; the corrected password was used though not saved.
    EXPECT_EQ(settings.Connections(), "kyrn.example:30003 Ann;");
    EXPECT_EQ(settings.Stored(), "Ann@kyrn.example:30003 annid/*");
}

TEST(Login, TheWorkingCopyStartsFromTheCurrentAccountAndMovesThroughTheList)
{
    AccountSettings settings;
    Prompt cancelled;
    EXPECT_EQ(
        AccountSettings::Describe(Login(settings.view, settings.init, cancelled).WorkingCopy()), "@localhost:30003 /");
    settings.Store("Ann", "annid", "p1", false, "a.host", 1);
    settings.Store("Bob", "bobid", "p2", true, "b.host", 2);
    Login login(settings.view, settings.init, cancelled);
    const std::pair<char, const char*> steps[] = {// '<' Last, '>' Next, 'x' Delete, '=' nothing
        {'=', "Bob@b.host:2 bobid/p2"}, {'<', "Ann@a.host:1 annid/p1"},
        {'<', "Ann@a.host:1 annid/p1"}, // on the first entry
        {'>', "Bob@b.host:2 bobid/p2"}, {'>', "@b.host:2 /"}, // past the last: blank, same server
        {'<', "Bob@b.host:2 bobid/p2"}, {'x', "Ann@a.host:1 annid/p1"},
        {'x', "Ann@localhost:30003 annid/p1"}}; // none left: the default server
    for (const auto& [step, expected] : steps) {
        step == '<' ? void(login.Last()) : step == '>' ? login.Next() : step == 'x' ? login.Delete() : void();
        EXPECT_EQ(AccountSettings::Describe(login.WorkingCopy()), expected) << step;
    }
    EXPECT_EQ(settings.Stored(), "");
}

// Ann's host is longer than the host edit holds: it is kept unless edited.
const std::string kLongHost(90, 'h');

struct LogonFixture {
    LogonFixture()
    {
        settings.Store("Ann", "annid", "p1", true, kLongHost, 1001);
        settings.Store("Bob", "bobid", "p2", false, "b.host", 1002);
    }
    AccountSettings settings;
    TLogonForm form;
    ModalScript script;
};

TEST(LogonForm, ShowsTheStoredEntriesInTurnWithThePasswordHidden)
{
    LogonFixture f;
    QStringList seen;
    f.script.Then([&](QWidget* w) {
        for (const char* next : {"NextBtn", "NextBtn", "CancelBtn"}) {
            seen << Shown(w, {"HostEdit", "PortEdit", "KyrEdit", "AccountEdit", "PasswordEdit"})
                    + (Control<QCheckBox>(w, "SaveCheck")->isChecked() ? "|save" : "");
            Act(w, {next});
        }
    });
    Login login(f.settings.view, f.settings.init, f.form);
    EXPECT_EQ(seen,
        QStringList(
            {QString(80, 'h') + "|1001|Ann|annid|**|save", "b.host|1002|Bob|bobid|**|save", "b.host|1002||||save"}));
}

TEST(LogonForm, WhatThePlayerDidIsWhatIsConnectedToAndStored)
{
    const std::string ann = "Ann@" + kLongHost + ":1001 annid/", bob = "Bob@b.host:1002 bobid/p2",
                      toAnn = kLongHost + ":1001 Ann;";
    const QString deleteBox = "Delete entry. Are you sure?";
    using B = QMessageBox;
    // Each case's steps are followed by Connect, unless the dialog has closed;
    // the answer is given to the one message box, if any.
    const struct {
        QStringList steps;
        B::StandardButton answer;
        QString box;
        std::string connected, stored;
    } cases[] = {
        {{}, B::NoButton, {}, toAnn, ann + "p1*; " + bob}, // written all the same
        {{"KyrEdit=ABCDEFGHIJKLMNOPQRSTUV", "PortEdit=000012345"}, B::NoButton, {},
            kLongHost + ":1234 ABCDEFGHIJKLMNOP;", "ABCDEFGHIJKLMNOP@" + kLongHost + ":1234 annid/p1*; " + bob},
        {{"SaveCheck", "LastBtn"}, B::NoButton, {}, toAnn, ann + "*; " + bob},
        {{"AccountEdit=changed", "NextBtn", "LastBtn"}, B::NoButton, {}, toAnn, ann + "p1*; " + bob},
        {{"NextBtn", "NextBtn", "KyrEdit=Cid", "AccountEdit=cidid"}, B::NoButton, {}, "b.host:1002 Cid;",
            ann + "p1; " + bob + "; Cid@b.host:1002 cidid/*"},
        {{"DeleteBtn"}, B::Yes, deleteBox, "b.host:1002 Bob;", bob + "*"},
        // What the dialog shows is what is stored, even after a refused Delete.
        {{"HostEdit=new.host", "DeleteBtn"}, B::No, deleteBox, "new.host:1001 Ann;",
            "Ann@new.host:1001 annid/p1*; " + bob},
        {{"SaveCheck", "DeleteBtn"}, B::No, deleteBox, toAnn, ann + "*; " + bob},
        {{"PortEdit=70000", "OKBtn", "PortEdit=4000"}, B::Ok, "The port number must be between 0 and 65535.",
            kLongHost + ":4000 Ann;", "Ann@" + kLongHost + ":4000 annid/p1*; " + bob},
        {{"AccountEdit=other", "CancelBtn"}, B::NoButton, {}, "", "unwritten"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps.join(' ').toStdString());
        LogonFixture f;
        f.script.Then([&](QWidget* w) {
            Act(w, c.steps);
            if (w->isVisible())
                Act(w, {"OKBtn"});
        });
        if (c.answer != B::NoButton)
            f.script.Answer(c.answer);
        Login login(f.settings.view, f.settings.init, f.form);
        EXPECT_TRUE(f.script.Finished());
        EXPECT_EQ(f.script.unexpected, 0);
        EXPECT_EQ(f.script.messages, c.box.isEmpty() ? std::vector<QString>{} : std::vector{c.box});
        EXPECT_EQ(f.settings.Connections(), c.connected);
        EXPECT_EQ(f.settings.Stored(), c.stored);
    }
}

} // namespace
