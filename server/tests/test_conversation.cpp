// The two conversations before play, one line at a time: what each answer
// leads to and what is asked next.
#include "kyrnd_test.h"

#include "conversation.h"

namespace {

struct Step {
    int who;            // which conversation hears the line
    const char* line;   // "#wrong"/"#right": the password check comes back; "#drop": conversation 0 goes
    Outcome outcome;
    const char* said;   // a fragment of what is sent in answer
};

struct Desk {
    QTemporaryDir dir;
    AccountStore store{dir.filePath("accounts.json"), 1};
    NameClaims claims;
    QStringList sent;
    Desk()
    {
        store.create("demo1", Credentials::derive("orvixdemo", 1), "d@x",
                     Avatar::newcomer("Nova", "Human", "female", 35, 35, 35, 35, {}));
        claims.reserve({"Mira"});
    }
    void check(const Step& s, Outcome got)
    {
        EXPECT_EQ(int(got), int(s.outcome)) << s.who << " " << s.line;
        EXPECT_TRUE(sent.join('\n').contains(s.said)) << s.line << " got:\n" << sent.join('\n').toStdString();
        sent.clear();
    }
};

} // namespace

TEST(Conversation, LogonStates)
{
    const std::vector<std::vector<Step>> scripts{
        {{0, "", Outcome::Continue, "login:"},
         {0, "demo1", Outcome::Continue, "password:"},
         {0, "orvixdem0", Outcome::CheckPassword, ""},
         {0, "#wrong", Outcome::Continue, "create a new account instead? (yes/no)"},
         {0, "maybe", Outcome::Continue, "yes or no"},
         {0, "no", Outcome::Continue, "login:"},
         {0, "DEMO1", Outcome::Continue, "password:"},
         {0, "orvixdemo", Outcome::CheckPassword, ""},
         {0, "#right", Outcome::LoggedIn, "Welcome back, Nova.\nLinking to Kyrnos DataSpace..."}},
        {{0, "New", Outcome::NewAccount, ""}},
        {{0, "nosuchuser", Outcome::Continue, "password:"},
         {0, "guess", Outcome::CheckPassword, ""},
         {0, "#wrong", Outcome::Continue, "(yes/no)"},
         {0, "y", Outcome::NewAccount, ""}},
        // The second failure of two ends the conversation.
        {{0, "demo1", Outcome::Continue, ""}, {0, "a", Outcome::CheckPassword, ""}, {0, "#wrong", Outcome::Continue, ""},
         {0, "no", Outcome::Continue, ""}, {0, "demo1", Outcome::Continue, ""}, {0, "b", Outcome::CheckPassword, ""},
         {0, "#wrong", Outcome::Quit, "Too many failed attempts, goodbye."}},
    };
    for (const auto& script : scripts) {
        Desk s;
        LogonConversation logon(s.store, [&](const QString& l) { s.sent << l; }, 2);
        logon.start();
        EXPECT_TRUE(s.sent.last().endsWith("login:"));
        s.sent.clear();
        for (const Step& step : script) {
            const QString line = step.line;
            const Outcome got = line == "#wrong" ? logon.passwordChecked(nullptr)
                                : line == "#right" ? logon.passwordChecked(s.store.find(logon.id()))
                                                   : logon.feed(line);
            if (got == Outcome::CheckPassword)
                EXPECT_EQ(logon.password(), line);  // what the session checks
            s.check(step, got);
        }
    }
}

