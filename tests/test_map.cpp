// The map model, its files, its information record and its movement keys,
// driven through the map's own operations with the window faked.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include "map/map_grid.h"
#include "map/mapview.h"
#include "map/world_map.h"
#include "protocol/server_parser.h"
#include "support/fake_mainview.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class FakeMapView : public MapView {
public:
    void ShowMapGrids() override { ++gridShowings; }
    void RepaintGrids() override { ++repaints; }
    void CentreGrids(int32_t key) override { centred.push_back(key); }
    void SetMapMemo(const std::vector<std::string>& lines) override { memo = lines; }
    void ShowCommandWindow() override { ++commandWindows; }

    int gridShowings = 0, repaints = 0, commandWindows = 0;
    std::vector<int32_t> centred;
    std::vector<std::string> memo;
};

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class MapTest : public ::testing::Test {
protected:
    MapTest()
    {
        view.workDir = dir.Path();
        QDir().mkpath("maps");
        QImage(128, 16, QImage::Format_RGB32).save("links.bmp", "BMP");
    }

    // Lines of the server stream through the dispatcher.
    void Feed(std::initializer_list<std::string> lines)
    {
        for (const std::string& line : lines)
            parser.ParseText(line);
    }
    void Enter(const std::string& name, const std::string& extra = " system='Sol' owner='Landlord'")
    {
        Feed({"<s-new-map name='" + name + "'" + extra + "/>"});
    }
    void Visit(const std::string& name, int number, const std::string& exits = "")
    {
        Feed({"<s-new-loc name='" + name + "' loc-num='" + std::to_string(number) + "'" + exits + ">",
              "</s-new-loc>"});
    }
    KyrMap& Map() { return *world.Map(); }

    ScopedWorkDir dir;
    FakeMainView view;
    FakeMapView mapView;
    WorldMap world{view, mapView};
    DispatchTargets targets{nullptr, nullptr, nullptr, nullptr,
                            [this](std::unique_ptr<Location> l) { world.LocationArrived(std::move(l)); },
                            &world};
    ServerParser parser{view, targets};
};

TEST_F(MapTest, TileRulesForEveryKindOfCell)
{
    Enter("Tiles");
    Visit("Upper", 2 * 64 + 2, " s='1'");            // (2,2) -> cell (5,5)
    Visit("Lower", 4 * 64 + 2, " n='1' u='1' d='1'"); // (2,4) -> cell (5,9)
    Visit("West edge", 6 * 64 + 0, " w='1' ne='1'");  // (0,6) -> cell (1,13)
    Visit("Rising", 5 * 64 + 3, " ne='1'");           // (3,5) -> cell (7,11)
    Visit("Falling", 10 * 64 + 10, " se='1'");        // (10,10) -> cell (21,21)
    Visit("Cross", 10 * 64 + 13, " sw='1'");          // (13,10) -> cell (27,21)
    Visit("Back", 11 * 64 + 13, " nw='1'");           // (13,11) -> cell (27,23)
    Visit("Last", 63 * 64 + 63, " e='1' s='1'");      // (63,63) -> cell (127,127), current

    const struct {
        int column, row, tile;
    } cases[] = {
        {127, 127, kTileCurrent},  {5, 5, kTileLocation},    {3, 3, kTileEmpty},
        {5, 6, kTileVertical},     {5, 8, kTileVertical},    {5, 7, kTileEmpty},  // one-way ends
        {5, 4, kTileEmpty},        {0, 13, kTileHorizontal}, {2, 13, kTileEmpty},
        {2, 12, kTileRising},      {0, 12, kTileEmpty},      {8, 10, kTileRising},
        {22, 22, kTileFalling},    {24, 22, kTileEmpty},     {26, 22, kTileCrossing},
        {128, 127, kTileHorizontal}, {127, 128, kTileVertical}, {129, 127, kTileEmpty},
        {-1, 0, kTileEmpty},       {6, 9, kTileEmpty},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Map().TileAt(c.column, c.row), c.tile) << c.column << "," << c.row;
}

TEST(CentreScroll, ClampsAtTheCornersAndIgnoresCellsOffTheSquare)
{
    EXPECT_EQ(CentreScroll(0, 10, 10), (GridScroll{1, 1, 0, 0}));
    EXPECT_EQ(CentreScroll(63 * 64 + 63, 10, 10), (GridScroll{127, 127, 119, 119}));
    EXPECT_EQ(CentreScroll(20 * 64 + 30, 10, 8), (GridScroll{61, 41, 56, 37}));
    EXPECT_EQ(CentreScroll(5, 200, 200), (GridScroll{11, 1, 0, 0}));
    EXPECT_FALSE(CentreScroll(-65, 10, 10));
    EXPECT_FALSE(CentreScroll(4100, 10, 10));
}

