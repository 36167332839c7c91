// What each command of a player in the game does.
#include "game.h"

#include "elements.h"

#include <limits>

using elements::prose;

namespace {

// The command word and the rest of the line.
std::pair<QString, QString> splitCommand(const QString& line)
{
    const QString t = line.trimmed();
    const int sp = t.indexOf(QLatin1Char(' '));
    if (sp < 0)
        return {t.toLower(), QString()};
    return {t.left(sp).toLower(), t.mid(sp + 1).trimmed()};
}

constexpr int kDefaultLot = 10; // tons bought when no amount is given
constexpr int kFuelPrice = 5; // per unit
constexpr int kCertificatePrice = 500;
constexpr int kTonsPerRank = 250; // trader credits that earn the next rank
constexpr int kTradeRanks = 5; // trading alone leads up to Trader
constexpr int kRepairPrice = 3; // per point of hull or shields

// A positive whole number of ig, or 0.
qint64 amountOf(const QString& text)
{
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok && v > 0 ? v : 0;
}

} // namespace

Game::Result Game::command(Player* p, const QString& line)
{
    const auto [verb, rest] = splitCommand(line);
    if (verb.isEmpty() || verb.startsWith(QLatin1Char('<')))
        return Result::Continue; // blank lines and stray markup get no answer
    if (const auto dir = dirFromName(verb)) {
        move(p, *dir);
    } else if (verb == QLatin1String("look") || verb == QLatin1String("l")) {
        look(p);
    } else if (verb == QLatin1String("board")) {
        board(p);
    } else if (verb == QLatin1String("land")) {
        move(p, Dir::D);
    } else if (verb == QLatin1String("buy") || verb == QLatin1String("sell")) {
        trade(p, rest.split(QLatin1Char(' '), Qt::SkipEmptyParts), verb == QLatin1String("buy"));
    } else if (verb == QLatin1String("prices") || verb == QLatin1String("exchange")) {
        prices(p);
    } else if (verb == QLatin1String("borrow") || verb == QLatin1String("loan")) {
        borrow(p, rest);
    } else if (verb == QLatin1String("repay")) {
        repay(p, rest);
    } else if (verb == QLatin1String("repair")) {
        repair(p);
    } else if (verb == QLatin1String("refuel")) {
        refuel(p);
    } else if (verb == QLatin1String("certificate") || verb == QLatin1String("certify")) {
        certify(p);
    } else if (verb == QLatin1String("tell") || verb == QLatin1String("tb")) {
        tell(p, rest);
    } else if (verb == QLatin1String("say")) {
        if (rest.isEmpty())
            p->send(prose(QStringLiteral("Say what?")));
        else
            say(p, rest);
    } else if (verb == QLatin1String("hug") || verb == QLatin1String("kiss")) {
        social(p, verb, rest);
    } else if (verb == QLatin1String("ex") || verb == QLatin1String("examine")) {
        examine(p, rest);
    } else if (verb == QLatin1String("spynet")) {
        QString name = rest;
        if (name.startsWith(QLatin1String("report"), Qt::CaseInsensitive))
            name = name.mid(6).trimmed();
        spynet(p, name);
    } else if (verb == QLatin1String("score")) {
        score(p);
    } else if (verb == QLatin1String("ship") || verb == QLatin1String("status")) {
        shipReport(p);
    } else if (verb == QLatin1String("who")) {
        who(p);
    } else if (verb == QLatin1String("help") || verb == QLatin1String("?")) {
        help(p);
    } else if (verb == QLatin1String("quit")) {
        p->send(prose(QStringLiteral("Your avatar fades from Kyrnos DataSpace. Goodbye, %1.").arg(p->name())));
        return Result::Quit;
    } else {
        p->send(prose(QStringLiteral("Sorry, I don't know how to %1. Type help for the commands.").arg(verb.left(40))));
    }
    return Result::Continue;
}

void Game::look(Player* p)
{
    showLocation(p, false);
}

