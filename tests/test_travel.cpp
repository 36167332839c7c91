// Travel by the map: the shortest known way, one move per arrival, and
// every reason it stops, fed with server lines as the map sees them.
#include <functional>

#include <QTest>

#include <gtest/gtest.h>

#include "input/command_history.h"
#include "map/path_finder.h"
#include "session/coms.h"
#include "support/map_rig.h"
#include "support/window_fixture.h"

namespace {

// Row 1 of the map, from x 0:  Wrap - Start - Mid - Corner; below them Dip
// and Goal; far off, Island and Edge. Start to Dip and Dip to Goal are one-way.
const char* const kMapLines[] = {
    "<s-new-map name='Travel' system='Sol' owner='Hale'/>",
    "<s-new-loc name='Edge' loc-num='63' e='1'></s-new-loc>",
    "<s-new-loc name='Wrap' loc-num='64' e='1'></s-new-loc>",
    "<s-new-loc name='Mid' loc-num='66' e='1' w='1'></s-new-loc>",
    "<s-new-loc name='Corner' loc-num='67' s='1' w='1'></s-new-loc>",
    "<s-new-loc name='Dip' loc-num='130' e='1'></s-new-loc>",
    "<s-new-loc name='Goal' loc-num='131' n='1'></s-new-loc>",
    "<s-new-loc name='Island' loc-num='650' w='1'></s-new-loc>",
    "<s-new-loc name='Start' loc-num='65' w='1' e='1' se='1'></s-new-loc>",
};

// The grid cell a location is drawn in.
std::pair<int, int> Cell(int key)
{
    return {2 * (key % 64) + 1, 2 * (key / 64) + 1};
}

struct TravelMap : MapRig {
    TravelMap()
    {
        for (const char* line : kMapLines)
            Feed({line});
        view.sent.clear();
        view.displayed.clear();
    }
    void TravelTo(int key)
    {
        const auto [column, row] = Cell(key);
        world.TravelTo(column, row);
    }
};

TEST(FindPath, ShortestOverKnownExitsAndNeverOffTheMap)
{
    TravelMap t;
    struct Row {
        int from, to;
        std::vector<PathStep> steps;
    };
    const Row rows[] = {
        {65, 131, {{3, 130}, {2, 131}}}, // se then e: the shorter of two ways
        {131, 65, {{0, 67}, {6, 66}, {6, 65}}}, // back the long way: the one-way exits do not lead back
        {130, 65, {{2, 131}, {0, 67}, {6, 66}, {6, 65}}},
        {64, 65, {{2, 65}}},
        {65, 64, {{6, 64}}},
        {63, 64, {}}, // east of the last column is no place on the next row
        {65, 650, {}}, // nothing known leads there
        {650, 65, {}},
        {65, 65, {}},
        {65, 200, {}}, // no location known there
        {-65, 65, {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FindPath(*t.world.Map(), row.from, row.to), row.steps) << row.from << " to " << row.to;
}

TEST(Travel, OneMovePerArrivalShownAndSentAsTheButtonsDo)
{
    TravelMap t;
    t.TravelTo(131);
    EXPECT_EQ(t.view.DisplayedTexts(), std::vector<std::string>{"se"});
    EXPECT_EQ(t.view.SentBytes(), "se\n");
    EXPECT_EQ(t.view.status[3], "Travelling to Goal: 2 steps to go");
    t.world.TextSent("<c-no-op/>\n"); // the client's own reply is no command of the player's
    t.Visit("Dip", 130);
    EXPECT_EQ(t.view.SentBytes(), "se\ne\n");
    EXPECT_EQ(t.view.status[3], "Travelling to Goal: 1 step to go");
    t.Visit("Goal", 131);
    EXPECT_EQ(t.view.status[3], "Arrived at Goal");
    t.Visit("Corner", 67);
    EXPECT_EQ(t.view.SentBytes(), "se\ne\n") << "nothing after the end";
}

TEST(Travel, StopsForEveryReasonAndSaysWhy)
{
    struct Row {
        const char* why;
        std::function<void(TravelMap&)> event;
        std::string status;
    };
    const std::string stopped = "Travel to Goal stopped: ";
    const Row rows[] = {
        {"off the path", [](TravelMap& t) { t.Visit("Mid", 66); }, stopped + "you arrived at Mid, off the path"},
        {"a command", [](TravelMap& t) { t.world.TextSent("look\n"); }, stopped + "you sent a command"},
        {"Escape", [](TravelMap& t) { t.world.StopTravel(Travel::StopReason::Escape); },
            stopped + "you pressed Escape"},
        {"a new map", [](TravelMap& t) { t.Enter("Other"); }, stopped + "the map changed"},
        {"a new connection", [](TravelMap& t) { t.world.ClearMap(); }, stopped + "the map changed"},
        {"disconnected", [](TravelMap& t) { t.world.StopTravel(Travel::StopReason::Disconnected); },
            stopped + "the connection closed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        TravelMap t;
        t.TravelTo(131);
        row.event(t);
        EXPECT_EQ(t.view.status[3], row.status);
        t.Visit("Dip", 130);
        EXPECT_EQ(t.view.SentBytes(), "se\n") << "no move after the stop";
    }
}

TEST(Travel, NoPathSendsNothing)
{
    struct Row {
        int column, row;
        std::string status;
    };
    const Row rows[] = {
        {Cell(650).first, Cell(650).second, "No known path to Island"},
        {Cell(65).first, Cell(65).second, "You are already at Start"},
        {Cell(65).first + 1, Cell(65).second, ""}, // a link, no location
        {Cell(200).first, Cell(200).second, ""}, // no location known
    };
    for (const Row& row : rows) {
        TravelMap t;
        t.world.TravelTo(row.column, row.row);
        EXPECT_EQ(t.view.status[3], row.status) << row.column << "," << row.row;
        EXPECT_TRUE(t.view.sent.empty()) << row.column << "," << row.row;
    }
}

class TravelWindow : public WindowFixture { };

// The real window: a double-click on the map travels, each next move waits for
// the whole text of the place the last one led to, none goes into the command
// history, and Escape in the input line stops.
TEST_F(TravelWindow, DoubleClickTravelsAndEscapeStops)
{
    TMainForm& w = Window();
    w.show();
    w.GetComs().SetMode(Coms::Streaming);
    std::string chunk;
    for (const char* line : kMapLines)
        chunk += std::string(line) + "\n";
    w.ReceiveChunk(chunk);
    w.MainNotebook->setCurrentIndex(1);
    const auto [column, row] = Cell(131);
    const QPoint goal(16 * (column - w.MapGrid->LeftColumn()) + 8, 16 * (row - w.MapGrid->TopRow()) + 8);
    QTest::mouseDClick(w.MapGrid->viewport(), Qt::LeftButton, Qt::NoModifier, goal);
    EXPECT_EQ(w.StatusPanels[3]->text(), "Travelling to Goal: 2 steps to go");
    w.ReceiveChunk(
        "<s-new-loc name='Dip' loc-num='130' e='1'>\n</s-new-loc>\n<s-default>Obvious exits: east.</s-default>\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.MapRepeater->Lines().contains("e"); }, 5000));
    const QStringList lines = w.MapRepeater->Lines();
    EXPECT_EQ(lines.mid(lines.indexOf("se")).filter(QRegularExpression("^(se|e|Obvious.*)$")),
        QStringList({"se", "Obvious exits: east.", "e"}));
    EXPECT_TRUE(w.GetHistory().Commands().empty());
    QTest::keyClick(w.InputEdit, Qt::Key_Escape);
    EXPECT_EQ(w.StatusPanels[3]->text(), "Travel to Goal stopped: you pressed Escape");
}

} // namespace
