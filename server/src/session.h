#pragma once
// One client from connection to goodbye: the logon or account creation
// conversation, the wait for the client hello, then play, with a keep-alive
// that drops a client which stops answering.

#include "conversation.h"
#include "game.h"
#include "lineconnection.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

struct SessionTimings {
    int noopIntervalMs = 5000;    // how often s-no-op is sent
    // Generous, so a client on a stalled network is not dropped too soon.
    int noopTimeoutMs = 120000;   // silence after which the client is dropped
    int loginTimeoutMs = 300000;  // time allowed to log on and say hello
};

struct SessionServices {
    Game& game;
    AccountStore& store;
    NameClaims& claims;
    SessionTimings timings;
    ConnectionLimits limits;
};

class Session : public QObject {
    Q_OBJECT
public:
    Session(QTcpSocket* socket, SessionServices services, QObject* parent = nullptr);
    ~Session() override;

    void start();
    // Says goodbye and ends the session (server shut-down, another log-on).
    void end(const QString& reason, const QString& farewell = {});
    QString peer() const { return connection_->peer(); }
    Account* account() const { return account_; }
    bool playing() const { return phase_ == Phase::Playing; }

signals:
    void aboutToPlay(Session* session, Account* account);
    void finished(Session* session);

private:
    enum class Phase { Logon, NewAccount, AwaitHello, Playing, Closed };

    void onLine(const QString& line);
    void onTooLong();
    void startNewAccount();
    void loggedIn(Account* account);
    void startPlaying();
    void keepAlive();
    void sendText(const QString& line);

    SessionServices services_;
    LineConnection* connection_;
    Phase phase_ = Phase::Logon;
    std::unique_ptr<LogonConversation> logon_;
    std::unique_ptr<NewAccountConversation> newAccount_;
    Account* account_ = nullptr;
    Player* player_ = nullptr;
    QTimer loginTimer_;
    QTimer noopTimer_;
    QElapsedTimer lastReply_;
};