void Game::board(Player* p)
{
    const MapDef* map = world_.map(p->avatar->place.map);
    const LocationDef* here = world_.location(p->avatar->place);
    if (map && map->space) {
        p->send(prose(QStringLiteral("You are already aboard your ship. Type d to land.")));
        return;
    }
    if (!here || !here->board.valid()) {
        p->send(prose(QStringLiteral("There is no ship to board here. Find a landing pad.")));
        return;
    }
    p->send(
        {prose(QStringLiteral("You board your %1 class ship and lift off into orbit.").arg(p->avatar->ship.shipClass)),
            elements::sound(QStringLiteral("launch"))});
    relocate(p, here->board, QStringLiteral("%1 boards a ship and lifts off.").arg(p->name()),
        QStringLiteral("%1's ship rises into orbit.").arg(p->name()));
}

void Game::refuel(Player* p)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Avatar& a = *p->avatar;
    if (!here || !here->board.valid()) {
        p->send(prose(QStringLiteral("You can only refuel on a landing pad.")));
        return;
    }
    const int units = qMin<qint64>(a.ship.fuel.max - a.ship.fuel.cur, a.cash / kFuelPrice);
    if (units <= 0) {
        p->send(prose(a.ship.fuel.cur >= a.ship.fuel.max ? QStringLiteral("Your tanks are already full.")
                                                         : QStringLiteral("You cannot afford any fuel.")));
        return;
    }
    a.ship.fuel.cur += units;
    a.cash -= qint64(units) * kFuelPrice;
    p->send({prose(QStringLiteral("The bowser pumps %1 units of fuel into your tanks for %2ig.")
                       .arg(units)
                       .arg(units * kFuelPrice)),
        views::fuelStat(a.ship), views::cashStat(a)});
    requestSave();
}

void Game::repair(Player* p)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Avatar& a = *p->avatar;
    Ship& s = a.ship;
    if (!here || !here->board.valid()) {
        p->send(prose(QStringLiteral("The repair crews work on the landing pads.")));
        return;
    }
    const qint64 needed = qint64(s.hull.max - s.hull.cur) + (s.shields.max - s.shields.cur);
    if (needed <= 0) {
        p->send(prose(QStringLiteral("Your ship needs no repairs.")));
        return;
    }
    // Hull first: it is what keeps the air in.
    int points = int(qMin<qint64>(needed, a.cash / kRepairPrice));
    if (points <= 0) {
        p->send(prose(QStringLiteral("You cannot afford any repairs.")));
        return;
    }
    const int cost = points * kRepairPrice;
    const int hull = qMin(points, s.hull.max - s.hull.cur);
    s.hull.cur += hull;
    s.shields.cur += points - hull;
    a.cash -= cost;
    p->send({prose(QStringLiteral("The crew patches up your ship for %1ig.").arg(cost)), views::hullStat(s),
        views::shieldsStat(s), views::cashStat(a)});
    requestSave();
}

void Game::borrow(Player* p, const QString& amount)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Avatar& a = *p->avatar;
    if (!here || !marketAt(*here)) {
        p->send(prose(QStringLiteral("Loans are arranged at the credit desk of a commodity exchange.")));
        return;
    }
    const qint64 wanted = amountOf(amount);
    if (wanted == 0) {
        p->send(prose(QStringLiteral("Borrow how much? For example: borrow 2000")));
        return;
    }
    // Compared as differences: a sum of what the player typed could wrap around.
    if (wanted > kLoanLimit - a.loan) {
        p->send(prose(
            QStringLiteral("The credit desk lends at most %1ig in all; you owe %2ig.").arg(kLoanLimit).arg(a.loan)));
        return;
    }
    if (wanted > kMaxCash - a.cash) {
        p->send(prose(QStringLiteral("No account holds more than %1ig.").arg(kMaxCash)));
        return;
    }
    a.loan += wanted;
    a.cash += wanted;
    p->send(
        {prose(QStringLiteral("The credit desk lends you %1ig.").arg(wanted)), views::cashStat(a), views::loanStat(a)});
    requestSave();
}

void Game::repay(Player* p, const QString& amount)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Avatar& a = *p->avatar;
    if (!here || !marketAt(*here)) {
        p->send(prose(QStringLiteral("Loans are repaid at the credit desk of a commodity exchange.")));
        return;
    }
    if (a.loan <= 0) {
        p->send(prose(QStringLiteral("You owe nothing.")));
        return;
    }
    // Without an amount, as much of the loan as the cash covers.
    const qint64 paid = qMin(qMin(amount.trimmed().isEmpty() ? a.loan : amountOf(amount), a.loan), a.cash);
    if (paid <= 0) {
        p->send(prose(a.cash <= 0 ? QStringLiteral("You have no cash to repay with.")
                                  : QStringLiteral("Repay how much? For example: repay 1000")));
        return;
    }
    a.loan -= paid;
    a.cash -= paid;
    p->send({prose(a.loan == 0 ? QStringLiteral("You repay %1ig and are free of debt.").arg(paid)
                               : QStringLiteral("You repay %1ig; you still owe %2ig.").arg(paid).arg(a.loan)),
        views::cashStat(a), views::loanStat(a)});
    requestSave();
}

