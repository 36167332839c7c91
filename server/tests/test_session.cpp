// Logging on and creating an account over TCP, and the hand-over to the
// game stream, as the client's logon automation sees them.
#include "kyrnd_test.h"

#include <QTest>

TEST(Logon, StreamBeginsInOrderOnlyAfterTheHello)
{
    TestServer t;
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    c.send("demo1\norvixdemo");
    ASSERT_TRUE(c.sees("Linking to Kyrnos DataSpace"));
    c.send("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>");
    const QStringList stream = c.collectUntil("<s-update-infra/>");
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_EQ(stream.mid(0, 2), QStringList({"<?xml version=\"1.0\"?>", "<s-player-stats name='Nova'/>"}));
    // The avatar, with no line of credit yet; the ship; who is on; the map.
    EXPECT_TRUE(inOrder(stream, {"<s-player-stats stat='hc' amount='-1'/>",
                                 "<s-player-stats stat='ak' amount='-99999'/>",
                                 "<s-player-stats stat='merchant' amount='-99999'/>",
                                 "<s-ship-stats class='Trader'/>", "<s-add-player name='Nova' rank='0'/>",
                                 "<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>",
                                 "<s-map-info economy='Agricultural' workers='1400'/>",
                                 "<s-add-factory output='Grain'/>", "<s-update-infra/>"}));
}

TEST(Logon, OnlyAPlainTerminalIsShownTheLocation)
{
    TestServer t;
    ScriptClient orvix, plain;
    ASSERT_TRUE(t.join(orvix));
    ASSERT_TRUE(orvix.sync());  // Orvix looks by itself
    EXPECT_EQ(orvix.count("<s-new-loc "), 0);
    ASSERT_TRUE(t.join(plain, "demo2", false));
    EXPECT_TRUE(inOrder(plain.collectUntil("In Kyrnos DataSpace now"),
                        {"<s-new-map ", "<s-update-infra/>", "<s-new-loc name='Spaceport Concourse'", "</s-new-loc>",
                         "<s-contents "}));
}

TEST(Logon, RefusalComesAfterAPauseWithoutHoldingUpOthersThenRetry)
{
    ServerOptions o = testOptions();
    o.session.failureDelayMs = 1500;
    TestServer t(o);
    ScriptClient player, guesser;
    ASSERT_TRUE(t.join(player));
    ASSERT_TRUE(guesser.connectTo(t.port()));
    guesser.send("nosuchuser\nwhatever1");  // checked against a stand-in, like a wrong password
    ASSERT_TRUE(guesser.sees("password:"));
    ASSERT_TRUE(player.sync());
    EXPECT_EQ(guesser.count("wrong"), 0);
    ASSERT_TRUE(guesser.sees("Sorry, the account ID or password is wrong."));
    guesser.send("no");
    EXPECT_TRUE(logOn(guesser, "DEMO2", "orvixdemo"));
    EXPECT_TRUE(guesser.sees("<s-player-stats name='Vega'/>"));
}

TEST(Logon, WeakerStoredHashIsStrengthenedAndSaved)
{
    QTemporaryDir dir;
    { TestServer first(testOptions(dir.path())); }  // the demo accounts, at 500 iterations
    ServerOptions o = testOptions(dir.path());
    o.hashIterations = 1200;
    {
        TestServer t(o);
        ScriptClient c;
        ASSERT_TRUE(t.join(c));
        EXPECT_EQ(t.server().store()->find("demo1")->credentials.iterations, 1200);
        EXPECT_EQ(t.server().store()->find("demo2")->credentials.iterations, 500);
    }
    TestServer again(testOptions(dir.path()));
    ScriptClient c;
    EXPECT_TRUE(again.join(c));
    EXPECT_EQ(again.server().store()->find("demo1")->credentials.iterations, 1200);
}

TEST(Logon, LoggingOnAgainReplacesTheOlderLink)
{
    TestServer t;
    ScriptClient first, second;
    ASSERT_TRUE(t.join(first));
    ASSERT_TRUE(t.join(second));
    EXPECT_TRUE(first.sees("linked from another terminal"));
    EXPECT_TRUE(first.waitClosed());
    ASSERT_TRUE(second.sync());
    EXPECT_EQ(second.count("  Nova ("), 1);
}

TEST(NewAccount, CreatedAfterAnAbandonedTryFreedItsNamesAndKeptOverARestart)
{
    QTemporaryDir dir;
    const QList<QPair<QString, QString>> script{
        {"login:", "new"}, {"numbers only):", "pilot14"}, {"15 letters):", "secretpw7"},
        {"confirm password:", "secretpw7"}, {"processing agency):", "v@example.org"},
        {"provide a name", "Plover"}, {"choose the race", "Human"}, {"choose the gender", "male"},
        {"allocated for you", "yes"}, {"play using this char", "yes"}};
    {
        TestServer t(testOptions(dir.path()));
        {
            ScriptClient quitter;
            ASSERT_TRUE(quitter.connectTo(t.port()));
            for (const auto& [prompt, answer] : script.mid(0, 6)) {
                ASSERT_TRUE(quitter.sees(prompt));
                quitter.send(answer);
            }
            ASSERT_TRUE(quitter.sees("choose the race"));
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return t.server().sessionCount() == 0; }, 5000));
        EXPECT_EQ(t.server().claims().size(), 0);
        ScriptClient c;
        ASSERT_TRUE(c.connectTo(t.port()));
        for (const auto& [prompt, answer] : script) {
            ASSERT_TRUE(c.sees(prompt));
            c.send(answer);
        }
        ASSERT_TRUE(c.sees("Linking to Kyrnos DataSpace"));
        c.send("<c-orvix version='1.60'>");
        EXPECT_TRUE(c.sees("<s-player-stats name='Plover'/>"));
        EXPECT_FALSE(ReadFile(dir.filePath("accounts.json")).contains("secretpw7"));
    }
    TestServer again(testOptions(dir.path()));
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(again.port()));
    EXPECT_TRUE(logOn(c, "pilot14", "secretpw7"));
}
