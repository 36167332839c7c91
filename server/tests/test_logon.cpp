// The logon conversation and the hand-over to the game stream, as the
// client's logon automation sees them.
#include "test_env.h"

#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

TEST(Logon, RightPasswordLinksAndStreamStartsAfterHello)
{
    TestServer t;
    ASSERT_TRUE(t.ok()) << t.error().toStdString();
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_FALSE(c.waitFor("login:").isNull());
    c.send("demo1");
    ASSERT_FALSE(c.waitFor("password:").isNull());
    c.send("orvixdemo");
    ASSERT_FALSE(c.waitFor("Linking to Kyrnos DataSpace").isNull());

    // Nothing of the stream may come before the hello: a prompt-free line
    // beginning with "<" would end the client's wait too early.
    c.send("<?xml version=\"1.0\"?>");
    c.send("<c-orvix version='1.60'>");
    const QStringList stream = c.collectUntil("<s-update-infra/>");
    ASSERT_FALSE(stream.isEmpty());
    EXPECT_TRUE(stream.first().startsWith('<'));
    EXPECT_EQ(stream.at(1), "<s-player-stats name='Nova'/>");
    EXPECT_TRUE(stream.contains("<s-add-player name='Nova' rank='0'/>"));
    EXPECT_TRUE(stream.contains("<s-ship-stats class='Trader'/>"));
    // No line of credit yet: the figures that say so.
    EXPECT_TRUE(inOrder(stream, {"<s-player-stats stat='hc' amount='-1'/>",
                                 "<s-player-stats stat='ak' amount='-99999'/>",
                                 "<s-player-stats stat='merchant' amount='-99999'/>"}));
    EXPECT_TRUE(inOrder(stream, {"<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>",
                                 "<s-map-info economy='Agricultural' workers='1400'/>",
                                 "<s-add-factory output='Grain'/>", "<s-update-infra/>"}));
    // Orvix looks by itself once the stream begins: the location comes
    // once, as the answer to that look.
    c.send("who");
    EXPECT_FALSE(c.waitFor("In Kyrnos DataSpace now").isNull());
    c.send("look");
    EXPECT_FALSE(c.waitFor("</s-new-loc>").isNull());
    EXPECT_EQ(c.count("<s-new-loc "), 1);
}

TEST(Logon, PlainTerminalGetsTheLocationInStreamOrder)
{
    TestServer t;
    ScriptClient c;
    ASSERT_TRUE(t.join(c, "demo1", false));
    const QStringList stream = c.collectUntil("In Kyrnos DataSpace now");
    EXPECT_TRUE(inOrder(stream, {"<s-new-map ", "<s-map-info ", "<s-add-factory ", "<s-update-infra/>",
                                 "<s-new-loc name='Spaceport Concourse'", "</s-new-loc>", "<s-contents "}));
}

TEST(Logon, WrongPasswordIsAnsweredLaterWithoutHoldingUpOthers)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.session.failureDelayMs = 1500;
    TestServer t(o);
    ScriptClient player, guesser;
    ASSERT_TRUE(t.join(player));
    ASSERT_TRUE(guesser.connectTo(t.port()));
    ASSERT_FALSE(guesser.waitFor("login:").isNull());
    guesser.send("demo2");
    ASSERT_FALSE(guesser.waitFor("password:").isNull());
    guesser.send("wrongguess");
    player.send("who");
    ASSERT_FALSE(player.waitFor("In Kyrnos DataSpace now").isNull());
    EXPECT_EQ(guesser.count("password is wrong"), 0);
    EXPECT_FALSE(guesser.waitFor("password is wrong").isNull());
}

TEST(Logon, WeakerStoredHashIsStrengthenedAtLogon)
{
    QTemporaryDir dir;
    {
        TestServer first(testOptions(dir.path()));  // demo accounts at 500 iterations
        ASSERT_TRUE(first.ok());
    }
    ServerOptions o = testOptions(dir.path());
    o.hashIterations = 1200;
    TestServer t(o);
    ScriptClient c;
    ASSERT_TRUE(t.join(c));
    const auto stored = [&] { return t.server().store()->find("demo1")->credentials.iterations; };
    EXPECT_EQ(stored(), 1200);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QFile f(dir.filePath("accounts.json"));
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("\"iterations\": 1200");
    }, 5000));
    TestServer again(testOptions(dir.path()));
    ScriptClient d;
    EXPECT_TRUE(again.join(d));
    EXPECT_EQ(again.server().store()->find("demo1")->credentials.iterations, 1200);
}

TEST(Logon, AccountIdIgnoresCase)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(logOn(c, "DEMO2", "orvixdemo"));
    EXPECT_FALSE(c.waitFor("<s-player-stats name='Vega'/>").isNull());
}

TEST(Logon, WrongPasswordThenNoAsksAgainOnTheSameConnection)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_FALSE(c.waitFor("login:").isNull());
    c.send("demo1");
    ASSERT_FALSE(c.waitFor("password:").isNull());
    c.send("orvixdem0");
    ASSERT_FALSE(c.waitFor("password is wrong").isNull());
    // The client answers "no" and then logs on again with corrected details.
    c.send("no");
    ASSERT_FALSE(c.waitFor("login:").isNull());
    c.send("demo1");
    ASSERT_FALSE(c.waitFor("password:").isNull());
    c.send("orvixdemo");
    EXPECT_FALSE(c.waitFor("Linking to Kyrnos DataSpace").isNull());
    EXPECT_TRUE(c.isOpen());
    EXPECT_EQ(c.count("Linking to Kyrnos"), 1);
}

TEST(Logon, UnknownAccountIsRefusedLikeAWrongPassword)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_FALSE(c.waitFor("login:").isNull());
    c.send("nosuchuser");
    ASSERT_FALSE(c.waitFor("password:").isNull());
    c.send("whatever1");
    EXPECT_FALSE(c.waitFor("password is wrong").isNull());
}

TEST(Logon, RepeatedFailuresEndTheConnection)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    for (int i = 0; i < 5; ++i) {
        ASSERT_FALSE(c.waitFor("login:").isNull()) << i;
        c.send("demo1");
        ASSERT_FALSE(c.waitFor("password:").isNull());
        c.send("guess" + QString::number(i));
        ASSERT_FALSE(c.waitFor("password is wrong").isNull());
        if (i < 4)
            c.send("no");
    }
    EXPECT_TRUE(c.waitClosed());
}

TEST(Logon, LoggingOnAgainReplacesTheOlderLink)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient first, second;
    ASSERT_TRUE(first.connectTo(t.port()));
    ASSERT_TRUE(logOn(first, "demo1", "orvixdemo"));
    ASSERT_TRUE(second.connectTo(t.port()));
    ASSERT_TRUE(logOn(second, "demo1", "orvixdemo"));
    EXPECT_FALSE(first.waitFor("linked from another terminal").isNull());
    EXPECT_TRUE(first.waitClosed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return t.server().game()->players().size() == 1; }, 5000));
    second.send("who");
    EXPECT_FALSE(second.waitFor("  Nova (").isNull());
}