void Game::certify(Player* p)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Avatar& a = *p->avatar;
    if (!here || !here->customs) {
        p->send(prose(QStringLiteral("Customs certificates are issued at a customs house.")));
    } else if (a.ship.customsCertificate) {
        p->send(prose(QStringLiteral("Your ship already holds a customs certificate.")));
    } else if (a.cash < kCertificatePrice) {
        p->send(prose(QStringLiteral("A certificate costs %1ig, more than you have.").arg(kCertificatePrice)));
    } else {
        a.cash -= kCertificatePrice;
        a.ship.customsCertificate = true;
        p->send({prose(QStringLiteral("An officer stamps your papers: your ship is certified for %1ig.")
                           .arg(kCertificatePrice)),
            views::customsStat(), views::cashStat(a)});
        requestSave();
    }
}

void Game::promote(Player* p)
{
    Avatar& a = *p->avatar;
    const int earned = qMin(kTradeRanks, a.traderCredits / kTonsPerRank);
    if (earned <= a.rank)
        return;
    a.rank = earned;
    p->send(
        {views::rankStat(a), prose(QStringLiteral("The traders' guild promotes you to %1!").arg(rankName(a.rank)))});
    toAll({prose(QStringLiteral("+++ %1 is promoted to %2 +++").arg(a.name, rankName(a.rank)))}, p);
}

void Game::prices(Player* p)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Market* m = here ? marketAt(*here) : nullptr;
    if (!m) {
        p->send(prose(QStringLiteral("There is no exchange here.")));
        return;
    }
    // The quotes and the table, without announcing the exchange again:
    // that would start the player's history afresh.
    QStringList lines;
    for (const Quote& q : m->quotes())
        lines << views::quoteLines(q);
    p->send(lines + views::priceTable(*m));
}

void Game::trade(Player* p, const QStringList& words, bool buying)
{
    const LocationDef* here = world_.location(p->avatar->place);
    Market* m = here ? marketAt(*here) : nullptr;
    if (!m) {
        p->send(prose(QStringLiteral("You need to be at a commodity exchange to trade.")));
        return;
    }
    if (words.isEmpty()) {
        p->send(prose(buying ? QStringLiteral("Buy what? For example: buy Grain 10")
                             : QStringLiteral("Sell what? For example: sell Grain")));
        return;
    }
    Quote* q = m->quote(words[0]);
    if (!q) {
        p->send(prose(QStringLiteral("The %1 exchange does not trade in %2.").arg(m->name(), words[0].left(40))));
        return;
    }
    Avatar& a = *p->avatar;
    Ship& ship = a.ship;
    const int held = ship.cargo.value(q->commodity);
    int wanted = buying ? kDefaultLot : held;
    if (words.size() > 1) {
        bool ok = false;
        wanted = words[1].toInt(&ok);
        if (!ok || wanted <= 0) {
            p->send(prose(QStringLiteral("How many tons? Give a whole number.")));
            return;
        }
    }
    int tons = 0;
    if (buying) {
        const qint64 affordable = a.cash / q->sellPrice();
        tons = static_cast<int>(qMin<qint64>(qMin(wanted, qMin(q->stock, ship.cargoFree())), affordable));
        if (tons <= 0) {
            const QString why = q->stock <= 0 ? QStringLiteral("The exchange has no %1 left.").arg(q->commodity)
                : ship.cargoFree() <= 0       ? QStringLiteral("Your hold is full.")
                                              : QStringLiteral("You cannot afford any %1.").arg(q->commodity);
            p->send(prose(why));
            return;
        }
        const qint64 cost = qint64(tons) * q->sellPrice();
        a.cash -= cost;
        q->stock -= tons;
        ship.cargo[q->commodity] = held + tons;
        p->send(prose(QStringLiteral("You buy %1 tons of %2 for %3ig.").arg(tons).arg(q->commodity).arg(cost)));
    } else {
        // As much as the hold has, the exchange can store and the purse can take.
        const qint64 room = (kMaxCash - a.cash) / q->buyPrice();
        tons = static_cast<int>(qMin<qint64>(qMin(qMin(wanted, held), Quote::kMaxStock - q->stock), room));
        if (tons <= 0) {
            const QString why = held <= 0 ? QStringLiteral("You have no %1 in your hold.").arg(q->commodity)
                : room <= 0               ? QStringLiteral("No account holds more than %1ig.").arg(kMaxCash)
                                          : QStringLiteral("The exchange cannot store any more %1.").arg(q->commodity);
            p->send(prose(why));
            return;
        }
        const qint64 income = qint64(tons) * q->buyPrice();
        a.cash += income;
        q->stock += tons;
        if (held - tons > 0)
            ship.cargo[q->commodity] = held - tons;
        else
            ship.cargo.remove(q->commodity);
        p->send(prose(QStringLiteral("You sell %1 tons of %2 for %3ig.").arg(tons).arg(q->commodity).arg(income)));
    }
    a.traderCredits = int(qMin<qint64>(std::numeric_limits<int>::max(), qint64(a.traderCredits) + tons));
    p->send(
        {views::cashStat(a), views::traderStat(a), views::cargoStat(ship), elements::sound(QStringLiteral("cash"))});
    promote(p);
    // Everyone on the trading floor sees the stock change.
    toLocation(p->avatar->place, views::quoteLines(*q), nullptr);
    requestSave();
}

