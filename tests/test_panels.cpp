// The status panels fed with server lines through the dispatcher, checked on
// recording pages: statistics rows and bars, the exchange and its ticker,
// and the console lights.
#include <functional>
#include <optional>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "panels/panels.h"
#include "panels/twinkles.h"
#include "dispatch/server_parser.h"
#include "support/fake_mainview.h"
#include "support/fake_panel_views.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using Bar = FakeStatsPage::Bar;
using enum BarColour;

namespace {

struct PanelsRig {
    void Feed(std::initializer_list<std::string> lines)
    {
        std::ranges::for_each(lines, [this](const auto& l) { parser.ParseText(l); });
    }
    FakeMainView view;
    FakeStatsPage score, ship;
    FakeExchangePage exch;
    FakeLights lights;
    Panels panels{view, score, ship, exch, lights};
    DispatchTargets targets{.panels = &panels, .locationArrived = {}};
    ServerParser parser{view, targets};
};

struct PanelsTest : ::testing::Test, PanelsRig {
    ScopedWorkDir workDir;
};

} // namespace

TEST(StatFigures, EachElementShowsItsRowAndTheSelectedRowsBar)
{
    const Bar none{"", 0, Neutral};
    // Ship page?, "stat" and its figures in order, grid row 0 afterwards, the last bar shown (row 0 is selected).
    const std::tuple<bool, std::vector<std::string>, std::string, std::string, std::optional<Bar>> rows[] = {
        {false, {"sta' max='30' cur='20"}, "Stamina", "20/30", Bar{" Stamina ", 66, Yellow}},
        {false, {"sta' max='30' cur='1"}, "Stamina", "1/30", Bar{" Stamina ", 3, Red}},
        {false, {"sta' max='0' cur='5"}, "Stamina", "5/0", Bar{" Stamina ", 0, Neutral}},
        {false, {"sta' max='-30' cur='5"}, "Stamina", "5/-30", Bar{" Stamina ", 0, Red}}, // -16 %: red, drawn empty
        {false, {"sta' max='1' cur='2147483647"}, "Stamina", "2147483647/1", Bar{" Stamina ", 100, Neutral}},
        {false, {"cash' amount='999"}, "Cash", "999ig", none},
        {false, {"cash' amount='1000"}, "Cash", "1Kig", none},
        {false, {"cash' amount='2500000"}, "Cash", "2Mig", none},
        {false, {"cash' amount='-5000"}, "Cash", "-5000ig", none},
        {false, {"cash' amount='  +42abc"}, "Cash", "42ig", none},
        {false, {"cash' amount='9999999999"}, "Cash", "2147Mig", none},
        {false, {"loan' amount='500"}, "Loan", "500ig", none},
        {false, {"loan' amount='500", "loan' amount='0"}, "", "", none},
        {false, {"hc' amount='12"}, "Hauler Cr", "12", none},
        {false, {"hc' amount='1", "hc' amount='-1"}, "", "", none},
        {false, {"ak' amount='-99998"}, "Akaturi Cr", "-99998", none},
        {false, {"ak' amount='1", "ak' amount='-99999"}, "", "", none},
        {false, {"bogus' amount='8"}, "", "", std::nullopt},
        {true, {"navcomp"}, "Nav Comp", "Installed", none},
        {true, {"cargo' max='100' cur='40"}, "Cargo Space", "40/100", Bar{" Cargo Space Left ", 40, Yellow}},
    };
    for (const auto& [onShip, stats, label, value, bar] : rows) {
        PanelsRig rig;
        FakeStatsPage& page = onShip ? rig.ship : rig.score;
        const std::string element = onShip ? "<s-ship-stats " : "<s-player-stats ";
        page.selected = 0;
        rig.Feed({element + (onShip ? "class='Trader'/>" : "name='Nova'/>")});
        for (const std::string& stat : stats)
            rig.Feed({element + "stat='" + stat + "'/>"});
        EXPECT_EQ(page.rows[0], std::make_pair(label, value)) << stats.back();
        EXPECT_EQ(page.bars.empty() ? std::nullopt : std::optional(page.bars.back()), bar) << stats.back();
    }
}

