// The logon conversation line by line, with the dialog played by a script.
#include <limits>
#include <deque>
#include <functional>

#include <gtest/gtest.h>

#include "account/login_code.h"
#include "support/account_settings.h"

namespace {

// Stands in for the logon dialog: each opening runs the next action (none
// left: the player cancels).
class ScriptedLogonPrompt : public LogonPrompt {
public:
    std::deque<std::function<void(Login&)>> actions;
    int opened = 0;

    void Open(Login& login) override
    {
        ++opened;
        if (actions.empty())
            return;
        auto action = std::move(actions.front());
        actions.pop_front();
        action(login);
    }
};

LogonEdits Edits(const std::string& host, const std::string& port, const std::string& avatar,
                 const std::string& id, const std::string& password, bool save)
{
    return LogonEdits{host, port, avatar, id, password, save};
}

class LoginTest : public ::testing::Test {
protected:
    AccountSettings settings;
    FakeMainView& view = settings.view;
    ScriptedLogonPrompt prompt;

    // Connects with the shown account unchanged.
    void ConnectUnchanged()
    {
        prompt.actions.push_back([](Login& login) { login.Accept({}, false); });
    }
};

TEST_F(LoginTest, WithoutStoredAccountsTheDialogShowsTheLocalServer)
{
    Login login(view, settings.init, prompt);
    EXPECT_EQ(prompt.opened, 1);
    EXPECT_EQ(login.GetState(), Login::WaitLogin);
    EXPECT_EQ(login.WorkingCopy().host, "localhost");
    EXPECT_EQ(login.WorkingCopy().port, 30003);
    EXPECT_EQ(login.WorkingCopy().accountId, "");
    EXPECT_EQ(login.WorkingCopy().password, "");
    EXPECT_TRUE(view.connections.empty()); // cancelled
}

TEST_F(LoginTest, TheCurrentAccountIsCopiedAndTheListIsNotShared)
{
    settings.Store("Ann", "annid", "secret1");
    settings.Store("Bob", "bobid", "secret2", true, "far.host", 4000);
    prompt.actions.push_back([](Login& login) {
        login.Accept(Edits("x", "1", "Zed", "zedid", "pw", false), false);
    });
    Login login(view, settings.init, prompt);

    const AccountRec& copy = login.WorkingCopy();
    EXPECT_EQ(copy.avatarName, "Bob");
    EXPECT_EQ(copy.accountId, "bobid");
    EXPECT_EQ(copy.password, "secret2");
    EXPECT_TRUE(copy.current);
    EXPECT_TRUE(copy.savePassword);
    // Not modified: the typed edits are ignored, the stored entry connects.
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "far.host");
    EXPECT_EQ(view.connections[0].port, 4000);
    EXPECT_EQ(view.connections[0].avatar, "Bob");
    EXPECT_NE(&copy, settings.init.GetCurrentAccount());
    EXPECT_EQ(settings.init.Accounts().size(), 2u);
}

TEST_F(LoginTest, ModifiedDetailsAreStoredAsANewCurrentEntry)
{
    prompt.actions.push_back([](Login& login) {
        login.Accept(Edits("game.host", "31000", "Kira", "kiraid", "hidden", false), true);
    });
    Login login(view, settings.init, prompt);
    EXPECT_EQ(settings.AccountBlocks(), "   <avatar name='Kira'>\n"
                                        "      <server host='game.host' port='31000'/>\n"
                                        "      <account id='kiraid' current='true'/>\n"
                                        "   </avatar>\n\n");
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "game.host");
    EXPECT_EQ(view.connections[0].port, 31000);
    EXPECT_EQ(view.connections[0].avatar, "Kira");
    // The working copy is what the conversation answers with.
    EXPECT_EQ(login.WorkingCopy().accountId, "kiraid");
    EXPECT_EQ(login.WorkingCopy().password, "hidden");
}

