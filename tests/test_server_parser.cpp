// The dispatcher driven with whole server lines, as the connection hands
// them over in streaming mode, checked on the panes, lists and bytes sent.
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include <QFile>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "protocol/server_parser.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tb_code.h"
#include "support/fake_mainview.h"
#include "support/fake_tightbeam_view.h"
#include "support/scoped_workdir.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    DispatcherTest()
    {
        targets.players = &players;
        targets.friends = &friends;
        targets.tightBeam = &tightBeam;
        targets.locationArrived = [this](std::unique_ptr<Location> loc) {
            arrived.push_back(*loc);
        };
    }

    // Every line feed of the stream also yields a line of one blank.
    void Feed(std::initializer_list<std::string> lines)
    {
        for (const std::string& line : lines) {
            parser.ParseText(line);
            parser.ParseText(" ");
        }
    }

    FakeMainView view;
    Players players{view};
    Friends friends{view};
    FakeTightBeamView page;
    TightBeam tightBeam{view, page};
    DispatchTargets targets;
    ServerParser parser{view, targets};
    std::vector<Location> arrived;
};

// Runs a test inside a fresh working directory with pictures and sounds.
class DataDirTest : public DispatcherTest {
protected:
    void SetUp() override { view.workDir = workDir.Path(); }
    static void Touch(const QString& path) { ScopedWorkDir::Touch(path); }

    ScopedWorkDir workDir;
};

} // namespace

TEST(ElementTable, FindsEachServerElementByExactName)
{
    const std::vector<std::string> names{
        "s-default",      "s-add-player",   "s-remove-player",   "s-new-loc",
        "s-contents",     "s-new-map",      "s-remove-contents", "s-map-info",
        "s-add-factory",  "s-update-infra", "s-update-workers",  "s-remove-factory",
        "s-player-stats", "s-ship-stats",   "s-tb",              "s-no-op",
        "s-spynet-start", "s-spynet",       "s-examine-start",   "s-examine",
        "s-sound",        "s-exch-buy",     "s-exch-sell",       "s-exchange"};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(ServerParser::LookupElement(names[i]), static_cast<int>(i)) << names[i];

    EXPECT_EQ(ServerParser::LookupElement("S-default"), -1);
    EXPECT_EQ(ServerParser::LookupElement("s-default "), -1);
    EXPECT_EQ(ServerParser::LookupElement("s-exch"), -1);
    EXPECT_EQ(ServerParser::LookupElement(""), -1);
}

TEST_F(DispatcherTest, ProseIsShownOnlyInsideTheElementsThatCarryIt)
{
    Feed({"Welcome to Kyrn", "<s-default>You stand on the pad.", "A wind blows.",
          "</s-default>", "Nobody sees this", "<s-unknown>", "Nor this", "</s-unknown>",
          "<s-default>One-liner</s-default>", "dropped again"});

    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("You stand on the pad.", "A wind blows.",
                                                   "One-liner"));
    EXPECT_THAT(view.story, ElementsAre("You stand on the pad.", "A wind blows.", "One-liner"));
    EXPECT_EQ(parser.OpenElement(), ServerParser::None);
}

TEST_F(DispatcherTest, TripleplusLinesReachOnlyTheStory)
{
    Feed({"<s-default>+++ Server restart at noon +++", " +++ indented +++",
          "x+++ inside", "</s-default>"});

    EXPECT_THAT(view.DisplayedTexts(), ElementsAre(" +++ indented +++", "x+++ inside"));
    EXPECT_THAT(view.story, ElementsAre("+++ Server restart at noon +++", " +++ indented +++",
                                        "x+++ inside"));
}

TEST_F(DispatcherTest, AnUnknownEndTagClosesWhateverWasOpen)
{
    Feed({"<s-default>", "shown", "</s-whatever>", "not shown"});
    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("shown"));

    // A stray text line ending in a tag is prose plus an end tag.
    Feed({"<s-default>", "last words</s-default>", "gone"});
    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("shown", "last words"));
}

TEST_F(DispatcherTest, AnUnknownStartTagLeavesTheOpenElementAlone)
{
    Feed({"<s-default>", "<s-new-thing a='1'>", "still shown"});
    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("still shown"));
    EXPECT_EQ(parser.OpenElement(), ServerParser::Default);
}