void Game::tell(Player* p, const QString& rest)
{
    const int sp = rest.indexOf(QLatin1Char(' '));
    const QString name = sp < 0 ? rest : rest.left(sp);
    const QString text = sp < 0 ? QString() : rest.mid(sp + 1).trimmed();
    if (name.isEmpty() || text.isEmpty()) {
        p->send(prose(QStringLiteral("Tell whom what? For example: tell Mira Hello there")));
        return;
    }
    Player* to = find(name);
    if (!to) {
        p->send(prose(QStringLiteral("There is nobody called %1 in the game.").arg(name.left(40))));
        return;
    }
    if (!mayTalk(p, text))
        return;
    to->send({elements::tightBeam(p->name(), text), elements::sound(QStringLiteral("tb"))});
    p->send(prose(QStringLiteral("Your tight beam reaches %1.").arg(to->name())));
    if (!to->sink) {
        // Simulated players answer at once with something from their repertoire.
        const auto bot = std::find_if(
            world_.bots.begin(), world_.bots.end(), [&](const BotDef& b) { return b.name == to->name(); });
        QString answer = QStringLiteral("Sorry, I'm busy trading.");
        if (bot != world_.bots.end() && !bot->sayings.isEmpty())
            answer = bot->sayings.at(std::uniform_int_distribution<int>(0, int(bot->sayings.size()) - 1)(rng_));
        p->send({elements::tightBeam(to->name(), answer), elements::sound(QStringLiteral("tb"))});
    }
}

void Game::social(Player* p, const QString& verb, const QString& target)
{
    if (target.isEmpty()) {
        p->send(prose(QStringLiteral("%1 whom?").arg(verb.left(1).toUpper() + verb.mid(1))));
        return;
    }
    Player* to = find(target);
    if (!to) {
        p->send(prose(QStringLiteral("There is nobody called %1 in the game.").arg(target.left(40))));
        return;
    }
    const QString verbs = verb == QLatin1String("kiss") ? QStringLiteral("kisses") : QStringLiteral("hugs");
    if (to == p) {
        p->send(prose(QStringLiteral("You %1 yourself. It helps a little.").arg(verb)));
        return;
    }
    // It shows on the other's screen, so it counts as talking.
    if (!mayTalk(p, QString()))
        return;
    p->send(prose(QStringLiteral("You %1 %2.").arg(verb, to->name())));
    to->send(prose(QStringLiteral("%1 %2 you.").arg(p->name(), verbs)));
    for (const auto& other : players_) {
        if (other.get() != p && other.get() != to && other->avatar->place == p->avatar->place)
            other->send(prose(QStringLiteral("%1 %2 %3.").arg(p->name(), verbs, to->name())));
    }
}

