#include "avatar.h"

#include <QJsonArray>

#include <limits>

int Ship::cargoUsed() const
{
    qint64 used = 0;
    for (int tons : cargo)
        used += tons;
    return int(qMin<qint64>(used, std::numeric_limits<int>::max()));
}

Avatar Avatar::newcomer(const QString& name, const QString& species, const QString& gender, int str, int sta, int dex,
    int intel, const Place& start)
{
    Avatar a;
    a.name = name;
    a.species = species;
    a.gender = gender;
    a.strength = {str, str};
    a.stamina = {sta, sta};
    a.dexterity = {dex, dex};
    a.intelligence = {intel, intel};
    a.cash = 15000;
    a.loan = 5000;
    a.place = start;
    return a;
}

namespace {

QJsonArray gauge(const Gauge& g)
{
    return QJsonArray{g.cur, g.max};
}

Gauge gauge(const QJsonValue& v, Gauge def)
{
    const QJsonArray a = v.toArray();
    if (a.size() != 2 || !a[0].isDouble() || !a[1].isDouble())
        return def;
    const int max = qMax(0, a[1].toInt());
    return Gauge{qBound(0, a[0].toInt(), max), max};
}

QString brokenGauge(const char* what, const Gauge& g)
{
    if (g.max < 0 || g.cur < 0 || g.cur > g.max)
        return QStringLiteral("%1 %2 of %3").arg(QLatin1String(what)).arg(g.cur).arg(g.max);
    return {};
}

} // namespace

QJsonObject Avatar::toJson() const
{
    QJsonObject cargoJson;
    for (auto it = ship.cargo.begin(); it != ship.cargo.end(); ++it)
        cargoJson[it.key()] = it.value();
    QJsonObject shipJson{{"class", ship.shipClass}, {"hull", gauge(ship.hull)}, {"shields", gauge(ship.shields)},
        {"engines", gauge(ship.engines)}, {"fuel", gauge(ship.fuel)}, {"computer", gauge(ship.computer)},
        {"capacity", ship.cargoCapacity}, {"cargo", cargoJson}, {"navcomp", ship.navComputer},
        {"customs", ship.customsCertificate}};
    return QJsonObject{{"name", name}, {"species", species}, {"gender", gender}, {"rank", rank},
        {"stamina", gauge(stamina)}, {"strength", gauge(strength)}, {"dexterity", gauge(dexterity)},
        {"intelligence", gauge(intelligence)}, {"cash", cash}, {"loan", loan}, {"hc", haulerCredits},
        {"ak", akaturiCredits}, {"merchant", merchantCredits}, {"trader", traderCredits}, {"map", place.map},
        {"loc", place.loc}, {"ship", shipJson}};
}

bool Avatar::fromJson(const QJsonObject& o)
{
    *this = Avatar{};
    name = o["name"].toString();
    species = o["species"].toString();
    gender = o["gender"].toString();
    rank = qBound(0, o["rank"].toInt(), kRankCount - 1);
    stamina = gauge(o["stamina"], stamina);
    strength = gauge(o["strength"], strength);
    dexterity = gauge(o["dexterity"], dexterity);
    intelligence = gauge(o["intelligence"], intelligence);
    cash = qBound<qint64>(0, o["cash"].toInteger(), kMaxCash);
    loan = qBound<qint64>(0, o["loan"].toInteger(), kLoanLimit);
    haulerCredits = o["hc"].toInt(kNoHaulerCredit);
    akaturiCredits = o["ak"].toInt(kNoCredit);
    merchantCredits = o["merchant"].toInt(kNoCredit);
    traderCredits = qMax(0, o["trader"].toInt());
    place = Place{o["map"].toString(), o["loc"].toInt(-1)};
    const QJsonObject s = o["ship"].toObject();
    if (s.contains("class"))
        ship.shipClass = s["class"].toString();
    ship.hull = gauge(s["hull"], ship.hull);
    ship.shields = gauge(s["shields"], ship.shields);
    ship.engines = gauge(s["engines"], ship.engines);
    ship.fuel = gauge(s["fuel"], ship.fuel);
    ship.computer = gauge(s["computer"], ship.computer);
    ship.cargoCapacity = qMax(0, s["capacity"].toInt(ship.cargoCapacity));
    ship.navComputer = s["navcomp"].toBool(ship.navComputer);
    ship.customsCertificate = s["customs"].toBool(ship.customsCertificate);
    // Cargo beyond the hold's capacity is not kept.
    const QJsonObject c = s["cargo"].toObject();
    for (auto it = c.begin(); it != c.end(); ++it) {
        const int tons = qMin(it.value().toInt(), ship.cargoFree());
        if (tons > 0)
            ship.cargo[it.key()] = tons;
    }
    return !name.isEmpty();
}

QString Avatar::brokenRule() const
{
    if (cash < 0 || cash > kMaxCash)
        return QStringLiteral("cash %1").arg(cash);
    if (loan < 0 || loan > kLoanLimit)
        return QStringLiteral("loan %1").arg(loan);
    if (traderCredits < 0)
        return QStringLiteral("trader credits %1").arg(traderCredits);
    qint64 held = 0;
    for (auto it = ship.cargo.begin(); it != ship.cargo.end(); ++it) {
        if (it.value() <= 0)
            return QStringLiteral("%1 tons of %2").arg(it.value()).arg(it.key());
        held += it.value();
    }
    if (ship.cargoCapacity < 0 || held > ship.cargoCapacity)
        return QStringLiteral("cargo %1 of %2").arg(held).arg(ship.cargoCapacity);
    for (const auto& [what, g] : {std::pair{"fuel", ship.fuel}, {"hull", ship.hull}, {"shields", ship.shields}}) {
        if (QString broken = brokenGauge(what, g); !broken.isEmpty())
            return broken;
    }
    return {};
}
