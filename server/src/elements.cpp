#include "elements.h"

#include "markup.h"

using markup::Element;
using markup::escape;

namespace elements {

namespace {

    QStringList block(const QString& name, const QStringList& lines)
    {
        const Element e(name);
        QStringList out{e.open()};
        for (const QString& line : lines)
            out << escape(line);
        out << e.close();
        return out;
    }

    Element player()
    {
        return Element(QStringLiteral("s-player-stats"));
    }
    Element ship()
    {
        return Element(QStringLiteral("s-ship-stats"));
    }

} // namespace

QString prose(const QString& text)
{
    return Element(QStringLiteral("s-default")).withText(text);
}

QStringList prose(const QStringList& lines)
{
    return block(QStringLiteral("s-default"), lines);
}

QString addPlayer(const QString& name, int rank)
{
    return Element(QStringLiteral("s-add-player")).attr("name", name).attr("rank", rank).empty();
}

QString removePlayer(const QString& name)
{
    return Element(QStringLiteral("s-remove-player")).attr("name", name).empty();
}

QStringList newLoc(const LocationDef& l)
{
    Element e(QStringLiteral("s-new-loc"));
    e.attr("name", l.name).attr("loc-num", l.num);
    for (int i = 0; i < kDirCount; ++i) {
        if (l.exits[i].valid())
            e.attr(dirName(Dir(i)), l.exits[i].loc);
    }
    QStringList out{e.open()};
    for (const QString& line : l.description)
        out << escape(line);
    out << e.close();
    return out;
}

QString contents(const QString& name, const QString& text)
{
    return Element(QStringLiteral("s-contents")).attr("name", name).withText(text);
}

QString removeContents(const QString& name, const QString& text)
{
    return Element(QStringLiteral("s-remove-contents")).attr("name", name).withText(text);
}

QString newMap(const QString& system, const QString& name, const QString& owner)
{
    return Element(QStringLiteral("s-new-map")).attr("system", system).attr("name", name).attr("owner", owner).empty();
}

QString mapInfo(const QString& economy, int workers)
{
    return Element(QStringLiteral("s-map-info")).attr("economy", economy).attr("workers", workers).empty();
}

QString addFactory(const QString& output)
{
    return Element(QStringLiteral("s-add-factory")).attr("output", output).empty();
}

QString removeFactory(const QString& output)
{
    return Element(QStringLiteral("s-remove-factory")).attr("output", output).empty();
}

QString updateWorkers(int workers)
{
    return Element(QStringLiteral("s-update-workers")).attr("workers", workers).empty();
}

QString updateInfra()
{
    return Element(QStringLiteral("s-update-infra")).empty();
}

QString playerName(const QString& name)
{
    return player().attr("name", name).empty();
}

QString playerRank(const QString& rank)
{
    return player().attr("rank", rank).empty();
}

QString playerGauge(const QString& stat, const Gauge& g)
{
    return player().attr("stat", stat).attr("max", g.max).attr("cur", g.cur).empty();
}

QString playerAmount(const QString& stat, qint64 amount)
{
    return player().attr("stat", stat).attr("amount", amount).empty();
}

QString playerPage()
{
    return player().attr("stat", "score").empty();
}

QString shipClass(const QString& shipClass)
{
    return ship().attr("class", shipClass).empty();
}

QString shipGauge(const QString& stat, const Gauge& g)
{
    return ship().attr("stat", stat).attr("max", g.max).attr("cur", g.cur).empty();
}

QString shipItem(const QString& stat)
{
    return ship().attr("stat", stat).empty();
}

QString shipPage()
{
    return ship().attr("stat", "ship").empty();
}

QString tightBeam(const QString& from, const QString& text)
{
    return Element(QStringLiteral("s-tb")).attr("name", from).withText(text);
}

QString noOp()
{
    return Element(QStringLiteral("s-no-op")).empty();
}

QString sound(const QString& name)
{
    return Element(QStringLiteral("s-sound")).attr("name", name).empty();
}

QString exchange(const QString& name)
{
    return Element(QStringLiteral("s-exchange")).attr("name", name).empty();
}

QString exchSell(const QString& commodity, int price, int stock)
{
    return Element(QStringLiteral("s-exch-sell"))
        .attr("name", commodity)
        .attr("price", price)
        .attr("stock", stock)
        .empty();
}

QString exchBuy(const QString& commodity, int price)
{
    return Element(QStringLiteral("s-exch-buy")).attr("name", commodity).attr("price", price).empty();
}

QStringList spynet(const QString& name, const QString& rank, const QStringList& body)
{
    return QStringList{Element(QStringLiteral("s-spynet-start")).attr("name", name).attr("rank", rank).empty()}
    + block(QStringLiteral("s-spynet"), body);
}

QStringList examine(const QString& name, const QString& rank, const QStringList& body)
{
    return QStringList{Element(QStringLiteral("s-examine-start")).attr("name", name).attr("rank", rank).empty()}
    + block(QStringLiteral("s-examine"), body);
}

} // namespace elements
