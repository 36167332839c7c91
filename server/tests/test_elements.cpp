// Every element the server builds, read back by the client's own scanner
// with awkward values: what the client sees is what the server meant.
#include "kyrnd_test.h"

#include "elements.h"

TEST(Elements, ReadBackThroughTheClientScanner)
{
    const QString odd = "O'N <&> \"x\"";
    const std::string o = "O'N <&> \"x\"";
    LocationDef l;
    l.num = 4031;
    l.name = odd;
    l.description = {"Line <one> & 'two'"};
    l.exits[int(Dir::NW)] = Place{"m", 0};
    l.exits[int(Dir::D)] = Place{"m", 63};
    const auto empty = [](const std::string& name, const std::string& attrs) {
        return std::vector<std::string>{"S:" + name + "[" + attrs + "]", "E:" + name};
    };
    const auto text = [](const std::string& name, const std::string& attrs, const std::string& t) {
        return std::vector<std::string>{"S:" + name + "[" + attrs + "]", "C:" + t, "E:" + name};
    };
    const std::vector<std::pair<QStringList, std::vector<std::string>>> rows{
        {{elements::prose(odd)}, text("s-default", "", o)},
        {elements::prose(QStringList{odd, "b"}), {"S:s-default[]", "C:" + o, "C:b", "E:s-default"}},
        {{elements::addPlayer(odd, 3)}, empty("s-add-player", "name=" + o + "|rank=3")},
        {{elements::removePlayer(odd)}, empty("s-remove-player", "name=" + o)},
        {elements::newLoc(l), {"S:s-new-loc[name=" + o + "|loc-num=4031|nw=0|d=63]", "C:Line <one> & 'two'", "E:s-new-loc"}},
        {{elements::contents(odd, odd)}, text("s-contents", "name=" + o, o)},
        {{elements::removeContents(odd, odd)}, text("s-remove-contents", "name=" + o, o)},
        {{elements::newMap(odd, odd, "")}, empty("s-new-map", "system=" + o + "|name=" + o + "|owner=")},
        {{elements::mapInfo(odd, 12)}, empty("s-map-info", "economy=" + o + "|workers=12")},
        {{elements::addFactory(odd)}, empty("s-add-factory", "output=" + o)},
        {{elements::removeFactory(odd)}, empty("s-remove-factory", "output=" + o)},
        {{elements::updateWorkers(-1)}, empty("s-update-workers", "workers=-1")},
        {{elements::updateInfra()}, empty("s-update-infra", "")},
        {{elements::playerName(odd)}, empty("s-player-stats", "name=" + o)},
        {{elements::playerRank(odd)}, empty("s-player-stats", "rank=" + o)},
        {{elements::playerGauge("sta", {20, 30})}, empty("s-player-stats", "stat=sta|max=30|cur=20")},
        {{elements::playerAmount("ak", -99999)}, empty("s-player-stats", "stat=ak|amount=-99999")},
        {{elements::playerPage()}, empty("s-player-stats", "stat=score")},
        {{elements::shipClass(odd)}, empty("s-ship-stats", "class=" + o)},
        {{elements::shipGauge("hull", {1, 100})}, empty("s-ship-stats", "stat=hull|max=100|cur=1")},
        {{elements::shipItem("navcomp")}, empty("s-ship-stats", "stat=navcomp")},
        {{elements::shipPage()}, empty("s-ship-stats", "stat=ship")},
        {{elements::tightBeam(odd, odd)}, text("s-tb", "name=" + o, o)},
        {{elements::noOp()}, empty("s-no-op", "")},
        {{elements::sound("tb")}, empty("s-sound", "name=tb")},
        {{elements::exchange(odd)}, empty("s-exchange", "name=" + o)},
        {{elements::exchSell(odd, 5, 7)}, empty("s-exch-sell", "name=" + o + "|price=5|stock=7")},
        {{elements::exchBuy(odd, 4)}, empty("s-exch-buy", "name=" + o + "|price=4")},
        {elements::spynet(odd, odd, {odd}),
         {"S:s-spynet-start[name=" + o + "|rank=" + o + "]", "E:s-spynet-start", "S:s-spynet[]", "C:" + o, "E:s-spynet"}},
        {elements::examine(odd, odd, {odd}),
         {"S:s-examine-start[name=" + o + "|rank=" + o + "]", "E:s-examine-start", "S:s-examine[]", "C:" + o, "E:s-examine"}},
    };
    for (const auto& [lines, expected] : rows) {
        MarkupRecorder r;
        for (const QString& line : lines)
            r.ParseText(line.toStdString());
        EXPECT_EQ(r.events, expected) << lines.join('\n').toStdString();
    }
}
