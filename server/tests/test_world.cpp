// The world living on its own, a client that stops reading, refused log-ons and the command line.
#include "kyrnd_test.h"
#include "outputpulse.h"
#include "wire.h"

#include <cmath>

#include <QSignalSpy>
#include <QTcpServer>

// Someone in the game without a connection: what the game sends is what it hears.
struct Ear {
    Ear(Game& g, const QString& name, const Place& at)
        : game(g)
        , avatar(Avatar::newcomer(name, "Human", "female", 35, 35, 35, 35, at))
    {
        player = g.enter(
            &avatar, nullptr,
            [this](const QByteArray& bytes) {
                for (const QByteArray& line : bytes.split('\n').mid(0, bytes.count('\n')))
                    heard << wire::decodeLine(line);
            },
            Reader::Orvix);
        g.command(player, "look"); // as Orvix does
    }
    ~Ear() { game.leave(player); }
    QStringList take() { return std::exchange(heard, {}); }
    Game& game;
    Avatar avatar;
    Player* player;
    QStringList heard;
};

struct WorldLife : ::testing::Test {
    TestServer t;
    Game& g = *t.server().game();
    const Place start = g.world().start, kyrnosExchange{"kyrnos", locNum(29, 30)},
                vessaExchange{"vessa", locNum(21, 22)}, orbit{"space", 650};
};

TEST_F(WorldLife, PricesDriftWithinTheirBoundsAndOnlyTheTradingFloorHearsIt)
{
    Ear trader(g, "Ann", kyrnosExchange), walker(g, "Bob", start);
    const QRegularExpression sell("<s-exch-sell name='(\\w+)' price='(\\d+)'");
    const QStringList before = trader.take().filter(sell);
    const auto base = [&](const QString& name) {
        return sell.match(before.filter("'" + name + "'").value(0)).captured(2).toInt();
    }; // before any drift
    for (int i = 0; i < 300; ++i) // long enough for prices to meet their bounds
        g.drift();
    EXPECT_TRUE(before.size() == 7 && trader.heard.filter("<s-exch-").size() == 300 * 7 * 2
        && walker.heard.filter("<s-exch-").isEmpty());
    EXPECT_NE(trader.heard.filter(sell).mid(299 * 7), before);
    for (const QString& l : trader.heard.filter(sell)) {
        const int b = base(sell.match(l).captured(1)), price = sell.match(l).captured(2).toInt();
        ASSERT_TRUE(price >= std::lround(b * 0.7) && price <= std::lround(b * 1.4)) << l.toStdString();
    }
}

TEST_F(WorldLife, AClosingFactoryIsToldToThatPlanetAndNewsToEveryone)
{
    Ear home(g, "Ann", start), away(g, "Bob", vessaExchange), flying(g, "Cid", orbit);
    const auto told = [](const char* output, const char* planet) {
        return QStringList{QString("<s-remove-factory output='%1'/>").arg(output),
            QString("<s-default>A %1 factory on %2 closes its doors.</s-default>").arg(output, planet),
            "<s-update-infra/>"};
    };
    const struct {
        const char* map;
        const char* output;
        QStringList kyrnos, vessa;
    } rows[] = {{"kyrnos", "Spices", told("Spices", "Kyrnos"), {}},
        {"kyrnos", "Spices", {}, {}}, // the last one gone, the output forgotten
        {"kyrnos", "Grain", told("Grain", "Kyrnos"), {}}, {"kyrnos", "Machinery", {}, {}},
        {"vessa", "Machinery", {}, told("Machinery", "Vessa")}, {"nowhere", "Grain", {}, {}}};
    home.take();
    away.take();
    flying.take();
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.map) + " " + r.output);
        EXPECT_EQ(g.closeFactory(r.map, r.output), !(r.kyrnos + r.vessa).isEmpty());
        EXPECT_EQ(home.take(), r.kyrnos);
        EXPECT_EQ(away.take(), r.vessa);
        EXPECT_EQ(flying.take(), QStringList());
    }
    g.tellStory();
    EXPECT_TRUE(home.heard.size() == 1 && home.heard[0].startsWith("<s-default>+++ ") && home.heard == away.heard
        && home.heard == flying.heard);
    Ear later(g, "Dee", start); // the planet as it is now
    EXPECT_TRUE(
        later.heard.filter("<s-add-factory output='Grain'/>").size() == 2 && later.heard.filter("Spices").isEmpty());
}

