#include "market.h"

#include <cmath>

int Quote::sellPrice() const
{
    return qMax(1, static_cast<int>(std::lround(base * factor)));
}

int Quote::buyPrice() const
{
    return qMax(1, static_cast<int>(std::lround(base * factor * 0.85)));
}

QString Quote::brokenRule() const
{
    if (stock < 0 || stock > kMaxStock)
        return QStringLiteral("%1 stock %2").arg(commodity).arg(stock);
    return {};
}

Market::Market(const ExchangeDef& def, const World& world)
    : id_(def.id)
    , name_(def.name)
{
    for (const QString& name : def.commodities) {
        const CommodityDef* c = world.commodity(name);
        if (!c)
            continue;
        const bool local = def.produces.contains(c->name, Qt::CaseInsensitive);
        Quote q;
        q.commodity = c->name;
        q.base = static_cast<int>(std::lround(c->price * (local ? 0.75 : 1.2)));
        q.normalStock = local ? c->stock : c->stock / 3;
        q.stock = q.normalStock;
        quotes_ << q;
    }
}

Quote* Market::quote(const QString& commodity)
{
    for (Quote& q : quotes_) {
        if (q.commodity.compare(commodity, Qt::CaseInsensitive) == 0)
            return &q;
    }
    return nullptr;
}

void Market::drift(std::mt19937& rng)
{
    std::uniform_real_distribution<double> step(-0.06, 0.06);
    for (Quote& q : quotes_) {
        q.factor = std::clamp(q.factor + step(rng), 0.7, 1.4);
        // Stocks refill (or are sold off) a tenth of the way back to normal.
        q.stock += (q.normalStock - q.stock) / 10;
    }
}
