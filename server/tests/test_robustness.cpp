// Clients that misbehave: silence, garbage, floods, clients that do not read.
#include "test_env.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Bytes of a literal, embedded NULs included.
template <size_t N>
QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}
} // namespace

TEST(Robustness, ClientThatStopsAnsweringKeepAliveIsDropped)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.session.noopIntervalMs = 30;
    o.session.noopTimeoutMs = 600;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient alive, silent;
    silent.setAnswerNoOps(false);
    ASSERT_TRUE(alive.connectTo(t.port()));
    ASSERT_TRUE(logOn(alive, "demo1", "orvixdemo"));
    ASSERT_TRUE(silent.connectTo(t.port()));
    ASSERT_TRUE(logOn(silent, "demo2", "orvixdemo"));

    EXPECT_FALSE(silent.waitFor("<s-no-op/>").isNull());
    ASSERT_TRUE(silent.waitClosed(5000));
    EXPECT_FALSE(alive.waitFor("<s-remove-player name='Vega'/>").isNull());
    // The one that answers outlives the time-out several times over.
    EXPECT_TRUE(alive.isOpen());
    EXPECT_GT(alive.count("<s-no-op/>"), 10);
    alive.send("look");
    EXPECT_FALSE(alive.waitFor("<s-new-loc ").isNull());
}

TEST(Robustness, GarbageAndBinaryInputIsHarmless)
{
    TestServer t;
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_FALSE(c.waitFor("login:").isNull());
    c.sendRaw(raw("\x00\x01\xff\xfe\x1b[31mjunk\r\n"));
    ASSERT_FALSE(c.waitFor("password:").isNull());
    c.send("x");
    ASSERT_FALSE(c.waitFor("password is wrong").isNull());
    c.send("no");
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));

    c.sendRaw(raw("\x00\x00\x00\n\xff\xfe\xfd\n<<<>>>\n</s-new-loc>\n<s-tb name='x'>\n\r\n"));
    c.send("say <b>bold</b> & 'quoted'");
    EXPECT_FALSE(c.waitFor("<s-default>You say, \"&lt;b&gt;bold&lt;/b&gt; &amp; &apos;quoted&apos;\"</s-default>").isNull());
    c.send("look");
    EXPECT_FALSE(c.waitFor("<s-new-loc name='Spaceport Concourse'").isNull());
    EXPECT_TRUE(c.isOpen());
}

TEST(Robustness, OverlongLinesAreRefusedWithoutStallingOthers)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.limits.maxLine = 1000;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient flooder, other;
    ASSERT_TRUE(flooder.connectTo(t.port()));
    ASSERT_TRUE(logOn(flooder, "demo1", "orvixdemo"));
    ASSERT_TRUE(other.connectTo(t.port()));

    // Four megabytes without a line feed, then a line end and a command.
    const QByteArray block(64 * 1024, 'A');
    for (int i = 0; i < 64; ++i)
        flooder.sendRaw(block);
    // Meanwhile another client is served.
    EXPECT_TRUE(logOn(other, "demo2", "orvixdemo"));
    EXPECT_FALSE(flooder.waitFor("That line was too long", 10000).isNull());
    flooder.sendRaw("\nlook\n");
    EXPECT_FALSE(flooder.waitFor("<s-new-loc ", 10000).isNull());
    EXPECT_EQ(flooder.count("too long"), 1);
    // The overlong line was not taken as a command.
    EXPECT_EQ(flooder.count("know how to"), 0);
}

TEST(Robustness, ClientThatDoesNotReadIsDroppedAtTheOutputLimit)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.limits.maxOutput = 4096;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));

    // A raw socket that logs on and then never reads again.
    QTcpSocket hog;
    hog.setReadBufferSize(1);
    hog.connectToHost("127.0.0.1", t.port());
    ASSERT_TRUE(hog.waitForConnected(5000));
    hog.write("demo2\norvixdemo\n<c-orvix version='1.60'>\n");
    ASSERT_FALSE(c.waitFor("<s-add-player name='Vega'").isNull());
    // Ask for lots of output until the server gives up on the hog.
    QByteArray burst;
    for (int i = 0; i < 200; ++i)
        burst += "help\n";
    const bool dropped = QTest::qWaitFor([&] {
        if (hog.state() == QAbstractSocket::ConnectedState)
            hog.write(burst);
        return t.server().game()->players().size() == 1;
    }, 20000);
    EXPECT_TRUE(dropped);
    EXPECT_FALSE(c.waitFor("<s-remove-player name='Vega'/>").isNull());
    c.send("look");
    EXPECT_FALSE(c.waitFor("<s-new-loc ").isNull());
}

TEST(Robustness, IdleLogonTimesOutAndAFullServerTurnsClientsAway)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.session.loginTimeoutMs = 1000;
    o.maxClients = 1;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient idle, extra;
    ASSERT_TRUE(idle.connectTo(t.port()));
    ASSERT_FALSE(idle.waitFor("login:").isNull());
    ASSERT_TRUE(extra.connectTo(t.port()));
    EXPECT_FALSE(extra.waitFor("is full").isNull());
    EXPECT_TRUE(extra.waitClosed());
    EXPECT_FALSE(idle.waitFor("Timed out").isNull());
    EXPECT_TRUE(idle.waitClosed());
    // With the idle one gone there is room again.
    ScriptClient next;
    ASSERT_TRUE(next.connectTo(t.port()));
    EXPECT_FALSE(next.waitFor("login:").isNull());
}

TEST(Robustness, TypingKeepsAPlainTerminalAlive)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.session.noopIntervalMs = 50;
    o.session.noopTimeoutMs = 1000;
    TestServer t(o);
    ScriptClient typist;
    typist.setAnswerNoOps(false);
    ASSERT_TRUE(t.join(typist, "demo1", false));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3 * o.session.noopTimeoutMs) {
        typist.send("look");
        ASSERT_FALSE(typist.waitFor("</s-new-loc>").isNull());
        ASSERT_FALSE(typist.waitFor("<s-no-op/>").isNull());
    }
    EXPECT_TRUE(typist.isOpen());
}

TEST(Robustness, OneAddressCannotHoldEverySlot)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.maxPerAddress = 2;
    TestServer t(o);
    ScriptClient a, b, c;
    ASSERT_TRUE(a.connectTo(t.port()));
    ASSERT_TRUE(b.connectTo(t.port()));
    ASSERT_FALSE(a.waitFor("login:").isNull());
    ASSERT_FALSE(b.waitFor("login:").isNull());
    ASSERT_TRUE(c.connectTo(t.port()));
    EXPECT_FALSE(c.waitFor("Too many connections from your address").isNull());
    EXPECT_TRUE(c.waitClosed());
    EXPECT_TRUE(a.isOpen());
}
