#include "session.h"

#include "markup.h"

#include <QDebug>

Session::Session(QTcpSocket* socket, SessionServices services, QObject* parent)
    : QObject(parent), services_(services),
      connection_(new LineConnection(socket, services.limits, this))
{
    connect(connection_, &LineConnection::lineReceived, this, &Session::onLine);
    connect(connection_, &LineConnection::lineTooLong, this, &Session::onTooLong);
    // Queued: a connection may fail while the game is sending to everyone,
    // and leaving the game then must wait until that loop is done.
    connect(connection_, &LineConnection::closed, this,
            [this](const QString& reason) { end(reason); }, Qt::QueuedConnection);
    loginTimer_.setSingleShot(true);
    connect(&loginTimer_, &QTimer::timeout, this,
            [this] { end(QStringLiteral("log-on timed out"), QStringLiteral("Timed out, goodbye.")); });
    connect(&noopTimer_, &QTimer::timeout, this, &Session::keepAlive);
}

Session::~Session()
{
    if (player_)
        services_.game.leave(player_);
    services_.claims.release(this);
}

void Session::start()
{
    qInfo().noquote() << "kyrnd: connection from" << peer();
    if (services_.timings.loginTimeoutMs > 0)
        loginTimer_.start(services_.timings.loginTimeoutMs);
    logon_ = std::make_unique<LogonConversation>(services_.store,
                                                 [this](const QString& l) { sendText(l); });
    logon_->start();
}

void Session::sendText(const QString& line)
{
    connection_->sendLine(line);
}

void Session::onTooLong()
{
    const QString text = QStringLiteral("That line was too long and has been ignored.");
    connection_->sendLine(phase_ == Phase::Playing ? markup::prose(text) : text);
}

void Session::onLine(const QString& line)
{
    switch (phase_) {
    case Phase::Logon:
        switch (logon_->feed(line)) {
        case Outcome::LoggedIn: loggedIn(logon_->account()); break;
        case Outcome::NewAccount: startNewAccount(); break;
        case Outcome::Quit: end(QStringLiteral("too many failed log-ons")); break;
        case Outcome::Continue: break;
        }
        break;
    case Phase::NewAccount:
        switch (newAccount_->feed(line)) {
        case Outcome::LoggedIn:
            qInfo().noquote() << "kyrnd: new account" << newAccount_->account()->id << "from" << peer();
            loggedIn(newAccount_->account());
            break;
        case Outcome::Quit:
            qWarning().noquote() << "kyrnd: could not store a new account:" << newAccount_->saveError();
            end(QStringLiteral("account not stored"));
            break;
        default: break;
        }
        break;
    case Phase::AwaitHello:
        if (line.startsWith(QLatin1String("<?xml")))
            break;
        startPlaying();
        // A plain terminal says no hello; take its first line as a command.
        if (!line.startsWith(QLatin1String("<c-orvix")) && phase_ == Phase::Playing)
            onLine(line);
        break;
    case Phase::Playing:
        if (line.trimmed() == QLatin1String("<c-no-op/>")) {
            lastReply_.restart();
        } else if (services_.game.command(player_, line) == Game::Result::Quit) {
            end(QStringLiteral("quit"));
        }
        break;
    case Phase::Closed:
        break;
    }
}

void Session::startNewAccount()
{
    phase_ = Phase::NewAccount;
    newAccount_ = std::make_unique<NewAccountConversation>(
        services_.store, services_.claims, services_.game.world().start,
        [this](const QString& l) { sendText(l); });
    newAccount_->start();
}

void Session::loggedIn(Account* account)
{
    account_ = account;
    phase_ = Phase::AwaitHello;
    qInfo().noquote() << "kyrnd:" << account->id << "logged on from" << peer();
}

void Session::startPlaying()
{
    // The same avatar linked from elsewhere: the older link gives way.
    emit aboutToPlay(this, account_);
    loginTimer_.stop();
    phase_ = Phase::Playing;
    connection_->sendLine(QStringLiteral("<?xml version=\"1.0\"?>"));
    player_ = services_.game.enter(&account_->avatar, account_,
                                   [this](const QStringList& lines) { connection_->sendLines(lines); });
    lastReply_.start();
    if (services_.timings.noopIntervalMs > 0)
        noopTimer_.start(services_.timings.noopIntervalMs);
}

void Session::keepAlive()
{
    if (lastReply_.elapsed() > services_.timings.noopTimeoutMs) {
        end(QStringLiteral("no answer to keep-alive"));
        return;
    }
    connection_->sendLine(QStringLiteral("<s-no-op/>"));
}

void Session::end(const QString& reason, const QString& farewell)
{
    if (phase_ == Phase::Closed)
        return;
    const bool playing = phase_ == Phase::Playing;
    phase_ = Phase::Closed;
    loginTimer_.stop();
    noopTimer_.stop();
    if (!farewell.isEmpty())
        connection_->sendLine(playing ? markup::prose(farewell) : farewell);
    if (player_) {
        services_.game.leave(player_);
        player_ = nullptr;
    }
    services_.claims.release(this);
    connection_->close();
    qInfo().noquote() << "kyrnd:" << (account_ ? account_->id : QStringLiteral("connection")) << "from"
                      << peer() << "ended:" << reason;
    emit finished(this);
}
