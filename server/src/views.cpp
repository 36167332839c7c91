#include "views.h"

#include "markup.h"

using markup::Element;

namespace views {

namespace {

QString playerStat(const QString& stat, const Gauge& g)
{
    return Element(QStringLiteral("s-player-stats")).attr("stat", stat).attr("max", g.max).attr("cur", g.cur).empty();
}

QString amountStat(const QString& stat, qint64 amount)
{
    return Element(QStringLiteral("s-player-stats")).attr("stat", stat).attr("amount", amount).empty();
}

QString shipStat(const QString& stat, const Gauge& g)
{
    return Element(QStringLiteral("s-ship-stats")).attr("stat", stat).attr("max", g.max).attr("cur", g.cur).empty();
}

QString pronoun(const Avatar& a)
{
    if (a.gender == QLatin1String("female"))
        return QStringLiteral("She");
    if (a.gender == QLatin1String("male"))
        return QStringLiteral("He");
    return QStringLiteral("It");
}

QString describe(const Gauge& g, const char* high, const char* mid, const char* low)
{
    const int v = g.max;
    return QString::fromLatin1(v >= 50 ? high : v >= 30 ? mid : low);
}

} // namespace

QStringList playerStats(const Avatar& a)
{
    return {Element(QStringLiteral("s-player-stats")).attr("name", a.name).empty(),
            rankStat(a),
            playerStat(QStringLiteral("sta"), a.stamina),
            playerStat(QStringLiteral("str"), a.strength),
            playerStat(QStringLiteral("dex"), a.dexterity),
            playerStat(QStringLiteral("int"), a.intelligence),
            cashStat(a),
            amountStat(QStringLiteral("loan"), a.loan),
            amountStat(QStringLiteral("hc"), a.haulerCredits),
            amountStat(QStringLiteral("ak"), a.akaturiCredits),
            amountStat(QStringLiteral("merchant"), a.merchantCredits),
            traderStat(a)};
}

QString cashStat(const Avatar& a)
{
    return amountStat(QStringLiteral("cash"), a.cash);
}

QString traderStat(const Avatar& a)
{
    return amountStat(QStringLiteral("trader"), a.traderCredits);
}

QStringList shipStats(const Ship& s)
{
    QStringList out{Element(QStringLiteral("s-ship-stats")).attr("class", s.shipClass).empty(),
                    shipStat(QStringLiteral("hull"), s.hull),
                    shipStat(QStringLiteral("shields"), s.shields),
                    shipStat(QStringLiteral("engines"), s.engines),
                    fuelStat(s),
                    shipStat(QStringLiteral("computer"), s.computer),
                    cargoStat(s)};
    if (s.navComputer)
        out << Element(QStringLiteral("s-ship-stats")).attr("stat", "navcomp").empty();
    if (s.customsCertificate)
        out << customsStat();
    return out;
}

QString customsStat()
{
    return Element(QStringLiteral("s-ship-stats")).attr("stat", "customs-cert").empty();
}

QString rankStat(const Avatar& a)
{
    return Element(QStringLiteral("s-player-stats")).attr("rank", rankName(a.rank)).empty();
}

QString cargoStat(const Ship& s)
{
    return shipStat(QStringLiteral("cargo"), Gauge{s.cargoFree(), s.cargoCapacity});
}

QString fuelStat(const Ship& s)
{
    return shipStat(QStringLiteral("fuel"), s.fuel);
}

QStringList mapView(const MapDef& m, const PlanetState& state)
{
    QStringList out{Element(QStringLiteral("s-new-map")).attr("system", m.system).attr("name", m.name).attr("owner", m.owner).empty(),
                    Element(QStringLiteral("s-map-info")).attr("economy", m.economy).attr("workers", state.workers).empty()};
    for (auto it = state.factories.begin(); it != state.factories.end(); ++it) {
        for (int i = 0; i < it.value(); ++i)
            out << Element(QStringLiteral("s-add-factory")).attr("output", it.key()).empty();
    }
    out << Element(QStringLiteral("s-update-infra")).empty();
    return out;
}

QString newLocation(const LocationDef& l)
{
    Element e(QStringLiteral("s-new-loc"));
    e.attr("name", l.name).attr("loc-num", l.num);
    for (int i = 0; i < kDirCount; ++i) {
        if (l.exits[i].valid())
            e.attr(dirName(Dir(i)), l.exits[i].loc);
    }
    return e.open();
}

QStringList locationView(const LocationDef& l, const QStringList& players)
{
    QStringList out{newLocation(l)};
    for (const QString& line : l.description)
        out << markup::escape(line);
    out << QStringLiteral("</s-new-loc>");
    for (const QString& item : l.items)
        out << Element(QStringLiteral("s-contents")).attr("name", item).withText(QStringLiteral("You see %1.").arg(item));
    for (const QString& p : players)
        out << Element(QStringLiteral("s-contents")).attr("name", p).withText(QStringLiteral("%1 is here.").arg(p));
    QStringList exits;
    for (int i = 0; i < kDirCount; ++i) {
        if (l.exits[i].valid())
            exits << dirLongName(Dir(i));
    }
    if (l.board.valid())
        exits << QStringLiteral("board");
    out << markup::prose(exits.isEmpty() ? QStringLiteral("There are no obvious exits.")
                                         : QStringLiteral("Obvious exits: %1.").arg(exits.join(QLatin1String(", "))));
    return out;
}

QStringList quoteLines(const Quote& q)
{
    return {Element(QStringLiteral("s-exch-sell")).attr("name", q.commodity).attr("price", q.sellPrice()).attr("stock", q.stock).empty(),
            Element(QStringLiteral("s-exch-buy")).attr("name", q.commodity).attr("price", q.buyPrice()).empty()};
}

QStringList exchangeView(const Market& m)
{
    QStringList out{Element(QStringLiteral("s-exchange")).attr("name", m.name()).empty()};
    QStringList table{QStringLiteral("%1 Commodity Exchange").arg(m.name()),
                      QStringLiteral("Commodity     Sells at   Stock   Buys at")};
    for (const Quote& q : m.quotes()) {
        out << quoteLines(q);
        table << QStringLiteral("%1 %2 %3 %4")
                     .arg(q.commodity.leftJustified(13))
                     .arg(QString::number(q.sellPrice()).leftJustified(10))
                     .arg(QString::number(q.stock).leftJustified(7))
                     .arg(q.buyPrice());
    }
    table << QStringLiteral("Prices are per ton. Type buy or sell, a commodity and, if you like, the tons.");
    out << markup::proseBlock(table);
    return out;
}

QStringList examineReport(const Avatar& a, bool online)
{
    const QString he = pronoun(a);
    const QStringList body{
        QStringLiteral("%1 is a %2 %3.").arg(a.name, a.gender, a.species),
        QStringLiteral("%1 looks %2 and %3.").arg(he,
            describe(a.strength, "very strong", "strong", "slight"),
            describe(a.stamina, "tireless", "fit", "easily tired")),
        QStringLiteral("%1 holds the rank of %2.").arg(he, rankName(a.rank)),
        online ? QStringLiteral("%1 is in the game right now.").arg(he)
               : QStringLiteral("%1 is not in the game right now.").arg(he)};
    QStringList out{Element(QStringLiteral("s-examine-start")).attr("name", a.name).attr("rank", rankName(a.rank)).empty(),
                    QStringLiteral("<s-examine>")};
    for (const QString& line : body)
        out << markup::escape(line);
    out << QStringLiteral("</s-examine>");
    return out;
}

QStringList spynetReport(const Avatar& a, bool online, const QString& whereabouts)
{
    const QStringList body{
        QStringLiteral("Subject: %1, %2 %3, rank %4").arg(a.name, a.gender, a.species, rankName(a.rank)),
        QStringLiteral("Strength %1, stamina %2, dexterity %3, intelligence %4")
            .arg(a.strength.max).arg(a.stamina.max).arg(a.dexterity.max).arg(a.intelligence.max),
        QStringLiteral("Cash %1ig, loan %2ig").arg(a.cash).arg(a.loan),
        QStringLiteral("Ship: %1 class, hull %2/%3, cargo %4 of %5 tons")
            .arg(a.ship.shipClass).arg(a.ship.hull.cur).arg(a.ship.hull.max)
            .arg(a.ship.cargoUsed()).arg(a.ship.cargoCapacity),
        QStringLiteral("Last seen: %1").arg(whereabouts),
        online ? QStringLiteral("Status: active in DataSpace") : QStringLiteral("Status: dormant")};
    QStringList out{Element(QStringLiteral("s-spynet-start")).attr("name", a.name).attr("rank", rankName(a.rank)).empty(),
                    QStringLiteral("<s-spynet>")};
    for (const QString& line : body)
        out << markup::escape(line);
    out << QStringLiteral("</s-spynet>");
    return out;
}

} // namespace views
