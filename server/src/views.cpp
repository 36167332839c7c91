#include "views.h"

#include "elements.h"

namespace views {

namespace {

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
    return {elements::playerName(a.name), rankStat(a), elements::playerGauge(QStringLiteral("sta"), a.stamina),
        elements::playerGauge(QStringLiteral("str"), a.strength),
        elements::playerGauge(QStringLiteral("dex"), a.dexterity),
        elements::playerGauge(QStringLiteral("int"), a.intelligence), cashStat(a), loanStat(a),
        elements::playerAmount(QStringLiteral("hc"), a.haulerCredits),
        elements::playerAmount(QStringLiteral("ak"), a.akaturiCredits),
        elements::playerAmount(QStringLiteral("merchant"), a.merchantCredits), traderStat(a)};
}

QString cashStat(const Avatar& a)
{
    return elements::playerAmount(QStringLiteral("cash"), a.cash);
}

QString loanStat(const Avatar& a)
{
    return elements::playerAmount(QStringLiteral("loan"), a.loan);
}

QString traderStat(const Avatar& a)
{
    return elements::playerAmount(QStringLiteral("trader"), a.traderCredits);
}

QStringList shipStats(const Ship& s)
{
    QStringList out{elements::shipClass(s.shipClass), hullStat(s), shieldsStat(s),
        elements::shipGauge(QStringLiteral("engines"), s.engines), fuelStat(s),
        elements::shipGauge(QStringLiteral("computer"), s.computer), cargoStat(s)};
    if (s.navComputer)
        out << elements::shipItem(QStringLiteral("navcomp"));
    if (s.customsCertificate)
        out << customsStat();
    return out;
}

QString customsStat()
{
    return elements::shipItem(QStringLiteral("customs-cert"));
}

QString rankStat(const Avatar& a)
{
    return elements::playerRank(rankName(a.rank));
}

QString cargoStat(const Ship& s)
{
    return elements::shipGauge(QStringLiteral("cargo"), Gauge{s.cargoFree(), s.cargoCapacity});
}

QString fuelStat(const Ship& s)
{
    return elements::shipGauge(QStringLiteral("fuel"), s.fuel);
}

QString hullStat(const Ship& s)
{
    return elements::shipGauge(QStringLiteral("hull"), s.hull);
}

QString shieldsStat(const Ship& s)
{
    return elements::shipGauge(QStringLiteral("shields"), s.shields);
}

QStringList mapView(const MapDef& m, const PlanetState& state)
{
    QStringList out{elements::newMap(m.system, m.name, m.owner), elements::mapInfo(m.economy, state.workers)};
    for (auto it = state.factories.begin(); it != state.factories.end(); ++it) {
        for (int i = 0; i < it.value(); ++i)
            out << elements::addFactory(it.key());
    }
    out << elements::updateInfra();
    return out;
}

QStringList locationView(const LocationDef& l, const QStringList& players)
{
    QStringList out = elements::newLoc(l);
    for (const QString& item : l.items)
        out << elements::contents(item, QStringLiteral("You see %1.").arg(item));
    for (const QString& p : players)
        out << elements::contents(p, QStringLiteral("%1 is here.").arg(p));
    QStringList exits;
    for (int i = 0; i < kDirCount; ++i) {
        if (l.exits[i].valid())
            exits << dirLongName(Dir(i));
    }
    if (l.board.valid())
        exits << QStringLiteral("board");
    out << elements::prose(exits.isEmpty() ? QStringLiteral("There are no obvious exits.")
                                           : QStringLiteral("Obvious exits: %1.").arg(exits.join(QLatin1String(", "))));
    return out;
}

QStringList quoteLines(const Quote& q)
{
    return {elements::exchSell(q.commodity, q.sellPrice(), q.stock), elements::exchBuy(q.commodity, q.buyPrice())};
}

QStringList exchangeView(const Market& m)
{
    QStringList out{elements::exchange(m.name())};
    for (const Quote& q : m.quotes())
        out << quoteLines(q);
    out << priceTable(m);
    return out;
}

QStringList priceTable(const Market& m)
{
    QStringList table{QStringLiteral("%1 Commodity Exchange").arg(m.name()),
        QStringLiteral("Commodity     Sells at   Stock   Buys at")};
    for (const Quote& q : m.quotes()) {
        table << QStringLiteral("%1 %2 %3 %4")
                     .arg(q.commodity.leftJustified(13))
                     .arg(QString::number(q.sellPrice()).leftJustified(10))
                     .arg(QString::number(q.stock).leftJustified(7))
                     .arg(q.buyPrice());
    }
    table << QStringLiteral("Prices are per ton. Type buy or sell, a commodity and, if you like, the tons.");
    return elements::prose(table);
}

QStringList examineReport(const Avatar& a, bool online)
{
    const QString he = pronoun(a);
    return elements::examine(a.name, rankName(a.rank),
        {QStringLiteral("%1 is a %2 %3.").arg(a.name, a.gender, a.species),
            QStringLiteral("%1 looks %2 and %3.")
                .arg(he, describe(a.strength, "very strong", "strong", "slight"),
                    describe(a.stamina, "tireless", "fit", "easily tired")),
            QStringLiteral("%1 holds the rank of %2.").arg(he, rankName(a.rank)),
            online ? QStringLiteral("%1 is in the game right now.").arg(he)
                   : QStringLiteral("%1 is not in the game right now.").arg(he)});
}

QStringList spynetReport(const Avatar& a, bool online, const QString& whereabouts)
{
    return elements::spynet(a.name, rankName(a.rank),
        {QStringLiteral("Subject: %1, %2 %3, rank %4").arg(a.name, a.gender, a.species, rankName(a.rank)),
            QStringLiteral("Strength %1, stamina %2, dexterity %3, intelligence %4")
                .arg(a.strength.max)
                .arg(a.stamina.max)
                .arg(a.dexterity.max)
                .arg(a.intelligence.max),
            QStringLiteral("Cash %1ig, loan %2ig").arg(a.cash).arg(a.loan),
            QStringLiteral("Ship: %1 class, hull %2/%3, cargo %4 of %5 tons")
                .arg(a.ship.shipClass)
                .arg(a.ship.hull.cur)
                .arg(a.ship.hull.max)
                .arg(a.ship.cargoUsed())
                .arg(a.ship.cargoCapacity),
            QStringLiteral("Last seen: %1").arg(whereabouts),
            online ? QStringLiteral("Status: active in DataSpace") : QStringLiteral("Status: dormant")});
}

} // namespace views
