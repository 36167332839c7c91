// The two conversations before play, one line at a time: what each answer
// leads to and what is asked next.
#include "kyrnd_test.h"

#include "conversation.h"

static constexpr Outcome C = Outcome::Continue;

struct Turn {
    const char* line; // "#wrong", "#right": the password check comes back
    Outcome outcome;
    const char* said; // a fragment of the answer
};

struct Desk {
    QTemporaryDir dir;
    AccountStore store{dir.filePath("accounts.json"), kCheapHash};
    NameClaims claims;
    QStringList sent;
    SendFn send = [this](const QString& l) { sent << l; };
    Desk()
    {
        store.create("demo1", Credentials::derive("orvixdemo", kCheapHash), "d@x",
            Avatar::newcomer("Nova", "Human", "female", 35, 35, 35, 35, {}));
        claims.reserve({"Mira"});
    }
    void check(const Turn& t, Outcome got)
    {
        EXPECT_EQ(int(got), int(t.outcome)) << t.line;
        EXPECT_TRUE(sent.join('\n').contains(t.said)) << t.line << " got:\n" << sent.join('\n').toStdString();
        sent.clear();
    }
};

TEST(Conversation, LogonStates)
{
    const Outcome Check = Outcome::CheckPassword;
    const std::vector<std::vector<Turn>> scripts{
        {{"", C, "Kyrnos II login:"}, {"demo1", C, "Account password:"}, {"orvixdem0", Check, ""},
            {"#wrong", C, "is wrong.\nWould you like to create a new account instead? (yes/no)"},
            {"maybe", C, "yes or no"}, {"no", C, "login:"}, {"DEMO1", C, "password:"}, {"orvixdemo", Check, ""},
            {"#right", Outcome::LoggedIn, "Welcome back, Nova.\nLinking to Kyrnos DataSpace..."}},
        {{"New", Outcome::NewAccount, ""}},
        {{"nosuchuser", C, ""}, {"guess", Check, ""}, {"#wrong", C, "(yes/no)"}, {"y", Outcome::NewAccount, ""}},
        // The second failure of two ends it.
        {{"demo1", C, ""}, {"a", Check, ""}, {"#wrong", C, ""}, {"n", C, ""}, {"demo1", C, ""}, {"b", Check, ""},
            {"#wrong", Outcome::Quit, "Too many failed attempts, goodbye."}},
    };
    for (const auto& script : scripts) {
        Desk d;
        LogonConversation logon(d.send, 2);
        logon.start();
        d.check({"(start)", C, "Give your account ID, or new to create an account and avatar.\nKyrnos II login:"}, C);
        for (const Turn& t : script) {
            const QString line = t.line;
            const Outcome got = line == "#wrong" ? logon.passwordChecked(nullptr)
                : line == "#right"               ? logon.passwordChecked(d.store.find(logon.id()))
                                                 : logon.feed(line);
            if (got == Check) {
                EXPECT_EQ(logon.password(), line); // what the session checks
            }
            d.check(t, got);
        }
    }
}

TEST(Conversation, NewAccountStates)
{
    Desk d;
    std::unique_ptr<NewAccountConversation> talk[2];
    for (auto& t : talk) // the second starts while the first holds its choices
        (t = std::make_unique<NewAccountConversation>(d.store, d.claims, Place{}, d.send))->start();
    d.sent.clear();
    const Turn turns[] = {
        {"ab", C, "5 to 23 letters and numbers only):"},
        {"Demo1", C, "(8 to 15 letters):"},
        {"short", C, "A password has 8 to 15"},
        {"secretpw1", C, "confirm password:"},
        {"different", C, "do not match.\nChoose a password"},
        {"secretpw1", C, ""},
        {"secretpw1", C, "account processing agency):"},
        {"no address", C, "does not look like an e-mail"},
        {"p@x.org", C, "Demo1 is already in use, please choose a different name.\nChoose an account ID"},
        {"pilot12", C, ""},
        {"secretpw1", C, ""},
        {"secretpw1", C, ""},
        {"p@x.org", C, "provide a name"},
        {"9lives", C, "starts with a letter"},
        {"nova", C, "choose the race"},
        {"Human", C, "choose the gender"},
        {"robot", C, "male, female or neuter"},
        {"female", C, "allocated for you? (yes/no)"},
        {"71", C, "(yes/no)"},
        {"no", C, "140 points to spread over four stats, 20 to 70 each."},
        {"71", C, "from 20 to 70"},
        {"40", C, "allocate to stamina"},
        {"30", C, "allocate to dexterity"},
        {"51", C, "from 20 to 50"}, // twenty left for intelligence
        {"35", C, "The remaining 35 points go to intelligence"},
        {"yes", C, "The name Nova is not available."}, // an avatar's
        {"mira", C, ""},
        {"Kyrnian", C, ""},
        {"neuter", C, ""},
        {"y", C, "Mira, a neuter Kyrnian: strength 35, stamina 35, dexterity 35, intelligence 35."},
        {"yes", C, "The name Mira is not available."},
        {"lark", C, ""},
        {"Kyrnian", C, ""},
        {"neuter", C, ""},
        {"yes", C, ""}, // a bot's
        {"no", C, "provide a name"},
        {"lark", C, ""},
        {"Kyrnian", C, ""},
        {"neuter", C, ""},
        {"yes", C, ""},
        {"yes", Outcome::CreateAccount, ""},
    };
    for (const Turn& t : turns)
        d.check(t, talk[0]->feed(t.line));
    // What the first holds, the second cannot have until the first has gone.
    for (const char* line : {"PILOT12", "secretpw2", "secretpw2", "q@x.org"})
        talk[1]->feed(line);
    EXPECT_TRUE(d.sent.join('\n').contains("PILOT12 is already in use"));
    talk[0].reset();
    EXPECT_EQ(d.claims.size(), 0);
    for (const char* line : {"pilot12", "secretpw2", "secretpw2", "q@x.org", "Lark", "Kyrnian", "male", "yes"})
        talk[1]->feed(line);
    EXPECT_EQ(talk[1]->feed("yes"), Outcome::CreateAccount);
    talk[1]->create(Credentials::derive("secretpw2", kCheapHash));
    ASSERT_NE(d.store.find("pilot12"), nullptr);
    EXPECT_EQ(talk[1]->stored("disk full"), Outcome::Quit); // taken out again
    EXPECT_TRUE(d.sent.last().contains("could not be stored") && !d.store.find("pilot12"));
}
