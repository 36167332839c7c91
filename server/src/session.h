#pragma once
// One client from connection to goodbye: the logon or account creation
// conversation, the wait for the client hello, then play, with a keep-alive
// that drops a client which stops answering.

#include "conversation.h"
#include "failurepacer.h"
#include "backoff.h"
#include "game.h"
#include "keyqueue.h"
#include "lineconnection.h"
#include "outputpulse.h"
#include "ratelimiter.h"
#include "signuplimit.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <memory>
#include <optional>

struct SessionTimings {
    int noopIntervalMs = 5000; // how often s-no-op is sent
    // Generous, so a client on a stalled network is not dropped too soon.
    int noopTimeoutMs = 120000; // silence after which the client is dropped
    int loginTimeoutMs = 60000; // time allowed to log on and say hello
    int failureDelayMs = 1000; // pause after a wrong password
    // How long news of others may wait to leave with more (0: at once);
    // too short for a person to notice.
    int newsMs = 100;
    // Commands a player may give: a burst (a macro), then this many a
    // second. Faster lines wait their turn; 0 means no limit.
    int commandsPerSecond = 10;
    int commandBurst = 20;
};

struct SessionServices {
    Game& game;
    AccountStore& store;
    NameClaims& claims;
    KeyQueue& keys;
    SignupLimit& signups;
    FailurePacer& pacer;
    Backoff& failures; // failed log-ons by address
    Backoff& links; // log-ons by account ID
    OutputPulse& pulse; // news leaves at its beat
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
    // Works through the lines received, one at a time, as fast as the
    // command rate allows and not while a password is being checked.
    void processInbox();
    void handle(const QString& line);
    void onLogon(Outcome outcome);
    void onNewAccount(Outcome outcome);
    void checkPassword();
    void createAccount();
    void onTooLong();
    void startNewAccount();
    void refuseSignup();
    void loggedIn(Account* account);
    void startPlaying();
    void keepAlive();
    void sendText(const QString& line);
    void sendProse(const QString& text);

    SessionServices services_;
    LineConnection* connection_;
    Phase phase_ = Phase::Logon;
    std::unique_ptr<LogonConversation> logon_;
    std::unique_ptr<NewAccountConversation> newAccount_;
    Account* account_ = nullptr;
    Player* player_ = nullptr;
    bool orvix_ = false; // said hello as Orvix, which looks by itself
    std::deque<QString> inbox_;
    bool busy_ = false; // a key is being derived, or a failure delay runs
    std::optional<RateLimiter> commandRate_;
    QTimer loginTimer_;
    QTimer noopTimer_;
    QTimer throttle_;
    QElapsedTimer lastHeard_;
};
