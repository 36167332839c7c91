#pragma once
// The element lines that show the game's objects to a client: avatar and
// ship figures, maps, locations, exchanges and reports.

#include "avatar.h"
#include "market.h"
#include "world.h"

#include <QMap>
#include <QStringList>

// Workforce and factories of a map as they stand now.
struct PlanetState {
    int workers = 0;
    QMap<QString, int> factories;
};

namespace views {

QStringList playerStats(const Avatar& a);       // name first, then rank and every figure
QString cashStat(const Avatar& a);
QString traderStat(const Avatar& a);
QString rankStat(const Avatar& a);
QStringList shipStats(const Ship& s);            // class first, then every system
QString cargoStat(const Ship& s);
QString fuelStat(const Ship& s);
QString customsStat();

QStringList mapView(const MapDef& m, const PlanetState& state);
QString newLocation(const LocationDef& l);       // the start tag alone
QStringList locationView(const LocationDef& l, const QStringList& players);

QStringList exchangeView(const Market& m);
QStringList quoteLines(const Quote& q);

QStringList examineReport(const Avatar& a, bool online);
QStringList spynetReport(const Avatar& a, bool online, const QString& whereabouts);

} // namespace views
