// kyrnd under load: starts a server on 127.0.0.1 with a fresh data
// directory, connects simulated players who create their accounts and then
// move, trade and talk at a person's pace, plus hostile clients, and
// reports what was answered how fast. Then it kills the server with
// SIGKILL, starts it again and checks that the accounts file is whole and
// holds every trade made more than one save interval before the kill.
//
//   kyrnd_load --server build/server/kyrnd [--players 200] [--hostile 20]
//              [--seconds 60] [--hash-passes N] [--hash-memory KIB]
//              [--save-interval MS] [--stop kill|term] [--threads N]
//
// Everything stays on the loopback interface; the run ends by itself.
#include "epolldispatcher.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <unistd.h>
#include <memory>
#include <vector>

namespace {

QElapsedTimer runClock;

struct Figures {
    std::atomic<int> logons{0}; // counted by every thread of the crowd
    int hostileConnections = 0;
    int hostileTurnedAway = 0;
};

// What the players on one thread count.
struct Tally {
    qint64 sent = 0;
    // When each answer came (on the run clock, ms) and how long it took (ms).
    std::vector<std::pair<qint64, double>> answers;
};

// The line fragments that answer each kind of command.
const QStringList kMoveAnswers{"<s-new-loc ", "<s-default>You can't go", "<s-default>Your fuel tanks",
    "<s-default>There is no ship", "<s-default>You are already aboard"};
const QStringList kPricesAnswers{"Commodity Exchange", "<s-default>There is no exchange"};
const QStringList kBuyAnswers{"<s-default>You buy", "<s-default>The exchange has no", "<s-default>You cannot",
    "<s-default>Your hold", "<s-default>You need to be at"};
const QStringList kSellAnswers{"<s-default>You sell", "<s-default>You have no", "<s-default>You need to be at"};
const QStringList kTalkAnswers{
    "<s-default>You say", "talking too fast", "<s-default>Your tight beam", "<s-default>There is nobody called"};
const QStringList kScoreAnswers{"trader credits"};
const QStringList kShipAnswers{" class ship: fuel "};
const QStringList kWhoAnswers{"In Kyrnos DataSpace now:"};

// Goods both exchanges trade, so a player can buy and sell on either planet.
const QStringList kGoods{"Grain", "Textiles", "Medicines", "Alloys", "Electronics", "Luxuries"};

// A person at a terminal: creates an account, says hello as Orvix, then
// gives one command every one to three seconds and waits for its answer.
// Like a real player it wanders: half of the crowd flies to the other
// planet first, then everyone walks about, trades whenever the walk comes
// to an exchange, and now and then talks or looks at the reports.
class Player : public QObject {
public:
    Player(int index, int players, quint16 port, Tally& tally, std::atomic<int>& logons)
        : index_(index)
        , players_(players)
        , tally_(tally)
        , logons_(logons)
    {
        if (index_ % 2 == 0)
            journey_ = {"s", "board", "e", "e", "e", "e", "d"};
        // Spread over loopback addresses, as players come from many hosts.
        socket_.bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(2 + index % 250)));
        QObject::connect(&socket_, &QTcpSocket::readyRead, this, [this] { read(); });
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { next(); });
        timer_.setSingleShot(true);
        QObject::connect(&socket_, &QTcpSocket::connected, this,
            [this] { socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
        socket_.connectToHost(QHostAddress::LocalHost, port);
    }

    QString id() const { return QStringLiteral("load%1").arg(index_); }
    bool playing() const { return playing_; }
    // Cash figures as they arrived, with the time each came.
    const std::vector<std::pair<qint64, qint64>>& cash() const { return cash_; }
    // The location the player last saw, for the report of how they spread.
    QString where() const { return where_; }
    void stop()
    {
        stopped_ = true;
        timer_.stop();
    }

private:
    void send(const QString& line) { socket_.write(line.toLatin1() + '\n'); }

    void read()
    {
        buffer_ += socket_.readAll();
        qsizetype nl;
        while ((nl = buffer_.indexOf('\n')) >= 0) {
            const QString line = QString::fromLatin1(buffer_.left(nl));
            buffer_.remove(0, nl + 1);
            take(line);
        }
    }

    void take(const QString& line)
    {
        if (line == QLatin1String("<s-no-op/>")) {
            send(QStringLiteral("<c-no-op/>"));
            return;
        }
        static const QRegularExpression cashRe(QStringLiteral("stat='cash' amount='(-?\\d+)'"));
        if (line.startsWith(QLatin1String("<s-player-stats stat='cash'"))) {
            if (const auto m = cashRe.match(line); m.hasMatch())
                cash_.emplace_back(runClock.elapsed(), m.captured(1).toLongLong());
        }
        if (!playing_) {
            converse(line);
            return;
        }
        if (line.startsWith(QLatin1String("<s-new-loc "))) {
            // Only this player's own location arrives as s-new-loc.
            static const QRegularExpression exitRe(QStringLiteral(" (n|ne|e|se|s|sw|w|nw)='\\d+'"));
            static const QRegularExpression nameRe(QStringLiteral("name='([^']*)'"));
            exits_.clear();
            for (auto it = exitRe.globalMatch(line); it.hasNext();)
                exits_ << it.next().captured(1);
            where_ = nameRe.match(line).captured(1);
            atExchange_ = false;
            trading_ = 0;
        } else if (line.startsWith(QLatin1String("<s-exchange "))) {
            atExchange_ = true;
        }
        if (waiting_
            && std::any_of(answers_.begin(), answers_.end(), [&](const QString& a) { return line.contains(a); })) {
            waiting_ = false;
            tally_.answers.emplace_back(runClock.elapsed(), sent_.nsecsElapsed() / 1e6);
            schedule();
        }
    }

    // The account-creation questions, answered by their fragments.
    void converse(const QString& line)
    {
        static const std::vector<std::pair<const char*, const char*>> script{{"login:", "new"},
            {"numbers only):", nullptr}, {"15 letters):", "loadpass1"}, {"confirm password:", "loadpass1"},
            {"processing agency):", "load@localhost"}, {"provide a name", nullptr}, {"choose the race", "Human"},
            {"choose the gender", "female"}, {"stats be allocated", "yes"}, {"play using this char", "yes"}};
        for (const auto& [fragment, reply] : script) {
            if (!line.contains(QLatin1String(fragment)))
                continue;
            if (QLatin1String(fragment) == QLatin1String("numbers only):"))
                send(id());
            else if (QLatin1String(fragment) == QLatin1String("provide a name"))
                send(QStringLiteral("Loader%1").arg(index_));
            else
                send(QLatin1String(reply));
            return;
        }
        if (line.contains(QLatin1String("Linking to Kyrnos DataSpace"))) {
            send(QStringLiteral("<?xml version=\"1.0\"?>"));
            send(QStringLiteral("<c-orvix version='1.60'>"));
            playing_ = true;
            ++logons_;
            give(QStringLiteral("look"), kMoveAnswers); // as Orvix does first
        }
    }

    void schedule()
    {
        if (!stopped_)
            timer_.start(QRandomGenerator::global()->bounded(1000, 3000));
    }

    void next()
    {
        if (stopped_ || waiting_)
            return;
        auto* rng = QRandomGenerator::global();
        if (!journey_.isEmpty()) {
            give(journey_.takeFirst(), kMoveAnswers);
            return;
        }
        // At an exchange: the quotes, a purchase and its sale, then move on.
        if (atExchange_ && trading_ < 3) {
            if (trading_ == 0)
                goods_ = kGoods.at(rng->bounded(int(kGoods.size())));
            switch (trading_++) {
            case 0: give(QStringLiteral("prices"), kPricesAnswers); return;
            case 1: give(QStringLiteral("buy %1 1").arg(goods_), kBuyAnswers); return;
            default: give(QStringLiteral("sell %1 1").arg(goods_), kSellAnswers); return;
            }
        }
        const int roll = rng->bounded(100);
        if (roll < 65 && !exits_.isEmpty())
            give(exits_.at(rng->bounded(int(exits_.size()))), kMoveAnswers);
        else if (roll < 75)
            give(QStringLiteral("look"), kMoveAnswers);
        else if (roll < 85)
            give(QStringLiteral("say Fine prices today"), kTalkAnswers);
        else if (roll < 90)
            give(QStringLiteral("tell Loader%1 Meet me at the exchange").arg(1 + rng->bounded(players_)), kTalkAnswers);
        else if (roll < 95)
            give(QStringLiteral("score"), kScoreAnswers);
        else if (roll < 98)
            give(QStringLiteral("ship"), kShipAnswers);
        else
            give(QStringLiteral("who"), kWhoAnswers);
    }

    void give(const QString& command, const QStringList& answers)
    {
        answers_ = answers;
        waiting_ = true;
        sent_.start();
        ++tally_.sent;
        send(command);
    }

    int index_;
    int players_;
    Tally& tally_;
    std::atomic<int>& logons_;
    QTcpSocket socket_;
    QByteArray buffer_;
    QTimer timer_;
    QElapsedTimer sent_;
    bool playing_ = false;
    bool waiting_ = false;
    bool stopped_ = false;
    QStringList answers_;
    QStringList journey_; // fixed moves first: to the other planet
    QStringList exits_; // compass exits of where the player stands
    QString where_;
    bool atExchange_ = false;
    int trading_ = 0; // steps of the trade at this exchange done
    QString goods_;
    std::vector<std::pair<qint64, qint64>> cash_;
};

