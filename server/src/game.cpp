#include "game.h"

#include "elements.h"

#include <QDebug>

using elements::prose;

Game::Game(const World& world, AccountStore& store, quint32 seed, GameTimings timings, QObject* parent)
    : QObject(parent)
    , world_(world)
    , store_(store)
    , timings_(timings)
{
    reset(seed);
    connect(&driftTimer_, &QTimer::timeout, this, &Game::drift);
    connect(&storyTimer_, &QTimer::timeout, this, &Game::tellStory);
    saveTimer_.setSingleShot(true);
    connect(&saveTimer_, &QTimer::timeout, this, &Game::saveNow);
}

void Game::start()
{
    if (timings_.driftMs > 0)
        driftTimer_.start(timings_.driftMs);
    if (timings_.storyMs > 0)
        storyTimer_.start(timings_.storyMs);
}

void Game::reset(quint32 seed)
{
    rng_.seed(seed);
    markets_.clear();
    for (const auto& [id, def] : world_.exchanges)
        markets_[id] = std::make_unique<Market>(def, world_);
    planets_.clear();
    for (const auto& [id, m] : world_.maps)
        planets_[id] = PlanetState{m.workers, m.factories};
}

Player* Game::find(const QString& name) const
{
    for (const auto& p : players_) {
        if (p->name().compare(name, Qt::CaseInsensitive) == 0)
            return p.get();
    }
    return nullptr;
}

Market* Game::marketAt(const LocationDef& l)
{
    auto it = markets_.find(l.exchange);
    return it == markets_.end() ? nullptr : it->second.get();
}

PlanetState& Game::planet(const QString& mapId)
{
    return planets_[mapId];
}

QStringList Game::playersAt(const Place& place, const Player* except) const
{
    QStringList names;
    for (const auto& p : players_) {
        if (p.get() != except && p->avatar->place == place)
            names << p->name();
    }
    return names;
}

void Game::toEach(const QStringList& lines, const std::function<bool(const Player&)>& who) const
{
    QByteArray bytes;
    std::optional<QByteArray> text; // for people at terminals
    for (const auto& p : players_) {
        if (!p->sink || !who(*p))
            continue;
        const auto& to = p->news ? p->news : p->sink;
        if (p->reader == Reader::Person) {
            if (!text)
                text = wire::encode(plaintext::fromElements(lines));
            if (!text->isEmpty())
                to(*text);
            continue;
        }
        if (bytes.isEmpty())
            bytes = wire::encode(lines);
        to(bytes);
    }
}

void Game::toLocation(const Place& place, const QStringList& lines, const Player* except) const
{
    toEach(lines, [&](const Player& p) { return &p != except && p.avatar->place == place; });
}

void Game::toAll(const QStringList& lines, const Player* except) const
{
    toEach(lines, [&](const Player& p) { return &p != except; });
}

void Game::toMap(const QString& mapId, const QStringList& lines) const
{
    toEach(lines, [&](const Player& p) { return p.avatar->place.map == mapId; });
}

Player* Game::enter(Avatar* avatar, Account* account, std::function<void(const QByteArray&)> sink, Reader reader,
    std::function<void(const QByteArray&)> news)
{
    // A world file edited since the avatar last played may have lost its spot.
    if (!world_.location(avatar->place))
        avatar->place = world_.start;
    auto owned = std::make_unique<Player>(Player{avatar, account, std::move(sink), reader, std::move(news)});
    Player* p = owned.get();
    players_.push_back(std::move(owned));

    QStringList intro = views::playerStats(*avatar);
    intro << views::shipStats(avatar->ship);
    for (const auto& other : players_)
        intro << elements::addPlayer(other->name(), other->avatar->rank);
    intro << prose(QStringLiteral("Welcome to Kyrnos DataSpace, %1. Type help for the commands.").arg(avatar->name));
    p->send(intro);
    if (reader == Reader::Person)
        showLocation(p, true);
    else
        p->send(views::mapView(*world_.map(avatar->place.map), planet(avatar->place.map)));

    toAll({elements::addPlayer(avatar->name, avatar->rank)}, p);
    toLocation(
        avatar->place, {elements::contents(avatar->name, QStringLiteral("%1 has just arrived.").arg(avatar->name))}, p);
    return p;
}