TEST(Conversation, NewAccountStates)
{
    Desk s;
    std::unique_ptr<NewAccountConversation> talk[2];
    for (auto& t : talk) {
        t = std::make_unique<NewAccountConversation>(s.store, s.claims, Place{}, [&](const QString& l) { s.sent << l; });
        t->start();
    }
    s.sent.clear();
    const Step steps[] = {
        {0, "ab", Outcome::Continue, "5 to 23 letters and numbers only):"},
        {0, "Demo1", Outcome::Continue, "(8 to 15 letters):"},
        {0, "short", Outcome::Continue, "A password has 8 to 15 letters."},
        {0, "secretpw1", Outcome::Continue, "confirm password:"},
        {0, "different", Outcome::Continue, "do not match.\nChoose a password"},
        {0, "secretpw1", Outcome::Continue, "confirm password:"},
        {0, "secretpw1", Outcome::Continue, "account processing agency):"},
        {0, "no address", Outcome::Continue, "does not look like an e-mail"},
        {0, "p@x.org", Outcome::Continue, "Demo1 is already in use, please choose a different name.\nChoose an account ID"},
        {0, "pilot12", Outcome::Continue, "Choose a password"},
        {0, "secretpw1", Outcome::Continue, ""},
        {0, "secretpw1", Outcome::Continue, ""},
        {0, "p@x.org", Outcome::Continue, "provide a name for your avatar"},
        // The ID is held while the first is still choosing.
        {1, "PILOT12", Outcome::Continue, ""},
        {1, "secretpw2", Outcome::Continue, ""},
        {1, "secretpw2", Outcome::Continue, ""},
        {1, "q@x.org", Outcome::Continue, "PILOT12 is already in use"},
        {0, "9lives", Outcome::Continue, "starts with a letter"},
        {0, "nova", Outcome::Continue, "choose the race"},
        {0, "Human", Outcome::Continue, "choose the gender"},
        {0, "robot", Outcome::Continue, "male, female or neuter"},
        {0, "female", Outcome::Continue, "allocated for you? (yes/no)"},
        {0, "no", Outcome::Continue, "140 points to spread over four stats, 20 to 70 each."},
        {0, "71", Outcome::Continue, "from 20 to 70"},
        {0, "40", Outcome::Continue, "allocate to stamina"},
        {0, "30", Outcome::Continue, "allocate to dexterity"},
        {0, "51", Outcome::Continue, "from 20 to 50"},  // twenty are left for intelligence
        {0, "35", Outcome::Continue, "The remaining 35 points go to intelligence"},
        {0, "yes", Outcome::Continue, "The name Nova is not available."},  // an avatar's
        {0, "mira", Outcome::Continue, ""},
        {0, "Kyrnian", Outcome::Continue, ""},
        {0, "neuter", Outcome::Continue, ""},
        {0, "y", Outcome::Continue, "Mira, a neuter Kyrnian: strength 35, stamina 35, dexterity 35, intelligence 35."},
        {0, "yes", Outcome::Continue, "The name Mira is not available."},  // a simulated player's
        {0, "lark", Outcome::Continue, ""},
        {0, "Kyrnian", Outcome::Continue, ""},
        {0, "neuter", Outcome::Continue, ""},
        {0, "yes", Outcome::Continue, ""},
        {0, "no", Outcome::Continue, "provide a name"},  // not this one after all
        {0, "lark", Outcome::Continue, ""},
        {0, "Kyrnian", Outcome::Continue, ""},
        {0, "neuter", Outcome::Continue, ""},
        {0, "yes", Outcome::Continue, ""},
        {0, "yes", Outcome::CreateAccount, ""},
        // A conversation that ends frees what it held.
        {0, "#drop", Outcome::Continue, ""},
        {1, "pilot12", Outcome::Continue, ""},
        {1, "secretpw2", Outcome::Continue, ""},
        {1, "secretpw2", Outcome::Continue, ""},
        {1, "q@x.org", Outcome::Continue, "provide a name"},
        {1, "Lark", Outcome::Continue, "choose the race"},
        {1, "Kyrnian", Outcome::Continue, ""},
        {1, "male", Outcome::Continue, ""},
        {1, "yes", Outcome::Continue, ""},
        {1, "yes", Outcome::CreateAccount, ""},
    };
    for (const Step& step : steps) {
        if (QByteArray(step.line) == "#drop") {
            talk[0].reset();
            EXPECT_EQ(s.claims.size(), 0);
            continue;
        }
        s.check(step, talk[step.who]->feed(step.line));
    }
    // A save that fails takes the account out again.
    talk[1]->create(Credentials::derive("secretpw2", 1));
    ASSERT_NE(s.store.find("pilot12"), nullptr);
    EXPECT_EQ(talk[1]->stored("disk full"), Outcome::Quit);
    EXPECT_TRUE(s.sent.join('\n').contains("could not be stored"));
    EXPECT_EQ(s.store.find("pilot12"), nullptr);
}
