#pragma once
// Simulated players: they log in and out, wander their home map and talk,
// so a lone player still sees a living game.

#include "game.h"

#include <QObject>
#include <QTimer>

#include <random>
#include <vector>

class BotDriver : public QObject {
    Q_OBJECT
public:
    BotDriver(Game& game, quint32 seed, int intervalMs, int maxOnline, QObject* parent = nullptr);
    ~BotDriver() override;

    void start();
    void stop(); // everyone logs out
    void step(); // one action of one simulated player

private:
    struct Bot {
        const BotDef* def;
        Avatar avatar;
        Player* player = nullptr;
    };
    void bringIn(Bot& bot);
    void wander(Bot& bot);

    Game& game_;
    std::mt19937 rng_;
    int intervalMs_;
    int maxOnline_;
    std::vector<Bot> bots_;
    QTimer timer_;
};