void Game::leave(Player* player)
{
    auto it = std::find_if(players_.begin(), players_.end(), [player](const auto& p) { return p.get() == player; });
    if (it == players_.end())
        return;
    std::unique_ptr<Player> gone = std::move(*it);
    players_.erase(it);
    toLocation(gone->avatar->place,
        {elements::removeContents(gone->name(), QStringLiteral("%1 fades from view.").arg(gone->name()))}, nullptr);
    toAll({elements::removePlayer(gone->name())});
    if (gone->account)
        saveNow();
}

void Game::requestSave()
{
    if (timings_.saveMs <= 0)
        saveNow();
    else if (!saveTimer_.isActive())
        saveTimer_.start(timings_.saveMs);
}

void Game::saveNow()
{
    saveTimer_.stop();
    store_.saveInBackground();
}

void Game::showLocation(Player* p, bool withMap)
{
    const Place& place = p->avatar->place;
    const LocationDef* l = world_.location(place);
    if (!l)
        return;
    QStringList lines;
    if (withMap)
        lines << views::mapView(*world_.map(place.map), planet(place.map));
    lines << views::locationView(*l, playersAt(place, p));
    if (Market* m = marketAt(*l))
        lines << views::exchangeView(*m);
    p->send(lines);
}

void Game::relocate(Player* p, const Place& to, const QString& leaving, const QString& arriving)
{
    const Place from = p->avatar->place;
    toLocation(from, {elements::removeContents(p->name(), leaving)}, p);
    p->avatar->place = to;
    showLocation(p, from.map != to.map);
    toLocation(to, {elements::contents(p->name(), arriving)}, p);
    if (const LocationDef* l = world_.location(to); l && l->hazard > 0)
        damage(p, l->hazard);
    if (p->account)
        requestSave();
}

void Game::damage(Player* p, int amount)
{
    Ship& ship = p->avatar->ship;
    const int absorbed = qMin(amount, ship.shields.cur);
    ship.shields.cur -= absorbed;
    // The hull holds at 1: a battered ship still limps home for repairs.
    const int hullLoss = qMin(amount - absorbed, ship.hull.cur - 1);
    if (hullLoss > 0)
        ship.hull.cur -= hullLoss;
    QStringList lines{
        prose(hullLoss > 0 ? QStringLiteral("Rocks hammer your hull! Find a landing pad and repair your ship.")
                           : QStringLiteral("Rocks batter your shields."))};
    lines << views::shieldsStat(ship) << views::hullStat(ship);
    p->send(lines);
}

bool Game::move(Player* p, Dir d)
{
    const LocationDef* here = world_.location(p->avatar->place);
    const Place to = here ? here->exits[static_cast<int>(d)] : Place{};
    if (!to.valid()) {
        p->send(prose(QStringLiteral("You can't go that way.")));
        return false;
    }
    const MapDef* map = world_.map(p->avatar->place.map);
    const bool flying = map && map->space && to.map == p->avatar->place.map;
    Ship& ship = p->avatar->ship;
    if (flying) {
        if (ship.fuel.cur < 1) {
            p->send(prose(QStringLiteral("Your fuel tanks are empty. Land and refuel.")));
            return false;
        }
        --ship.fuel.cur;
        p->send(views::fuelStat(ship));
    }
    if (map && map->space && to.map != p->avatar->place.map)
        p->send({prose(QStringLiteral("Your ship drops through the atmosphere and settles on the pad.")),
            elements::sound(QStringLiteral("land"))});
    const bool vertical = d == Dir::U || d == Dir::D;
    const QString away = vertical ? dirLongName(d) : QStringLiteral("to the ") + dirLongName(d);
    const QString from = d == Dir::U ? QStringLiteral("below")
        : d == Dir::D                ? QStringLiteral("above")
                                     : QStringLiteral("the ") + dirLongName(opposite(d));
    relocate(p, to, QStringLiteral("%1 leaves %2.").arg(p->name(), away),
        QStringLiteral("%1 arrives from %2.").arg(p->name(), from));
    return true;
}