TEST_F(MapTest, StoredMapIsWrittenByteForByteAndReadBackOnReentry)
{
    Enter("Sol Belt");
    Visit("Landing Pad", 455, " n='yes' se='1' u=''");
    Visit("Jo&apos;s &lt;Bar&gt; &amp; Grill", 3, " d='0' w='1'");
    Feed({"<s-new-loc name='Nowhere' e='1'>", "</s-new-loc>"});
    EXPECT_THAT(mapView.centred, ElementsAre(455, 3, -65));
    Enter("Elsewhere");

    const QByteArray expected = "<?xml version=\"1.0\"?>\n\n"
                                "<map name='Sol Belt' system='Sol' owner='Landlord'>\n\n"
                                "   <loc name='Nowhere' loc-num='-65' e='0'/>\n"
                                "   <loc name='Jo&apos;s &lt;Bar&gt; &amp; Grill' loc-num='3' w='0' d='0'/>\n"
                                "   <loc name='Landing Pad' loc-num='455' n='0' se='0'/>\n"
                                "\n</map>\n";
    EXPECT_EQ(ReadFile("maps/sol_belt.xml"), expected);

    // Re-entering shows the stored locations at once, with none current.
    Enter("SOL_belt");
    ASSERT_EQ(Map().Locations().size(), 3u);
    EXPECT_EQ(Map().Current(), -1);
    EXPECT_EQ(Map().Locations().at(3)->name, "Jo's <Bar> & Grill");
    EXPECT_EQ(Map().TileAt(2 * 7 + 1, 2 * 7 + 1), kTileLocation);
    // Saving what was read gives the same file, under the new header.
    Enter("Elsewhere");
    EXPECT_EQ(ReadFile("maps/sol_belt.xml"),
              QByteArray(expected).replace("name='Sol Belt'", "name='SOL_belt'"));
    EXPECT_THAT(view.scrollback, IsEmpty());
}

TEST_F(MapTest, MapsOfOneLocationOrWithoutANameAreNotStored)
{
    Enter("Tiny");
    Visit("Only", 10);
    Enter("");
    Visit("A", 1);
    Visit("B", 2);
    Enter("Next");
    EXPECT_THAT(QDir("maps").entryList(QDir::Files), IsEmpty());
}

TEST(MapFileStem, HostileNamesStayInsideTheMapsFolder)
{
    const struct {
        std::string name, stem;
    } cases[] = {
        {"Sol Belt", "sol_belt"},
        {"Kyrnos Wilds", "kyrnos_wilds"},
        {"Jo's Place", "jo's_place"},
        {"\xC9toile", "\xC3\xA9toile"},  // Windows-1252 in, UTF-8 file name out
        {"../../etc/passwd", ".._.._etc_passwd"},
        {"..\\win.ini", ".._win.ini"},
        {std::string("a\0b", 3), "a_b"},
        {"C:*?\"<>|", "c_______"},
        {"", ""},
        {std::string(300, 'x'), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapFileStem(c.name), c.stem) << c.name;
}

TEST_F(MapTest, AHostileNameIsStoredInsideMaps)
{
    Enter("../escape");
    Visit("A", 1);
    Visit("B", 2);
    world.ClearMap();
    EXPECT_TRUE(QFile::exists("maps/.._escape.xml"));
    EXPECT_FALSE(QFile::exists("escape.xml"));
}

TEST_F(MapTest, FileProblemsAreReportedAndNothingIsLost)
{
    // A file that is no map file is kept aside, never overwritten blindly.
    QFile junk("maps/rubble.xml");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("\x00\x01\xFFnot a map\n", 13));
    junk.close();
    Enter("Rubble");
    const std::string path = dir.Path() + "/maps/rubble.xml";
    EXPECT_THAT(view.scrollback, ElementsAre("Can't read map file:", path));
    Visit("A", 1);
    Visit("B", 2);
    Enter("Next");
    EXPECT_EQ(ReadFile("maps/rubble.xml.bad"), QByteArray("\x00\x01\xFFnot a map\n", 13));
    EXPECT_TRUE(ReadFile("maps/rubble.xml").contains("loc-num='2'"));

    // A file that cannot be written: two Scrollback lines, the old file intact.
    view.scrollback.clear();
    ASSERT_TRUE(QDir("maps").removeRecursively());
    ScopedWorkDir::Touch("maps");
    Visit("C", 3);
    Visit("D", 4);
    world.ClearMap();
    EXPECT_THAT(view.scrollback, ElementsAre("Can't open file for writing:", dir.Path() + "/maps/next.xml"));
}

