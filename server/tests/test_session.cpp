// Logging on and creating an account over TCP, and the hand-over to the
// game stream, as the client's logon automation sees them.
#include "kyrnd_test.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPasswordDigestor>

TEST(Logon, StreamBeginsInOrderAfterTheHelloOnlyATerminalIsShownTheLocationInProseAndRefusalsWait)
{
    TestServer t([](ServerOptions& o) { o.session.failureDelayMs = 1500; });
    ScriptClient c, plain, guesser;
    ASSERT_TRUE(guesser.connectTo(t.port()));
    // An unknown ID is checked against a stand-in, like a wrong password; the
    // refusal comes after a pause, without holding up others.
    ASSERT_TRUE(guesser.walk({{"nosuchuser\nwhatever1", "password:"}}));
    ASSERT_TRUE(c.connectTo(t.port()) && c.walk({{"demo1\norvixdemo", "Linking to Kyrnos DataSpace"}}));
    EXPECT_EQ(guesser.count("wrong"), 0);
    c.send("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>");
    EXPECT_EQ(c.collectUntil("<s-player-stats name="),
        QStringList({"<?xml version=\"1.0\"?>", "<s-player-stats name='Nova'/>"}));
    // No line of credit yet; the ship; who is on; the map.
    EXPECT_TRUE(c.walk({{nullptr, "<s-player-stats stat='hc' amount='-1'/>"},
        {nullptr, "<s-player-stats stat='ak' amount='-99999'/>"},
        {nullptr, "<s-player-stats stat='merchant' amount='-99999'/>"}, {nullptr, "<s-ship-stats class='Trader'/>"},
        {nullptr, "<s-add-player name='Nova' rank='0'/>"},
        {nullptr, "<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"},
        {nullptr, "<s-map-info economy='Agricultural' workers='1400'/>"}, {nullptr, "<s-add-factory output='Grain'/>"},
        {nullptr, "<s-update-infra/>"}, {"who", "In Kyrnos DataSpace now"}}));
    EXPECT_EQ(c.count("<s-new-loc "), 0); // Orvix looks by itself
    ASSERT_TRUE(t.join(plain, "demo2", false));
    EXPECT_TRUE(plain.walk({{nullptr, "Spaceport Concourse"}, {nullptr, "A bright concourse of glass and steel"},
        {nullptr, "You see an information desk."}, {nullptr, "Nova is here."},
        {nullptr, "Obvious exits: north, north-east, east,"}, {nullptr, "In Kyrnos DataSpace now"},
        {"w", "Commodity Exchange"}, {nullptr, "Grain"}, {"say Ann's <pad> & me", "You say, \"Ann's <pad> & me\""}}));
    EXPECT_EQ(plain.count("<s-") + plain.count("<?xml") + plain.count("&apos;"), 0);
    EXPECT_TRUE(guesser.sees("Sorry, the account ID or password is wrong."));
}

TEST(Logon, OldPbkdf2RecordLogsOnAndIsRehashedToArgon2idAsIsAnotherCost)
{
    QTemporaryDir dir;
    const QByteArray salt = "0123456789abcdef";
    const auto record = [&](const char* id, const char* name) {
        const QByteArray key
            = QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, "oldsecret1", salt, 1000, 32);
        return QByteArray(R"({"id": ")") + id + R"(", "salt": ")" + salt.toHex() + R"(", "hash": ")" + key.toHex()
            + R"(", "iterations": 1000, "avatar": {"name": ")" + name + R"("}})";
    };
    WriteFile(dir.filePath("accounts.json"),
        "{\"accounts\": [" + record("veteran", "Vera") + "," + record("laggard", "Lars") + "]}");
    const auto stored = [&](const char* id) {
        for (const QJsonValue& v :
            QJsonDocument::fromJson(ReadFile(dir.filePath("accounts.json")))["accounts"].toArray()) {
            if (v["id"] == id)
                return v.toObject();
        }
        return QJsonObject();
    };
    {
        TestServer t({}, dir.path());
        ScriptClient c;
        ASSERT_TRUE(c.connectTo(t.port()) && logOn(c, "veteran", "oldsecret1"));
    }
    EXPECT_TRUE(stored("veteran")["hash"].toString().startsWith("$argon2id$v=19$m=8,t=1,p=1$"));
    EXPECT_FALSE(stored("veteran").contains("iterations"));
    EXPECT_EQ(stored("laggard")["iterations"], 1000); // not logged on: as it was
    {
        TestServer t([](ServerOptions& o) { o.hashCost.passes = 2; }, dir.path());
        ScriptClient c;
        ASSERT_TRUE(c.connectTo(t.port()) && logOn(c, "veteran", "oldsecret1"));
    }
    EXPECT_TRUE(stored("veteran")["hash"].toString().startsWith("$argon2id$v=19$m=8,t=2,p=1$"));
    TestServer again({}, dir.path());
    ScriptClient c;
    EXPECT_TRUE(c.connectTo(again.port()) && logOn(c, "laggard", "oldsecret1"));
}

// Sign-ups are paced per address; an abandoned try is none.
TEST(NewAccount, CreatedAfterAnAbandonedTryFreedItsNamesPacedPerAddressAndKeptOverARestart)
{
    QTemporaryDir dir;
    {
        TestServer t([](ServerOptions& o) { o.signupsPerHour = 1; }, dir.path());
        {
            ScriptClient quitter;
            ASSERT_TRUE(quitter.connectTo(t.port())
                && quitter.walk({{"new\npilot14\nsecretpw7\nsecretpw7\nv@x.org\nPlover", "choose the race"}}));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return t.server().sessionCount() == 0; }, 5000));
        EXPECT_EQ(t.server().claims().size(), 0);
        ScriptClient c, second, elsewhere;
        ASSERT_TRUE(c.connectTo(t.port())
            && c.walk(
                {{"new\npilot14\nsecretpw7\nsecretpw7\nv@x.org\nPlover\nHuman\nmale\nyes\nyes", "Linking to Kyrnos"},
                    {"<c-orvix version='1.60'>", "<s-player-stats name='Plover'/>"}}));
        EXPECT_FALSE(ReadFile(dir.filePath("accounts.json")).contains("secretpw7"));
        ASSERT_TRUE(second.connectTo(t.port()));
        EXPECT_TRUE(second.walk({{"new", "Too many accounts have been created from your address"}}));
        EXPECT_TRUE(second.waitClosed());
        ASSERT_TRUE(elsewhere.connectTo(t.port(), "127.0.0.2"));
        EXPECT_TRUE(elsewhere.walk({{"new", "Choose an account ID"}}));
    }
    TestServer again({}, dir.path());
    ScriptClient c;
    EXPECT_TRUE(c.connectTo(again.port()) && logOn(c, "pilot14", "secretpw7"));
}
