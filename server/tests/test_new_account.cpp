// Account and avatar creation, driven by a client that answers exactly as
// the new-account automation does: by fragments, in its order of states.
#include "test_env.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct NewAccountScript {
    QString id, password, email, name, race, gender;
    QString strength = "40", stamina = "30", dexterity = "35";
};

// Answers one prompt after another until the fragment `until` arrives;
// returns false on a time-out.
bool answer(ScriptClient& c, const QList<QPair<QString, QStringList>>& steps)
{
    for (const auto& [fragment, replies] : steps) {
        if (c.waitFor(fragment).isNull()) {
            ADD_FAILURE() << "no prompt holding " << fragment.toStdString();
            return false;
        }
        for (const QString& r : replies)
            c.send(r);
    }
    return true;
}

bool createUpToEmail(ScriptClient& c, const NewAccountScript& s)
{
    return answer(c, {{"login:", {"new"}},
                      {"numbers only):", {s.id}},
                      {"15 letters):", {s.password}},
                      {"confirm password:", {s.password}},
                      {"processing agency):", {s.email}}});
}

bool createFromName(ScriptClient& c, const NewAccountScript& s)
{
    return answer(c, {{"provide a name", {s.name}},
                      {"choose the race", {s.race}},
                      {"choose the gender", {s.gender, "no"}},
                      {"allocate to strength", {s.strength}},
                      {"allocate to stamina", {s.stamina}},
                      {"allocate to dexterity", {s.dexterity}},
                      {"play using this char", {"yes"}}});
}

QJsonObject accountInFile(const QString& dataDir, const QString& id)
{
    QFile f(dataDir + "/accounts.json");
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QJsonValue& v : QJsonDocument::fromJson(f.readAll()).object()["accounts"].toArray()) {
        if (v.toObject()["id"].toString() == id)
            return v.toObject();
    }
    return {};
}

} // namespace

TEST(NewAccount, CreatesTheAccountAndEntersTheGame)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    const NewAccountScript s{"pilot7", "secretpw1", "pilot@example.org", "Kestrel", "Human", "male"};
    ASSERT_TRUE(createUpToEmail(c, s));
    ASSERT_TRUE(createFromName(c, s));
    ASSERT_FALSE(c.waitFor("inking to Kyrnos").isNull());
    c.send("<?xml version=\"1.0\"?>");
    c.send("<c-orvix version='1.60'>");
    ASSERT_FALSE(c.waitFor("<s-player-stats name='Kestrel'/>").isNull());
    // Intelligence is never asked for; it gets what is left of 140.
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='int' max='35' cur='35'/>").isNull());

    const QJsonObject stored = accountInFile(t.dataDir(), "pilot7");
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored["avatar"].toObject()["name"].toString(), "Kestrel");
    QFile f(t.dataDir() + "/accounts.json");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("secretpw1"));
}

TEST(NewAccount, AccountSurvivesARestartAndItsPasswordWorks)
{
    QTemporaryDir dir;
    {
        TestServer t(testOptions(dir.path()));
        ASSERT_TRUE(t.ok());
        ScriptClient c;
        ASSERT_TRUE(c.connectTo(t.port()));
        const NewAccountScript s{"pilot8", "secretpw2", "p8@example.org", "Wren", "Kyrnian", "neuter"};
        ASSERT_TRUE(createUpToEmail(c, s));
        ASSERT_TRUE(createFromName(c, s));
        ASSERT_FALSE(c.waitFor("inking to Kyrnos").isNull());
    }
    TestServer again(testOptions(dir.path()));
    ASSERT_TRUE(again.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(again.port()));
    ASSERT_TRUE(logOn(c, "pilot8", "secretpw2"));
    EXPECT_FALSE(c.waitFor("<s-player-stats name='Wren'/>").isNull());
}

