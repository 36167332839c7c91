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

QStringList playerStats(const Avatar& a); // name first, then rank and every figure
QString cashStat(const Avatar& a);
QString loanStat(const Avatar& a);
QString traderStat(const Avatar& a);
QString rankStat(const Avatar& a);
QStringList shipStats(const Ship& s); // class first, then every system
QString cargoStat(const Ship& s);
QString fuelStat(const Ship& s);
QString hullStat(const Ship& s);
QString shieldsStat(const Ship& s);
QString customsStat();

QStringList mapView(const MapDef& m, const PlanetState& state);
QStringList locationView(const LocationDef& l, const QStringList& players);

QStringList exchangeView(const Market& m); // s-exchange, every quote, the table
QStringList priceTable(const Market& m); // the table alone, as prose
QStringList quoteLines(const Quote& q);

QStringList examineReport(const Avatar& a, bool online);
QStringList spynetReport(const Avatar& a, bool online, const QString& whereabouts);

} // namespace views
