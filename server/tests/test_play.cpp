// Playing over TCP: moving, trading, talking, tight beam, who, the pace of
// commands and the keep-alive.
#include "kyrnd_test.h"

#include <QDeadlineTimer>

static int attr(const QString& line, const QString& name)
{
    return QRegularExpression(" " + name + "='(-?\\d+)'").match(line).captured(1).toInt();
}

class Play : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(t.join(c)); }
    TestServer t;
    ScriptClient c;
};

TEST_F(Play, CommandsAndTheirAnswers)
{
    const auto cash = [](int amount) { return QString("<s-player-stats stat='cash' amount='%1'/>").arg(amount); };
    const auto ship = [](const char* stat, int max, int cur) {
        return QString("<s-ship-stats stat='%1' max='%2' cur='%3'/>").arg(stat).arg(max).arg(cur);
    };
    ASSERT_TRUE(c.walk({
        {"look",
            "<s-new-loc name='Spaceport Concourse' loc-num='1950' n='1886' ne='1887' e='1951' se='2015' s='2014' "
            "sw='2013' w='1949' nw='1885'>"},
        {"board", "no ship to board here"},
        {"certificate", "issued at a customs house"},
        {"borrow 1000", "credit desk of a commodity exchange"},
        {"buy Grain", "commodity exchange to trade"},
        {"dance wildly", "<s-default>Sorry, I don&apos;t know how to dance."},
        {"score", "<s-player-stats stat='score'/>"},
        {"ex Nova", "<s-examine-start name='Nova' rank='GroundHog'/>"},
        {"ship", "<s-ship-stats stat='ship'/>"},
        {"spynet report Vega", "Status: dormant"},
        {"spynet report Nobody", "no file on Nobody"},
        // Over the edge of the map and back: the map comes before the location.
        {"se", "<s-new-loc name='Fuel Depot' loc-num='2015'"},
        {"e", "<s-new-loc name='East Road' loc-num='2016'"},
        {"ne", "can&apos;t go that way"},
        {"e", "<s-new-map system='Kyrn' name='Kyrnos Wilds' owner=''/>"},
        {nullptr, "<s-map-info economy='Wilderness' workers='40'/>"},
        {nullptr, "<s-update-infra/>"},
        {nullptr, "<s-new-loc name='Western Trailhead' loc-num='1994'"},
        {"w", "<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"},
        {nullptr, "<s-new-loc name='East Road'"},
        {"w", "Fuel Depot"},
        // Into orbit, through the belt's rocks three times, and down again.
        {"w", "<s-new-loc name='Landing Pad' loc-num='2014'"},
        {"board", "<s-new-map system='Kyrn' name='Kyrn System' owner=''/>"},
        {nullptr, "<s-new-loc name='Orbit of Kyrnos' loc-num='650' e='651' d='2014'>"},
        {"e", ship("fuel", 30, 29)},
        {"e", ship("shields", 50, 30)},
        {"w", "<s-new-loc "},
        {"e", ship("shields", 50, 10)},
        {"w", "<s-new-loc "},
        {"e", ship("shields", 50, 0)},
        {nullptr, ship("hull", 100, 90)},
        {"w", "<s-new-loc "},
        {"w", ship("fuel", 30, 22)},
        {"d", "<s-new-map system='Kyrn' name='Kyrnos' owner='Hale'/>"},
        {nullptr, "<s-new-loc name='Landing Pad'"},
        {"repair", ship("hull", 100, 100)},
        {nullptr, ship("shields", 50, 50)},
        {nullptr, cash(14820)},
        {"repair", "needs no repairs"},
        {"refuel", ship("fuel", 30, 30)},
        {nullptr, cash(14780)},
        // Customs, then the credit desk next door.
        {"n", "<s-new-loc name='Spaceport Concourse'"},
        {"sw", "<s-new-loc name='Customs House'"},
        {"certificate", "<s-ship-stats stat='customs-cert'/>"},
        {nullptr, cash(14280)},
        {"certificate", "already holds"},
        {"n", "<s-exchange name='Kyrnos'/>"},
        {"borrow 1000", cash(15280)},
        {nullptr, "<s-player-stats stat='loan' amount='6000'/>"},
        {"repay", "free of debt"},
        {nullptr, cash(9280)},
        {nullptr, "<s-player-stats stat='loan' amount='0'/>"},
        {"repay", "You owe nothing"},
        // Enough trade makes a Commander, once.
        {"buy Grain 100", "tons of Grain"},
        {"sell Grain", "You sell"},
        {"buy Grain 100", "tons of Grain"},
        {"sell Grain", "<s-player-stats stat='trader' amount='300'/>"},
        {nullptr, "<s-player-stats rank='Commander'/>"},
    }));
    EXPECT_EQ(c.count("<s-player-stats rank='Commander'/>"), 1);
}

