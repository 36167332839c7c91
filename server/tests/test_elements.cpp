// Every element the server builds, read back by the client's own scanner
// with awkward values: what the client sees is what the server meant.
#include "kyrnd_test.h"

#include "elements.h"
#include "plaintext.h"

TEST(Elements, ReadBackThroughTheClientScannerAndAsATerminalShowsThem)
{
    const QString odd = "O'N <&> \"x\"";
    LocationDef l;
    l.num = 4031;
    l.name = odd;
    l.description = {"<one> & 'two'", "three"};
    l.exits[int(Dir::NW)] = Place{"m", 0};
    l.exits[int(Dir::D)] = Place{"m", 63};
    using namespace elements;
    // The events, one a line; "O" stands for the odd value, "/" for the end of the element just started.
    const std::vector<std::pair<QStringList, QString>> rows{
        {{prose(odd)}, "S:s-default[]\nC:O\n/"},
        {prose(QStringList{odd, "b"}), "S:s-default[]\nC:O\nC:b\n/"},
        {{addPlayer(odd, 3)}, "S:s-add-player[name=O|rank=3]\n/"},
        {{removePlayer(odd)}, "S:s-remove-player[name=O]\n/"},
        {newLoc(l), "S:s-new-loc[name=O|loc-num=4031|nw=0|d=63]\nC:<one> & 'two'\nC:three\n/"},
        {{contents(odd, odd)}, "S:s-contents[name=O]\nC:O\n/"},
        {{removeContents(odd, odd)}, "S:s-remove-contents[name=O]\nC:O\n/"},
        {{newMap(odd, odd, "")}, "S:s-new-map[system=O|name=O|owner=]\n/"},
        {{updateInfra()}, "S:s-update-infra[]\n/"},
        {{mapInfo(odd, 12)}, "S:s-map-info[economy=O|workers=12]\n/"},
        {{addFactory(odd)}, "S:s-add-factory[output=O]\n/"},
        {{removeFactory(odd)}, "S:s-remove-factory[output=O]\n/"},
        {{updateWorkers(-1)}, "S:s-update-workers[workers=-1]\n/"},
        {{playerName(odd), playerRank(odd)}, "S:s-player-stats[name=O]\n/\nS:s-player-stats[rank=O]\n/"},
        {{playerGauge("sta", {20, 30}), playerAmount("ak", -99999), playerPage()},
            "S:s-player-stats[stat=sta|max=30|cur=20]\n/\nS:s-player-stats[stat=ak|amount=-99999]\n/"
            "\nS:s-player-stats[stat=score]\n/"},
        {{shipClass(odd), shipGauge("hull", {1, 100}), shipItem("navcomp"), shipPage()},
            "S:s-ship-stats[class=O]\n/\nS:s-ship-stats[stat=hull|max=100|cur=1]\n/\nS:s-ship-stats[stat=navcomp]\n/\n"
            "S:s-ship-stats[stat=ship]\n/"},
        {{tightBeam(odd, odd), noOp(), sound("tb")}, "S:s-tb[name=O]\nC:O\n/\nS:s-no-op[]\n/\nS:s-sound[name=tb]\n/"},
        {{exchange(odd), exchSell(odd, 5, 7), exchBuy(odd, 4)},
            "S:s-exchange[name=O]\n/\nS:s-exch-sell[name=O|price=5|stock=7]\n/\nS:s-exch-buy[name=O|price=4]\n/"},
        {spynet(odd, odd, {odd}) + examine(odd, odd, {odd}),
            "S:s-spynet-start[name=O|rank=O]\n/\nS:s-spynet[]\nC:O\n/\nS:s-examine-start[name=O|rank=O]\n/"
            "\nS:s-examine[]\nC:O\n/"},
    };
    for (const auto& [lines, expected] : rows) {
        MarkupRecorder r;
        for (const QString& line : lines)
            r.ParseText(line.toStdString());
        QStringList got, open;
        for (const std::string& e : r.events) {
            QString event = QString::fromStdString(e).replace(odd, "O");
            if (event.startsWith("S:"))
                open << event.section('[', 0, 0).mid(2);
            got << (event.startsWith("E:") && event.mid(2) == open.value(open.size() - 1) ? "/" : event);
        }
        EXPECT_EQ(got.join('\n'), expected) << lines.join('\n').toStdString();
    }

    // A person at a terminal reads the text alone, with entities written out.
    const std::vector<std::pair<QStringList, QStringList>> plain{
        {{"<?xml version=\"1.0\"?>"}, {}},
        {{prose(odd)}, {odd}},
        {prose(QStringList{odd, "b"}), {odd, "b"}},
        {newLoc(l), {odd, "<one> & 'two'", "three"}},
        {{contents(odd, "Ann is here.")}, {"Ann is here."}},
        {{removeContents(odd, "Ann fades from view.")}, {"Ann fades from view."}},
        {{tightBeam("Ann", odd)}, {"Ann beams, \"" + odd + "\""}},
        {spynet(odd, "Trader", {"Status: dormant"}), {odd + ", Trader", "Status: dormant"}},
        {examine("Ann", odd, {odd}), {"Ann, " + odd, odd}},
        // Figures, maps, quotes, sounds and keep-alives have no text to read.
        {{addPlayer(odd, 3), removePlayer(odd), newMap(odd, odd, ""), mapInfo(odd, 12), addFactory(odd),
             removeFactory(odd), updateWorkers(1), updateInfra(), playerName(odd), playerAmount("cash", 5),
             shipGauge("hull", {1, 100}), noOp(), sound("tb"), exchange(odd), exchSell(odd, 5, 7), exchBuy(odd, 4)},
            {}},
    };
    for (const auto& [lines, expected] : plain)
        EXPECT_EQ(plaintext::fromElements(lines), expected) << lines.join('\n').toStdString();
}