TEST(PortFromText, ReadsDigitsUpToTheFirstNonDigit)
{
    EXPECT_EQ(PortFromText("30003"), 30003);
    EXPECT_EQ(PortFromText("12ab"), 12);
    EXPECT_EQ(PortFromText("abc"), 0);
    EXPECT_EQ(PortFromText(""), 0);
    EXPECT_EQ(PortFromText("-5"), -5);
    EXPECT_EQ(PortFromText("+77"), 77);
    EXPECT_EQ(PortFromText(" 80"), 0);
    // Past 32 bits it saturates instead of wrapping to a real port.
    EXPECT_EQ(PortFromText("4294967376"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(PortFromText("-99999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST_F(LoginTest, ConversationAnswersPromptsAndCompletesOnTheLink)
{
    settings.Store("Ann", "annid", "secret1", true);
    ConnectUnchanged();
    Login login(view, settings.init, prompt);

    EXPECT_EQ(login.HandleLine("Welcome to Kyrnos II"), 0);
    EXPECT_EQ(login.HandleLine(" "), 0);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_EQ(login.HandleLine("Password:"), 0); // not yet asked for the login
    EXPECT_TRUE(view.sent.empty());
    EXPECT_EQ(login.HandleLine("Please enter your login: "), 0);
    EXPECT_EQ(login.GetState(), Login::WaitPassword);
    EXPECT_EQ(login.HandleLine("Something else"), 0);
    EXPECT_EQ(login.HandleLine("Password: "), 0);
    EXPECT_EQ(login.GetState(), Login::WaitVerdict);
    EXPECT_EQ(login.HandleLine("Checking your details"), 0);
    EXPECT_EQ(login.HandleLine("Linking to Kyrnos DataSpace..."), 1);

    EXPECT_EQ(view.sent, (std::vector<std::string>{"annid\n", "secret1\n"}));
    EXPECT_EQ(view.DisplayedTexts(),
              (std::vector<std::string>{"Welcome to Kyrnos II", " ", "Password:",
                                        "Please enter your login: ", "Something else",
                                        "Password: ", "Linking to Kyrnos DataSpace..."}));
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(LoginTest, ExistingAccountPromptGetsTheIdToo)
{
    settings.Store("Ann", "annid", "secret1", true);
    ConnectUnchanged();
    Login login(view, settings.init, prompt);
    login.HandleLine("Enter your existing account name: ");
    EXPECT_EQ(view.sent, std::vector<std::string>{"annid\n"});
}

TEST_F(LoginTest, FragmentsAreCaseSensitiveAndOneStepPerLine)
{
    settings.Store("Ann", "annid", "secret1", true);
    ConnectUnchanged();
    Login login(view, settings.init, prompt);
    login.HandleLine("LOGIN:");
    EXPECT_TRUE(view.sent.empty());
    // A line holding both prompts answers only the one the state waits for.
    login.HandleLine("login: password:");
    EXPECT_EQ(view.sent, std::vector<std::string>{"annid\n"});
    EXPECT_EQ(login.GetState(), Login::WaitPassword);
    login.HandleLine("PASSWORD:");
    EXPECT_EQ(login.GetState(), Login::WaitPassword);
    // A verdict in the same line as the password prompt waits for its own line.
    EXPECT_EQ(login.HandleLine("password: Linking to Kyrnos DataSpace"), 0);
    EXPECT_EQ(login.GetState(), Login::WaitVerdict);
    EXPECT_EQ(login.HandleLine("linking to kyrnos dataspace"), 0);
    EXPECT_EQ(login.HandleLine("Linking to Kyrnos DataSpace"), 1);
}

TEST_F(LoginTest, RefusedPasswordAsksAgainWithoutASecondConnection)
{
    settings.Store("Ann", "annid", "wrongpw", true);
    ConnectUnchanged();
    prompt.actions.push_back([this](Login& login) {
        // The dialog is shown again after the box and the "no".
        EXPECT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.SentBytes(), "annid\nwrongpw\nno\n");
        EXPECT_EQ(login.GetState(), Login::Refused);
        login.Accept(Edits("localhost", "30003", "Ann", "annid", "rightpw", true), true);
    });
    Login login(view, settings.init, prompt);

    login.HandleLine("login:");
    login.HandleLine("password:");
    EXPECT_EQ(login.HandleLine("Your account ID or password is wrong. Try again? "), 0);
    EXPECT_EQ(prompt.opened, 2);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, MessageKind::Information);
    EXPECT_EQ(view.messages[0].second,
              "Login Problem: The account ID and/or\npassword were incorrect!\n"
              "Please correct and try again.");
    EXPECT_EQ(login.GetState(), Login::WaitLogin);
    EXPECT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.DisplayedTexts().back(), "Your account ID or password is wrong. Try again? ");

    login.HandleLine("login:");
    login.HandleLine("password:");
    EXPECT_EQ(login.HandleLine("Linking to Kyrnos DataSpace"), 1);
    EXPECT_EQ(view.SentBytes(), "annid\nwrongpw\nno\nannid\nrightpw\n");
    EXPECT_EQ(view.connections.size(), 1u);
    // The corrected password replaced the stored one.
    EXPECT_NE(settings.AccountBlocks().find("password='rightpw' current='true'"), std::string::npos);
}

TEST_F(LoginTest, CancelledAfterARefusalHidesEverythingThatFollows)
{
    settings.Store("Ann", "annid", "wrongpw", true);
    ConnectUnchanged();
    Login login(view, settings.init, prompt);
    login.HandleLine("login:");
    login.HandleLine("password:");
    const size_t shownBefore = view.displayed.size();
    login.HandleLine("password is wrong");
    EXPECT_EQ(login.GetState(), Login::Refused);
    EXPECT_EQ(view.displayed.size(), shownBefore + 1);

    EXPECT_EQ(login.HandleLine("login:"), 0);
    EXPECT_EQ(login.HandleLine("Linking to Kyrnos DataSpace"), 0);
    EXPECT_EQ(view.displayed.size(), shownBefore + 1);
    EXPECT_EQ(view.SentBytes(), "annid\nwrongpw\nno\n");
}

TEST_F(LoginTest, UnmatchedVerdictLinesAreNotShown)
{
    settings.Store("Ann", "annid", "pw", true);
    ConnectUnchanged();
    Login login(view, settings.init, prompt);
    login.HandleLine("login:");
    login.HandleLine("password:");
    const size_t shownBefore = view.displayed.size();
    EXPECT_EQ(login.HandleLine("Last logged on yesterday"), 0);
    EXPECT_EQ(login.HandleLine("login:"), 0);
    EXPECT_EQ(view.displayed.size(), shownBefore);
    EXPECT_EQ(view.SentBytes(), "annid\npw\n");
}

TEST_F(LoginTest, NextLastAndDeleteMoveTheWorkingCopy)
{
    settings.Store("Ann", "annid", "p1", true, "a.host", 1);
    settings.Store("Bob", "bobid", "p2", false, "b.host", 2);
    Login login(view, settings.init, prompt);

    EXPECT_FALSE(login.Last()); // on the first entry
    EXPECT_EQ(login.WorkingCopy().avatarName, "Ann");
    login.Next();
    EXPECT_EQ(login.WorkingCopy().avatarName, "Bob");
    login.Next(); // past the last: a blank entry that keeps the server
    EXPECT_EQ(login.WorkingCopy().avatarName, "");
    EXPECT_EQ(login.WorkingCopy().accountId, "");
    EXPECT_EQ(login.WorkingCopy().password, "");
    EXPECT_EQ(login.WorkingCopy().host, "b.host");
    EXPECT_EQ(login.WorkingCopy().port, 2);
    ASSERT_TRUE(login.Last()); // from the blank entry to the last one
    EXPECT_EQ(login.WorkingCopy().avatarName, "Bob");
    ASSERT_TRUE(login.Last());
    EXPECT_EQ(login.WorkingCopy().avatarName, "Ann");

    login.Delete();
    EXPECT_EQ(login.WorkingCopy().avatarName, "Bob");
    login.Delete();
    EXPECT_TRUE(settings.init.Accounts().empty());
    EXPECT_EQ(login.WorkingCopy().host, "localhost");
    EXPECT_EQ(login.WorkingCopy().port, 30003);
    EXPECT_EQ(login.WorkingCopy().accountId, "bobid"); // the other fields stay
    EXPECT_EQ(settings.AccountBlocks(), "");
}

} // namespace
