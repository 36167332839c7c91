#pragma once
// kyrnd as a whole: loads the world and the accounts, listens for clients
// and gives each a session, runs the game and its simulated players.

#include "accountstore.h"
#include "bots.h"
#include "conversation.h"
#include "game.h"
#include "keyqueue.h"
#include "options.h"
#include "session.h"
#include "world.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

#include <memory>

class Server : public QObject {
    Q_OBJECT
public:
    explicit Server(ServerOptions options, QObject* parent = nullptr);
    ~Server() override;

    // Loads everything and starts listening; false with a message on failure.
    bool start(QString* error);
    // Says goodbye to every client, saves the accounts and stops listening.
    void stop();

    quint16 port() const { return listener_.serverPort(); }
    int sessionCount() const { return int(sessions_.size()); }
    Game* game() const { return game_.get(); }
    AccountStore* store() const { return store_.get(); }
    BotDriver* bots() const { return bots_.get(); }

    const NameClaims& claims() const { return claims_; }

    // The demo accounts made in a new data directory.
    struct Demo {
        const char* id;
        const char* password;
        const char* avatar;
    };
    static const Demo kDemos[2];

signals:
    void sessionFinished();

private:
    void onNewConnection();
    void onAboutToPlay(Session* session, Account* account);
    void turnAway(QTcpSocket* socket, const char* why, const char* message);
    bool createDemos(QString* error);

    ServerOptions options_;
    World world_;
    std::unique_ptr<AccountStore> store_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<BotDriver> bots_;
    QTcpServer listener_;
    std::vector<Session*> sessions_;
    QHash<QString, int> perAddress_; // open sessions by peer address
    NameClaims claims_;
    KeyQueue keys_;
    SignupLimit signups_;
    FailurePacer pacer_;
    Backoff failures_;
    Backoff links_;
    OutputPulse pulse_;
};
