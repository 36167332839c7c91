#pragma once
// A player's character and ship: everything about them that is kept
// between sessions.

#include "world.h"

#include <QJsonObject>
#include <QMap>
#include <QString>

struct Gauge {
    int cur = 0;
    int max = 0;
};

struct Ship {
    QString shipClass = QStringLiteral("Trader");
    Gauge hull{100, 100};
    Gauge shields{50, 50};
    Gauge engines{40, 40};
    Gauge fuel{30, 30};
    Gauge computer{20, 20};
    int cargoCapacity = 100;
    bool navComputer = true;
    bool customsCertificate = false;
    QMap<QString, int> cargo; // commodity -> tons

    int cargoUsed() const;
    int cargoFree() const { return cargoCapacity - cargoUsed(); }
};

// A figure the client shows is a signed 32-bit number, so no purse may
// hold more than that; the credit desk lends up to its own limit in all.
constexpr qint64 kMaxCash = 2147483647;
constexpr qint64 kLoanLimit = 20000;

struct Avatar {
    QString name;
    QString species;
    QString gender;
    int rank = 0;
    Gauge stamina, strength, dexterity, intelligence;
    qint64 cash = 0;
    qint64 loan = 0;
    // A guild that has given no line of credit says so with these figures.
    static constexpr int kNoHaulerCredit = -1;
    static constexpr int kNoCredit = -99999;
    int haulerCredits = kNoHaulerCredit;
    int akaturiCredits = kNoCredit;
    int merchantCredits = kNoCredit;
    int traderCredits = 0;
    Place place;
    Ship ship;

    // A newcomer with the given stats, cash and ship of a fresh account.
    static Avatar newcomer(const QString& name, const QString& species, const QString& gender, int str, int sta,
        int dex, int intel, const Place& start);

    QJsonObject toJson() const;
    // Missing or odd fields keep their defaults and figures out of bounds
    // are brought within them; false when there is no name.
    bool fromJson(const QJsonObject& o);

    // The rules every figure obeys (cash, loan, cargo and the ship's gauges
    // within their bounds): what is broken, or empty when all hold.
    QString brokenRule() const;
};
