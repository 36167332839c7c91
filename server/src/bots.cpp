#include "bots.h"

BotDriver::BotDriver(Game& game, quint32 seed, int intervalMs, int maxOnline, QObject* parent)
    : QObject(parent)
    , game_(game)
    , rng_(seed)
    , intervalMs_(intervalMs)
    , maxOnline_(maxOnline)
{
    for (const BotDef& def : game_.world().bots) {
        Avatar a = Avatar::newcomer(def.name, def.species, def.gender, 40, 35, 35, 30, Place{});
        a.rank = qBound(0, def.rank, kRankCount - 1);
        a.cash = 20000 + 5000 * a.rank;
        bots_.push_back(Bot{&def, a, nullptr});
    }
    connect(&timer_, &QTimer::timeout, this, &BotDriver::step);
}

BotDriver::~BotDriver()
{
    stop();
}

void BotDriver::start()
{
    if (intervalMs_ > 0 && maxOnline_ > 0 && !bots_.empty())
        timer_.start(intervalMs_);
}

void BotDriver::stop()
{
    timer_.stop();
    for (Bot& b : bots_) {
        if (b.player)
            game_.leave(b.player);
        b.player = nullptr;
    }
}

void BotDriver::step()
{
    if (bots_.empty())
        return;
    Bot& bot = bots_[std::uniform_int_distribution<size_t>(0, bots_.size() - 1)(rng_)];
    if (!bot.player) {
        const auto online = std::count_if(bots_.begin(), bots_.end(), [](const Bot& b) { return b.player; });
        if (online < maxOnline_ && !game_.find(bot.def->name))
            bringIn(bot);
        return;
    }
    const int roll = std::uniform_int_distribution<int>(0, 99)(rng_);
    if (roll < 65) {
        wander(bot);
    } else if (roll < 85 && !bot.def->sayings.isEmpty()) {
        const auto i = std::uniform_int_distribution<qsizetype>(0, bot.def->sayings.size() - 1)(rng_);
        game_.say(bot.player, bot.def->sayings.at(i));
    } else if (roll >= 92) {
        game_.leave(bot.player);
        bot.player = nullptr;
    }
}

void BotDriver::bringIn(Bot& bot)
{
    const MapDef* m = game_.world().map(bot.def->map);
    auto it = m->locations.begin();
    std::advance(it, std::uniform_int_distribution<size_t>(0, m->locations.size() - 1)(rng_));
    bot.avatar.place = Place{m->id, it->first};
    bot.player = game_.enter(&bot.avatar, nullptr, {});
}

void BotDriver::wander(Bot& bot)
{
    const LocationDef* here = game_.world().location(bot.avatar.place);
    if (!here)
        return;
    std::vector<Dir> ways;
    for (int i = 0; i < kDirCount; ++i) {
        if (here->exits[i].valid() && here->exits[i].map == bot.avatar.place.map)
            ways.push_back(Dir(i));
    }
    if (!ways.empty())
        game_.move(bot.player, ways[std::uniform_int_distribution<size_t>(0, ways.size() - 1)(rng_)]);
}