TEST_F(PanelsTest, NamesClassesPicturesAndOneExamineRequestPerRun)
{
    for (const char* file : {"NOVA", "interference", "beta"}) // found whatever their letter case
        ScopedWorkDir::Touch(QString("pictures/%1.bmp").arg(file));
    Feed({"<s-player-stats name='Nova' stat='cash' amount='5'/>", "<s-ship-stats class='Beta' stat='hull' cur='5'/>"});
    EXPECT_EQ(score.heading + score.picture + ship.heading + ship.picture,
        "Novapictures/NOVA.bmp-Beta Class-pictures/beta.bmp");
    EXPECT_EQ(score.Labels() + ship.Labels(), std::string(16, '|')) << "the first element gives only the name";
    Feed({"<s-player-stats rank='Alpha'/>", "<s-player-stats name='Zed'/>", "<s-ship-stats class='Gamma'/>",
        "<s-player-stats stat='score'/>", "<s-ship-stats stat='ship'/>"});
    EXPECT_EQ(score.subheading + score.heading + score.picture + ship.picture,
        "-Alpha-Zedpictures/interference.bmppictures/beta.bmp");
    EXPECT_EQ(std::make_pair(view.scorePageShown, view.shipPageShown), std::make_pair(1, 1));
    // A reconnection empties the pages; the next name takes the update path.
    panels.Connected();
    EXPECT_EQ(score.heading + score.subheading + ship.heading + std::get<0>(score.bars.back()), "");
    Feed({"<s-player-stats name='Nova'/>"});
    EXPECT_EQ(score.heading, "Nova");
    EXPECT_THAT(view.sent, ElementsAre("ex Nova\n"));
}

TEST_F(PanelsTest, RowsFillInArrivalOrderCloseUpSelectTheirBarAndUpdateInPlace)
{
    Feed({"<s-player-stats name='Nova'/>", "<s-player-stats stat='cash' amount='1'/>",
        "<s-player-stats stat='sta' max='30' cur='20'/>", "<s-player-stats stat='loan' amount='500'/>",
        "<s-player-stats stat='ak' amount='3'/>", "<s-player-stats stat='loan' amount='0'/>"});
    EXPECT_EQ(score.Labels(), "Cash|Stamina|Akaturi Cr||||||");
    // Eight rows taken: a ninth figure is stored but not shown.
    for (const std::string stat : {"str", "dex", "int", "merchant", "trader", "hc"})
        Feed({"<s-player-stats stat='" + stat + "' amount='3' max='9' cur='9'/>"});
    EXPECT_EQ(score.Labels(), "Cash|Stamina|Akaturi Cr|Strength|Dexterity|Intelligence|Merchant Cr|Trader Cr|");
    EXPECT_EQ(panels.GetAvatarStats()->Value("hc").current, 3);
    for (const char* label : {"Stamina", "Cash"})
        panels.SelectStat(label);
    EXPECT_THAT(score.bars, ElementsAre(Bar{" Stamina ", 66, Yellow}, Bar{"", 0, Neutral}))
        << "none before: no row selected";

    // Every ship figure has a row, and a full grid updates in place.
    Feed({"<s-ship-stats class='Trader'/>"});
    for (const char* stat : {"customs-cert", "cargo", "navcomp", "hull", "shields", "engines", "fuel", "computer"})
        Feed({std::string("<s-ship-stats stat='") + stat + "' max='9' cur='4'/>"});
    Feed({"<s-ship-stats stat='hull' max='9' cur='5'/>"});
    EXPECT_EQ(ship.Labels(), "Customs|Cargo Space|Nav Comp|Hull|Shields|Engines|Fuel|Computer|");
    EXPECT_EQ(ship.rows[0].second, "Yes");
    EXPECT_EQ(ship.rows[2].second, "Installed");
    EXPECT_EQ(ship.rows[3].second, "5/9") << "the hull's own row, though no row is free";
    EXPECT_EQ(ship.rows[7].second, "4/9");
    panels.SelectShipStat("Computer");
    EXPECT_EQ(ship.bars.back(), (Bar{" Computer ", 44, Yellow}));
}

