#include "server.h"

#include "addresskey.h"
#include "worldloader.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QRandomGenerator>

const Server::Demo Server::kDemos[2] = {{"demo1", "orvixdemo", "Nova"}, {"demo2", "orvixdemo", "Vega"}};

Server::Server(ServerOptions options, QObject* parent)
    : QObject(parent)
    , options_(std::move(options))
    , signups_(options_.signupsPerHour)
    , pacer_(options_.session.failureDelayMs)
    , failures_(options_.session.failureDelayMs)
    , links_(options_.session.failureDelayMs)
    , pulse_(options_.session.newsMs)
{
    connect(&listener_, &QTcpServer::newConnection, this, &Server::onNewConnection);
}

Server::~Server()
{
    stop();
    // Ended sessions wait for deleteLater; they must go while the game and
    // the name claims they refer to still exist.
    qDeleteAll(findChildren<Session*>(Qt::FindDirectChildrenOnly));
}

bool Server::start(QString* error)
{
    WorldLoader loader;
    if (!loader.load(options_.worldFile, world_)) {
        *error = loader.error();
        return false;
    }
    const bool newDir = !QDir(options_.dataDir).exists();
    if (!QDir().mkpath(options_.dataDir)) {
        *error = QStringLiteral("cannot create the data directory ") + options_.dataDir;
        return false;
    }
    // The accounts are nobody else's business; a directory the user made
    // is left as it is.
    if (newDir)
        QFile::setPermissions(
            options_.dataDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    store_ = std::make_unique<AccountStore>(
        QDir(options_.dataDir).filePath(QStringLiteral("accounts.json")), options_.hashCost);
    if (!store_->load(error))
        return false;
    if (!store_->existed() && options_.createDemo && !createDemos(error))
        return false;

    const quint32 seed = options_.seed ? options_.seed : QRandomGenerator::global()->generate();
    game_ = std::make_unique<Game>(
        world_, *store_, seed, GameTimings{options_.driftMs, options_.storyMs, options_.saveMs});
    QStringList botNames;
    for (const BotDef& b : world_.bots)
        botNames << b.name;
    claims_.reserve(botNames);
    bots_ = std::make_unique<BotDriver>(*game_, seed + 1, options_.botIntervalMs, options_.bots);

    QHostAddress address;
    if (options_.listenAddress == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (!address.setAddress(options_.listenAddress)) {
        *error = QStringLiteral("not an address: ") + options_.listenAddress;
        return false;
    }
    if (!listener_.listen(address, options_.port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(options_.listenAddress)
                     .arg(options_.port)
                     .arg(listener_.errorString());
        return false;
    }
    game_->start();
    bots_->start();
    return true;
}

bool Server::createDemos(QString* error)
{
    for (const Demo& d : kDemos) {
        const Avatar a = Avatar::newcomer(QString::fromLatin1(d.avatar), QStringLiteral("Human"),
            QStringLiteral("female"), 35, 35, 35, 35, world_.start);
        store_->create(QString::fromLatin1(d.id), Credentials::derive(QString::fromLatin1(d.password), store_->cost()),
            QStringLiteral("demo@localhost"), a);
    }
    if (!store_->save(error))
        return false;
    qInfo().noquote() << "kyrnd: created the demo accounts in" << store_->path();
    return true;
}

void Server::stop()
{
    listener_.close();
    // Copy: ending a session takes it out of the list.
    const std::vector<Session*> sessions = sessions_;
    for (Session* s : sessions)
        s->end(QStringLiteral("server shutting down"), QStringLiteral("Kyrnos DataSpace is shutting down. Goodbye."));
    if (bots_)
        bots_->stop();
    if (game_)
        game_->saveNow();
    if (store_)
        store_->flush();
}

void Server::turnAway(QTcpSocket* socket, const char* why, const char* message)
{
    qWarning().noquote() << "kyrnd: turned away" << socket->peerAddress().toString() << why;
    socket->write(message);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
}

void Server::onNewConnection()
{
    while (QTcpSocket* socket = listener_.nextPendingConnection()) {
        if (int(sessions_.size()) >= options_.maxClients) {
            turnAway(socket, "(server full)", "Kyrnos II is full, please try again later.\n");
            continue;
        }
        // One host must not hold every slot.
        const QString address = addressKey(socket->peerAddress());
        if (options_.maxPerAddress > 0 && perAddress_.value(address) >= options_.maxPerAddress) {
            turnAway(socket, "(too many connections from there)",
                "Too many connections from your address, please try again later.\n");
            continue;
        }
        ++perAddress_[address];
        auto* session = new Session(socket,
            SessionServices{*game_, *store_, claims_, keys_, signups_, pacer_, failures_, links_, pulse_,
                options_.session, options_.limits},
            this);
        sessions_.push_back(session);
        connect(session, &Session::aboutToPlay, this, &Server::onAboutToPlay);
        connect(session, &Session::finished, this, [this, address](Session* s) {
            if (--perAddress_[address] <= 0)
                perAddress_.remove(address);
            std::erase(sessions_, s);
            s->deleteLater();
            emit sessionFinished();
        });
        session->start();
    }
}

void Server::onAboutToPlay(Session* session, Account* account)
{
    const std::vector<Session*> sessions = sessions_;
    for (Session* other : sessions) {
        if (other != session && other->account() == account && other->playing())
            other->end(QStringLiteral("linked from another terminal"),
                QStringLiteral("Your avatar has been linked from another terminal. Goodbye."));
    }
}
