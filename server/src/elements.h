#pragma once
// Every element of the game stream, built in one place. The client reads
// these lines with a line-oriented scanner and a fixed table of element
// names, so what may be sent is exactly what this unit can build: one
// function per element (variants of an element share its name).

#include "avatar.h"
#include "world.h"

#include <QString>
#include <QStringList>

namespace elements {

// s-default: prose, one line or a block of lines.
QString prose(const QString& text);
QStringList prose(const QStringList& lines);

QString addPlayer(const QString& name, int rank);
QString removePlayer(const QString& name);

// s-new-loc: the start tag with the exits, the description, the end tag.
QStringList newLoc(const LocationDef& l);
QString contents(const QString& name, const QString& text);
QString removeContents(const QString& name, const QString& text);

QString newMap(const QString& system, const QString& name, const QString& owner);
QString mapInfo(const QString& economy, int workers);
QString addFactory(const QString& output);
QString removeFactory(const QString& output);
QString updateWorkers(int workers);
QString updateInfra();

// s-player-stats: the avatar's name, rank, a gauge, an amount, or the
// request to show the Score page.
QString playerName(const QString& name);
QString playerRank(const QString& rank);
QString playerGauge(const QString& stat, const Gauge& g);
QString playerAmount(const QString& stat, qint64 amount);
QString playerPage();

// s-ship-stats: the class, a gauge, a fitted item ("navcomp",
// "customs-cert"), or the request to show the Spaceship page.
QString shipClass(const QString& shipClass);
QString shipGauge(const QString& stat, const Gauge& g);
QString shipItem(const QString& stat);
QString shipPage();

QString tightBeam(const QString& from, const QString& text);
QString noOp();
QString sound(const QString& name);

QString exchange(const QString& name);
QString exchSell(const QString& commodity, int price, int stock);
QString exchBuy(const QString& commodity, int price);

// A report: its start element, then the body lines inside s-spynet or
// s-examine.
QStringList spynet(const QString& name, const QString& rank, const QStringList& body);
QStringList examine(const QString& name, const QString& rank, const QStringList& body);

} // namespace elements
