// The map model fed with server lines: its tiles, its files, its information
// record and its movement keys; and the tile grid that paints it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPainter>

#include "map/map_grid.h"
#include "map/mapview.h"
#include "map/world_map.h"
#include "dispatch/server_parser.h"
#include "support/common.h"
#include "support/fake_mainview.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

namespace {

struct FakeMapView : MapView {
    void ShowMapGrids() override { ++gridShowings; }
    void RepaintGrids() override { }
    void CentreGrids(int32_t key) override { centred.push_back(key); }
    void SetMapMemo(const Strings& lines) override { memo = lines; }
    void ShowCommandWindow() override { ++commandWindows; }
    int gridShowings = 0, commandWindows = 0;
    std::vector<int32_t> centred;
    Strings memo;
};

QColor TileColour(int tile)
{
    return QColor(30 * tile, 255 - 30 * tile, 0);
} // each tile of the strip is one colour

class MapTest : public ::testing::Test {
protected:
    MapTest() { view.workDir = dir.Path(), QDir().mkpath("maps"), WriteLinks(); }
    static void WriteLinks()
    {
        QImage links(128, 16, QImage::Format_RGB32);
        for (int tile = 0; tile < 8; ++tile)
            QPainter(&links).fillRect(16 * tile, 0, 16, 16, TileColour(tile));
        links.save("links.bmp", "BMP");
    }
    void Feed(std::initializer_list<std::string> lines)
    {
        std::ranges::for_each(lines, [this](const auto& l) { parser.ParseText(l); });
    }
    void Enter(const std::string& name, const std::string& extra = " system='Sol' owner='Landlord'")
    {
        Feed({"<s-new-map name='" + name + "'" + extra + "/>"});
    }
    void Visit(const std::string& name, int number, const std::string& exits = "")
    {
        Feed({"<s-new-loc name='" + name + "' loc-num='" + std::to_string(number) + "'" + exits + ">", "</s-new-loc>"});
    }
    KyrMap& Map() { return *world.Map(); }

    ScopedWorkDir dir;
    FakeMainView view;
    FakeMapView mapView;
    WorldMap world{view, mapView};
    DispatchTargets targets{nullptr, nullptr, nullptr, nullptr,
        [this](std::unique_ptr<Location> l) { world.LocationArrived(std::move(l)); }, &world};
    ServerParser parser{view, targets};
};

} // namespace

TEST_F(MapTest, TileRulesForEveryKindOfCell)
{
    Enter("Tiles");
    // Locations at cells (1,1), (5,5), (5,9), (1,13), (7,11), (21,21), (27,21), (27,23) and (127,127), the current one.
    Visit("Upper", 2 * 64 + 2, " s='1'"), Visit("Lower", 4 * 64 + 2, " n='1' u='1' d='1'");
    Visit("West edge", 6 * 64 + 0, " w='1' ne='1'"), Visit("Rising", 5 * 64 + 3, " ne='1'");
    Visit("Falling", 10 * 64 + 10, " se='1'"), Visit("Cross", 10 * 64 + 13, " sw='1'");
    Visit("Origin", 0), Visit("Back", 11 * 64 + 13, " nw='1'"), Visit("Last", 63 * 64 + 63, " e='1' s='1'");
    const std::tuple<int, int, int> cases[] = {// column, row, tile; one-way exits draw too
        {127, 127, kTileCurrent}, {5, 5, kTileLocation}, {1, 1, kTileLocation}, {5, 6, kTileVertical},
        {5, 8, kTileVertical}, {5, 7, kTileEmpty}, {5, 4, kTileEmpty}, {0, 13, kTileHorizontal}, {2, 13, kTileEmpty},
        {2, 12, kTileRising}, {0, 12, kTileEmpty}, {8, 10, kTileRising}, {22, 22, kTileFalling}, {24, 22, kTileEmpty},
        {26, 22, kTileCrossing}, {128, 127, kTileHorizontal}, {127, 128, kTileVertical}, {129, 127, kTileEmpty},
        {-1, 0, kTileEmpty}, {6, 9, kTileEmpty}};
    for (const auto& [column, row, tile] : cases)
        EXPECT_EQ(Map().TileAt(column, row), tile) << column << "," << row;
    EXPECT_EQ(Map().LocationAt(128, 11), nullptr) << "the last column is a link column, not West edge's cell";
    EXPECT_EQ(Map().LocationAt(127, 128), nullptr) << "the last row likewise";
}