void Game::examine(Player* p, const QString& what)
{
    if (what.isEmpty()) {
        p->send(prose(QStringLiteral("Examine what?")));
        return;
    }
    if (Player* other = find(what)) {
        p->send(views::examineReport(*other->avatar, true));
        return;
    }
    if (Account* a = store_.findByAvatar(what)) {
        p->send(views::examineReport(a->avatar, false));
        return;
    }
    const LocationDef* here = world_.location(p->avatar->place);
    if (here) {
        for (const QString& item : here->items) {
            if (item.compare(what, Qt::CaseInsensitive) == 0
                || item.endsWith(QLatin1Char(' ') + what, Qt::CaseInsensitive)) {
                p->send(
                    prose(QStringLiteral("You look closely at %1. Nothing about it seems out of place.").arg(item)));
                return;
            }
        }
    }
    if (const CommodityDef* c = world_.commodity(what)) {
        p->send(prose(QStringLiteral("%1: %2").arg(c->name, c->description)));
        return;
    }
    p->send(prose(QStringLiteral("You see no %1 here.").arg(what.left(40))));
}

void Game::spynet(Player* p, const QString& name)
{
    if (name.isEmpty()) {
        p->send(prose(QStringLiteral("Spynet report on whom? For example: spynet report Mira")));
        return;
    }
    const Player* other = find(name);
    const Avatar* a = other ? other->avatar : nullptr;
    if (!a) {
        if (Account* acc = store_.findByAvatar(name))
            a = &acc->avatar;
    }
    if (!a) {
        p->send(prose(QStringLiteral("Spynet has no file on %1.").arg(name.left(40))));
        return;
    }
    const LocationDef* l = world_.location(a->place);
    const MapDef* m = world_.map(a->place.map);
    const QString where = l && m ? QStringLiteral("%1, %2").arg(l->name, m->name) : QStringLiteral("unknown");
    p->send(views::spynetReport(*a, other != nullptr, where));
}

void Game::score(Player* p)
{
    const Avatar& a = *p->avatar;
    QStringList lines = views::playerStats(a);
    lines << elements::playerPage();
    lines << prose(QStringList{QStringLiteral("%1, %2 %3, rank %4").arg(a.name, a.gender, a.species, rankName(a.rank)),
        QStringLiteral("Cash %1ig, loan %2ig, trader credits %3").arg(a.cash).arg(a.loan).arg(a.traderCredits)});
    p->send(lines);
}

void Game::shipReport(Player* p)
{
    const Ship& s = p->avatar->ship;
    QStringList lines = views::shipStats(s);
    lines << elements::shipPage();
    QStringList cargo;
    for (auto it = s.cargo.begin(); it != s.cargo.end(); ++it)
        cargo << QStringLiteral("%1 tons of %2").arg(it.value()).arg(it.key());
    lines << prose(QStringList{QStringLiteral("Your %1 class ship: fuel %2 of %3, hull %4 of %5.")
                                   .arg(s.shipClass)
                                   .arg(s.fuel.cur)
                                   .arg(s.fuel.max)
                                   .arg(s.hull.cur)
                                   .arg(s.hull.max),
        cargo.isEmpty() ? QStringLiteral("The hold is empty.")
                        : QStringLiteral("In the hold: %1.").arg(cargo.join(QLatin1String(", ")))});
    p->send(lines);
}

void Game::who(Player* p)
{
    QStringList lines{QStringLiteral("In Kyrnos DataSpace now:")};
    for (const auto& other : players_)
        lines << QStringLiteral("  %1 (%2)").arg(other->name(), rankName(other->avatar->rank));
    p->send(prose(lines));
}

void Game::help(Player* p)
{
    p->send(prose(QStringList{QStringLiteral("Moving: n ne e se s sw w nw u d, look, board (on a landing pad), land"),
        QStringLiteral("Trading: buy GOODS [tons], sell GOODS [tons], prices, borrow AMOUNT, repay [AMOUNT]"),
        QStringLiteral("Your ship: refuel, repair (on a landing pad), certificate (at customs)"),
        QStringLiteral("People: who, tell NAME TEXT (or tb), say TEXT, hug NAME, kiss NAME"),
        QStringLiteral("Reports: ex NAME, spynet report NAME, score, ship"), QStringLiteral("Leaving: quit")}));
}
