// The status panels fed with server lines through the dispatcher, checked on
// recording pages: statistics rows and bars, the exchange with its history,
// ticker and trades, and the console lights.
#include <climits>
#include <initializer_list>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "panels/panels.h"
#include "panels/stat_page.h"
#include "protocol/server_parser.h"
#include "support/fake_mainview.h"
#include "support/fake_panel_views.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bar = FakeStatsPage::Bar;

namespace {

class PanelsTest : public ::testing::Test {
protected:
    PanelsTest() { targets.panels = &panels; }

    void Feed(std::initializer_list<std::string> lines)
    {
        for (const std::string& line : lines)
            parser.ParseText(line);
    }
    static void Touch(const QString& path) { ScopedWorkDir::Touch(path); }

    ScopedWorkDir workDir;
    FakeMainView view;
    FakeStatsPage score, ship;
    FakeExchangePage exch;
    FakeLights lights;
    Panels panels{view, score, ship, exch, lights};
    DispatchTargets targets;
    ServerParser parser{view, targets};
};

std::string Cash(const std::string& amount)
{
    return "<s-player-stats stat='cash' amount='" + amount + "'/>";
}

} // namespace

TEST(StatFormats, MoneyInIgUnitsAndAmountsFromText)
{
    const struct {
        std::string text;
        std::string shown;
    } rows[] = {
        {"999", "999ig"},        {"1000", "1Kig"},         {"999999", "999Kig"},
        {"1000000", "1Mig"},     {"2500000", "2Mig"},      {"-5000", "-5000ig"},
        {"  +42abc", "42ig"},    {"", "0ig"},              {"2147483647", "2147Mig"},
        {"-2147483648", "-2147483648ig"}, {"99999999999", "2147Mig"}, {"-99999999999", "-2147483648ig"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IgUnits(AmountFromText(row.text)), row.shown) << row.text;
}

TEST(StatFormats, BarPercentageAndColour)
{
    const struct {
        int32_t current, maximum;
        BarReading bar;
    } rows[] = {
        {20, 30, {66, BarColour::Yellow}},  {20, 20, {100, BarColour::Neutral}},
        {0, 30, {0, BarColour::Neutral}},   {1, 30, {3, BarColour::Red}},
        {34, 100, {34, BarColour::Yellow}}, {33, 100, {33, BarColour::Red}},
        {67, 100, {67, BarColour::Neutral}}, {-3, 30, {-10, BarColour::Red}},
        {5, 0, {0, BarColour::Neutral}},    {5, -3, {0, BarColour::Neutral}},
        {INT32_MAX, INT32_MAX, {100, BarColour::Neutral}}, {INT32_MAX, 1, {INT_MAX, BarColour::Neutral}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ReadBar(row.current, row.maximum), row.bar) << row.current << "/" << row.maximum;
}

TEST_F(PanelsTest, FirstAvatarElementShowsTheNameAndAsksForAnExamineOnce)
{
    Touch("pictures/nova.bmp");
    Touch("pictures/interference.bmp");
    Feed({"<s-player-stats name='Nova' stat='cash' amount='5'/>"});
    EXPECT_EQ(score.heading, "Nova");
    EXPECT_EQ(score.picture, "pictures/nova.bmp");
    EXPECT_THAT(view.sent, ElementsAre("ex Nova\n"));
    EXPECT_THAT(score.Labels()[0], IsEmpty()) << "nothing else of the first element is used";

    Feed({"<s-player-stats rank='Alpha'/>", "<s-player-stats name='Zed'/>"});
    EXPECT_EQ(score.subheading, "-Alpha-");
    EXPECT_EQ(score.heading, "Zed");
    EXPECT_EQ(score.picture, "pictures/interference.bmp");

    // A reconnection empties the page; the next name takes the update path.
    score.rows[0] = {"Cash", "5ig"};
    panels.Connected();
    EXPECT_EQ(score.heading, "");
    EXPECT_EQ(score.subheading, "");
    EXPECT_EQ(score.bars.back(), (Bar{"", 0, BarColour::Neutral}));
    Feed({"<s-player-stats name='Nova'/>"});
    EXPECT_EQ(score.heading, "Nova");
    EXPECT_EQ(view.sent.size(), 1u);
}

TEST_F(PanelsTest, RowsFillInArrivalOrderUpdateInPlaceAndCloseUpWhenRemoved)
{
    Feed({"<s-player-stats name='Nova'/>", Cash("1500"),
          "<s-player-stats stat='sta' max='30' cur='20'/>",
          "<s-player-stats stat='loan' amount='500'/>", "<s-player-stats stat='ak' amount='-99998'/>",
          "<s-player-stats stat='hc' amount='12'/>", Cash("2500000")});
    EXPECT_THAT(score.Labels(), ElementsAre("Cash", "Stamina", "Loan", "Akaturi Cr", "Hauler Cr", "", "", ""));
    EXPECT_EQ(score.rows[0].second, "2Mig");
    EXPECT_EQ(score.rows[1].second, "20/30");
    EXPECT_EQ(score.rows[3].second, "-99998");

    Feed({"<s-player-stats stat='loan' amount='0'/>"});
    EXPECT_THAT(score.Labels(), ElementsAre("Cash", "Stamina", "Akaturi Cr", "Hauler Cr", "", "", "", ""));
    Feed({"<s-player-stats stat='ak' amount='-99999'/>", "<s-player-stats stat='hc' amount='-1'/>"});
    EXPECT_THAT(score.Labels(), ElementsAre("Cash", "Stamina", "", "", "", "", "", ""));
    EXPECT_EQ(panels.GetAvatarStats()->Value("hc").current, -1);

    // Eight rows taken: a ninth figure is stored but not shown.
    Feed({"<s-player-stats stat='str' max='9' cur='9'/>", "<s-player-stats stat='dex' max='9' cur='9'/>",
          "<s-player-stats stat='int' max='9' cur='9'/>", "<s-player-stats stat='merchant' amount='1'/>",
          "<s-player-stats stat='trader' amount='2'/>", "<s-player-stats stat='loan' amount='70'/>",
          "<s-player-stats stat='hc' amount='3'/>", "<s-player-stats stat='bogus' amount='3'/>"});
    EXPECT_THAT(score.Labels(), ElementsAre("Cash", "Stamina", "Strength", "Dexterity", "Intelligence",
                                            "Merchant Cr", "Trader Cr", "Loan"));
    EXPECT_EQ(panels.GetAvatarStats()->Value("hc").current, 3);
    EXPECT_THAT(score.bars, IsEmpty()) << "no row was selected";
}

TEST_F(PanelsTest, TheSelectedRowDrivesTheBar)
{
    score.selected = 0;
    ship.selected = 1;
    Feed({"<s-player-stats name='Nova'/>", "<s-player-stats stat='sta' max='30' cur='20'/>",
          "<s-player-stats stat='sta' max='30' cur='1'/>", "<s-ship-stats class='Trader'/>",
          "<s-ship-stats stat='fuel' max='30' cur='30'/>", "<s-ship-stats stat='navcomp'/>",
          "<s-ship-stats stat='navcomp'/>", "<s-ship-stats stat='cargo' max='100' cur='40'/>"});
    EXPECT_THAT(score.bars, ElementsAre(Bar{" Stamina ", 66, BarColour::Yellow},
                                        Bar{" Stamina ", 3, BarColour::Red}));
    EXPECT_THAT(ship.bars, ElementsAre(Bar{"", 0, BarColour::Neutral}, Bar{"", 0, BarColour::Neutral}));
    EXPECT_EQ(ship.rows[1], std::make_pair(std::string("Nav Comp"), std::string("Installed")));

    score.bars.clear();
    ship.bars.clear();
    panels.SelectStat("Stamina");
    panels.SelectStat("");
    panels.SelectShipStat("Cargo Space");
    panels.SelectShipStat("Customs");
    EXPECT_THAT(score.bars, ElementsAre(Bar{" Stamina ", 3, BarColour::Red}, Bar{"", 0, BarColour::Neutral}));
    EXPECT_THAT(ship.bars, ElementsAre(Bar{" Cargo Space Left ", 40, BarColour::Yellow},
                                       Bar{"", 0, BarColour::Neutral}));

    // Removing the selected row leaves the bar alone; a maximum of 0 reads empty.
    Feed({"<s-player-stats stat='loan' amount='9'/>", "<s-player-stats stat='loan' amount='0'/>",
          "<s-player-stats stat='sta' max='0' cur='5'/>"});
    EXPECT_EQ(score.bars.size(), 3u);
    EXPECT_EQ(score.bars.back(), (Bar{" Stamina ", 0, BarColour::Neutral}));
}

TEST_F(PanelsTest, ShipClassPicturesAndPagesToTheFront)
{
    Touch("pictures/beta.bmp");
    Feed({"<s-ship-stats class='Beta' stat='hull' max='5' cur='5'/>"});
    EXPECT_EQ(ship.heading, "-Beta Class-");
    EXPECT_EQ(ship.picture, "pictures/beta.bmp");
    EXPECT_THAT(ship.Labels()[0], IsEmpty());

    Touch("pictures/space.bmp");
    Feed({"<s-ship-stats class='Gamma'/>", "<s-ship-stats stat='customs-cert'/>",
          "<s-ship-stats stat='ship'/>", "<s-player-stats name='Nova'/>",
          "<s-player-stats stat='score'/>"});
    EXPECT_EQ(ship.picture, "pictures/space.bmp");
    EXPECT_EQ(ship.rows[0], std::make_pair(std::string("Customs"), std::string("Yes")));
    EXPECT_EQ(view.shipPageShown, 1);
    EXPECT_EQ(view.scorePageShown, 1);

    panels.Connected();
    EXPECT_EQ(ship.heading, "");
    EXPECT_THAT(ship.Labels()[0], IsEmpty());
}

TEST_F(PanelsTest, QuotesFillLabelsHistoryAndPictures)
{
    Touch("pictures/Grain.bmp");
    Touch("pictures/exchange.bmp");
    Feed({"<s-exchange name='Kyrnos'/>"});
    EXPECT_EQ(exch.caption, " Kyrnos Commodity Exchange ");
    EXPECT_EQ(exch.pageShown, 1);
    EXPECT_EQ(exch.hint, "Double click on an entry to buy or sell that commodity");
    EXPECT_EQ(exch.picture, "pictures/exchange.bmp");

    Feed({"<s-exch-sell name='Grain' price='120' stock='30'/>"});
    EXPECT_EQ(exch.picture, "pictures/Grain.bmp");
    EXPECT_EQ(exch.name, "Grain");
    EXPECT_EQ(exch.line1, "30 tons available");
    EXPECT_EQ(exch.line2, "Exch sells at 120/ton");
    Feed({"<s-exch-buy name='Ore' price='-5'/>", "<s-exch-sell name='Ore' price='3' stock='0'/>",
          "<s-exch-buy name='Ore' price='0'/>"});
    EXPECT_EQ(exch.picture, "pictures/exchange.bmp");
    EXPECT_EQ(exch.line1, "Exch buys at -5/ton");
    EXPECT_EQ(exch.line2, "");
    EXPECT_THAT(exch.history, ElementsAre("Exch buys Ore at -5/ton", "Exch sells Grain at 120/ton (30)"));

    for (int i = 0; i < 100; ++i)
        Feed({"<s-exch-buy name='Grain' price='" + std::to_string(i + 1) + "'/>"});
    EXPECT_EQ(exch.history.size(), 100u);
    EXPECT_EQ(exch.history.front(), "Exch buys Grain at 100/ton");
    EXPECT_EQ(exch.history.back(), "Exch buys Grain at 1/ton");
    EXPECT_EQ(panels.GetExchange().History(), std::deque<std::string>(exch.history.begin(), exch.history.end()));

    panels.GetExchange().HistoryListBoxClick("Exch buys Grain at 7/ton");
    EXPECT_EQ(exch.hint, "Exch buys Grain at 7/ton");
    Feed({"<s-exchange name='Vessa'/>"});
    EXPECT_THAT(exch.history, IsEmpty());
    EXPECT_EQ(exch.name + exch.line1 + exch.line2 + exch.ticker, "");
    EXPECT_EQ(exch.hint, "Double click on an entry to buy or sell that commodity");
}

TEST_F(PanelsTest, DoubleClickedHistoryLinesTradeTheirCommodity)
{
    const struct {
        std::string line;
        std::string sent;
    } rows[] = {
        {"Exch sells Grain at 120/ton (30)", "buy Grain\n"},
        {"Exch buys Grain at 95/ton", "sell Grain\n"},
        {"Exch sells Fine Wine at 9/ton (1)", "buy Fine\n"},
        {"Exch sells", ""},
        {"Exch buysGrain", ""},
        {"Exch", ""},
    };
    for (const auto& row : rows) {
        view.sent.clear();
        view.displayed.clear();
        panels.GetExchange().TradeFromHistory(row.line);
        EXPECT_EQ(view.SentBytes(), row.sent) << row.line;
        if (!row.sent.empty()) {
            EXPECT_THAT(view.displayed,
                        ElementsAre(FakeMainView::Shown{">" + row.sent.substr(0, row.sent.size() - 1), false}));
        }
    }
}

TEST_F(PanelsTest, TickerRunLastsAsLongAsItsTextAtTheStart)
{
    Ticker& ticker = panels.GetExchange().GetTicker();
    // "+++ Exchange buys Ore at 5/ton +++" is 34 characters: 108 steps.
    Feed({"<s-exch-buy name='Ore' price='5'/>"});
    EXPECT_EQ(ticker.RunLength(), 108);
    EXPECT_TRUE(exch.timerRunning);
    EXPECT_EQ(exch.ticker, std::string(73, ' ') + "+++ Exchange buys Ore at 5/ton +++");
    for (int tick = 0; tick < 50; ++tick)
        ticker.TickerTimerTimer();
    EXPECT_EQ(exch.ticker, std::string(23, ' ') + "+++ Exchange buys Ore at 5/ton +++");

    // Mid-run: appended and one step further, the run not lengthened.
    Feed({"<s-exchange name='Vessa'/>"});
    EXPECT_EQ(exch.ticker, "");
    Feed({"<s-exch-buy name='Tin' price='7'/>"});
    EXPECT_EQ(ticker.Steps(), 52);
    EXPECT_EQ(exch.ticker, std::string(22, ' ') + "+++ Exchange buys Ore at 5/ton ++++++ Exchange buys Tin at 7/ton +++");
    for (int tick = 0; tick < 55; ++tick)
        ticker.TickerTimerTimer();
    EXPECT_TRUE(exch.timerRunning);
    ticker.TickerTimerTimer();
    EXPECT_FALSE(exch.timerRunning);
    EXPECT_EQ(ticker.Steps(), 0);
    EXPECT_EQ(ticker.Buffer(), std::string(74, ' '));
    // What was left unscrolled stays on show.
    EXPECT_EQ(exch.ticker, "+++ Exchange buys Tin at 7/ton +++");
}

TEST_F(PanelsTest, LightsFollowTheConnectionOnlyWhenChecked)
{
    Twinkles& twinkles = panels.GetTwinkles();
    panels.Connected();
    EXPECT_TRUE(lights.timerRunning);
    for (int tick = 0; tick < 200; ++tick)
        twinkles.TwinkleTimerTimer();
    for (const LightColour& light : lights.lights)
        EXPECT_THAT(Twinkles::kPalette, ::testing::Contains(light));
    panels.Disconnected();
    EXPECT_FALSE(lights.timerRunning);
    EXPECT_THAT(lights.lights, ::testing::Each(FakeLights::kButtonFace));

    // Checked while disconnected: they run; unchecked: connections leave them alone.
    twinkles.LightsItemClick(true);
    EXPECT_TRUE(lights.timerRunning);
    twinkles.LightsItemClick(false);
    EXPECT_FALSE(lights.timerRunning);
    view.options[Option::ConsoleLights] = false;
    lights.lights.fill(FakeLights::kDefault);
    panels.Connected();
    EXPECT_FALSE(lights.timerRunning);
    panels.Disconnected();
    EXPECT_THAT(lights.lights, ::testing::Each(FakeLights::kDefault));
}