// A client that means harm; reconnects whenever it is thrown out.
class Hostile : public QObject {
public:
    enum Kind { Flood, Oversized, NeverReads, RandomBytes, HalfLogon, KindCount };

    Hostile(int index, quint16 port, Figures& figures)
        : kind_(Kind(index % KindCount))
        , port_(port)
        , figures_(figures)
        ,
        // Each from its own loopback address, as attackers come from many hosts.
        from_(QStringLiteral("127.1.%1.%2").arg(index / 250).arg(1 + index % 250))
    {
        QObject::connect(&tick_, &QTimer::timeout, this, [this] { act(); });
        reconnect();
        tick_.start(kind_ == HalfLogon ? 1500 : 50);
    }
    void stop()
    {
        stopped_ = true;
        tick_.stop();
        if (socket_)
            socket_->abort();
    }

private:
    void reconnect()
    {
        if (stopped_)
            return;
        socket_ = std::make_unique<QTcpSocket>();
        socket_->bind(from_);
        if (kind_ == NeverReads)
            socket_->setReadBufferSize(1);
        QObject::connect(socket_.get(), &QTcpSocket::readyRead, this, [this] {
            if (kind_ == NeverReads)
                return;
            const QByteArray got = socket_->readAll();
            if (got.contains("Too many connections"))
                ++figures_.hostileTurnedAway;
        });
        QObject::connect(socket_.get(), &QTcpSocket::disconnected, this,
            [this] { QTimer::singleShot(200, this, [this] { reconnect(); }); });
        QObject::connect(socket_.get(), &QTcpSocket::connected, this, [this] {
            ++figures_.hostileConnections;
            if (kind_ == NeverReads)
                socket_->write("demo1\norvixdemo\n<c-orvix version='1.60'>\n");
        });
        socket_->connectToHost(QHostAddress::LocalHost, port_);
    }

