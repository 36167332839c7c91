// The map model fed with server lines: its tiles, its files, its information
// record and its movement keys; and the tile grid that paints it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "map/map_grid.h"
#include "support/common.h"
#include "support/map_rig.h"

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

namespace {

struct MapTest : ::testing::Test, MapRig { };

} // namespace

TEST_F(MapTest, TileRulesForEveryKindOfCell)
{
    Enter("Tiles");
    // Locations at cells (1,1), (5,5), (5,9), (1,13), (7,11), (21,21), (27,21), (27,23) and (127,127), the current one.
    Visit("Upper", 2 * 64 + 2, " s='1'");
    Visit("Lower", 4 * 64 + 2, " n='1' u='1' d='1'");
    Visit("West edge", 6 * 64 + 0, " w='1' ne='1'");
    Visit("Rising", 5 * 64 + 3, " ne='1'");
    Visit("Falling", 10 * 64 + 10, " se='1'");
    Visit("Cross", 10 * 64 + 13, " sw='1'");
    Visit("Origin", 0);
    Visit("Back", 11 * 64 + 13, " nw='1'");
    Visit("Last", 63 * 64 + 63, " e='1' s='1'");
    const std::tuple<int, int, int> cases[] = {
        // column, row, tile; one-way exits draw too
        {127, 127, kTileCurrent},
        {5, 5, kTileLocation},
        {1, 1, kTileLocation},
        {5, 6, kTileVertical},
        {5, 8, kTileVertical},
        {5, 7, kTileEmpty},
        {5, 4, kTileEmpty},
        {0, 13, kTileHorizontal},
        {2, 13, kTileEmpty},
        {2, 12, kTileRising},
        {0, 12, kTileEmpty},
        {8, 10, kTileRising},
        {22, 22, kTileFalling},
        {24, 22, kTileEmpty},
        {26, 22, kTileCrossing},
        {128, 127, kTileHorizontal},
        {127, 128, kTileVertical},
        {129, 127, kTileEmpty},
        {-1, 0, kTileEmpty},
        {6, 9, kTileEmpty},
    };
    for (const auto& [column, row, tile] : cases)
        EXPECT_EQ(Map().TileAt(column, row), tile) << column << "," << row;
    EXPECT_EQ(Map().LocationAt(128, 11), nullptr) << "the last column is a link column, not West edge's cell";
    EXPECT_EQ(Map().LocationAt(127, 128), nullptr) << "the last row likewise";
}

TEST_F(MapTest, StoredMapIsWrittenByteForByteReadBackOnReentryAndAnUnreadableOneKeptAside)
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

    // A file that is no map file is reported and kept aside, never overwritten blindly.
    const QByteArray junk("\x00\x01\xFFnot a map\n", 13);
    WriteFile("maps/rubble.xml", junk);
    Enter("Rubble");
    EXPECT_THAT(view.scrollback, ElementsAre("Can't read map file:", dir.Path() + "/maps/rubble.xml"));
    Visit("A", 1);
    Visit("B", 2);
    Enter("Next");
    EXPECT_EQ(ReadFile("maps/rubble.xml.bad"), junk);
    EXPECT_TRUE(ReadFile("maps/rubble.xml").contains("loc-num='2'"));
}

TEST_F(MapTest, OnlyNamedMapsOfTwoLocationsAreStoredAndAlwaysInsideMaps)
{
    const std::tuple<std::string, int, QStringList> rows[] = {
        {"Tiny", 1, {}},
        {"", 2, {}},
        {"../escape", 2, {".._escape.xml"}},
    };
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
    const std::pair<std::string, std::string> cases[] = {
        {"Sol Belt", "sol_belt"},
        {"Jo's Place", "jo's_place"},
        {"\xC9toile", "\xC3\xA9toile"}, // UTF-8 file names
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"..\\win.ini", ".._win.ini"},
        {std::string("a\0b", 3), "a_b"},
        {"C:*?\"<>|", "c_______"},
        {"", ""},
        {std::string(300, 'x'), ""},
    };
    for (const auto& [name, stem] : cases)
        EXPECT_EQ(MapFileStem(name), stem) << name;
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
    Enter("Wilds", ""); // a new map starts afresh
    Feed({"<s-update-infra/>"});
    EXPECT_EQ(mapView.memo, (Strings{" system", "Wilds map", "Owner: ", "Workers: 0"}));
}

TEST_F(MapTest, MovementKeysShowAndSendTheirCommandOnceThereIsAMap)
{
    // Without the tile strip there is no map, and keys do nothing.
    ASSERT_TRUE(QFile::remove("links.bmp"));
    Enter("Sol");
    world.MoveByKey(MapKeyCode(Qt::Key_Up, Qt::NoModifier));
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.sent.empty());
    EXPECT_EQ(mapView.gridShowings, 0);
    ASSERT_TRUE(WriteMapTiles("links.bmp"));
    Enter("Sol");
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    // The command; a key and its modifiers, then the keypad's key that sends it too.
    const std::tuple<std::string, int, Qt::KeyboardModifiers, int> keys[] = {
        {"ne", Qt::Key_PageUp, none, Qt::Key_9},
        {"se", Qt::Key_PageDown, none, Qt::Key_3},
        {"sw", Qt::Key_End, none, Qt::Key_1},
        {"nw", Qt::Key_Home, none, Qt::Key_7},
        {"w", Qt::Key_Left, Qt::KeypadModifier, Qt::Key_4},
        {"n", Qt::Key_Up, none, Qt::Key_8},
        {"e", Qt::Key_Right, none, Qt::Key_6},
        {"s", Qt::Key_Down, none, Qt::Key_2},
        {"d", Qt::Key_Insert, none, Qt::Key_0},
        {"u", Qt::Key_Delete, none, Qt::Key_Period},
        {"board", Qt::Key_5, Qt::KeypadModifier, Qt::Key_Plus},
        {"", Qt::Key_9, none, Qt::Key_Minus}, // digits off the keypad do nothing
        {"", Qt::Key_A, none, Qt::Key_Asterisk}, // the keypad's multiply opens the command window
        {"", Qt::Key_Plus, none, Qt::Key_Minus},
    };
    for (const auto& [command, key, modifiers, padKey] : keys) {
        for (const auto& [k, m] : {std::pair{key, modifiers}, {padKey, Qt::KeypadModifier}}) {
            view.displayed.clear();
            view.sent.clear();
            world.MoveByKey(MapKeyCode(k, m));
            EXPECT_EQ(view.DisplayedTexts(), command.empty() ? Strings{} : Strings{command}) << k;
            EXPECT_EQ(view.SentBytes(), command.empty() ? "" : command + "\n") << k;
        }
    }
    EXPECT_EQ(mapView.commandWindows, 1) << "keypad multiply";
}

TEST_F(MapTest, TheGridCentresAndPaintsItsCellsAndTheMapIsStoredWhenItGoes)
{
    TileGrid grid("DetailGrid", "Detail map");
    grid.SetSource(&world);
    grid.resize(160, 160);
    grid.show();
    Enter("Sol");
    Visit("Pad", 63 * 64 + 63, " w='1'");
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
        world.ShowLocationName(column, 127);
        names += view.status[3] + "|";
    }
    EXPECT_EQ(names, "Pad|||");
    Visit("Dock", 0);
    world.DestroyMap(); // stored as the window goes
    EXPECT_TRUE(ReadFile("maps/sol.xml").contains("<loc name='Dock' loc-num='0'/>"));
}
