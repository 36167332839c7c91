#pragma once
// The running game: who is in it and where, the live exchanges and
// planets, and what every command does. Connected players and simulated
// ones are alike here; only connected ones have somewhere to send lines.

#include "accountstore.h"
#include "market.h"
#include "plaintext.h"
#include "ratelimiter.h"
#include "views.h"
#include "wire.h"
#include "world.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

// Who reads a player's screen: Orvix, which draws the stream and looks by
// itself, or a person at a plain terminal, who reads its text only.
enum class Reader { Orvix, Person };

struct Player {
    Avatar* avatar = nullptr; // owned by the account store or by the bot driver
    Account* account = nullptr; // null for simulated players
    // Takes lines encoded for the wire; empty for simulated players.
    std::function<void(const QByteArray&)> sink;
    Reader reader = Reader::Person;
    // Takes news of others told to many, which may wait a moment to leave
    // with more; without it news goes to `sink`.
    std::function<void(const QByteArray&)> news;
    // What one player puts on others' screens (said and beamed text, hugs
    // and kisses): a few at once, then one every few seconds, so nobody can
    // flood everyone else's screen.
    RateLimiter talk{0.4, 5};

    QString name() const { return avatar->name; }
    void send(const QStringList& lines) const
    {
        if (!sink)
            return;
        const QByteArray bytes = wire::encode(reader == Reader::Orvix ? lines : plaintext::fromElements(lines));
        if (!bytes.isEmpty())
            sink(bytes);
    }
    void send(const QString& line) const { send(QStringList{line}); }
};

struct GameTimings {
    int driftMs = 20000; // prices and planets change
    int storyMs = 60000; // a news line for everyone
    // Changes are saved together this long after the first one, so a busy
    // trading floor costs one write, not one per trade.
    int saveMs = 2000;
};

class Game : public QObject {
    Q_OBJECT
public:
    Game(const World& world, AccountStore& store, quint32 seed, GameTimings timings, QObject* parent = nullptr);

    void start(); // the timers
    // Prices, stocks, planets and the random numbers as a new game starts
    // them, with `seed`; who is in the game stays. One game can so serve
    // many runs of the same commands, each alike.
    void reset(quint32 seed);

    // Puts the avatar into the world and shows the player the avatar, the
    // ship, who is online and the map; the location too for a person (Orvix
    // looks by itself and does not need it twice).
    Player* enter(Avatar* avatar, Account* account, std::function<void(const QByteArray&)> sink,
        Reader reader = Reader::Person, std::function<void(const QByteArray&)> news = {});
    void leave(Player* player);

    enum class Result { Continue, Quit };
    Result command(Player* player, const QString& line);

    Player* find(const QString& name) const; // case-insensitive
    const std::vector<std::unique_ptr<Player>>& players() const { return players_; }
    const World& world() const { return world_; }
    std::mt19937& rng() { return rng_; }

    // Moves a player through an exit; false (and a reason told) when it cannot.
    bool move(Player* p, Dir d);
    void say(Player* p, const QString& text);
    // Saves the accounts soon (changes made meanwhile are saved together).
    void requestSave();
    // Saves the accounts now (written by a worker thread; failures are logged).
    void saveNow();
    // Longest text a player may say or send by tight beam.
    static constexpr int kMaxMessage = 300;

    // The first figure of a player or an exchange that is out of its
    // bounds, named, or empty when every one holds.
    QString brokenRule() const;

    // One round of price and planet changes; the drift timer calls it.
    void drift();
    void tellStory();
    // A factory opens or closes on a planet, as the drift decides; told to
    // everyone on that map. False when there is none of that output to close.
    void openFactory(const QString& mapId, const QString& output);
    bool closeFactory(const QString& mapId, const QString& output);

private:
    Market* marketAt(const LocationDef& l);
    PlanetState& planet(const QString& mapId);
    QStringList playersAt(const Place& place, const Player* except) const;
    // Sends the lines to every connected player `who` picks, encoded once.
    void toEach(const QStringList& lines, const std::function<bool(const Player&)>& who) const;
    void toLocation(const Place& place, const QStringList& lines, const Player* except) const;
    void toAll(const QStringList& lines, const Player* except = nullptr) const;
    void toMap(const QString& mapId, const QStringList& lines) const;
    void showLocation(Player* p, bool withMap);
    void relocate(Player* p, const Place& to, const QString& leaving, const QString& arriving);
    void damage(Player* p, int amount);
    // False (and the reason told) when the player may not talk right now.
    bool mayTalk(Player* p, const QString& text);

    // Commands (commands.cpp).
    void look(Player* p);
    void board(Player* p);
    void refuel(Player* p);
    void certify(Player* p);
    void promote(Player* p);
    void trade(Player* p, const QStringList& words, bool buying);
    void prices(Player* p);
    void borrow(Player* p, const QString& amount);
    void repay(Player* p, const QString& amount);
    void repair(Player* p);
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
    QTimer saveTimer_;
};
