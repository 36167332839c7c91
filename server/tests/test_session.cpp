// Logging on and creating an account over TCP, and the hand-over to the
// game stream, as the client's logon automation sees them.
#include "kyrnd_test.h"

TEST(Logon, StreamBeginsInOrderAfterTheHelloAndOnlyATerminalIsShownTheLocationInProse)
{
    TestServer t;
    ScriptClient c, plain;
    ASSERT_TRUE(c.connectTo(t.port()) && c.walk({{"demo1\norvixdemo", "Linking to Kyrnos DataSpace"}}));
    c.send("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>");
    EXPECT_EQ(c.collectUntil("<s-player-stats name="), QStringList({"<?xml version=\"1.0\"?>", "<s-player-stats name='Nova'/>"}));
    // No line of credit yet; the ship; who is on; the map.
    EXPECT_TRUE(c.walk({{nullptr, "<s-player-stats stat='hc' amount='-1'/>"}, {nullptr, "<s-player-stats stat='ak' amount='-99999'/>"},
                        {nullptr, "<s-player-stats stat='merchant' amount='-99999'/>"}, {nullptr, "<s-ship-stats class='Trader'/>"},
                        {nullptr, "<s-add-player name='Nova' rank='0'/>"}, {nullptr, "<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"},
                        {nullptr, "<s-map-info economy='Agricultural' workers='1400'/>"}, {nullptr, "<s-add-factory output='Grain'/>"},
                        {nullptr, "<s-update-infra/>"}, {"who", "In Kyrnos DataSpace now"}}));
    EXPECT_EQ(c.count("<s-new-loc "), 0);  // Orvix looks by itself
    ASSERT_TRUE(t.join(plain, "demo2", false));
    EXPECT_TRUE(plain.walk({{nullptr, "Spaceport Concourse"}, {nullptr, "A bright concourse of glass and steel"},
                            {nullptr, "You see an information desk."}, {nullptr, "Nova is here."},
                            {nullptr, "Obvious exits: north, north-east, east,"}, {nullptr, "In Kyrnos DataSpace now"},
                            {"w", "Commodity Exchange"}, {nullptr, "Grain"}, {"say Ann's <pad> & me", "You say, \"Ann's <pad> & me\""}}));
    EXPECT_EQ(plain.count("<s-") + plain.count("<?xml") + plain.count("&apos;"), 0);
}

TEST(Logon, RefusalComesAfterAPauseWithoutHoldingUpOthersThenRetry)
{
    TestServer t([](ServerOptions& o) { o.session.failureDelayMs = 1500; });
    ScriptClient player, guesser;
    ASSERT_TRUE(t.join(player) && guesser.connectTo(t.port()));
    // An unknown ID is checked against a stand-in, like a wrong password.
    ASSERT_TRUE(guesser.walk({{"nosuchuser\nwhatever1", "password:"}}));
    ASSERT_TRUE(player.sync());
    EXPECT_EQ(guesser.count("wrong"), 0);
    ASSERT_TRUE(guesser.walk({{nullptr, "Sorry, the account ID or password is wrong."}, {"no", "login:"},
                              {"DEMO2\norvixdemo", "Linking to Kyrnos DataSpace"}, {"<c-orvix version='1.60'>", "<s-player-stats name='Vega'/>"}}));
}

TEST(Logon, WeakerStoredHashIsStrengthenedAndSaved)
{
    QTemporaryDir dir;
    { TestServer first({}, dir.path()); }  // the demo accounts, at 500 iterations
    {
        TestServer t([](ServerOptions& o) { o.hashIterations = 1200; }, dir.path());
        ScriptClient c;
        ASSERT_TRUE(t.join(c));  // demo1 only
        EXPECT_EQ(t.server().store()->find("demo2")->credentials.iterations, 500);
    }
    TestServer again({}, dir.path());
    ScriptClient c;
    EXPECT_TRUE(again.join(c) && again.server().store()->find("demo1")->credentials.iterations == 1200);
}

TEST(NewAccount, CreatedAfterAnAbandonedTryFreedItsNamesAndKeptOverARestart)
{
    QTemporaryDir dir;
    {
        TestServer t({}, dir.path());
        {
            ScriptClient quitter;
            ASSERT_TRUE(quitter.connectTo(t.port()) && quitter.walk({{"new\npilot14\nsecretpw7\nsecretpw7\nv@x.org\nPlover", "choose the race"}}));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return t.server().sessionCount() == 0; }, 5000));
        EXPECT_EQ(t.server().claims().size(), 0);
        ScriptClient c;  // answering as the client's automation does, prompt by prompt
        ASSERT_TRUE(c.connectTo(t.port()) && c.walk({{nullptr, "login:"}, {"new", "numbers only):"}, {"pilot14", "15 letters):"},
            {"secretpw7", "confirm password:"}, {"secretpw7", "processing agency):"}, {"v@x.org", "provide a name"}, {"Plover", "choose the race"},
            {"Human", "choose the gender"}, {"male", "allocated for you"}, {"yes", "play using this char"},
            {"yes", "Linking to Kyrnos DataSpace"}, {"<c-orvix version='1.60'>", "<s-player-stats name='Plover'/>"}}));
        EXPECT_FALSE(ReadFile(dir.filePath("accounts.json")).contains("secretpw7"));
    }
    TestServer again({}, dir.path());
    ScriptClient c;
    EXPECT_TRUE(c.connectTo(again.port()) && logOn(c, "pilot14", "secretpw7"));
}