TEST_F(MapTest, InfrastructureTextFollowsTheServer)
{
    Enter("Kyrnos", " system='Kyrn' owner='Hale'");
    Feed({"<s-map-info economy='Farming' workers='1400'/>", "<s-add-factory output='Ore'/>",
          "<s-add-factory output='Ore'/>", "<s-add-factory output='Ore'/>",
          "<s-add-factory output='grain'/>", "<s-add-factory output='Bread'/>",
          "<s-remove-factory output='Ore'/>", "<s-remove-factory output='Bread'/>",
          "<s-remove-factory output='Gold'/>", "<s-add-factory/>", "<s-update-workers workers='-3'/>"});
    EXPECT_THAT(mapView.memo, IsEmpty());
    Feed({"<s-update-infra/>"});
    EXPECT_THAT(mapView.memo, ElementsAre("Kyrn system", "Kyrnos map", "Owner: Hale", "Workers: -3",
                                          "Factories:", "  1 x ", "  2 x Ore", "  1 x grain"));

    Enter("Wilds", "");
    Feed({"<s-add-factory output='Ore'/>", "<s-remove-factory output='Ore'/>", "<s-update-infra/>"});
    EXPECT_THAT(mapView.memo, ElementsAre(" system", "Wilds map", "Owner: ", "Workers: 0"));
}

TEST_F(MapTest, MovementKeysShowAndSendTheirCommand)
{
    world.MoveByKey(38);
    EXPECT_THAT(view.sent, IsEmpty());  // no map yet
    Enter("Sol");
    const struct {
        int code;
        const char* command;
    } moves[] = {{33, "ne"}, {105, "ne"}, {34, "se"}, {99, "se"}, {35, "sw"}, {97, "sw"},
                 {36, "nw"}, {103, "nw"}, {37, "w"},  {100, "w"}, {38, "n"},  {104, "n"},
                 {39, "e"},  {102, "e"},  {40, "s"},  {98, "s"},  {45, "d"},  {96, "d"},
                 {46, "u"},  {110, "u"},  {101, "board"}, {107, "board"}};
    for (const auto& m : moves) {
        view.displayed.clear();
        view.sent.clear();
        world.MoveByKey(m.code);
        EXPECT_THAT(view.displayed, ElementsAre(FakeMainView::Shown{m.command, false})) << m.code;
        EXPECT_THAT(view.sent, ElementsAre(std::string(m.command) + "\n")) << m.code;
    }
    view.sent.clear();
    for (int other : {0, 12, 41, 106, 108, 65})
        world.MoveByKey(other);
    EXPECT_THAT(view.sent, IsEmpty());
    EXPECT_EQ(mapView.commandWindows, 1);

    EXPECT_EQ(MapKeyCode(Qt::Key_9, Qt::KeypadModifier), 105);
    EXPECT_EQ(MapKeyCode(Qt::Key_Asterisk, Qt::KeypadModifier), 106);
    EXPECT_EQ(MapKeyCode(Qt::Key_Period, Qt::KeypadModifier), 110);
    EXPECT_EQ(MapKeyCode(Qt::Key_Up, Qt::KeypadModifier), 38);
    EXPECT_EQ(MapKeyCode(Qt::Key_PageUp, Qt::NoModifier), 33);
    EXPECT_EQ(MapKeyCode(Qt::Key_9, Qt::NoModifier), 0);
}

TEST_F(MapTest, MissingTilesLeaveNoMapUntilTheNextNewMap)
{
    ASSERT_TRUE(QFile::remove("links.bmp"));
    Enter("Sol");
    Visit("Pad", 5);
    EXPECT_EQ(world.Map(), nullptr);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first, MessageKind::Error);
    EXPECT_EQ(mapView.gridShowings, 0);

    QImage(128, 16, QImage::Format_RGB32).save("links.bmp", "BMP");
    Enter("Sol");
    ASSERT_NE(world.Map(), nullptr);
    EXPECT_EQ(mapView.gridShowings, 1);
    EXPECT_EQ(Map().Info().name, "Sol");
}

} // namespace