TEST_F(DispatcherTest, NewLocationEmptiesContentsAndShowsNameAndDescription)
{
    view.locations = {"old crate"};
    Feed({"<s-new-loc name='Landing Pad' loc-num='455' n='1' se='x' u=''>",
          "A dusty &amp; windy pad.", "</s-new-loc>"});

    EXPECT_THAT(view.locations, IsEmpty());
    EXPECT_THAT(view.displayed, ElementsAre(FakeMainView::Shown{"Landing Pad", true},
                                            FakeMainView::Shown{"A dusty & windy pad.", false}));
    EXPECT_THAT(view.story, ElementsAre("Landing Pad", "A dusty & windy pad."));

    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].name, "Landing Pad");
    EXPECT_EQ(arrived[0].x, 7);
    EXPECT_EQ(arrived[0].y, 7);
    EXPECT_EQ(LocationKey(arrived[0]), 455);
    EXPECT_EQ(arrived[0].exits.to_string(), "0000001001"); // n (bit 0) and se (bit 3)
}

TEST_F(DispatcherTest, OnlyTheLastOfTwoOpenLocationsIsHandedOver)
{
    Feed({"<s-new-loc name='First' loc-num='1'>", "<s-new-loc name='Second' loc-num='2'>",
          "</s-new-loc>", "</s-new-loc>"});
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(arrived[0].name, "Second");
}

TEST_F(DispatcherTest, LocationsWithoutAMapModelAreDiscarded)
{
    targets.locationArrived = nullptr;
    Feed({"<s-new-loc name='Somewhere' loc-num='3'>", "</s-new-loc>"});
    EXPECT_THAT(view.story, ElementsAre("Somewhere"));
    EXPECT_EQ(parser.OpenElement(), ServerParser::None);
}

TEST(LocationRecord, PlacesTheServerNumberOnTheMap)
{
    auto build = [](std::string name, std::string num) {
        return Location::FromAttributes({{"name", std::move(name)}, {"loc-num", std::move(num)}});
    };
    Location a = build("A", "130");
    EXPECT_EQ(a.x, 2);
    EXPECT_EQ(a.y, 2);
    Location b = build("B", "4095");
    EXPECT_EQ(b.x, 63);
    EXPECT_EQ(b.y, 63);
    Location unnamed = build("", "0");
    EXPECT_EQ(unnamed.x, -1);
    EXPECT_EQ(unnamed.y, -1);
    EXPECT_EQ(LocationKey(unnamed), -65);
    Location negative = build("C", "-4");
    EXPECT_EQ(LocationKey(negative), -65);
    Location missing = Location::FromAttributes({{"name", "D"}});
    EXPECT_EQ(LocationKey(missing), -65);
}

TEST_F(DispatcherTest, ContentsAreListedAndRemovedByName)
{
    Feed({"<s-contents name='Lamp'>A brass lamp lies here.</s-contents>",
          "<s-contents name='lamp'/>", "<s-contents name='Bob'/>", "<s-contents name=''/>",
          "<s-contents/>"});
    EXPECT_THAT(view.locations, ElementsAre("Lamp", "lamp", "Bob"));
    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("A brass lamp lies here."));

    Feed({"<s-remove-contents name='LAMP'>Bob takes the lamp.</s-remove-contents>",
          "<s-remove-contents name='Nothing'/>", "<s-remove-contents/>"});
    EXPECT_THAT(view.locations, ElementsAre("lamp", "Bob"));
    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("A brass lamp lies here.", "Bob takes the lamp."));
}

TEST_F(DispatcherTest, RosterFollowsArrivalsAndDepartures)
{
    Feed({"<s-add-player name='Zed' rank='3'/>", "<s-add-player name='amy'/>",
          "<s-add-player name='Zed'/>", "<s-add-player name='zed'/>",
          "<s-add-player rank='2'/>", "<s-add-player name=''/>"});
    EXPECT_THAT(view.players, ElementsAre("Zed", "amy", "zed"));
    EXPECT_EQ(players.Count(), 3u);

    Feed({"<s-remove-player name='Nobody'/>", "<s-remove-player name='zed'/>",
          "<s-remove-player/>"});
    // The roster drops "zed"; the list box deletes its first entry matching
    // ignoring case, which is "Zed".
    EXPECT_THAT(view.players, ElementsAre("amy", "zed"));
    EXPECT_TRUE(players.Contains("Zed"));
    EXPECT_FALSE(players.Contains("zed"));

    // Text inside the roster elements is not prose.
    Feed({"<s-add-player name='Kim'>Kim arrives</s-add-player>"});
    EXPECT_THAT(view.DisplayedTexts(), IsEmpty());

    players.Clear();
    EXPECT_THAT(view.players, IsEmpty());
    EXPECT_EQ(players.Count(), 0u);
    Feed({"<s-add-player name='Zed'/>"});
    EXPECT_THAT(view.players, ElementsAre("Zed"));
}