TEST_F(WorldLife, SimulatedPlayersComeMoveTalkAndLeave)
{
    BotDriver bots(g, 11, 1000, 1);
    Ear watcher(g, "Ann", start);
    for (int i = 0; i < 400; ++i, bots.step())
        for (const auto& p : g.players()) // beside the one online, to see what it does next
            watcher.avatar.place = p->sink ? watcher.avatar.place : p->avatar->place;
    for (const char* seen :
        {"<s-add-player name=", "<s-contents name=", " leaves to the ", " says, \"", "<s-remove-player name="})
        EXPECT_GT(watcher.heard.filter(seen).size(), 0) << seen;
}

TEST(Output, AClientThatDoesNotReadIsDroppedOncePastTheLimit)
{
    const struct {
        std::vector<std::vector<int>> turns;
        bool dropped;
    } rows[] = {// line sizes sent in each turn of the event loop
        {{{100}}, false}, {{{101}}, true}, {{{50, 51}}, true}, {{{60}, {60}, {60}}, false}};
    for (const auto& r : rows) {
        QTcpServer listener;
        QTcpSocket reader;
        ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
        reader.connectToHost(QHostAddress::LocalHost, listener.serverPort());
        ASSERT_TRUE(listener.waitForNewConnection(5000));
        LineConnection c(listener.nextPendingConnection(), ConnectionLimits{4096, 100});
        QSignalSpy closed(&c, &LineConnection::closed);
        qint64 sent = 0;
        for (const auto& turn : r.turns) { // within a turn nothing leaves; between turns the reader takes it all
            for (int size : turn) {
                c.sendLine(QString(size - 1, 'x'));
                sent += size;
            }
            ASSERT_TRUE(r.dropped || QTest::qWaitFor([&] { return reader.bytesAvailable() == sent; }, 5000));
        }
        EXPECT_TRUE(c.isOpen() != r.dropped && closed.size() == int(r.dropped)) << sent;
        EXPECT_TRUE(!r.dropped
            || (closed.value(0).value(0).toString().contains("output limit")
                && QTest::qWaitFor([&] { return reader.state() == QAbstractSocket::UnconnectedState; }, 5000)));
    }
}

TEST(Logon, TheLastFailedAttemptClosesTheConnection)
{
    TestServer t([](ServerOptions& o) { o.session.failureDelayMs = 0; });
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()) && c.sees("login:"));
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(c.walk({{"demo1\nwrong", "is wrong."}, {nullptr, "(yes/no)"}, {"no", "login:"}}) && c.isOpen())
            << i;
    EXPECT_TRUE(c.walk({{"demo1\nwrong", "Too many failed attempts, goodbye."}}) && c.waitClosed());
}

TEST(Options, ArgumentsAreTakenOrRefused)
{
    const auto summary = [](const ServerOptions& o) {
        return QString("port=%1 bots=%2 seed=%3 out=%4 delay=%5 demo=%6 news=%7")
            .arg(o.port)
            .arg(o.bots)
            .arg(o.seed)
            .arg(o.limits.maxOutput)
            .arg(o.session.failureDelayMs)
            .arg(o.createDemo)
            .arg(o.session.newsMs);
    };
    const std::pair<QStringList, QString> rows[] = {
        {{}, "port=30003 bots=4 seed=0 out=1048576 delay=1000 demo=1 news=100"},
        {{"-p", "0", "--bots", "0", "--seed", "4294967295", "--max-output", "4096", "--failure-delay", "0",
             "--no-demo"},
            "port=0 bots=0 seed=4294967295 out=4096 delay=0 demo=0"},
        {{"--port=65535"}, "port=65535 "}, {{"--news-interval", "0"}, " news=0"},
        {{"--news-interval", "1001"}, "refused: --news-interval needs"},
        {{"--port", "65536"}, "refused: --port needs a number from 0 to 65535"},
        {{"--port", "http"}, "refused: --port needs"}, {{"--bots", "-1"}, "refused: --bots needs"},
        {{"--seed", "4294967296"}, "refused: --seed needs"}, {{"--port"}, "refused: Missing value"},
        {{"--max-output", "4095"}, "refused: --max-output needs"},
        {{"--noop-timeout", "0"}, "refused: --noop-timeout needs"},
        {{"--frobnicate"}, "refused: Unknown option 'frobnicate'"}, {{"extra"}, "refused: unexpected argument: extra"},
        {{"--help"}, "help: Usage:"}, {{"--version"}, "help: kyrnd "}};
    for (const auto& [args, expected] : rows) {
        ServerOptions o;
        QString message;
        bool exitOk = false;
        const QString got = parseOptions(QStringList{"kyrnd"} + args, o, message, exitOk)
            ? summary(o)
            : (exitOk ? "help: " : "refused: ") + message;
        EXPECT_TRUE(got.contains(expected)) << args.join(' ').toStdString() << " -> " << got.toStdString();
    }
}