TEST(Twinkles, EachTickSetsOneLightToAPaletteColourAlikeInEveryRun)
{
    FakeMainView view;
    FakeLights first;
    FakeLights second;
    Twinkles one(view, first);
    Twinkles other(view, second);
    std::set<std::string> lit;
    std::set<std::string> colours;
    for (int tick = 0; tick < 200; ++tick) {
        one.TwinkleTimerTimer();
        other.TwinkleTimerTimer();
        const std::string& call = first.calls.back();
        lit.insert(call.substr(0, call.find(':')));
        colours.insert(call.substr(call.find(':') + 1));
    }
    EXPECT_EQ(first.calls.size(), 200u) << "one light a tick";
    EXPECT_EQ(first.calls, second.calls) << "not seeded from the clock";
    EXPECT_EQ(lit, (std::set<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(colours, (std::set<std::string>{"255,0,0", "0,255,0", "255,255,0", "0,0,255"}));
}

TEST(Twinkles, TheMenuItemAlwaysAndTheConnectionOnlyUnderItStartAndStopThem)
{
    using Lights = std::vector<std::string>;
    // "Console Lights" checked; what happened; the calls on the lights.
    const std::tuple<bool, std::function<void(Twinkles&)>, Lights> rows[] = {
        {true, [](Twinkles& t) { t.Connected(); }, {"start"}},
        {true, [](Twinkles& t) { t.Disconnected(); }, {"stop", "reset"}},
        {false, [](Twinkles& t) { t.Connected(); }, {}},
        {false, [](Twinkles& t) { t.Disconnected(); }, {}},
        {true, [](Twinkles& t) { t.LightsItemClick(true); }, {"start"}}, // also while disconnected
        {false, [](Twinkles& t) { t.LightsItemClick(false); }, {"stop", "reset"}},
    };
    for (const auto& [checked, event, calls] : rows) {
        FakeMainView view;
        view.options[Option::ConsoleLights] = checked;
        FakeLights lights;
        Twinkles twinkles(view, lights);
        event(twinkles);
        EXPECT_EQ(lights.calls, calls) << checked;
    }
}

TEST_F(PanelsTest, QuotesFillTheLabelsHistoryAndPictures)
{
    for (const char* file : {"pictures/Grain.bmp", "pictures/exchange.bmp"})
        ScopedWorkDir::Touch(file);
    Feed({"<s-exchange name='Kyrnos'/>", "<s-exch-sell name='Grain' price='120' stock='30'/>",
        "<s-exch-buy name='Ore' price='-5'/>"});
    const std::string hint = "hint:Double click on an entry to buy or sell that commodity";
    EXPECT_THAT(exch.calls,
        ElementsAre("picture:pictures/exchange.bmp", "page", "caption: Kyrnos Commodity Exchange ", "commodity:||",
            "clear", hint, "picture:pictures/Grain.bmp", "commodity:Grain|30 tons available|Exch sells at 120/ton",
            "insert:Exch sells Grain at 120/ton (30)", "start", "picture:pictures/exchange.bmp",
            "commodity:Ore|Exch buys at -5/ton|", "insert:Exch buys Ore at -5/ton"));
    for (int i = 0; i < 99; ++i)
        Feed({"<s-exch-buy name='Tin' price='" + std::to_string(i + 1) + "'/>"});
    EXPECT_EQ(panels.GetExchange().History().size(), 100u);
    EXPECT_EQ(std::count(exch.calls.begin(), exch.calls.end(), "remove:100"), 1) << "the 101st quote";
    EXPECT_EQ(panels.GetExchange().History().back(), "Exch buys Ore at -5/ton");
    exch.calls.clear();
    panels.GetExchange().HistoryListBoxClick("Exch buys Tin at 7/ton");
    Feed({"<s-exchange name='Vessa'/>"}); // a new exchange empties the history
    EXPECT_EQ(exch.calls.front() + exch.calls.back(), "hint:Exch buys Tin at 7/ton" + hint);
    EXPECT_TRUE(panels.GetExchange().History().empty());
}

TEST_F(PanelsTest, DoubleClickedHistoryLinesTradeTheirCommodity)
{
    const std::pair<std::string, std::string> rows[] = {
        {"Exch sells Grain at 120/ton (30)", "buy Grain"},
        {"Exch buys Grain at 95/ton", "sell Grain"},
        {"Exch sells Fine Wine at 9/ton (1)", "buy Fine"},
        {"Exch sells", ""},
        {"Exch buysGrain", ""},
        {"Exch", ""},
    };
    for (const auto& [line, command] : rows) {
        view.sent.clear();
        view.displayed.clear();
        panels.GetExchange().TradeFromHistory(line);
        const std::string shown = view.displayed.empty() ? "" : view.displayed[0].text;
        EXPECT_EQ(view.SentBytes() + "|" + shown, command.empty() ? "|" : command + "\n|>" + command) << line;
    }
}

TEST(Ticker, ARunLastsAsLongAsItsTextAtTheStart)
{
    FakeExchangePage page;
    Ticker ticker(page);
    const std::string first = "+++ twenty-six characters+", second = "+second+";
    ticker.TickerStep(first); // behind the 74-space lead-in: a run of 100 steps
    for (int tick = 0; tick < 49; ++tick)
        ticker.TickerTimerTimer();
    // Mid-run: appended and one step further, the run not lengthened.
    ticker.TickerStep(second);
    EXPECT_EQ(page.ticker, std::string(23, ' ') + first + second);
    for (int tick = 0; tick < 49; ++tick) // the 100th step ends the run
        ticker.TickerTimerTimer();
    // What was left unscrolled stays on show; the next message starts afresh.
    EXPECT_EQ(page.ticker, second);
    ticker.TickerStep("x");
    EXPECT_EQ(page.ticker, std::string(73, ' ') + "x");
    EXPECT_THAT(page.calls, ElementsAre("start", "stop", "start"));
}