    void act()
    {
        if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState || socket_->bytesToWrite() > 256 * 1024)
            return;
        switch (kind_) {
        case Flood: socket_->write(QByteArray("look\nbuy grain 1\n").repeated(500)); break;
        case Oversized: socket_->write(QByteArray(64 * 1024, 'A')); break;
        case NeverReads: socket_->write(QByteArray("help\nwho\n").repeated(50)); break;
        case RandomBytes: {
            QByteArray junk(4096, Qt::Uninitialized);
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(junk.data()), junk.size() / 4);
            socket_->write(junk);
            break;
        }
        case HalfLogon:
            // Starts an account, then walks away: its name must come free.
            socket_->write(QStringLiteral("new\nhalf%1\nhalfpass1\nhalfpass1\nh@x\n").arg(++attempts_).toLatin1());
            QTimer::singleShot(700, socket_.get(), [s = socket_.get()] { s->abort(); });
            break;
        default: break;
        }
    }

    Kind kind_;
    quint16 port_;
    Figures& figures_;
    QHostAddress from_;
    std::unique_ptr<QTcpSocket> socket_;
    QTimer tick_;
    bool stopped_ = false;
    int attempts_ = 0;
};

// What became of a player, read once the run is over.
struct Outcome {
    QString id;
    bool playing = false;
    std::vector<std::pair<qint64, qint64>> cash;
    QString where;
};