TEST_F(MapTest, StoredMapIsWrittenByteForByteAndReadBackOnReentry)
{
    Enter("Sol Belt");
    Visit("Landing Pad", 455, " n='yes' se='1' u=''");
    Visit("Jo&apos;s &lt;Bar&gt; &amp; Grill", 3, " d='0' w='1'");
    Feed({"<s-new-loc name='Nowhere' e='1'>", "</s-new-loc>"});
    EXPECT_THAT(mapView.centred, ElementsAre(455, 3, -65));
    Enter("Elsewhere");
    const QByteArray expected = "<?xml version=\"1.0\"?>\n\n<map name='Sol Belt' system='Sol' owner='Landlord'>\n\n"
                                "   <loc name='Nowhere' loc-num='-65' e='0'/>\n"
                                "   <loc name='Jo&apos;s &lt;Bar&gt; &amp; Grill' loc-num='3' w='0' d='0'/>\n"
                                "   <loc name='Landing Pad' loc-num='455' n='0' se='0'/>\n\n</map>\n";
    EXPECT_EQ(ReadFile("maps/sol_belt.xml"), expected);
    // Re-entering shows the stored locations at once, with none current.
    Enter("SOL_belt");
    EXPECT_EQ(std::pair(Map().Locations().size(), Map().Current()), std::pair(std::size_t{3}, -1));
    EXPECT_EQ(Map().Locations().at(3)->name, "Jo's <Bar> & Grill");
    EXPECT_EQ(Map().TileAt(15, 15), kTileLocation);
    // Saving what was read gives the same file, under the new header.
    Enter("Elsewhere");
    EXPECT_EQ(ReadFile("maps/sol_belt.xml"), QByteArray(expected).replace("'Sol Belt'", "'SOL_belt'"));
    EXPECT_TRUE(view.scrollback.empty());
}

TEST_F(MapTest, OnlyNamedMapsOfTwoLocationsAreStoredAndAlwaysInsideMaps)
{
    const std::tuple<std::string, int, QStringList> rows[]
        = {{"Tiny", 1, {}}, {"", 2, {}}, {"../escape", 2, {".._escape.xml"}}};
    for (const auto& [name, locations, files] : rows) {
        Enter(name);
        for (int n = 1; n <= locations; ++n)
            Visit("Place", n);
        world.ClearMap();
        EXPECT_EQ(QDir("maps").entryList(QDir::Files | QDir::Hidden), files) << name;
        EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{"links.bmp"}) << name;
    }
}

TEST(MapFileStem, HostileNamesStayInsideTheMapsFolder)
{
    const std::pair<std::string, std::string> cases[]
        = {{"Sol Belt", "sol_belt"}, {"Jo's Place", "jo's_place"}, {"\xC9toile", "\xC3\xA9toile"}, // UTF-8 file names
            {"../../etc/passwd", ".._.._etc_passwd"}, {"..\\win.ini", ".._win.ini"}, {std::string("a\0b", 3), "a_b"},
            {"C:*?\"<>|", "c_______"}, {"", ""}, {std::string(300, 'x'), ""}};
    for (const auto& [name, stem] : cases)
        EXPECT_EQ(MapFileStem(name), stem) << name;
}

TEST_F(MapTest, AnUnreadableFileIsReportedAndKeptAside)
{
    // A file that is no map file is kept aside, never overwritten blindly.
    const QByteArray junk("\x00\x01\xFFnot a map\n", 13);
    WriteFile("maps/rubble.xml", junk);
    Enter("Rubble");
    EXPECT_THAT(view.scrollback, ElementsAre("Can't read map file:", dir.Path() + "/maps/rubble.xml"));
    Visit("A", 1), Visit("B", 2), Enter("Next");
    EXPECT_EQ(ReadFile("maps/rubble.xml.bad"), junk);
    EXPECT_TRUE(ReadFile("maps/rubble.xml").contains("loc-num='2'"));
}

TEST_F(MapTest, InfrastructureTextFollowsTheServer)
{
    Enter("Kyrnos", " system='Kyrn' owner='Hale'");
    Feed({"<s-map-info economy='Farming' workers='1400'/>", "<s-add-factory output='Ore'/>",
        "<s-add-factory output='Ore'/>", "<s-add-factory output='Ore'/>", "<s-add-factory output='grain'/>",
        "<s-add-factory output='Bread'/>", "<s-remove-factory output='Ore'/>", "<s-remove-factory output='Bread'/>",
        "<s-remove-factory output='Gold'/>", "<s-add-factory/>", "<s-update-workers workers='-3'/>"});
    EXPECT_TRUE(mapView.memo.empty());
    Feed({"<s-update-infra/>"});
    EXPECT_EQ(mapView.memo,
        (Strings{"Kyrn system", "Kyrnos map", "Owner: Hale", "Workers: -3", "Factories:", "  1 x ", "  2 x Ore",
            "  1 x grain"}));
    Enter("Wilds", ""), Feed({"<s-update-infra/>"}); // a new map starts afresh
    EXPECT_EQ(mapView.memo, (Strings{" system", "Wilds map", "Owner: ", "Workers: 0"}));
}