TEST(NewAccount, TakenAccountIdIsRefusedAndTheQuestionsStartAgain)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    NewAccountScript s{"Demo1", "secretpw3", "x@example.org", "Quill", "Human", "female"};
    ASSERT_TRUE(createUpToEmail(c, s));
    const QStringList refusal = c.collectUntil("different name.");
    ASSERT_FALSE(refusal.isEmpty());
    for (const QString& l : refusal)
        EXPECT_FALSE(l.contains("provide a name")) << l.toStdString();
    // The client sends the corrected ID; the password is asked again.
    c.send("pilot9");
    ASSERT_TRUE(answer(c, {{"15 letters):", {s.password}},
                           {"confirm password:", {s.password}},
                           {"processing agency):", {s.email}}}));
    ASSERT_TRUE(createFromName(c, s));
    EXPECT_FALSE(c.waitFor("inking to Kyrnos").isNull());
    EXPECT_FALSE(accountInFile(t.dataDir(), "pilot9").isEmpty());
}

TEST(NewAccount, TakenAvatarNameIsRefusedAndAskedForAgain)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    NewAccountScript s{"pilot10", "secretpw4", "y@example.org", "nova", "Human", "female"};
    ASSERT_TRUE(createUpToEmail(c, s));
    ASSERT_TRUE(createFromName(c, s));
    const QStringList refusal = c.collectUntil("not available.");
    ASSERT_FALSE(refusal.isEmpty());
    for (const QString& l : refusal)
        EXPECT_FALSE(l.contains("inking to Kyrnos")) << l.toStdString();
    s.name = "Lark";
    ASSERT_TRUE(createFromName(c, s));
    EXPECT_FALSE(c.waitFor("inking to Kyrnos").isNull());
    EXPECT_TRUE(accountInFile(t.dataDir(), "pilot10")["avatar"].toObject()["name"].toString() == "Lark");
}

TEST(NewAccount, NameOfASimulatedPlayerIsNotAvailable)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    const NewAccountScript s{"pilot11", "secretpw5", "z@example.org", "Mira", "Human", "female"};
    ASSERT_TRUE(createUpToEmail(c, s));
    ASSERT_TRUE(createFromName(c, s));
    EXPECT_FALSE(c.waitFor("not available.").isNull());
}

TEST(NewAccount, BadAnswersAreAskedAgain)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(answer(c, {{"login:", {"new"}}, {"numbers only):", {"ab"}}}));
    ASSERT_FALSE(c.waitFor("numbers only):").isNull());
    c.send("pilot12");
    ASSERT_TRUE(answer(c, {{"15 letters):", {"short"}}, {"15 letters):", {"longenough"}},
                           {"confirm password:", {"different"}}}));
    EXPECT_FALSE(c.waitFor("15 letters):").isNull());
}

TEST(NewAccount, SameIdChosenOnTwoConnectionsAtOnceGoesToTheFirst)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient a, b;
    ASSERT_TRUE(a.connectTo(t.port()));
    ASSERT_TRUE(b.connectTo(t.port()));
    const NewAccountScript s{"pilot13", "secretpw6", "w@example.org", "Heron", "Human", "male"};
    ASSERT_TRUE(createUpToEmail(a, s));
    ASSERT_FALSE(a.waitFor("provide a name").isNull());
    ASSERT_TRUE(createUpToEmail(b, s));
    EXPECT_FALSE(b.waitFor("different name.").isNull());
}

TEST(NewAccount, AnAbandonedCreationFreesItsNames)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    const NewAccountScript s{"pilot14", "secretpw7", "v@example.org", "Plover", "Human", "male"};
    {
        ScriptClient quitter;
        ASSERT_TRUE(quitter.connectTo(t.port()));
        ASSERT_TRUE(createUpToEmail(quitter, s));
        ASSERT_FALSE(quitter.waitFor("provide a name").isNull());
        quitter.send(s.name);
        quitter.send(s.race);
        ASSERT_FALSE(quitter.waitFor("choose the gender").isNull());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.server().sessionCount() == 0; }, 5000));
    EXPECT_EQ(t.server().claims().size(), 0);
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(createUpToEmail(c, s));
    ASSERT_TRUE(createFromName(c, s));
    EXPECT_FALSE(c.waitFor("inking to Kyrnos").isNull());
}
