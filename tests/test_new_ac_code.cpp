// The account-creation conversation line by line, with the dialog played by
// a script.
#include <deque>
#include <functional>

#include <gtest/gtest.h>

#include "account/new_ac_code.h"
#include "support/account_settings.h"

namespace {

class ScriptedNewAccountPrompt : public NewAccountPrompt {
public:
    std::deque<std::function<void(NewAccount&)>> actions;
    int opened = 0;

    void Open(NewAccount& account) override
    {
        ++opened;
        if (actions.empty())
            return;
        auto action = std::move(actions.front());
        actions.pop_front();
        action(account);
    }
};

NewAccountDetails Details()
{
    NewAccountDetails d;
    d.host = "localhost";
    d.port = "30003";
    d.avatarName = "Zara";
    d.accountId = "zaraid";
    d.password = "longpass1";
    d.savePassword = true;
    d.email = "zara@example.org";
    d.species = "Human";
    d.gender = "neuter";
    d.strength = "30";
    d.stamina = "25";
    d.dexterity = "45";
    d.intelligence = "40";
    return d;
}

class NewAccountTest : public ::testing::Test {
protected:
    AccountSettings settings;
    FakeMainView& view = settings.view;
    ScriptedNewAccountPrompt prompt;

    void SendOnOpen(NewAccountDetails details)
    {
        prompt.actions.push_back([details](NewAccount& a) { a.Send(details); });
    }

    // Feeds lines and returns what each one sent, joined.
    std::string Feed(NewAccount& account, const std::string& line, int expect = 0)
    {
        const size_t before = view.sent.size();
        EXPECT_EQ(account.HandleLine(line), expect) << line;
        std::string out;
        for (size_t i = before; i < view.sent.size(); ++i)
            out += view.sent[i];
        return out;
    }
};

TEST_F(NewAccountTest, FirstSendStoresTheRecordAndConnects)
{
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);

    EXPECT_EQ(prompt.opened, 1);
    EXPECT_EQ(account.State(), 0);
    ASSERT_EQ(view.connections.size(), 1u);
    EXPECT_EQ(view.connections[0].host, "localhost");
    EXPECT_EQ(view.connections[0].port, 30003);
    EXPECT_EQ(view.connections[0].avatar, "Zara");
    ASSERT_EQ(settings.init.Accounts().size(), 1u);
    EXPECT_EQ(settings.init.Accounts().front().get(), &account.Record());
    EXPECT_EQ(settings.AccountBlocks(), "   <avatar name='Zara'>\n"
                                        "      <server host='localhost' port='30003'/>\n"
                                        "      <account id='zaraid' password='longpass1' current='true'/>\n"
                                        "   </avatar>\n\n");
}

TEST_F(NewAccountTest, CancelledDialogKeepsTheDefaultsAndStoresNothing)
{
    settings.Store("Old", "oldid", "pw", true);
    NewAccount account(view, settings.init, prompt);
    EXPECT_EQ(account.Record().host, "localhost");
    EXPECT_EQ(account.Record().port, 30003);
    EXPECT_EQ(settings.init.Accounts().size(), 1u);
    EXPECT_TRUE(view.connections.empty());
    EXPECT_EQ(settings.File(), "");
}

TEST_F(NewAccountTest, AddedRecordLeavesOtherCurrentFlagsAlone)
{
    settings.Store("Old", "oldid", "pw", true);
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);
    ASSERT_EQ(settings.init.Accounts().size(), 2u);
    EXPECT_TRUE(settings.init.Accounts().front()->current);
    EXPECT_TRUE(settings.init.Accounts().back()->current);
}

TEST_F(NewAccountTest, WholeConversationAnswersEveryQuestion)
{
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);

    EXPECT_EQ(Feed(account, "Welcome!"), "");
    EXPECT_EQ(Feed(account, "login: "), "new\n");
    EXPECT_EQ(Feed(account, "Choose an account ID (letters and numbers only): "), "zaraid\n");
    EXPECT_EQ(Feed(account, "Choose a password (8 to 15 letters): "), "longpass1\n");
    EXPECT_EQ(Feed(account, "Please confirm password: "), "longpass1\n");
    EXPECT_EQ(Feed(account, "E-mail address (never given to any processing agency): "),
              "zara@example.org\n");
    EXPECT_EQ(Feed(account, "Please provide a name for your avatar: "), "Zara\n");
    EXPECT_EQ(Feed(account, "Please choose the race: "), "Human\n");
    EXPECT_EQ(Feed(account, "Please choose the gender: "), "neuter\nno\n");
    EXPECT_EQ(Feed(account, "Points to allocate to strength: "), "30\n");
    EXPECT_EQ(account.State(), 9);
    EXPECT_EQ(Feed(account, "Points to allocate to stamina: "), "25\n");
    EXPECT_EQ(Feed(account, "Points to allocate to dexterity: "), "45\n");
    EXPECT_EQ(Feed(account, "Points to allocate to intelligence: "), "");
    EXPECT_EQ(Feed(account, "Do you want to play using this character? "), "yes\n");
    EXPECT_EQ(Feed(account, "Linking to Kyrnos...", 1), "");

    // The two gender replies are separate sends.
    EXPECT_EQ(view.sent[7], "neuter\n");
    EXPECT_EQ(view.sent[8], "no\n");
    EXPECT_EQ(view.displayed.size(), 15u); // every line, the link included
    EXPECT_EQ(view.DisplayedTexts().back(), "Linking to Kyrnos...");
}

