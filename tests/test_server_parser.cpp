// The dispatcher driven with whole server lines, as the connection hands
// them over in streaming mode, checked on the calls the window receives.
#include <QFile>

#include <gtest/gtest.h>

#include "dispatch/server_parser.h"
#include "social/friends_code.h"
#include "social/players.h"
#include "social/tb_code.h"
#include "support/fake_mainview.h"
#include "support/scoped_workdir.h"

using Calls = std::vector<std::string>;

namespace {

// A dispatcher with a real roster, friends list and tight beam, all their
// effects recorded in order in the view's log.
struct Dispatcher {
    FakeMainView view;
    Players players{view};
    Friends friends{view};
    FakeTightBeamView page{&view.calls};
    TightBeam tightBeam{view, page};
    DispatchTargets targets;
    ServerParser parser{view, targets};

    Dispatcher()
    {
        targets = {&players, &friends, &tightBeam, nullptr, [this](std::unique_ptr<Location> loc) {
                       view.calls.push_back("Arrived:" + loc->name + " " + std::to_string(LocationKey(*loc)) + " "
                           + loc->exits.to_string());
                   }};
        friends.AddName("Amy");
        friends.SetRanks(1u << 4);
        tightBeam.Open("Bob");
        view.calls.clear();
    }
    // One line at a time, as the connection hands them over.
    const Calls& Feed(const std::string& text)
    {
        for (const QString& line : QString::fromStdString(text).split('\n'))
            parser.ParseText(line.toStdString());
        return view.calls;
    }
};

} // namespace

