// Playing over real TCP: moving, boarding, trading, talking, reports, and
// the world's own life. Every line a test receives must read cleanly
// through the client's scanner.
#include "test_env.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void expectScannable(const ScriptClient& c)
{
    const qsizetype from = c.lines().indexOf("<?xml version=\"1.0\"?>");
    ASSERT_GE(from, 0);
    for (const QString& l : c.lines().mid(from + 1)) {
        QString why;
        EXPECT_TRUE(scansCleanly(l, &why)) << why.toStdString();
    }
}

int attr(const QString& line, const QString& name)
{
    const QRegularExpression re(" " + name + "='(-?\\d+)'");
    const auto m = re.match(line);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

class Play : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(t.ok()) << t.error().toStdString();
        ASSERT_TRUE(c.connectTo(t.port()));
        ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));
        c.send("look");
        ASSERT_FALSE(c.waitFor("<s-new-loc name='Spaceport Concourse' loc-num='1950'").isNull());
    }
    void TearDown() override { expectScannable(c); }

    TestServer t;
    ScriptClient c;
};

} // namespace

TEST_F(Play, ExitsHoldTheDestinationAndMovingCrossesIntoTheNextMap)
{
    c.send("look");
    const QString here = c.waitFor("<s-new-loc name='Spaceport Concourse'");
    EXPECT_EQ(attr(here, "n"), 1950 - 64);
    EXPECT_EQ(attr(here, "se"), 1950 + 65);
    EXPECT_EQ(attr(here, "u"), -1);

    c.send("se");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Fuel Depot' loc-num='2015'").isNull());
    c.send("e");
    const QString road = c.waitFor("<s-new-loc name='East Road' loc-num='2016'");
    ASSERT_FALSE(road.isNull());
    EXPECT_EQ(attr(road, "e"), 31 * 64 + 10);  // the trailhead on the next map

    c.send("ne");
    EXPECT_FALSE(c.waitFor("can&apos;t go that way").isNull());
    c.send("e");
    const QStringList crossing = c.collectUntil("<s-new-loc name='Western Trailhead' loc-num='1994'");
    ASSERT_FALSE(crossing.isEmpty());
    EXPECT_TRUE(inOrder(crossing, {"<s-new-map system='Kyrn' name='Kyrnos Wilds' owner=''/>",
                                   "<s-map-info economy='Wilderness' workers='40'/>", "<s-update-infra/>",
                                   "<s-new-loc name='Western Trailhead'"}));
    EXPECT_EQ(attr(crossing.last(), "w"), 2016);
    c.send("w");
    const QStringList back = c.collectUntil("<s-new-loc name='East Road'");
    EXPECT_TRUE(back.contains("<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"));
}

TEST_F(Play, BoardingLiftsIntoOrbitAndLandingReturnsToThePad)
{
    c.send("board");
    EXPECT_FALSE(c.waitFor("no ship to board here").isNull());
    c.send("s");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Landing Pad' loc-num='2014'").isNull());
    c.send("board");
    const QStringList orbit = c.collectUntil("<s-new-loc name='Orbit of Kyrnos' loc-num='650'");
    ASSERT_FALSE(orbit.isEmpty());
    EXPECT_TRUE(orbit.contains("<s-new-map system='Kyrn' name='Kyrn System' owner=''/>"));
    EXPECT_EQ(attr(orbit.last(), "d"), 2014);
    // Flying burns fuel.
    c.send("e");
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='fuel' max='30' cur='29'/>").isNull());
    c.send("w");
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='fuel' max='30' cur='28'/>").isNull());
    c.send("d");
    const QStringList landing = c.collectUntil("<s-new-loc name='Landing Pad'");
    EXPECT_TRUE(landing.contains("<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"));
    c.send("refuel");
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='fuel' max='30' cur='30'/>").isNull());
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='cash' amount='14990'/>").isNull());
}