// A client's own commands wait while its answers lie unsent past the hold
// limit, and go on once it has read them: asking and never reading costs
// the server nothing more.
TEST(Output, AnswersPiledUpUnreadHoldTheClientsCommandsUntilItReads)
{
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    QTcpSocket reader;
    reader.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    ASSERT_TRUE(listener.waitForNewConnection(5000));
    LineConnection c(listener.nextPendingConnection(), ConnectionLimits{4096, 1000, 100});
    QSignalSpy drained(&c, &LineConnection::drained);
    c.sendLine(QString(60, 'x'));
    EXPECT_FALSE(c.backlogged()); // 61 bytes unsent
    c.sendLine(QString(60, 'x'));
    EXPECT_TRUE(c.backlogged()); // 122 bytes unsent, in the same turn
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.bytesAvailable() == 122; }, 5000));
    EXPECT_FALSE(c.backlogged());
    EXPECT_EQ(drained.size(), 1);
    EXPECT_TRUE(c.isOpen());

    // Every answer holds the next command until it has left; all are answered.
    TestServer t([](ServerOptions& o) { o.limits.holdOutput = 1; });
    ScriptClient player;
    ASSERT_TRUE(t.join(player));
    player.sendRaw("who\nscore\nship\n");
    EXPECT_TRUE(player.walk(
        {{nullptr, "In Kyrnos DataSpace now"}, {nullptr, "trader credits"}, {nullptr, "class ship: fuel"}}));
}

// Lines sent before logging on wait their turn as commands do: flooding the
// log-on questions earns no flood of answers.
TEST(Pace, LinesBeforeLogonWaitTheirTurnToo)
{
    TestServer t([](ServerOptions& o) {
        o.session.commandsPerSecond = 2;
        o.session.commandBurst = 5;
    });
    ScriptClient guesser, other;
    ASSERT_TRUE(guesser.connectTo(t.port()) && guesser.sees("login:"));
    guesser.sendRaw(QByteArray("\n").repeated(20)); // each asks for the login again
    ASSERT_TRUE(t.join(other)); // served meanwhile
    EXPECT_LT(guesser.count("login:"), 1 + 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return guesser.count("login:") >= 1 + 8; }, 10000));
}

// News of others waits for the pulse and leaves with more; an answer takes
// what waits with it, in order.
TEST(Output, NewsWaitsForThePulseAndAnAnswerTakesItAlong)
{
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    QTcpSocket reader;
    QTcpSocket witness; // served in the same turn of the loop
    reader.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    ASSERT_TRUE(listener.waitForNewConnection(5000));
    QTcpSocket* toReader = listener.nextPendingConnection();
    witness.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    ASSERT_TRUE(listener.waitForNewConnection(5000));
    OutputPulse slow(60000);
    OutputPulse quick(10);
    LineConnection c(toReader, ConnectionLimits{}, nullptr, &slow);
    LineConnection w(listener.nextPendingConnection(), ConnectionLimits{}, nullptr, &quick);

    c.sendEncoded("arrives\n", LineConnection::When::WithPulse);
    c.sendEncoded("leaves\n", LineConnection::When::WithPulse);
    w.sendEncoded("now\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return witness.bytesAvailable() == 4; }, 5000));
    EXPECT_EQ(reader.bytesAvailable(), 0) << "news left before the pulse";
    c.sendEncoded("answer\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.bytesAvailable() == 22; }, 5000));
    EXPECT_EQ(reader.readAll(), "arrives\nleaves\nanswer\n");

    w.sendEncoded("news\n", LineConnection::When::WithPulse);
    EXPECT_TRUE(QTest::qWaitFor([&] { return witness.bytesAvailable() == 9; }, 5000)) << "the pulse sends it";
}
