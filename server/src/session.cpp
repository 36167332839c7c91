#include "session.h"

#include "elements.h"

#include <QDebug>
#include <QDeadlineTimer>

namespace {

// Lines held while the client is throttled; past this the socket is not
// read, so a flood waits in the client's own buffers, not in ours.
constexpr size_t kInboxLimit = 64;

// Runs `work` on a worker thread, after the key work of the same address,
// and `done` with its result back on the event loop, unless the session has
// gone by then.
qint64 steadyMs()
{
    return QDeadlineTimer::current().deadline();
}

template <typename Work, typename Done>
void offLoop(KeyQueue& keys, const QString& address, Session* session, Work work, Done done)
{
    keys.run(address, session, [work = std::move(work), done = std::move(done)]() mutable -> KeyQueue::Done {
        return [result = work(), done]() mutable { done(std::move(result)); };
    });
}

} // namespace

Session::Session(QTcpSocket* socket, SessionServices services, QObject* parent)
    : QObject(parent)
    , services_(services)
    , connection_(new LineConnection(socket, services.limits, this, &services.pulse))
{
    connect(connection_, &LineConnection::lineReceived, this, &Session::onLine);
    connect(connection_, &LineConnection::lineTooLong, this, &Session::onTooLong);
    connect(connection_, &LineConnection::drained, this, &Session::processInbox);
    // Queued: a connection may fail while the game is sending to everyone,
    // and leaving the game then must wait until that loop is done.
    connect(
        connection_, &LineConnection::closed, this, [this](const QString& reason) { end(reason); },
        Qt::QueuedConnection);
    loginTimer_.setSingleShot(true);
    connect(&loginTimer_, &QTimer::timeout, this,
        [this] { end(QStringLiteral("log-on timed out"), QStringLiteral("Timed out, goodbye.")); });
    connect(&noopTimer_, &QTimer::timeout, this, &Session::keepAlive);
    throttle_.setSingleShot(true);
    connect(&throttle_, &QTimer::timeout, this, &Session::processInbox);
    if (services_.timings.commandsPerSecond > 0)
        commandRate_.emplace(services_.timings.commandsPerSecond, qMax(1, services_.timings.commandBurst));
}

Session::~Session()
{
    if (player_)
        services_.game.leave(player_);
}

void Session::start()
{
    qInfo().noquote() << "kyrnd: connection from" << peer();
    if (services_.timings.loginTimeoutMs > 0)
        loginTimer_.start(services_.timings.loginTimeoutMs);
    logon_ = std::make_unique<LogonConversation>([this](const QString& l) { sendText(l); });
    logon_->start();
}

void Session::sendText(const QString& line)
{
    connection_->sendLine(line);
}

void Session::onTooLong()
{
    const QString text = QStringLiteral("That line was too long and has been ignored.");
    sendProse(text);
}

void Session::sendProse(const QString& text)
{
    // Orvix reads prose inside its element; a person the text alone.
    connection_->sendLine(phase_ == Phase::Playing && orvix_ ? elements::prose(text) : text);
}

void Session::onLine(const QString& line)
{
    // Any line is a sign of life, typed or a keep-alive answer.
    lastHeard_.restart();
    if (phase_ == Phase::Playing && line.trimmed() == QLatin1String("<c-no-op/>"))
        return;
    inbox_.push_back(line);
    if (inbox_.size() >= kInboxLimit)
        connection_->setPaused(true);
    processInbox();
}

void Session::processInbox()
{
    // A client that leaves its answers unread gets no more until it reads;
    // its lines wait here and then, once the inbox is full, unread.
    while (!busy_ && !inbox_.empty() && phase_ != Phase::Closed && !connection_->backlogged()) {
        // Every line waits its turn, the log-on answers too: a client that
        // floods the questions gets its answers at a person's pace.
        if (commandRate_ && !commandRate_->take()) {
            if (!throttle_.isActive())
                throttle_.start(commandRate_->msUntilNext());
            return;
        }
        const QString line = inbox_.front();
        inbox_.pop_front();
        handle(line);
    }
    // The answers leave now, together, while their client waits for them.
    if (phase_ != Phase::Closed)
        connection_->push();
    if (inbox_.size() < kInboxLimit / 2)
        connection_->setPaused(false);
}

void Session::handle(const QString& line)
{
    switch (phase_) {
    case Phase::Logon: onLogon(logon_->feed(line)); break;
    case Phase::NewAccount: onNewAccount(newAccount_->feed(line)); break;
    case Phase::AwaitHello:
        if (line.startsWith(QLatin1String("<?xml")))
            break;
        orvix_ = line.startsWith(QLatin1String("<c-orvix"));
        startPlaying();
        // A plain terminal says no hello; take its first line as a command.
        if (!orvix_ && phase_ == Phase::Playing)
            handle(line);
        break;
    case Phase::Playing:
        if (services_.game.command(player_, line) == Game::Result::Quit)
            end(QStringLiteral("quit"));
        break;
    case Phase::Closed: break;
    }
}

void Session::onLogon(Outcome outcome)
{
    switch (outcome) {
    case Outcome::LoggedIn: loggedIn(logon_->account()); break;
    case Outcome::NewAccount: startNewAccount(); break;
    case Outcome::Quit: end(QStringLiteral("too many failed log-ons")); break;
    case Outcome::CheckPassword: checkPassword(); break;
    default: break;
    }
}