TEST_F(Play, BuyingAndSellingChangeCashCargoAndStock)
{
    c.send("buy Grain");
    EXPECT_FALSE(c.waitFor("commodity exchange to trade").isNull());
    c.send("w");
    const QStringList floor = c.collectUntil("<s-exch-buy name='Grain'");
    ASSERT_FALSE(floor.isEmpty());
    EXPECT_TRUE(floor.contains("<s-exchange name='Kyrnos'/>"));
    const QString offer = floor.at(floor.size() - 2);
    ASSERT_TRUE(offer.startsWith("<s-exch-sell name='Grain'"));
    const int price = attr(offer, "price");
    const int stock = attr(offer, "stock");
    const int bid = attr(floor.last(), "price");
    ASSERT_GT(price, 0);
    ASSERT_GT(bid, 0);

    c.send("buy grain 10");
    EXPECT_FALSE(c.waitFor(QString("<s-player-stats stat='cash' amount='%1'/>").arg(15000 - 10 * price)).isNull());
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='cargo' max='100' cur='90'/>").isNull());
    EXPECT_FALSE(c.waitFor(QString("<s-exch-sell name='Grain' price='%1' stock='%2'/>").arg(price).arg(stock - 10)).isNull());

    c.send("sell Grain 4");
    EXPECT_FALSE(c.waitFor(QString("<s-player-stats stat='cash' amount='%1'/>").arg(15000 - 10 * price + 4 * bid)).isNull());
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='cargo' max='100' cur='94'/>").isNull());

    c.send("sell Machinery");
    EXPECT_FALSE(c.waitFor("does not trade in Machinery").isNull());
    c.send("sell Spices");
    EXPECT_FALSE(c.waitFor("no Spices in your hold").isNull());
    // More than the stock, the hold or the purse allows: the smallest wins.
    c.send("buy Luxuries 1000");
    const QString bought = c.waitFor("tons of Luxuries");
    ASSERT_FALSE(bought.isNull());
    const QString cash = c.waitFor("<s-player-stats stat='cash'");
    EXPECT_GE(attr(cash, "amount"), 0);

    // The quotes again, without entering the exchange anew.
    c.send("prices");
    const QStringList quoted = c.collectUntil("Commodity Exchange");
    EXPECT_TRUE(inOrder(quoted, {"<s-exch-sell name='Grain'", "<s-exch-buy name='Grain'"}));
    EXPECT_EQ(c.count("<s-exchange "), 1);

    // The purchase was saved with the account.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QFile f(t.dataDir() + "/accounts.json");
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("\"Grain\": 6");
    }, 5000));
}

TEST_F(Play, LoansAreTakenAndRepaidAtTheExchange)
{
    c.send("borrow 1000");
    EXPECT_FALSE(c.waitFor("credit desk of a commodity exchange").isNull());
    c.send("w");
    ASSERT_FALSE(c.waitFor("<s-exchange name='Kyrnos'/>").isNull());
    c.send("borrow 1000");
    EXPECT_TRUE(inOrder(c.collectUntil("stat='loan'"), {"<s-player-stats stat='cash' amount='16000'/>",
                                                         "<s-player-stats stat='loan' amount='6000'/>"}));
    c.send("borrow 50000");
    EXPECT_FALSE(c.waitFor("lends at most").isNull());
    c.send("repay 500");
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='loan' amount='5500'/>").isNull());
    c.send("repay");
    EXPECT_FALSE(c.waitFor("free of debt").isNull());
    EXPECT_TRUE(inOrder(c.collectUntil("stat='loan'"), {"<s-player-stats stat='cash' amount='10000'/>",
                                                         "<s-player-stats stat='loan' amount='0'/>"}));
    c.send("repay");
    EXPECT_FALSE(c.waitFor("You owe nothing").isNull());
}

TEST_F(Play, TheBeltDamagesShieldsThenHullAndThePadRepairsThem)
{
    c.send("s");
    c.send("board");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Orbit of Kyrnos'").isNull());
    c.send("e");
    for (const char* shields : {"30", "10", "0"}) {
        c.send("e");
        ASSERT_FALSE(c.waitFor("<s-new-loc name='Asteroid Belt'").isNull());
        EXPECT_FALSE(c.waitFor(QString("<s-ship-stats stat='shields' max='50' cur='%1'/>").arg(shields)).isNull());
        c.send("w");
    }
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='hull' max='100' cur='90'/>").isNull());
    c.send("w");
    c.send("d");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Landing Pad'").isNull());
    c.send("repair");
    EXPECT_TRUE(inOrder(c.collectUntil("stat='cash'"), {"<s-ship-stats stat='hull' max='100' cur='100'/>",
                                                         "<s-ship-stats stat='shields' max='50' cur='50'/>",
                                                         "<s-player-stats stat='cash' amount='14820'/>"}));
    c.send("repair");
    EXPECT_FALSE(c.waitFor("needs no repairs").isNull());
}