TEST_F(DispatcherTest, AFloodingServerCannotGrowTheRosterWithoutBound)
{
    Feed({"<s-add-player name='" + std::string(Players::kMaxNameBytes + 1, 'x') + "'/>"});
    EXPECT_EQ(players.Count(), 0u);
    for (std::size_t i = 0; i <= Players::kMaxPlayers; ++i)
        parser.ParseText("<s-add-player name='P" + std::to_string(i) + "'/>");
    EXPECT_EQ(players.Count(), Players::kMaxPlayers);
    EXPECT_EQ(view.players.size(), Players::kMaxPlayers);
    EXPECT_FALSE(players.Contains("P" + std::to_string(Players::kMaxPlayers)));

    Feed({"<s-remove-player name='P0'/>", "<s-add-player name='Last'/>"});
    EXPECT_TRUE(players.Contains("Last"));
}

TEST_F(DispatcherTest, RanksOutsideTheSixteenKnownOnesAnnounceNobody)
{
    friends.SetRanks(0xFFFF);
    Feed({"<s-add-player name='A' rank='16'/>", "<s-add-player name='B' rank='32'/>",
          "<s-add-player name='C' rank='-1'/>", "<s-add-player name='D' rank='4294967296'/>",
          "<s-add-player name='E' rank='48'/>"});
    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("D is logged into the game."));
    EXPECT_THAT(view.players, ElementsAre("A", "B", "C", "D", "E"));
}

TEST_F(DispatcherTest, NoOpIsAnsweredExactlyOncePerElement)
{
    Feed({"   <s-no-op/>"});
    EXPECT_EQ(view.SentBytes(), "<c-no-op/>\n");
    EXPECT_EQ(view.SentBytes().size(), 11u);
    EXPECT_EQ(parser.OpenElement(), ServerParser::None);

    Feed({"<s-no-op>", "ignored", "</s-no-op>"});
    EXPECT_THAT(view.sent, ElementsAre("<c-no-op/>\n", "<c-no-op/>\n"));
    EXPECT_THAT(view.DisplayedTexts(), IsEmpty());
}

TEST_F(DispatcherTest, TightBeamTextIsJoinedAndDeliveredAtTheEndTag)
{
    tightBeam.Open("Bob");
    Feed({"<s-tb name='Bob'>Hello &amp; ", "how are", " you?", "</s-tb>"});

    EXPECT_THAT(view.DisplayedTexts(),
                ElementsAre("Your comm unit signals a tight beam message from Bob, "
                            "\"Hello & how are you?\""));
    EXPECT_THAT(page.transcript, ElementsAre("Bob says, \"Hello & how are you?\""));

    Feed({"<s-tb name='Eve'>psst</s-tb>", "<s-tb>anonymous</s-tb>"});
    EXPECT_EQ(page.transcript.size(), 1u);
    EXPECT_EQ(view.DisplayedTexts().back(),
              "Your comm unit signals a tight beam message from , \"anonymous\"");
}

TEST_F(DispatcherTest, MapStatisticsAndExchangeElementsAreRecognisedButSilent)
{
    struct Row {
        std::string line;
        uint8_t open;
    };
    const std::vector<Row> rows{
        {"<s-new-map system='Sol' name='Earth' owner='Ann'>", ServerParser::NewMap},
        {"<s-map-info economy='Farm' workers='9'>", ServerParser::MapInfo},
        {"<s-add-factory output='Grain'>", ServerParser::AddFactory},
        {"<s-update-infra>", ServerParser::UpdateInfra},
        {"<s-update-workers workers='3'>", ServerParser::UpdateWorkers},
        {"<s-remove-factory output='Grain'>", ServerParser::RemoveFactory},
        {"<s-player-stats name='Zed' rank='Captain' stat='Sta' max='9' cur='3'>",
         ServerParser::PlayerStats},
        {"<s-ship-stats class='Hauler' stat='Fuel' max='9' cur='3'>", ServerParser::ShipStats},
    };
    for (const Row& row : rows) {
        Feed({row.line, "this text goes nowhere"});
        EXPECT_EQ(parser.OpenElement(), row.open) << row.line;
        Feed({"</x>"});
    }

    Feed({"<s-default>", "<s-exch-buy name='Grain' price='-5'>", "<s-exchange name='Earth'>",
          "<s-exch-sell name='Grain' price='3' stock='0'>", "still prose"});
    EXPECT_EQ(parser.OpenElement(), ServerParser::Default);
    Feed({"<s-exch-buy name='Grain' price='7'/>", "after the empty element"});
    EXPECT_EQ(parser.OpenElement(), ServerParser::None);

    EXPECT_THAT(view.DisplayedTexts(), ElementsAre("still prose"));
    EXPECT_THAT(view.sent, IsEmpty());
}