// A share of the crowd on a thread of its own, as players sit at machines
// of their own: one thread serving a thousand sockets is slow to notice
// each answer, and its wait would count against the server.
class Shard {
public:
    Shard()
    {
        thread_.setEventDispatcher(new EpollDispatcher);
        context_.moveToThread(&thread_);
        thread_.start();
    }
    ~Shard()
    {
        thread_.quit();
        thread_.wait();
    }
    void post(std::function<void()> f) { QMetaObject::invokeMethod(&context_, std::move(f), Qt::QueuedConnection); }
    void run(std::function<void()> f)
    {
        QMetaObject::invokeMethod(&context_, std::move(f), Qt::BlockingQueuedConnection);
    }

    // Touched on the shard's thread only, until `finish` has run.
    std::vector<std::unique_ptr<Player>> players;
    Tally tally;

    void stop()
    {
        run([this] {
            for (auto& c : players)
                c->stop();
        });
    }
    // The players' outcomes; the players go, on their own thread.
    std::vector<Outcome> finish()
    {
        std::vector<Outcome> out;
        run([&] {
            for (const auto& c : players)
                out.push_back({c->id(), c->playing(), c->cash(), c->where()});
            players.clear();
        });
        return out;
    }

private:
    QThread thread_;
    QObject context_;
};

quint16 startServer(QProcess& server, const QString& program, const QStringList& args)
{
    server.setProcessChannelMode(QProcess::SeparateChannels);
    server.start(program, args);
    if (!server.waitForStarted(10000))
        return 0;
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    QByteArray log;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000 && server.state() == QProcess::Running) {
        server.waitForReadyRead(200);
        log += server.readAllStandardError();
        if (const auto m = listening.match(QString::fromLatin1(log)); m.hasMatch())
            return m.captured(1).toUShort();
    }
    std::fprintf(stderr, "kyrnd did not start:\n%s\n", log.constData());
    return 0;
}

