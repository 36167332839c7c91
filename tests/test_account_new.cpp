// Creating an account: the conversation line by line with the dialog played
// by a script, then the real dialog driven as a player would.
#include <vector>

#include <gtest/gtest.h>

#include <QTest>
#include <QToolButton>

#include "account/new_account.h"
#include "support/account_settings.h"
#include "support/common.h"
#include "support/modal_script.h"

namespace {

using Prompt = ScriptedPrompt<NewAccountPrompt, NewAccount>;

void SendOnOpen(Prompt& prompt, const NewAccountDetails& details)
{
    prompt.actions.push_back([details](NewAccount& a) { a.Send(details); });
}

const NewAccountDetails kDetails = {"localhost", "30003", "Zara", "zaraid", "longpass1", true, "zara@example.org",
    "Human", "neuter", "30", "25", "45", "40"};

TEST(NewAccountConversation, EachStateAnswersOnlyItsOwnQuestions)
{
    // One account, line by line; each row gives what the line sends, the state
    // after it and what handling it returns.
    using A = NewAccount;
    const struct {
        const char* line;
        std::vector<std::string> sent;
        int state;
        int result = 0;
    } rows[] = {
        {"LOGIN:", {}, A::WaitLogin},
        {"login: ", {"new\n"}, A::WaitIdPrompt},
        {"Choose an ID (letters and numbers only): ", {"zaraid\n"}, A::WaitPassword},
        {"Please provide a name", {}, A::WaitPassword},
        {"Choose a password (8 to 15 letters): ", {"longpass1\n"}, A::WaitConfirm},
        {"Please confirm password: ", {"longpass1\n"}, A::WaitEmail},
        {"E-mail (never given to any processing agency): ", {"zara@example.org\n"}, A::WaitNamePrompt},
        // Refused: the dialog sends the new ID; the password questions come again.
        {"That ID is taken, please choose a different name.", {"zaraid2\n"}, A::WaitPassword},
        {"15 letters):", {"longpass1\n"}, A::WaitConfirm},
        {"confirm password:", {"longpass1\n"}, A::WaitEmail},
        {"processing agency):", {"zara@example.org\n"}, A::WaitNamePrompt},
        {"Please provide a name for your avatar: ", {"Zara\n"}, A::WaitSpecies},
        {"Please choose the race: ", {"Human\n"}, A::WaitGender},
        {"Please choose the gender: ", {"neuter\n", "no\n"}, A::WaitStats},
        {"Points to allocate to strength: ", {"30\n"}, A::WaitStats},
        {"allocate to stamina, then allocate to strength", {"30\n", "25\n"}, A::WaitStats},
        {"Points to allocate to intelligence: ", {}, A::WaitStats},
        {"allocate to strength allocate to stamina allocate to dexterity", {"30\n", "25\n", "45\n"}, A::WaitPlay},
        {"Do you want to play using this character? ", {"yes\n"}, A::WaitLink},
        {"Linking to Kyrnos...", {}, A::WaitLink, 1}, // done
        // Refused: the dialog sends nothing; the name is asked for again.
        {"Sorry, that name is not available.", {}, A::WaitNamePrompt},
        {"Please provide a name", {"Zora\n"}, A::WaitSpecies},
    };
    AccountSettings settings;
    FakeMainView& view = settings.view;
    settings.Store("Old", "oldid", "pw", true);
    Prompt prompt;
    NewAccountDetails details = kDetails;
    SendOnOpen(prompt, details);
    details.accountId = "zaraid2";
    prompt.actions.push_back([details](NewAccount& a) {
        // Nothing is shown or answered while the dialog is open.
        EXPECT_EQ(a.HandleLine("Choose a password (8 to 15 letters): "), 0);
        a.Send(details);
    });
    details.avatarName = "Zora";
    SendOnOpen(prompt, details);
    NewAccount account(view, settings.init, prompt);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        view.sent.clear();
        view.displayed.clear();
        EXPECT_EQ(account.HandleLine(row.line), row.result);
        EXPECT_EQ(view.sent, row.sent);
        EXPECT_EQ(view.DisplayedTexts(), std::vector<std::string>{row.line});
        EXPECT_EQ(account.State(), row.state);
    }
    EXPECT_EQ(prompt.opened, 3);
    EXPECT_EQ(view.messages,
        (decltype(view.messages){
            {MessageKind::Information, "The account ID you have choosen is already in use\nPlease try another ID."},
            {MessageKind::Information,
                "The avatar name you have choosen is already in use\nPlease try another name."}}));
    // One connection; one new entry, updated in place; the others keep their marks.
    EXPECT_EQ(settings.Connections(), "localhost:30003 Zara;");
    EXPECT_EQ(settings.Stored(), "Old@kyrn.example:30003 oldid/pw*; Zora@localhost:30003 zaraid2/longpass1*");

    // The other wording of the ID question.
    NewAccount other(view, settings.init, prompt);
    for (const char* line : {"login:", "Give a name for your character."})
        other.HandleLine(line);
    EXPECT_EQ(other.State(), NewAccount::WaitPassword);
}

// A complete, valid set of entries with every stat point used.
const QStringList kValid = {"IDEdit=pilot7", "PwEdit=password1", "PwConfEdit=password1", "EMailEdit=pilot@example.org",
    "NameEdit=Vega", "RaceEdit=Human", "StrSpin+10", "UpDown1+20", "DexSpin+30"};