TEST_F(DataDirTest, SpynetReportOpensThePageWithTitlePictureAndLines)
{
    Touch("pictures/Zed.bmp");
    Feed({"<s-spynet-start name='Zed' rank='Captain'>dropped</s-spynet-start>", "<s-spynet>",
          "Zed is wanted in three systems.", "Credits: 1200", "</s-spynet>", "not a report line"});

    EXPECT_EQ(view.reportOpenings, 1);
    EXPECT_EQ(view.reportTitle, "Spynet Report for Captain Zed");
    EXPECT_EQ(view.reportPicture, "pictures/Zed.bmp");
    EXPECT_THAT(view.reportLines, ElementsAre("Zed is wanted in three systems.", "Credits: 1200"));
    EXPECT_THAT(view.story, ElementsAre("Spynet Report for Captain Zed",
                                        "Zed is wanted in three systems.", "Credits: 1200"));
    EXPECT_THAT(view.DisplayedTexts(), IsEmpty());
    EXPECT_EQ(view.spynetResets, 1);
}

TEST_F(DataDirTest, ExamineReportKeepsBothBlanksWithoutARank)
{
    Touch("pictures/ROCK.BMP");
    Feed({"<s-examine-start name='rock'/>", "<s-examine>A grey rock.</s-examine>"});

    EXPECT_EQ(view.reportTitle, "Examine  rock");
    EXPECT_EQ(view.reportPicture, "pictures/ROCK.BMP");
    EXPECT_THAT(view.reportLines, ElementsAre("A grey rock."));
    EXPECT_EQ(view.spynetResets, 1);
}

TEST_F(DataDirTest, ReportPictureFallsBackToInterferenceThenKeepsTheOldOne)
{
    Touch("pictures/Zed.bmp");
    Touch("pictures/interference.bmp");
    Feed({"<s-spynet-start name='Zed' rank='X'/>"});
    EXPECT_EQ(view.reportPicture, "pictures/Zed.bmp");

    Feed({"<s-spynet-start name='Ghost' rank='X'/>"});
    EXPECT_EQ(view.reportPicture, "pictures/interference.bmp");

    ASSERT_TRUE(QFile::remove("pictures/interference.bmp"));
    Feed({"<s-examine-start name='Ghost' rank='X'/>"});
    EXPECT_EQ(view.reportPicture, "pictures/interference.bmp");
    EXPECT_EQ(view.reportTitle, "Examine X Ghost");
    EXPECT_EQ(view.reportOpenings, 3);

    // A name from the server never reaches outside the pictures folder.
    Touch("secret.bmp");
    Feed({"<s-examine-start name='../secret' rank='X'/>"});
    EXPECT_EQ(view.reportPicture, "pictures/interference.bmp");
}

TEST_F(DataDirTest, SoundsPlayOnlyWithSoundFxAndAnExistingFile)
{
    Touch("sounds/Laser.WAV");
    const std::string laser = view.workDir + "/sounds/Laser.WAV";

    Feed({"<s-sound name='laser'/>", "<s-sound name='missing'/>", "<s-sound/>"});
    EXPECT_THAT(view.sounds, ElementsAre(laser));

    view.options[Option::SoundFx] = false;
    Feed({"<s-sound name='Laser'/>"});
    EXPECT_THAT(view.sounds, ElementsAre(laser));

    view.options[Option::SoundFx] = true;
    Touch("boom.wav");
    Feed({"<s-sound name='../boom'/>"});
    EXPECT_THAT(view.sounds, ElementsAre(laser));
}

TEST_F(DataDirTest, ASoundInsideAReportDoesNotCloseIt)
{
    Touch("sounds/beep.wav");
    Feed({"<s-spynet>", "<s-sound name='beep'>first line", "second line", "</s-spynet>"});
    EXPECT_THAT(view.reportLines, ElementsAre("first line", "second line"));
    EXPECT_EQ(view.sounds.size(), 1u);
}
