// Clients that misbehave: hostile bytes, floods, too many connections,
// clients that never log on.
#include "kyrnd_test.h"

#include "addresskey.h"

TEST(Robustness, HostileBytesAreHarmless)
{
    TestServer t;
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()) && c.sees("login:"));
    const char atLogon[] = "\x00\x01\xff\xfe\x1b[31mjunk\r\n",
               inPlay[] = "\x00\x00\x00\n\xff\xfe\xfd\n<<<>>>\n</s-new-loc>\n<s-tb name='x'>\n\r\n";
    c.sendRaw(QByteArray(atLogon, sizeof atLogon - 1));
    ASSERT_TRUE(c.walk({{nullptr, "password:"}, {"x", "(yes/no)"}}));
    c.send("no");
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));
    c.sendRaw(QByteArray(inPlay, sizeof inPlay - 1));
    EXPECT_TRUE(c.walk({{"say <b>bold</b> & 'quoted'",
        "<s-default>You say, \"&lt;b&gt;bold&lt;/b&gt; &amp; &apos;quoted&apos;\"</s-default>"}}));
}

TEST(Robustness, OverlongLinesAreRefusedWithoutStallingOthers)
{
    TestServer t([](ServerOptions& o) { o.limits.maxLine = 1000; });
    ScriptClient flooder, other;
    ASSERT_TRUE(t.join(flooder) && other.connectTo(t.port()));
    // Four megabytes without a line feed; meanwhile another is served.
    flooder.sendRaw(QByteArray(4 << 20, 'A'));
    EXPECT_TRUE(logOn(other, "demo2", "orvixdemo"));
    EXPECT_TRUE(flooder.sees("That line was too long", 10000));
    flooder.sendRaw("\n"); // the end of the long line
    EXPECT_TRUE(flooder.sync());
    EXPECT_TRUE(
        flooder.count("too long") == 1 && flooder.count("know how to") == 0); // once, and not taken as a command
}

TEST(Robustness, ConnectionsAreCappedPerAddressAndInAllAndIdleLogonsTimeOut)
{
    TestServer t([](ServerOptions& o) {
        o.session.loginTimeoutMs = 1000;
        o.maxPerAddress = 1;
        o.maxClients = 2;
    });
    ScriptClient idle, same, other, extra;
    ASSERT_TRUE(idle.connectTo(t.port()) && idle.sees("login:"));
    ASSERT_TRUE(same.connectTo(t.port()));
    EXPECT_TRUE(same.sees("Too many connections from your address") && same.waitClosed());
    ASSERT_TRUE(other.connectTo(t.port(), "127.0.0.2") && other.sees("login:"));
    ASSERT_TRUE(extra.connectTo(t.port(), "127.0.0.3"));
    EXPECT_TRUE(extra.sees("Kyrnos II is full") && extra.waitClosed());
    EXPECT_TRUE(idle.sees("Timed out, goodbye.") && idle.waitClosed());
    // By default: a minute to log on, and a few connections from one address.
    EXPECT_TRUE(ServerOptions().session.loginTimeoutMs == 60000 && ServerOptions().maxPerAddress == 8);
    ScriptClient next; // room again
    EXPECT_TRUE(next.connectTo(t.port()) && next.sees("login:"));
}

TEST(Robustness, PerAddressLimitsCountAnIPv6Slash64AsOneAddress)
{
    const std::pair<const char*, const char*> rows[] = {
        // the peer, what the limits count
        {"203.0.113.7", "203.0.113.7"},
        {"::ffff:203.0.113.7", "203.0.113.7"}, // IPv4 on a dual-stack socket
        {"2001:db8:1:2::1", "2001:db8:1:2::/64"},
        {"2001:db8:1:2:ffff:eeee:dddd:cccc", "2001:db8:1:2::/64"}, // the same /64
        {"2001:db8:1:3::1", "2001:db8:1:3::/64"}, // the next /64
        {"::1", "::/64"},
    };
    for (const auto& [peer, key] : rows)
        EXPECT_EQ(addressKey(QHostAddress(peer)), key) << peer;
}
