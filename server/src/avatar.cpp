#include "avatar.h"

#include <QJsonArray>

int Ship::cargoUsed() const
{
    int used = 0;
    for (int tons : cargo)
        used += tons;
    return used;
}

Avatar Avatar::newcomer(const QString& name, const QString& species, const QString& gender,
                        int str, int sta, int dex, int intel, const Place& start)
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
    return Gauge{a[0].toInt(), a[1].toInt()};
}

} // namespace

QJsonObject Avatar::toJson() const
{
    QJsonObject cargoJson;
    for (auto it = ship.cargo.begin(); it != ship.cargo.end(); ++it)
        cargoJson[it.key()] = it.value();
    QJsonObject shipJson{{"class", ship.shipClass},   {"hull", gauge(ship.hull)},
                         {"shields", gauge(ship.shields)}, {"engines", gauge(ship.engines)},
                         {"fuel", gauge(ship.fuel)},    {"computer", gauge(ship.computer)},
                         {"capacity", ship.cargoCapacity}, {"cargo", cargoJson},
                         {"navcomp", ship.navComputer}, {"customs", ship.customsCertificate}};
    return QJsonObject{{"name", name},
                       {"species", species},
                       {"gender", gender},
                       {"rank", rank},
                       {"stamina", gauge(stamina)},
                       {"strength", gauge(strength)},
                       {"dexterity", gauge(dexterity)},
                       {"intelligence", gauge(intelligence)},
                       {"cash", cash},
                       {"loan", loan},
                       {"hc", haulerCredits},
                       {"ak", akaturiCredits},
                       {"merchant", merchantCredits},
                       {"trader", traderCredits},
                       {"map", place.map},
                       {"loc", place.loc},
                       {"ship", shipJson}};
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
    cash = o["cash"].toInteger();
    loan = o["loan"].toInteger();
    haulerCredits = o["hc"].toInt(kNoHaulerCredit);
    akaturiCredits = o["ak"].toInt(kNoCredit);
    merchantCredits = o["merchant"].toInt(kNoCredit);
    traderCredits = o["trader"].toInt();
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
    const QJsonObject c = s["cargo"].toObject();
    for (auto it = c.begin(); it != c.end(); ++it) {
        if (it.value().toInt() > 0)
            ship.cargo[it.key()] = it.value().toInt();
    }
    return !name.isEmpty();
}