TEST(Pace, PipelinedTradesWaitTheirTurnAndShareOneSave)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.saveMs = 600000;
    o.session.commandsPerSecond = 20;
    o.session.commandBurst = 5;
    TestServer slow(o);
    ScriptClient trader, other;
    ASSERT_TRUE(slow.join(trader));
    ASSERT_TRUE(slow.join(other, "demo2"));
    QByteArray orders = "w\n";
    for (int i = 0; i < 20; ++i)
        orders += "buy grain 1\nsell grain 1\n";
    trader.sendRaw(orders);
    other.send("who");
    ASSERT_FALSE(other.waitFor("In Kyrnos DataSpace now").isNull());
    EXPECT_LT(trader.count("You sell"), 20);  // still working through them
    ASSERT_TRUE(QTest::qWaitFor([&] { return trader.count("You sell") == 20; }, 10000));
    // Not one write per trade: nothing is on disk until the player leaves.
    const auto saved = [&] {
        QFile f(dir.filePath("accounts.json"));
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("\"trader\": 40");
    };
    EXPECT_FALSE(saved());
    trader.send("quit");
    EXPECT_TRUE(QTest::qWaitFor(saved, 5000));
}

TEST_F(Play, TalkIsCappedInLengthAndRate)
{
    ScriptClient v;
    ASSERT_TRUE(t.join(v, "demo2"));
    c.send("say " + QString(Game::kMaxMessage + 1, 'x'));
    EXPECT_FALSE(c.waitFor("too long to send").isNull());
    c.send("tell vega " + QString(Game::kMaxMessage + 1, 'y'));
    EXPECT_FALSE(c.waitFor("too long to send").isNull());
    // A byte beyond ASCII survives the trip both ways.
    c.sendRaw("say caf\xe9 \x80\n");
    EXPECT_FALSE(v.waitFor(QString::fromLatin1("Nova says, \"caf\xe9 \x80\"")).isNull());
    for (int i = 0; i < 8; ++i)
        c.send(QString("say line %1").arg(i));
    EXPECT_FALSE(c.waitFor("talking too fast").isNull());
    v.send("who");
    ASSERT_FALSE(v.waitFor("In Kyrnos DataSpace now").isNull());
    EXPECT_EQ(v.count("xxxx") + v.count("yyyy"), 0);
    // Four fit in the burst; a slow machine may have earned one more.
    EXPECT_GE(v.count("Nova says, \"line"), 4);
    EXPECT_LT(v.count("Nova says, \"line"), 8);
}

TEST_F(Play, TheLastFactoryOfAKindClosesAndIsGone)
{
    ASSERT_TRUE(t.server().game()->closeFactory("kyrnos", "Spices"));
    EXPECT_TRUE(inOrder(c.collectUntil("<s-update-infra/>"),
                        {"<s-remove-factory output='Spices'/>", "<s-default>A Spices factory on Kyrnos closes"}));
    EXPECT_FALSE(t.server().game()->closeFactory("kyrnos", "Spices"));
    ScriptClient v;
    ASSERT_TRUE(t.join(v, "demo2"));
    EXPECT_TRUE(inOrder(v.collectUntil("<s-update-infra/>"), {"<s-add-factory output='Grain'/>", "<s-add-factory output='Textiles'/>"}));
    EXPECT_EQ(v.count("output='Spices'"), 0);
}

TEST_F(Play, CustomsCertificateAndPromotionByTrade)
{
    c.send("certificate");
    EXPECT_FALSE(c.waitFor("issued at a customs house").isNull());
    c.send("sw");
    ASSERT_FALSE(c.waitFor("<s-new-loc name='Customs House'").isNull());
    c.send("certificate");
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='customs-cert'/>").isNull());
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='cash' amount='14500'/>").isNull());
    c.send("certificate");
    EXPECT_FALSE(c.waitFor("already holds").isNull());

    c.send("n");
    ASSERT_FALSE(c.waitFor("<s-exchange name='Kyrnos'/>").isNull());
    for (const char* order : {"buy Grain 100", "sell Grain", "buy Grain 100", "sell Grain"})
        c.send(order);
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='trader' amount='300'/>").isNull());
    EXPECT_FALSE(c.waitFor("<s-player-stats rank='Commander'/>").isNull());
    EXPECT_EQ(c.count("<s-player-stats rank='Commander'/>"), 1);
}