qint64 peakKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// CPU seconds the process has used (user and system); with `thread`, that
// thread's alone (the main thread's id is the process's).
double cpuSeconds(qint64 pid, qint64 thread = 0)
{
    QFile stat(thread ? QStringLiteral("/proc/%1/task/%2/stat").arg(pid).arg(thread)
                      : QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // Fields after the command name, which is in parentheses.
    const QList<QByteArray> f = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return f.size() > 13 ? (f[11].toLongLong() + f[12].toLongLong()) / double(sysconf(_SC_CLK_TCK)) : -1;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

} // namespace

int main(int argc, char** argv)
{
    // Many sockets to a thread: the kernel says which are ready, as for kyrnd.
    QCoreApplication::setEventDispatcher(new EpollDispatcher);
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Puts a kyrnd server under load on 127.0.0.1 and reports."));
    p.addHelpOption();
    p.addOptions({{"server", "The kyrnd program.", "path"}, {"players", "Simulated players (default 200).", "n", "200"},
        {"hostile", "Hostile clients (default 20).", "n", "20"},
        {"seconds", "Seconds of play once all have logged on (default 60).", "s", "60"},
        {"hash-passes", "Argon2id passes of the server's password hashes (default: its own).", "n"},
        {"hash-memory", "Argon2id memory of the server's password hashes in KiB (default: its own).", "kib"},
        {"stop", "How the server is stopped at the end: kill (SIGKILL; default) or term (SIGTERM).", "how", "kill"},
        {"save-interval", "The server's save interval in ms (default 2000).", "ms", "2000"},
        {"threads", "Threads the players are spread over (default 4).", "n", "4"}});
    p.process(app);
    const QString program = p.value("server");
    const int players = qBound(1, p.value("players").toInt(), 1000);
    const int hostiles = qBound(0, p.value("hostile").toInt(), 100);
    const int seconds = qBound(1, p.value("seconds").toInt(), 600);
    const int saveMs = qBound(0, p.value("save-interval").toInt(), 60000);
    const int threads = qBound(1, p.value("threads").toInt(), 16);
    if (program.isEmpty()) {
        std::fprintf(stderr, "kyrnd_load: --server is needed\n");
        return 2;
    }
    QTemporaryDir data;
    QStringList args{"--port", "0", "--listen", "127.0.0.1", "--data-dir", data.path(), "--bots", "4", "--max-clients",
        QString::number(players + hostiles + 20), "--save-interval", QString::number(saveMs), "--seed", "1",
        // A crowd signing up at once queues for its keys; nobody
        // is sent away for waiting in that queue.
        "--login-timeout", "0"};
    for (const char* option : {"hash-passes", "hash-memory"}) {
        if (p.isSet(option))
            args << QStringLiteral("--") + option << p.value(option);
    }

    runClock.start();
    QProcess server;
    const quint16 port = startServer(server, program, args);
    if (!port)
        return 1;
    // The server's log is not needed; keep its pipe from filling.
    QObject::connect(&server, &QProcess::readyReadStandardError, [&] { server.readAllStandardError(); });

    Figures figures;
    std::vector<std::unique_ptr<Shard>> shards;
    for (int i = 0; i < threads; ++i)
        shards.push_back(std::make_unique<Shard>());
    std::vector<std::unique_ptr<Hostile>> hostile;
    for (int i = 0; i < hostiles; ++i)
        hostile.push_back(std::make_unique<Hostile>(i, port, figures));
    // Players arrive over a few seconds, not all in one instant.
    QTimer arrivals;
    int arrived = 0;
    QObject::connect(&arrivals, &QTimer::timeout, [&] {
        if (arrived == players) {
            arrivals.stop();
            return;
        }
        const int index = ++arrived;
        Shard* shard = shards[size_t(index % threads)].get();
        shard->post([shard, index, players, port, &figures] {
            shard->players.push_back(std::make_unique<Player>(index, players, port, shard->tally, figures.logons));
        });
    });
    arrivals.start(20);

    // Log-ons take a while (each derives a key); play runs its full time
    // after the last one, within an overall limit.
    // Runs the event loop (sleeping between events) until `done` or the time is up.
    const auto runUntil = [&](const std::function<bool()>& done, qint64 forMs) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (done() || clock.elapsed() >= forMs || server.state() != QProcess::Running)
                loop.quit();
        });
        check.start(20);
        loop.exec();
    };
    QElapsedTimer logonClock;
    logonClock.start();
    runUntil([&] { return figures.logons == players; }, 300000);
    const qint64 logonMs = figures.logons == players ? logonClock.elapsed() : -1;
    const qint64 playFrom = runClock.elapsed();
    const double cpuAtStart = cpuSeconds(server.processId());
    const double loopCpuAtStart = cpuSeconds(server.processId(), server.processId());
    // Someone profiling the server wants to know when play begins.
    std::fprintf(stderr, "kyrnd_load: all logged on, playing for %d s\n", seconds);
    const double ownCpuAtStart = cpuSeconds(QCoreApplication::applicationPid());
    runUntil([] { return false; }, qint64(seconds) * 1000);

    const bool survived = server.state() == QProcess::Running;
    const qint64 peak = survived ? peakKiB(server.processId()) : -1;
    const double cpuInPlay = survived ? cpuSeconds(server.processId()) - cpuAtStart : -1;
    // The event loop serves every player; the workers hash and write.
    const double loopCpuInPlay = survived ? cpuSeconds(server.processId(), server.processId()) - loopCpuAtStart : -1;
    // Others share the machine: how busy it was says what the figures are worth.
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load = loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().trimmed() : QByteArray("?");
    // The crowd shares the machine: when it waits for the processor,
    // answers look slower than the server made them.
    const double ownCpuInPlay = cpuSeconds(QCoreApplication::applicationPid()) - ownCpuAtStart;
    // Killed in full flight: nothing gets the chance to save. Stopped by
    // SIGTERM instead, everything must be saved, and soon.
    const bool term = p.value("stop") == QLatin1String("term");
    const qint64 killedAt = runClock.elapsed();
    QElapsedTimer stopping;
    stopping.start();
    if (term)
        server.terminate();
    else
        server.kill();
    server.waitForFinished(30000);
    const qint64 stopMs = stopping.elapsed();
    for (auto& h : hostile)
        h->stop();
    for (auto& s : shards)
        s->stop();
    // The last answers, sent before the server went, are read now.
    runUntil([] { return false; }, 500);
    std::vector<Outcome> crowd;
    std::vector<double> latenciesMs;
    qint64 sent = 0, answered = 0;
    for (auto& s : shards) {
        for (Outcome& o : s->finish())
            crowd.push_back(std::move(o));
        sent += s->tally.sent;
        answered += qint64(s->tally.answers.size());
        for (const auto& [when, ms] : s->tally.answers) {
            if (when >= playFrom && when <= killedAt)
                latenciesMs.push_back(ms);
        }
    }
    // How the crowd stood at the end: a broadcast reaches everyone in a place.
    std::map<QString, int> standing;
    for (const auto& c : crowd)
        ++standing[c.where];
    int crowded = 0;
    for (const auto& [place, count] : standing)
        crowded = std::max(crowded, count);

    QProcess again;
    const bool restarted = startServer(again, program, args) != 0;
    QFile file(data.filePath("accounts.json"));
    QJsonParseError parseError{};
    const QJsonDocument doc
        = file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll(), &parseError) : QJsonDocument();
    std::map<QString, qint64> stored;
    for (const QJsonValue& v : doc.object()["accounts"].toArray())
        stored[v.toObject()["id"].toString()] = v.toObject()["avatar"].toObject()["cash"].toInteger();
    // A trade is safe once a save interval (and the write) has passed; at
    // a SIGTERM, every trade is.
    const qint64 safeBefore = term ? std::numeric_limits<qint64>::max() : killedAt - saveMs - 500;
    int covered = 0, missing = 0;
    for (const auto& c : crowd) {
        if (!c.playing)
            continue;
        const auto it = stored.find(c.id);
        if (it == stored.end()) {
            ++missing;
            continue;
        }
        // The stored cash is the last safe figure or one that came later.
        const auto& cash = c.cash;
        size_t from = 0;
        for (size_t i = 0; i < cash.size(); ++i) {
            if (cash[i].first <= safeBefore)
                from = i;
        }
        const bool ok = std::any_of(
            cash.begin() + qsizetype(from), cash.end(), [&](const auto& c) { return c.second == it->second; });
        covered += ok ? 1 : 0;
        missing += ok ? 0 : 1;
    }
    const QStringList leftovers = QDir(data.path()).entryList({"accounts.json.*"}, QDir::Files | QDir::Hidden);
    again.terminate();
    again.waitForFinished(10000);

    const double p50 = percentile(latenciesMs, 0.50);
    const double p99 = percentile(latenciesMs, 0.99);
    std::printf("players logged on:        %d of %d (%.1f s to log all on)\n", figures.logons.load(), players,
        logonMs / 1000.0);
    std::printf("commands answered:        %lld in %d s of play (%lld of %lld in all)\n",
        static_cast<long long>(latenciesMs.size()), seconds, static_cast<long long>(answered),
        static_cast<long long>(sent));
    std::printf("command to answer:        p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", p50, p99,
        latenciesMs.empty() ? 0.0 : *std::max_element(latenciesMs.begin(), latenciesMs.end()));
    std::printf("players spread over:      %d locations, at most %d in one\n", int(standing.size()), crowded);
    std::printf("hostile connections:      %d (%d turned away for their address)\n", figures.hostileConnections,
        figures.hostileTurnedAway);
    std::printf("server survived:          %s; peak memory %lld KiB; %.1f s of CPU in %d s of play "
                "(%.1f s on its event loop), %.1f s while logging on\n",
        survived ? "yes" : "NO", static_cast<long long>(peak), cpuInPlay, seconds, loopCpuInPlay, cpuAtStart);
    std::printf("machine load average:     %s\n", load.constData());
    std::printf("load program:             %.1f s of CPU in %d s of play\n", ownCpuInPlay, seconds);
    std::printf("after %s + restart: %s (stopped in %lld ms); accounts.json %s, %d accounts; "
                "trades kept for %d players, missing for %d; temporary files left: %lld\n",
        term ? "SIGTERM" : "SIGKILL", restarted ? "restarted" : "DID NOT RESTART", static_cast<long long>(stopMs),
        parseError.error == QJsonParseError::NoError && doc.isObject() ? "whole" : "BROKEN", int(stored.size()),
        covered, missing, static_cast<long long>(leftovers.size()));
    const bool good
        = survived && restarted && figures.logons == players && missing == 0 && leftovers.isEmpty() && doc.isObject();
    return good ? 0 : 1;
}