bool Game::mayTalk(Player* p, const QString& text)
{
    if (text.size() > kMaxMessage) {
        p->send(prose(QStringLiteral("That is too long to send; keep it under %1 characters.").arg(kMaxMessage)));
        return false;
    }
    if (!p->talk.take()) {
        p->send(prose(QStringLiteral("You are talking too fast; wait a moment.")));
        return false;
    }
    return true;
}

void Game::say(Player* p, const QString& text)
{
    if (!mayTalk(p, text))
        return;
    p->send(prose(QStringLiteral("You say, \"%1\"").arg(text)));
    toLocation(p->avatar->place, {prose(QStringLiteral("%1 says, \"%2\"").arg(p->name(), text))}, p);
}

void Game::drift()
{
    for (auto& [id, market] : markets_) {
        market->drift(rng_);
        QStringList lines;
        for (const Quote& q : market->quotes())
            lines << views::quoteLines(q);
        const QString& exchange = id; // a structured binding cannot be captured everywhere yet
        toEach(lines, [&](const Player& p) {
            const LocationDef* l = world_.location(p.avatar->place);
            return l && l->exchange == exchange;
        });
    }
    // Now and then a planet hires or lays off workers, or a factory opens or closes.
    std::uniform_int_distribution<int> percent(0, 99);
    for (auto& [id, state] : planets_) {
        const MapDef* m = world_.map(id);
        if (!m || m->space || m->workers == 0)
            continue;
        if (percent(rng_) < 40) {
            state.workers = qMax(0, state.workers + std::uniform_int_distribution<int>(-50, 60)(rng_));
            toMap(id, {elements::updateWorkers(state.workers), elements::updateInfra()});
        }
        if (percent(rng_) < 10 && !m->factories.isEmpty()) {
            const QString output
                = m->factories.keys().at(std::uniform_int_distribution<int>(0, int(m->factories.size()) - 1)(rng_));
            // The last factory of a kind may close too; one reopens later.
            if (percent(rng_) >= 50 || !closeFactory(id, output))
                openFactory(id, output);
        }
    }
}

void Game::openFactory(const QString& mapId, const QString& output)
{
    const MapDef* m = world_.map(mapId);
    if (!m)
        return;
    ++planet(mapId).factories[output];
    toMap(mapId,
        {elements::addFactory(output), prose(QStringLiteral("A new %1 factory opens on %2.").arg(output, m->name)),
            elements::updateInfra()});
}

bool Game::closeFactory(const QString& mapId, const QString& output)
{
    const MapDef* m = world_.map(mapId);
    PlanetState& state = planet(mapId);
    const auto it = state.factories.find(output);
    if (!m || it == state.factories.end() || it.value() < 1)
        return false;
    // At zero the output is forgotten, as the client forgets it.
    if (--it.value() == 0)
        state.factories.erase(it);
    toMap(mapId,
        {elements::removeFactory(output),
            prose(QStringLiteral("A %1 factory on %2 closes its doors.").arg(output, m->name)),
            elements::updateInfra()});
    return true;
}

QString Game::brokenRule() const
{
    for (const auto& p : players_) {
        if (QString broken = p->avatar->brokenRule(); !broken.isEmpty())
            return p->name() + QStringLiteral(": ") + broken;
    }
    for (const auto& [id, market] : markets_) {
        for (const Quote& q : market->quotes()) {
            if (QString broken = q.brokenRule(); !broken.isEmpty())
                return id + QStringLiteral(": ") + broken;
        }
    }
    return {};
}

void Game::tellStory()
{
    if (world_.story.isEmpty())
        return;
    const int i = std::uniform_int_distribution<int>(0, int(world_.story.size()) - 1)(rng_);
    toAll({prose(world_.story.at(i))});
}