TEST_F(Play, TradingMovesCashCargoAndStock)
{
    c.send("w");
    const QStringList floor = c.collectUntil("<s-exch-buy name='Grain'");
    const QString offer = floor.value(floor.size() - 2);
    const int price = attr(offer, "price"), stock = attr(offer, "stock"),
              bid = attr(floor.value(floor.size() - 1), "price");
    ASSERT_TRUE(offer.startsWith("<s-exch-sell name='Grain'") && price > 0 && bid > 0)
        << floor.join('\n').toStdString();
    const auto cash = [](int amount) { return QString("<s-player-stats stat='cash' amount='%1'/>").arg(amount); };
    ASSERT_TRUE(c.walk({{"buy grain 10", cash(15000 - 10 * price)},
        {nullptr, "<s-ship-stats stat='cargo' max='100' cur='90'/>"},
        {nullptr, QString("<s-exch-sell name='Grain' price='%1' stock='%2'/>").arg(price).arg(stock - 10)},
        {"sell Grain 4", cash(15000 - 10 * price + 4 * bid)},
        {nullptr, "<s-ship-stats stat='cargo' max='100' cur='94'/>"}, {"sell Machinery", "does not trade in Machinery"},
        // More than the stock, the hold or the purse allows: the least of them.
        {"buy Luxuries 1000", "tons of Luxuries"}, {nullptr, "<s-player-stats stat='cash'"}}));
    EXPECT_EQ(c.count("stat='cash' amount='-"), 0);
    // The quotes again, without entering anew.
    EXPECT_TRUE(c.walk({{"prices", "<s-exch-sell name='Grain'"}, {nullptr, "<s-exch-buy name='Grain'"},
        {nullptr, "Commodity Exchange"}}));
    EXPECT_EQ(c.count("<s-exchange "), 1);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ReadFile(t.dataDir() + "/accounts.json").contains("\"Grain\":6"); }, 5000));
}

// The rate of talk is the game's rule, tested there.
TEST_F(Play, PlayersSeeAndTalkToEachOtherInCappedLinesKeepingHighBytes)
{
    ScriptClient v;
    ASSERT_TRUE(t.join(v, "demo2")
        && v.walk({{"look", "<s-add-player name='Nova' rank='0'/>"},
            {nullptr, "<s-contents name='Nova'>Nova is here.</s-contents>"}}));
    const QString tooLong(Game::kMaxMessage + 1, 'x');
    ASSERT_TRUE(c.walk({{nullptr, "<s-add-player name='Vega' rank='0'/>"}, {nullptr, "<s-contents name='Vega'>"},
        {"tb vega Meet me at the <pad> & bring Ann's cargo", "tight beam reaches Vega"},
        {"tell Nobody hello", "nobody called Nobody"}, {qPrintable("say " + tooLong), "too long to send"},
        {qPrintable("tell vega " + tooLong), "too long to send"}, {"hug Vega", "You hug Vega"}}));
    c.sendRaw("say caf\xe9 \x80\n"); // beyond ASCII, both ways
    ASSERT_TRUE(v.walk({{nullptr, "<s-tb name='Nova'>Meet me at the &lt;pad&gt; &amp; bring Ann&apos;s cargo</s-tb>"},
        {nullptr, "Nova hugs you."}, {nullptr, QString::fromLatin1("Nova says, \"caf\xe9 \x80\"")},
        {"n", "<s-new-loc "}, {"s", "<s-new-loc "}, {"quit", "Goodbye"}}));
    EXPECT_EQ(v.count("xxxx"), 0) << "the long ones never arrived";
    ASSERT_TRUE(c.walk({{nullptr, "<s-remove-contents name='Vega'>"},
        {nullptr, "<s-contents name='Vega'>Vega arrives from the north.</s-contents>"},
        {nullptr, "<s-remove-player name='Vega'/>"}}));
    EXPECT_TRUE(v.waitClosed());
}

TEST(Pace, PipelinedCommandsWaitTheirTurnAndShareOneSave)
{
    TestServer t([](ServerOptions& o) {
        o.saveMs = 600000;
        o.session.commandsPerSecond = 10;
        o.session.commandBurst = 5;
    });
    ScriptClient trader, other;
    ASSERT_TRUE(t.join(trader) && t.join(other, "demo2"));
    trader.sendRaw("w\n" + QByteArray("buy grain 1\nsell grain 1\n").repeated(10));
    ASSERT_TRUE(other.sync()); // served meanwhile
    EXPECT_LT(trader.count("You sell"), 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return trader.count("You sell") == 10; }, 10000));
    // Put off, not one write per trade: on disk only once the player leaves.
    const auto saved = [&] { return ReadFile(t.dataDir() + "/accounts.json").contains("\"trader\":20"); };
    EXPECT_FALSE(saved());
    trader.send("quit");
    EXPECT_TRUE(QTest::qWaitFor(saved, 5000));
}

TEST(KeepAlive, AnyLineCountsAsLifeAndSilenceIsDropped)
{
    TestServer t([](ServerOptions& o) {
        o.session.noopIntervalMs = 30;
        o.session.noopTimeoutMs = 600;
    });
    // Each silent one joins last, so a rule that dropped the others would drop them first.
    ScriptClient answerer, silent, typist, silent2;
    silent.answerNoOps = false;
    typist.answerNoOps = false;
    silent2.answerNoOps = false;
    ASSERT_TRUE(t.join(answerer) && t.join(silent, "demo2"));
    EXPECT_TRUE(silent.waitClosed() && answerer.sync());
    ASSERT_TRUE(t.join(typist, "demo2", false) && t.join(silent2));
    EXPECT_TRUE(answerer.sees("linked from another terminal") && answerer.waitClosed()); // its avatar taken over
    for (QDeadlineTimer limit(10000); silent2.isOpen() && !limit.hasExpired();)
        ASSERT_TRUE(typist.sync());
    EXPECT_TRUE(!silent2.isOpen() && typist.sync());
}
