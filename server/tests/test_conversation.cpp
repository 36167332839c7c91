// The two conversations before play, one line at a time: what each answer
// leads to and what is asked next.
#include "kyrnd_test.h"

#include "conversation.h"

namespace {

constexpr Outcome C = Outcome::Continue;

struct Turn {
    int who;           // which conversation hears the line
    const char* line;  // "#wrong", "#right": the password check comes back
    Outcome outcome;
    const char* said;  // a fragment of the answer
};

struct Desk {
    QTemporaryDir dir;
    AccountStore store{dir.filePath("accounts.json"), 1};
    NameClaims claims;
    QStringList sent;
    SendFn send = [this](const QString& l) { sent << l; };
    Desk()
    {
        store.create("demo1", Credentials::derive("orvixdemo", 1), "d@x", Avatar::newcomer("Nova", "Human", "female", 35, 35, 35, 35, {}));
        claims.reserve({"Mira"});
    }
    void check(const Turn& s, Outcome got)
    {
        EXPECT_EQ(int(got), int(s.outcome)) << s.who << ": " << s.line;
        EXPECT_TRUE(sent.join('\n').contains(s.said)) << s.line << " got:\n" << sent.join('\n').toStdString();
        sent.clear();
    }
};

} // namespace

TEST(Conversation, LogonStates)
{
    const Outcome Check = Outcome::CheckPassword;
    const std::vector<std::vector<Turn>> scripts{
        {{0, "", C, "Kyrnos II login:"}, {0, "demo1", C, "Account password:"}, {0, "orvixdem0", Check, ""},
         {0, "#wrong", C, "is wrong.\nWould you like to create a new account instead? (yes/no)"},
         {0, "maybe", C, "yes or no"}, {0, "no", C, "login:"}, {0, "DEMO1", C, "password:"}, {0, "orvixdemo", Check, ""},
         {0, "#right", Outcome::LoggedIn, "Welcome back, Nova.\nLinking to Kyrnos DataSpace..."}},
        {{0, "New", Outcome::NewAccount, ""}},
        {{0, "nosuchuser", C, ""}, {0, "guess", Check, ""}, {0, "#wrong", C, "(yes/no)"}, {0, "y", Outcome::NewAccount, ""}},
        // The second failure of two ends it.
        {{0, "demo1", C, ""}, {0, "a", Check, ""}, {0, "#wrong", C, ""}, {0, "n", C, ""}, {0, "demo1", C, ""},
         {0, "b", Check, ""}, {0, "#wrong", Outcome::Quit, "Too many failed attempts, goodbye."}},
    };
    for (const auto& script : scripts) {
        Desk d;
        LogonConversation logon(d.store, d.send, 2);
        logon.start();
        EXPECT_TRUE(d.sent.last().endsWith("login:"));
        d.sent.clear();
        for (const Turn& s : script) {
            const QString line = s.line;
            const Outcome got = line == "#wrong" ? logon.passwordChecked(nullptr)
                                : line == "#right" ? logon.passwordChecked(d.store.find(logon.id()))
                                                   : logon.feed(line);
            if (got == Check)
                EXPECT_EQ(logon.password(), line);  // what the session checks
            d.check(s, got);
        }
    }
}

TEST(Conversation, NewAccountStates)
{
    Desk d;
    std::unique_ptr<NewAccountConversation> talk[2];
    for (auto& t : talk)  // the second starts while the first holds its choices
        (t = std::make_unique<NewAccountConversation>(d.store, d.claims, Place{}, d.send))->start();
    d.sent.clear();
    const Turn steps[] = {
        {0, "ab", C, "5 to 23 letters and numbers only):"}, {0, "Demo1", C, "(8 to 15 letters):"},
        {0, "short", C, "A password has 8 to 15 letters."}, {0, "secretpw1", C, "confirm password:"},
        {0, "different", C, "do not match.\nChoose a password"}, {0, "secretpw1", C, ""},
        {0, "secretpw1", C, "account processing agency):"}, {0, "no address", C, "does not look like an e-mail"},
        {0, "p@x.org", C, "Demo1 is already in use, please choose a different name.\nChoose an account ID"},
        {0, "pilot12", C, ""}, {0, "secretpw1", C, ""}, {0, "secretpw1", C, ""}, {0, "p@x.org", C, "provide a name"},
        {1, "PILOT12", C, ""}, {1, "secretpw2", C, ""}, {1, "secretpw2", C, ""}, {1, "q@x.org", C, "PILOT12 is already in use"},
        {0, "9lives", C, "starts with a letter"}, {0, "nova", C, "choose the race"}, {0, "Human", C, "choose the gender"},
        {0, "robot", C, "male, female or neuter"}, {0, "female", C, "allocated for you? (yes/no)"},
        {0, "no", C, "140 points to spread over four stats, 20 to 70 each."}, {0, "71", C, "from 20 to 70"},
        {0, "40", C, "allocate to stamina"}, {0, "30", C, "allocate to dexterity"},
        {0, "51", C, "from 20 to 50"},  // twenty are left for intelligence
        {0, "35", C, "The remaining 35 points go to intelligence"},
        {0, "yes", C, "The name Nova is not available."},  // an avatar's
        {0, "mira", C, ""}, {0, "Kyrnian", C, ""}, {0, "neuter", C, ""},
        {0, "y", C, "Mira, a neuter Kyrnian: strength 35, stamina 35, dexterity 35, intelligence 35."},
        {0, "yes", C, "The name Mira is not available."},  // a simulated player's
        {0, "lark", C, ""}, {0, "Kyrnian", C, ""}, {0, "neuter", C, ""}, {0, "yes", C, ""}, {0, "no", C, "provide a name"},
        {0, "lark", C, ""}, {0, "Kyrnian", C, ""}, {0, "neuter", C, ""}, {0, "yes", C, ""}, {0, "yes", Outcome::CreateAccount, ""},
    };
    for (const Turn& s : steps)
        d.check(s, talk[s.who]->feed(s.line));
    // A conversation that ends frees the ID and the name it held.
    talk[0].reset();
    EXPECT_EQ(d.claims.size(), 0);
    for (const char* line : {"pilot12", "secretpw2", "secretpw2", "q@x.org", "Lark", "Kyrnian", "male", "yes"})
        EXPECT_EQ(talk[1]->feed(line), C) << line;
    EXPECT_EQ(talk[1]->feed("yes"), Outcome::CreateAccount);
    talk[1]->create(Credentials::derive("secretpw2", 1));
    ASSERT_NE(d.store.find("pilot12"), nullptr);
    EXPECT_EQ(talk[1]->stored("disk full"), Outcome::Quit);  // taken out again
    EXPECT_TRUE(d.sent.last().contains("could not be stored") && !d.store.find("pilot12"));
}
