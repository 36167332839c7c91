// Every element the server can send, read back by the client's own scanner
// with awkward values: nothing is lost or misread, and no element is sent
// that the client's table of element names does not know.
#include "test_env.h"

#include "elements.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(Elements, EveryElementReadsBackThroughTheClientScanner)
{
    const QString odd = "O'Neil <&> \"x\"";
    LocationDef l;
    l.num = 4031;
    l.name = odd;
    l.description = {"Line <one> & 'two'"};
    l.exits[int(Dir::NW)] = Place{"m", 0};
    l.exits[int(Dir::D)] = Place{"m", 63};
    QStringList lines{elements::prose(odd), elements::addPlayer(odd, 3), elements::removePlayer(odd),
                      elements::contents(odd, odd), elements::removeContents(odd, odd),
                      elements::newMap(odd, odd, ""), elements::mapInfo(odd, 12), elements::addFactory(odd),
                      elements::removeFactory(odd), elements::updateWorkers(-1), elements::updateInfra(),
                      elements::playerName(odd), elements::playerRank(odd), elements::playerGauge("sta", {20, 30}),
                      elements::playerAmount("ak", -99999), elements::playerPage(), elements::shipClass(odd),
                      elements::shipGauge("hull", {1, 100}), elements::shipItem("navcomp"), elements::shipPage(),
                      elements::tightBeam(odd, odd), elements::noOp(), elements::sound("tb"), elements::exchange(odd),
                      elements::exchSell(odd, 5, 7), elements::exchBuy(odd, 4)};
    lines << elements::prose(QStringList{odd, odd}) << elements::newLoc(l)
          << elements::spynet(odd, odd, {odd}) << elements::examine(odd, odd, {odd});

    const QStringList known{"s-default", "s-add-player", "s-remove-player", "s-new-loc", "s-contents",
                            "s-new-map", "s-remove-contents", "s-map-info", "s-add-factory", "s-update-infra",
                            "s-update-workers", "s-remove-factory", "s-player-stats", "s-ship-stats", "s-tb",
                            "s-no-op", "s-spynet-start", "s-spynet", "s-examine-start", "s-examine",
                            "s-sound", "s-exch-buy", "s-exch-sell", "s-exchange"};
    for (const QString& line : lines) {
        QString why;
        EXPECT_TRUE(scansCleanly(line, &why)) << why.toStdString();
        if (line.startsWith('<')) {
            const QString name = line.mid(line.startsWith("</") ? 2 : 1).section(QRegularExpression("[ />]"), 0, 0);
            EXPECT_TRUE(known.contains(name)) << line.toStdString();
        }
    }
    EXPECT_EQ(elements::newLoc(l).first(), "<s-new-loc name='O&apos;Neil &lt;&amp;&gt; \"x\"' loc-num='4031' nw='0' d='63'>");
}