void Session::checkPassword()
{
    busy_ = true;
    // A host that keeps failing, or an account linked again and again, waits
    // before its next check; the lines sent meanwhile wait too.
    const QString id = logon_->id();
    const qint64 now = steadyMs();
    if (const qint64 wait = std::max(
            services_.failures.waitMs(connection_->address(), now), services_.links.waitMs(id.toCaseFolded(), now));
        wait > 0) {
        QTimer::singleShot(wait, this, [this] {
            if (phase_ != Phase::Closed)
                checkPassword();
        });
        return;
    }
    const Credentials stored = services_.store.credentialsFor(id);
    struct Checked {
        bool ok = false;
        qint64 workedMs = 0;
        std::optional<Credentials> current; // a rehash when the stored one is old or of another cost
    };
    offLoop(
        services_.keys, connection_->address(), this,
        [password = logon_->password(), stored, cost = services_.store.cost()] {
            Checked c;
            QElapsedTimer clock;
            clock.start();
            c.ok = stored.matches(password);
            c.workedMs = clock.elapsed();
            if (c.ok && stored.needsRehash(cost)) {
                if (Credentials fresh = Credentials::derive(password, cost); !fresh.encoded.isEmpty())
                    c.current = std::move(fresh);
            }
            return c;
        },
        [this, id](Checked c) {
            if (phase_ == Phase::Closed)
                return;
            services_.pacer.checked(c.workedMs);
            Account* account = c.ok ? services_.store.find(id) : nullptr;
            if (account) {
                services_.failures.clear(connection_->address());
                services_.links.record(id.toCaseFolded(), steadyMs());
                if (c.current) {
                    account->credentials = std::move(*c.current);
                    services_.game.requestSave();
                }
                busy_ = false;
                onLogon(logon_->passwordChecked(account));
                processInbox();
                return;
            }
            qWarning().noquote() << "kyrnd: failed log-on as" << id.left(40) << "from" << peer();
            services_.failures.record(connection_->address(), steadyMs());
            // A pause makes guessing slow, and its length hides what the
            // check cost; the lines sent meanwhile wait.
            QTimer::singleShot(services_.pacer.holdFor(c.workedMs), this, [this] {
                if (phase_ == Phase::Closed)
                    return;
                busy_ = false;
                onLogon(logon_->passwordChecked(nullptr));
                processInbox();
            });
        });
}

void Session::onNewAccount(Outcome outcome)
{
    switch (outcome) {
    case Outcome::CreateAccount: createAccount(); break;
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
}

void Session::createAccount()
{
    if (!services_.signups.take(connection_->address())) {
        refuseSignup();
        return;
    }
    busy_ = true;
    offLoop(
        services_.keys, connection_->address(), this,
        [password = newAccount_->password(), cost = services_.store.cost()] {
            return Credentials::derive(password, cost);
        },
        [this](Credentials c) {
            if (phase_ == Phase::Closed)
                return;
            if (c.encoded.isEmpty()) {
                onNewAccount(newAccount_->stored(QStringLiteral("no memory to hash the password")));
                return;
            }
            newAccount_->create(std::move(c));
            // Saved at once, but without holding up the game.
            services_.store.saveInBackground(this, [this](const QString& error) {
                if (phase_ == Phase::Closed)
                    return;
                busy_ = false;
                onNewAccount(newAccount_->stored(error));
                processInbox();
            });
        });
}

void Session::startNewAccount()
{
    if (!services_.signups.allows(connection_->address())) {
        refuseSignup();
        return;
    }
    phase_ = Phase::NewAccount;
    newAccount_ = std::make_unique<NewAccountConversation>(
        services_.store, services_.claims, services_.game.world().start, [this](const QString& l) { sendText(l); });
    newAccount_->start();
}

void Session::refuseSignup()
{
    qWarning().noquote() << "kyrnd: refused a sign-up from" << peer() << "(too many from there)";
    end(QStringLiteral("too many sign-ups"),
        QStringLiteral("Too many accounts have been created from your address, please try again later."));
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
    if (orvix_)
        connection_->sendLine(QStringLiteral("<?xml version=\"1.0\"?>"));
    player_ = services_.game.enter(
        &account_->avatar, account_, [this](const QByteArray& bytes) { connection_->sendEncoded(bytes); },
        orvix_ ? Reader::Orvix : Reader::Person,
        [this](const QByteArray& bytes) { connection_->sendEncoded(bytes, LineConnection::When::WithPulse); });
    lastHeard_.start();
    if (services_.timings.noopIntervalMs > 0)
        noopTimer_.start(services_.timings.noopIntervalMs);
}

void Session::keepAlive()
{
    if (lastHeard_.elapsed() > services_.timings.noopTimeoutMs) {
        end(QStringLiteral("no answer to keep-alive"));
        return;
    }
    // A person's terminal would show the markup; the time-out still applies.
    if (orvix_)
        connection_->sendLine(elements::noOp());
}

void Session::end(const QString& reason, const QString& farewell)
{
    if (phase_ == Phase::Closed)
        return;
    const bool playing = phase_ == Phase::Playing;
    phase_ = Phase::Closed;
    loginTimer_.stop();
    noopTimer_.stop();
    throttle_.stop();
    inbox_.clear();
    if (!farewell.isEmpty())
        connection_->sendLine(playing && orvix_ ? elements::prose(farewell) : farewell);
    if (player_) {
        services_.game.leave(player_);
        player_ = nullptr;
    }
    // Names being chosen are free again at once.
    newAccount_.reset();
    connection_->close();
    qInfo().noquote() << "kyrnd:" << (account_ ? account_->id : QStringLiteral("connection")) << "from" << peer()
                      << "ended:" << reason;
    emit finished(this);
}