struct NewAccountFixture {
    void Run()
    {
        NewAccount account(settings.view, settings.init, form);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(script.unexpected, 0);
    }
    AccountSettings settings;
    TNewAccountForm form;
    ModalScript script;
};

TEST(NewAccountForm, StatsAndUnusedPointsAlwaysAddUpTo140)
{
    TNewAccountForm form;
    ModalScript script;
    const QStringList stats = {"StrEdit", "StaEdit", "DexEdit", "IntEdit", "UnusedEdit"};
    EXPECT_EQ(Shown(&form, stats), "20|20|20|20|60");
    Act(&form, {"StrSpin-1", "StrSpin+51", "UpDown2+10"}); // each one past a bound
    EXPECT_EQ(Shown(&form, stats), "70|20|20|30|0");

    // Nothing left: one box, and a repeat of the held arrow under it is not
    // asked for; the refusal lets go of the arrow.
    auto* up = Control<QToolButton>(Control<SpinControl>(&form, "UpDown1"), "Up");
    script.Then([&](QWidget* box) {
        Act(&form, {"UpDown1+1"});
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    up->setDown(true);
    Act(&form, {"UpDown1+1", "StrSpin-1"});
    EXPECT_FALSE(up->isDown());
    EXPECT_EQ(script.messages, std::vector<QString>{"You have no stats left to allocate!"});
    EXPECT_EQ(script.icons, std::vector<QMessageBox::Icon>{QMessageBox::Critical});
    EXPECT_EQ(Shown(&form, stats), "69|20|20|30|1");
}

TEST(NewAccountForm, SendRunsItsChecksInOrderAndStaysOpenAtTheFirstThatFails)
{
    const QString unused = "You have not used all your stat points\nContinue anyway?";
    // Each case's steps follow the valid entries; `sent` is the connection opened.
    const struct {
        QStringList steps;
        QString message;
        std::string sent = {};
        QMessageBox::StandardButton answer = QMessageBox::Ok;
    } cases[] = {
        {{"HostEdit=", "IDEdit=abc"}, "No host server name given"},
        {{"PortEdit="}, "No host port number given"},
        {{"IDEdit=abcd", "NameEdit=Al Bo"}, "Account IDs must be at least 5 letters"},
        {{"NameEdit=Al Bo", "PwEdit=short"}, "Letters and numbers only in name and species"},
        {{"NameEdit=7up"}, "Name and species must start with a letter."},
        {{"PwEdit=short"}, "Passwordss must be at least 8 letters"},
        {{"PwConfEdit=password2"}, "Your password does not match the confirmation"},
        {{"EMailEdit=nobody.example.org"}, "Invalid e-mail address"},
        {{"NewAcCheck", "PwConfEdit=other", "EMailEdit="}, {}, "localhost:30003 Vega;"},
        {{"NameEdit=Al"}, "Names must be at least 3 letters"},
        {{"NameEdit="}, "Names must be at least 3 letters"},
        {{"RaceEdit=Ox"}, "Species names must be at least 3 letters"},
        {{"RaceEdit=0xen"}, "Name and species must start with a letter."},
        {{"RaceEdit=Ox_en"}, "Letters and numbers only in name and species"},
        {{"DexSpin-10"}, unused, "", QMessageBox::No},
        {{"DexSpin-10"}, unused, "localhost:30003 Vega;", QMessageBox::Yes},
        {{"NameEdit=Al9", "RaceEdit=Oxen2"}, {}, "localhost:30003 Al9;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps.join(' ').toStdString());
        NewAccountFixture f;
        bool stayedOpen = false;
        QString passwords;
        f.script.Then([&](QWidget* w) {
            Act(w, kValid + c.steps + QStringList{"SendBtn"});
            passwords = Shown(w, {"PwEdit", "PwConfEdit"});
            if (w->isVisible()) { // after a failed check only Cancel closes
                w->close();
                QTest::keyClick(w, Qt::Key_Escape);
            }
            stayedOpen = w->isVisible() && !f.form.MayClose();
            if (w->isVisible())
                Act(w, {"CancelBtn"});
        });
        if (!c.message.isEmpty())
            f.script.Answer(c.answer);
        f.Run();
        EXPECT_EQ(f.script.messages, c.message.isEmpty() ? std::vector<QString>{} : std::vector{c.message});
        EXPECT_EQ(f.script.icons, std::vector(f.script.messages.size(), QMessageBox::Critical));
        EXPECT_EQ(stayedOpen, c.sent.empty());
        EXPECT_EQ(f.settings.Connections(), c.sent);
        EXPECT_EQ(f.settings.Stored() == "unwritten", c.sent.empty());
        // A mismatch empties both password edits; they never show a password.
        EXPECT_EQ(passwords == "|", c.message == "Your password does not match the confirmation");
        EXPECT_FALSE(passwords.contains("pass"));
    }
}

TEST(NewAccountForm, APassingSendHandsOnEveryControl)
{
    NewAccountFixture f;
    f.script.Then([&](QWidget* w) {
        Act(w,
            kValid + QStringList{"SavePwCheck", "NeuterRadio", "HostEdit=game.example", "PortEdit=4242x", "SendBtn"});
    });
    f.Run();
    EXPECT_EQ(f.settings.Stored(), "Vega@game.example:4242 pilot7/password1*");
    const AccountRec& r = *f.settings.init.Accounts().front();
    EXPECT_EQ(r.email + " " + r.species + " " + r.gender + " " + r.strength + r.stamina + r.dexterity + r.intelligence,
        "pilot@example.org Human neuter 30405020");
}

} // namespace
