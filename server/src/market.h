#pragma once
// The live prices and stocks of one commodity exchange. Prices wander a
// little on every drift, within bounds around the commodity's base price;
// goods the planet produces are cheap here, the rest dear.

#include "world.h"

#include <QList>
#include <QString>

#include <random>

struct Quote {
    QString commodity;
    int base = 0; // the exchange's usual selling price
    double factor = 1.0; // the current drift
    int stock = 0;
    int normalStock = 0; // stock drifts back towards this
    // The most an exchange stores of one commodity; sales beyond it are refused.
    static constexpr int kMaxStock = 1000000;

    int sellPrice() const; // what a player pays per ton
    int buyPrice() const; // what a player is paid per ton
    // What is wrong with the stock, or empty when it is within its bounds.
    QString brokenRule() const;
};

class Market {
public:
    Market(const ExchangeDef& def, const World& world);

    QString id() const { return id_; }
    QString name() const { return name_; }
    const QList<Quote>& quotes() const { return quotes_; }
    Quote* quote(const QString& commodity); // case-insensitive

    void drift(std::mt19937& rng);

private:
    QString id_;
    QString name_;
    QList<Quote> quotes_;
};