TEST_F(MapTest, MovementKeysShowAndSendTheirCommandOnceThereIsAMap)
{
    // Without the tile strip there is no map, and keys do nothing.
    ASSERT_TRUE(QFile::remove("links.bmp"));
    Enter("Sol");
    world.MoveByKey(MapKeyCode(Qt::Key_Up, Qt::NoModifier));
    EXPECT_EQ(view.messages.size() + view.sent.size() + mapView.gridShowings, 1u) << "one error message, nothing sent";
    WriteLinks(), Enter("Sol");
    const Qt::KeyboardModifiers pad = Qt::KeypadModifier, none = Qt::NoModifier;
    const std::tuple<int, Qt::KeyboardModifiers, std::string> keys[]
        = {{Qt::Key_PageUp, none, "ne"}, {Qt::Key_9, pad, "ne"}, {Qt::Key_PageDown, none, "se"}, {Qt::Key_3, pad, "se"},
            {Qt::Key_End, none, "sw"}, {Qt::Key_1, pad, "sw"}, {Qt::Key_Home, none, "nw"}, {Qt::Key_7, pad, "nw"},
            {Qt::Key_Left, pad, "w"}, {Qt::Key_4, pad, "w"}, {Qt::Key_Up, none, "n"}, {Qt::Key_8, pad, "n"},
            {Qt::Key_Right, none, "e"}, {Qt::Key_6, pad, "e"}, {Qt::Key_Down, none, "s"}, {Qt::Key_2, pad, "s"},
            {Qt::Key_Insert, none, "d"}, {Qt::Key_0, pad, "d"}, {Qt::Key_Delete, none, "u"}, {Qt::Key_Period, pad, "u"},
            {Qt::Key_5, pad, "board"}, {Qt::Key_Plus, pad, "board"}, {Qt::Key_9, none, ""}, {Qt::Key_A, none, ""},
            {Qt::Key_Plus, none, ""}, {Qt::Key_Minus, pad, ""}, {Qt::Key_Asterisk, pad, ""}};
    for (const auto& [key, modifiers, command] : keys) {
        view.displayed.clear(), view.sent.clear();
        world.MoveByKey(MapKeyCode(key, modifiers));
        EXPECT_EQ(view.DisplayedTexts(), command.empty() ? Strings{} : Strings{command}) << key;
        EXPECT_EQ(view.SentBytes(), command.empty() ? "" : command + "\n") << key;
    }
    EXPECT_EQ(mapView.commandWindows, 1) << "keypad multiply";
}

TEST_F(MapTest, TheGridCentresAndPaintsItsCellsAndTheMapIsStoredWhenItGoes)
{
    TileGrid grid("DetailGrid", "Detail map");
    grid.SetSource(&world), grid.resize(160, 160), grid.show();
    Enter("Sol"), Visit("Pad", 63 * 64 + 63, " w='1'");
    grid.CentreOn(Map().Current());
    grid.CentreOn(-65); // no cell: left as it was
    // The far corner is selected and scrolled as far as the grid goes.
    EXPECT_EQ(QRect(grid.SelectedColumn(), grid.SelectedRow(), grid.LeftColumn() + grid.VisibleColumns(),
                  grid.TopRow() + grid.VisibleRows()),
        QRect(127, 127, 129, 129));
    const QImage shot = grid.viewport()->grab().toImage();
    std::string names; // the status bar under the mouse: a name over a location cell only
    for (const auto& [column, tile] : {std::pair{127, kTileCurrent}, {126, kTileHorizontal}, {125, kTileEmpty}}) {
        EXPECT_EQ(
            shot.pixelColor((column - grid.LeftColumn()) * 16 + 8, (127 - grid.TopRow()) * 16 + 8), TileColour(tile))
            << column;
        world.ShowLocationName(column, 127), names += view.status[3] + "|";
    }
    EXPECT_EQ(names, "Pad|||");
    Visit("Dock", 0), world.DestroyMap(); // stored as the window goes
    EXPECT_TRUE(ReadFile("maps/sol.xml").contains("<loc name='Dock' loc-num='0'/>"));
}