TEST_F(Play, ReportsAndScore)
{
    c.send("ex Nova");
    EXPECT_FALSE(c.waitFor("<s-examine-start name='Nova' rank='GroundHog'/>").isNull());
    EXPECT_FALSE(c.waitFor("<s-examine>").isNull());
    EXPECT_FALSE(c.waitFor("</s-examine>").isNull());
    c.send("spynet report Vega");  // an avatar not in the game has a file too
    EXPECT_FALSE(c.waitFor("<s-spynet-start name='Vega' rank='GroundHog'/>").isNull());
    EXPECT_FALSE(c.waitFor("Status: dormant").isNull());
    c.send("spynet report Nobody");
    EXPECT_FALSE(c.waitFor("no file on Nobody").isNull());
    c.send("score");
    EXPECT_FALSE(c.waitFor("<s-player-stats stat='score'/>").isNull());
    c.send("ship");
    EXPECT_FALSE(c.waitFor("<s-ship-stats stat='ship'/>").isNull());
    c.send("dance wildly");
    EXPECT_FALSE(c.waitFor("<s-default>Sorry, I don&apos;t know how to dance.").isNull());
}

TEST_F(Play, TwoPlayersSeeAndTalkToEachOther)
{
    ScriptClient v;
    ASSERT_TRUE(v.connectTo(t.port()));
    ASSERT_TRUE(logOn(v, "demo2", "orvixdemo"));
    v.send("look");
    EXPECT_FALSE(v.waitFor("<s-add-player name='Nova' rank='0'/>").isNull());
    EXPECT_FALSE(v.waitFor("<s-contents name='Nova'>Nova is here.</s-contents>").isNull());
    EXPECT_FALSE(c.waitFor("<s-add-player name='Vega' rank='0'/>").isNull());
    EXPECT_FALSE(c.waitFor("<s-contents name='Vega'>").isNull());

    c.send("tell vega Meet me at the <pad> & bring Ann's cargo");
    EXPECT_FALSE(v.waitFor("<s-tb name='Nova'>Meet me at the &lt;pad&gt; &amp; bring Ann&apos;s cargo</s-tb>").isNull());
    EXPECT_FALSE(c.waitFor("tight beam reaches Vega").isNull());
    v.send("tb Nova On my way");
    EXPECT_FALSE(c.waitFor("<s-tb name='Vega'>On my way</s-tb>").isNull());
    c.send("tell Nobody hello");
    EXPECT_FALSE(c.waitFor("nobody called Nobody").isNull());

    c.send("hug Vega");
    EXPECT_FALSE(v.waitFor("Nova hugs you.").isNull());
    v.send("kiss nova");
    EXPECT_FALSE(c.waitFor("Vega kisses you.").isNull());
    v.send("say Lovely day");
    EXPECT_FALSE(c.waitFor("Vega says, \"Lovely day\"").isNull());

    v.send("n");
    EXPECT_FALSE(c.waitFor("<s-remove-contents name='Vega'>").isNull());
    v.send("s");
    EXPECT_FALSE(c.waitFor("<s-contents name='Vega'>Vega arrives from the north.</s-contents>").isNull());
    v.send("quit");
    EXPECT_TRUE(v.waitClosed());
    EXPECT_FALSE(c.waitFor("<s-remove-player name='Vega'/>").isNull());
    expectScannable(v);
}

TEST(World, PricesDriftNewsArrivesAndPlanetsChange)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.driftMs = 20;
    o.storyMs = 30;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));
    c.send("w");
    ASSERT_FALSE(c.waitFor("<s-exchange name='Kyrnos'/>").isNull());
    const int before = c.count("<s-exch-sell name='Grain'");
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.count("<s-exch-sell name='Grain'") >= before + 3; }, 5000));
    EXPECT_FALSE(c.waitFor("<s-default>+++ ").isNull());
    EXPECT_FALSE(c.waitFor("<s-update-workers workers='").isNull());
    EXPECT_FALSE(c.waitFor("<s-update-infra/>").isNull());
    expectScannable(c);
}

TEST(World, SimulatedPlayersComeAndGo)
{
    QTemporaryDir dir;
    ServerOptions o = testOptions(dir.path());
    o.bots = 2;
    o.botIntervalMs = 5;
    TestServer t(o);
    ASSERT_TRUE(t.ok());
    ScriptClient c;
    ASSERT_TRUE(c.connectTo(t.port()));
    ASSERT_TRUE(logOn(c, "demo1", "orvixdemo"));
    EXPECT_FALSE(c.waitFor("<s-add-player name='").isNull());
    EXPECT_FALSE(c.waitFor("<s-remove-player name='", 10000).isNull());
    EXPECT_LE(t.server().game()->players().size(), 3u);
    expectScannable(c);
}