TEST_F(NewAccountTest, EachStateWaitsForItsOwnFragment)
{
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);
    EXPECT_EQ(Feed(account, "Please confirm password:"), "");
    EXPECT_EQ(Feed(account, "LOGIN:"), "");
    EXPECT_EQ(Feed(account, "login:"), "new\n");
    EXPECT_EQ(Feed(account, "login:"), ""); // already answered
    EXPECT_EQ(Feed(account, "Give a name for your character."), "zaraid\n");
    EXPECT_EQ(Feed(account, "Please provide a name"), ""); // still the password
    EXPECT_EQ(account.State(), 2);
    EXPECT_EQ(view.displayed.size(), 6u); // unanswered lines are shown too
}

TEST_F(NewAccountTest, OneLineWithTwoStatQuestionsGetsBothAnswersInOrder)
{
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);
    for (const char* line : {"login:", "numbers only):", "15 letters):", "confirm password:",
                             "processing agency):", "provide a name", "choose the race",
                             "choose the gender"})
        Feed(account, line);
    ASSERT_EQ(account.State(), 9);
    EXPECT_EQ(Feed(account, "allocate to stamina, then allocate to strength"), "30\n25\n");
    EXPECT_EQ(account.State(), 9);
    EXPECT_EQ(Feed(account, "allocate to strength allocate to stamina allocate to dexterity"),
              "30\n25\n45\n");
    EXPECT_EQ(account.State(), 10);
}

TEST_F(NewAccountTest, RefusedAccountIdIsAskedAgainThroughTheDialog)
{
    SendOnOpen(Details());
    NewAccountDetails second = Details();
    second.accountId = "zaraid2";
    prompt.actions.push_back([this, second](NewAccount& a) {
        EXPECT_EQ(a.State(), NewAccount::IdRefused);
        // Lines are not shown while the dialog waits.
        EXPECT_EQ(a.HandleLine("stray"), 0);
        a.Send(second);
        EXPECT_EQ(a.State(), NewAccount::WaitPassword);
    });
    NewAccount account(view, settings.init, prompt);
    for (const char* line :
         {"login:", "numbers only):", "15 letters):", "confirm password:", "processing agency):"})
        Feed(account, line);
    const size_t shown = view.displayed.size();

    EXPECT_EQ(Feed(account, "That ID is taken, please choose a different name."), "zaraid2\n");
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, MessageKind::Information);
    EXPECT_EQ(view.messages[0].second,
              "The account ID you have choosen is already in use\nPlease try another ID.");
    EXPECT_EQ(prompt.opened, 2);
    // Only the refusal line itself is shown, after the dialog.
    EXPECT_EQ(view.DisplayedTexts().size(), shown + 1);
    EXPECT_EQ(view.DisplayedTexts().back(), "That ID is taken, please choose a different name.");

    // The password questions are answered again; still one connection and one entry.
    EXPECT_EQ(Feed(account, "15 letters):"), "longpass1\n");
    EXPECT_EQ(Feed(account, "confirm password:"), "longpass1\n");
    EXPECT_EQ(view.connections.size(), 1u);
    ASSERT_EQ(settings.init.Accounts().size(), 1u);
    EXPECT_EQ(settings.init.Accounts().front()->accountId, "zaraid2");
    EXPECT_NE(settings.AccountBlocks().find("id='zaraid2'"), std::string::npos);
}

TEST_F(NewAccountTest, RefusedAvatarNameWaitsForTheNamePromptAgain)
{
    SendOnOpen(Details());
    NewAccountDetails second = Details();
    second.avatarName = "Zora";
    prompt.actions.push_back([this, second](NewAccount& a) {
        EXPECT_EQ(a.State(), NewAccount::NameRefused);
        // The box came first, the refusal line waits until the dialog closes.
        EXPECT_EQ(view.messages.size(), 1u);
        EXPECT_EQ(view.DisplayedTexts().back(), "Do you want to play using this char?");
        const size_t sent = view.sent.size();
        a.Send(second);
        EXPECT_EQ(view.sent.size(), sent); // nothing sent on this Send
    });
    NewAccount account(view, settings.init, prompt);
    for (const char* line : {"login:", "numbers only):", "15 letters):", "confirm password:",
                             "processing agency):", "provide a name", "choose the race",
                             "choose the gender", "allocate to dexterity",
                             "Do you want to play using this char?"})
        Feed(account, line);
    ASSERT_EQ(account.State(), NewAccount::WaitLink);

    EXPECT_EQ(Feed(account, "Sorry, that name is not available."), "");
    EXPECT_EQ(view.messages[0].second,
              "The avatar name you have choosen is already in use\nPlease try another name.");
    EXPECT_EQ(view.DisplayedTexts().back(), "Sorry, that name is not available.");
    EXPECT_EQ(account.State(), NewAccount::WaitNamePrompt);

    EXPECT_EQ(Feed(account, "Please provide a name"), "Zora\n");
    EXPECT_EQ(settings.init.Accounts().size(), 1u);
    EXPECT_EQ(settings.init.Accounts().front()->avatarName, "Zora");
    EXPECT_NE(settings.AccountBlocks().find("<avatar name='Zora'>"), std::string::npos);
}

TEST_F(NewAccountTest, CancelledAfterARefusalShowsNothingMore)
{
    SendOnOpen(Details());
    NewAccount account(view, settings.init, prompt);
    for (const char* line :
         {"login:", "numbers only):", "15 letters):", "confirm password:", "processing agency):"})
        Feed(account, line);
    Feed(account, "different name.");
    ASSERT_EQ(account.State(), NewAccount::IdRefused);
    const size_t shown = view.displayed.size();
    const size_t sent = view.sent.size();
    EXPECT_EQ(account.HandleLine("15 letters):"), 0);
    EXPECT_EQ(account.HandleLine("Linking to Kyrnos"), 0);
    EXPECT_EQ(view.displayed.size(), shown);
    EXPECT_EQ(view.sent.size(), sent);
}

} // namespace