TEST(Dispatcher, ElementsBecomeCallsOnTheWindow)
{
    ScopedWorkDir dir;
    for (const char* file : {"pictures/Zed.bmp", "pictures/ROCK.BMP", "pictures/interference.bmp", "sounds/Laser.WAV",
             "boom.wav", "secret.bmp"})
        ScopedWorkDir::Touch(file);
    const std::string hidden = "hidden\n</x>\n<s-default>\n";
    const struct {
        std::string lines;
        Calls calls;
    } rows[] = {
        // Prose is shown only inside the elements that carry it.
        {"Welcome\n<s-default>You stand on the pad.\nA wind blows.\n</s-default>\nNobody sees this\n"
         "<s-unknown>\nNor this\n</s-unknown>\n<s-default>One-liner</s-default>\ndropped",
            {"DisplayText:You stand on the pad.", "DisplayText:A wind blows.", "DisplayText:One-liner"}},
        {"<s-default>+++ Restart at noon +++\n +++ indented +++\nx+++ inside",
            {"AddToStory:+++ Restart at noon +++", "DisplayText: +++ indented +++", "DisplayText:x+++ inside"}},
        // Any end tag closes what was open; an unknown start tag leaves it open.
        {"<s-default>\nshown\n</s-whatever>\nnot shown\n<s-default>\nlast words</s-default>\ngone",
            {"DisplayText:shown", "DisplayText:last words"}},
        {"<s-default>\n<s-new-thing a='1'>\nstill shown", {"DisplayText:still shown"}},
        {"<s-new-loc name='Landing Pad' loc-num='455' n='1' se='x' u=''>\nA dusty &amp; windy pad.\n</s-new-loc>",
            {"ClearLocationList", "AddToStory:Landing Pad", "DisplayTextSkipStory:Landing Pad",
                "DisplayText:A dusty & windy pad.", "Arrived:Landing Pad 455 0000001001"}},
        // Only the last of two open locations arrives; one without a name or number has no place.
        {"<s-new-loc name='A' loc-num='1'>\n<s-new-loc name='' loc-num='2'>\n</s-new-loc>\n</s-new-loc>\n"
         "<s-new-loc name='C' loc-num='-4'/>",
            {"ClearLocationList", "AddToStory:A", "DisplayTextSkipStory:A", "ClearLocationList",
                "AddToStory:", "DisplayTextSkipStory:", "Arrived: -65 0000000000", "ClearLocationList", "AddToStory:C",
                "DisplayTextSkipStory:C", "Arrived:C -65 0000000000"}},
        {"<s-contents name='Lamp'>A brass lamp.</s-contents>\n<s-contents name=''/>\n<s-contents/>\n"
         "<s-remove-contents name='LAMP'>Bob takes it.</s-remove-contents>\n<s-remove-contents/>",
            {"AddLocationItem:Lamp", "DisplayText:A brass lamp.", "RemoveLocationItem:LAMP",
                "DisplayText:Bob takes it."}},
        // The roster lists each name once; names compare exactly.
        {"<s-add-player name='Zed' rank='3'>Zed arrives</s-add-player>\n<s-add-player name='Zed'/>\n"
         "<s-add-player name='zed'/>\n<s-add-player rank='2'/>\n<s-add-player name=''/>\n"
         "<s-remove-player name='Nobody'/>\n<s-remove-player name='zed'/>\n<s-remove-player/>\n"
         "<s-add-player name='"
                + std::string(Players::kMaxNameBytes + 1, 'x') + "'/>",
            {"AddPlayerItem:Zed", "AddPlayerItem:zed", "RemovePlayerItem:zed"}},
        // The rank reaches the friends list; a departure has none.
        {"<s-add-player name='Amy' rank='1'/>\n<s-add-player name='Kim' rank='4'/>\n<s-remove-player name='Amy'/>",
            {"AddPlayerItem:Amy", "AddFriendItem:Amy", "DisplayText:Amy is logged into the game.", "AddPlayerItem:Kim",
                "DisplayText:Kim is logged into the game.", "RemovePlayerItem:Amy", "RemoveFriendItem:Amy",
                "DisplayText:Amy is logged out of the game."}},
        {"   <s-no-op/>\n<s-no-op>\nignored\n</s-no-op>", {"SendText:<c-no-op/>\n", "SendText:<c-no-op/>\n"}},
        // A tight beam is joined up and delivered at its end tag.
        {"<s-tb name='Bob'>Hello &amp; \nhow are\n you?\n</s-tb>\n<s-tb>anon</s-tb>",
            {"DisplayText:Your comm unit signals a tight beam message from Bob, \"Hello & how are you?\"",
                "TbLine:Bob says, \"Hello & how are you?\"",
                "DisplayText:Your comm unit signals a tight beam message from , \"anon\""}},
        // Map and statistics elements take their text away from the panes.
        {"<s-default>\n<s-new-map system='Sol' name='Earth'>\n" + hidden + "<s-map-info economy='Farm'>\n" + hidden
                + "<s-add-factory output='Grain'>\n" + hidden + "<s-update-infra>\n" + hidden
                + "<s-update-workers workers='3'>\n" + hidden + "<s-remove-factory output='Grain'>\n" + hidden
                + "<s-player-stats name='Zed' stat='Sta'>\n" + hidden + "<s-ship-stats stat='Fuel'>\n" + hidden,
            {}},
        // Exchange elements leave the open element as it was.
        {"<s-default>\n<s-exch-buy name='Grain' price='-5'>\n<s-exchange name='Earth'>\n"
         "<s-exch-sell name='Grain' price='3' stock='0'>\nstill prose\n<s-exch-buy name='Grain' price='7'/>\ngone",
            {"DisplayText:still prose"}},
        {"<s-spynet-start name='Zed' rank='Captain'>dropped</s-spynet-start>\n<s-spynet>\nZed is wanted.\n"
         "Credits: 1200\n</s-spynet>\nnot a report line",
            {"OpenReport:Spynet Report for Captain Zed", "AddToStory:Spynet Report for Captain Zed",
                "LoadReportPicture:pictures/Zed.bmp", "AddReportLine:Zed is wanted.", "AddToStory:Zed is wanted.",
                "AddReportLine:Credits: 1200", "AddToStory:Credits: 1200", "ResetSpynetView"}},
        {"<s-examine-start name='rock'/>\n<s-examine>A grey rock.</s-examine>",
            {"OpenReport:Examine  rock", "AddToStory:Examine  rock", "LoadReportPicture:pictures/ROCK.BMP",
                "AddReportLine:A grey rock.", "AddToStory:A grey rock.", "ResetSpynetView"}},
        // Unknown faces show interference; names never reach outside the folder.
        {"<s-spynet-start name='Ghost' rank='X'/>\n<s-examine-start name='../secret' rank='X'/>",
            {"OpenReport:Spynet Report for X Ghost", "AddToStory:Spynet Report for X Ghost",
                "LoadReportPicture:pictures/interference.bmp", "OpenReport:Examine X ../secret",
                "AddToStory:Examine X ../secret", "LoadReportPicture:pictures/interference.bmp"}},
        {"<s-sound name='laser'/>\n<s-sound name='missing'/>\n<s-sound/>\n<s-sound name='../boom'/>",
            {"PlaySound:./sounds/Laser.WAV"}},
        // A sound inside a report does not close it.
        {"<s-spynet>\n<s-sound name='laser'>first\n</s-spynet>",
            {"PlaySound:./sounds/Laser.WAV", "AddReportLine:first", "AddToStory:first", "ResetSpynetView"}},
    };
    for (const auto& row : rows) {
        Dispatcher d;
        EXPECT_EQ(d.Feed(row.lines), row.calls) << row.lines;
    }

    // Without Sound FX nothing plays; without any picture none is loaded.
    Dispatcher d;
    d.view.options[Option::SoundFx] = false;
    ASSERT_TRUE(QFile::remove("pictures/interference.bmp"));
    EXPECT_EQ(d.Feed("<s-sound name='laser'/>\n<s-spynet-start name='Ghost' rank='X'/>"),
        (Calls{"OpenReport:Spynet Report for X Ghost", "AddToStory:Spynet Report for X Ghost"}));
}

TEST(Roster, AFullRosterTakesANewcomerOnceSomeoneLeaves)
{
    FakeMainView view;
    Players players(view);
    for (std::size_t i = 0; i <= Players::kMaxPlayers; ++i)
        players.AddPlayer("P" + std::to_string(i));
    EXPECT_EQ(players.Count(), Players::kMaxPlayers);
    players.RemovePlayer("P0");
    players.AddPlayer("Last");
    EXPECT_TRUE(players.Contains("Last"));
}
