#pragma once
// The running game: who is in it and where, the live exchanges and
// planets, and what every command does. Connected players and simulated
// ones are alike here; only connected ones have somewhere to send lines.

#include "accountstore.h"
#include "market.h"
#include "views.h"
#include "world.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

struct Player {
    Avatar* avatar = nullptr;    // owned by the account store or by the bot driver
    Account* account = nullptr;  // null for simulated players
    std::function<void(const QStringList&)> sink;  // empty for simulated players

    QString name() const { return avatar->name; }
    void send(const QStringList& lines) const
    {
        if (sink)
            sink(lines);
    }
    void send(const QString& line) const { send(QStringList{line}); }
};

struct GameTimings {
    int driftMs = 20000;   // prices and planets change
    int storyMs = 60000;   // a news line for everyone
};

class Game : public QObject {
    Q_OBJECT
public:
    Game(const World& world, AccountStore& store, quint32 seed, GameTimings timings,
         QObject* parent = nullptr);

    void start();  // the timers

    // Puts the avatar into the world and shows the world to the player.
    Player* enter(Avatar* avatar, Account* account, std::function<void(const QStringList&)> sink);
    void leave(Player* player);

    enum class Result { Continue, Quit };
    Result command(Player* player, const QString& line);

    Player* find(const QString& name) const;  // case-insensitive
    const std::vector<std::unique_ptr<Player>>& players() const { return players_; }
    const World& world() const { return world_; }
    std::mt19937& rng() { return rng_; }

    // Moves a player through an exit; false (and a reason told) when it cannot.
    bool move(Player* p, Dir d);
    void say(Player* p, const QString& text);
    // Saves the accounts, logging a failure.
    void save();

    // One round of price and planet changes; the drift timer calls it.
    void drift();
    void tellStory();

private:
    Market* marketAt(const LocationDef& l);
    PlanetState& planet(const QString& mapId);
    QStringList playersAt(const Place& place, const Player* except) const;
    void toLocation(const Place& place, const QStringList& lines, const Player* except) const;
    void toAll(const QStringList& lines, const Player* except = nullptr) const;
    void toMap(const QString& mapId, const QStringList& lines) const;
    void showLocation(Player* p, bool withMap);
    void relocate(Player* p, const Place& to, const QString& leaving, const QString& arriving);

    // Commands (commands.cpp).
    void look(Player* p);
    void board(Player* p);
    void refuel(Player* p);
    void certify(Player* p);
    void promote(Player* p);
    void trade(Player* p, const QStringList& words, bool buying);
    void prices(Player* p);
    void tell(Player* p, const QString& rest);
    void social(Player* p, const QString& verb, const QString& target);
    void examine(Player* p, const QString& what);
    void spynet(Player* p, const QString& name);
    void score(Player* p);
    void shipReport(Player* p);
    void who(Player* p);
    void help(Player* p);

    const World& world_;
    AccountStore& store_;
    std::mt19937 rng_;
    GameTimings timings_;
    std::vector<std::unique_ptr<Player>> players_;
    std::map<QString, std::unique_ptr<Market>> markets_;
    std::map<QString, PlanetState> planets_;
    QTimer driftTimer_;
    QTimer storyTimer_;
};
