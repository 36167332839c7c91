#include "options.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString defaultWorldFile()
{
    // Beside the program in a build tree; under share/kyrnd once installed.
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString beside = bin.filePath(QStringLiteral("data/world.xml"));
    const QString installed = bin.filePath(QStringLiteral("../share/kyrnd/world.xml"));
    return QFile::exists(beside) || !QFile::exists(installed) ? beside : QDir::cleanPath(installed);
}

QString defaultDataDir()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base.isEmpty() ? QDir::homePath() : base).filePath(QStringLiteral("kyrnd"));
}

namespace {

bool number(const QCommandLineParser& p, const QString& name, qint64 min, qint64 max, qint64& out, QString& message)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const qint64 v = p.value(name).toLongLong(&ok);
    if (!ok || v < min || v > max) {
        message = QStringLiteral("--%1 needs a number from %2 to %3").arg(name).arg(min).arg(max);
        return false;
    }
    out = v;
    return true;
}

} // namespace

bool parseOptions(const QStringList& arguments, ServerOptions& o, QString& message, bool& exitOk)
{
    exitOk = false;
    QCommandLineParser p;
    p.setApplicationDescription(
        QStringLiteral("kyrnd: a small Kyrn game server for Orvix. It listens on 127.0.0.1 and serves\n"
                       "the logon and account creation conversations and a small trading world."));
    const QCommandLineOption help(QStringList{"h", "help"}, QStringLiteral("Show this help."));
    p.addOption(help);
    const QCommandLineOption version(QStringList{"v", "version"}, QStringLiteral("Show the version."));
    p.addOption(version);
    p.addOptions({
        {{"p", "port"}, "TCP port to listen on (0: any free port; default 30003).", "port"},
        {"listen", "Address to listen on (default 127.0.0.1).", "address"},
        {{"d", "data-dir"}, "Directory of accounts.json (default " + defaultDataDir() + ").", "dir"},
        {{"w", "world"}, "World file (default data/world.xml next to kyrnd, else ../share/kyrnd/world.xml).", "file"},
        {"noop-interval", "Milliseconds between keep-alive s-no-op elements (default 5000; 0 off).", "ms"},
        {"noop-timeout", "Drop a client that has not answered a keep-alive for this long (default 120000).", "ms"},
        {"login-timeout", "Milliseconds allowed to log on (default 60000; 0 off).", "ms"},
        {"failure-delay", "Milliseconds of pause after a wrong password (default 1000).", "ms"},
        {"command-rate",
            "Lines a second a client may send, commands and log-on answers alike, after a burst of 20 (default 10; 0 "
            "no limit).",
            "count"},
        {"news-interval",
            "Milliseconds news of others (arrivals, departures, talk) may wait to leave with more (default 100; 0 at "
            "once).",
            "ms"},
        {"save-interval", "Milliseconds by which saving the accounts after a change is put off (default 2000).", "ms"},
        {"drift-interval", "Milliseconds between price and planet changes (default 20000; 0 off).", "ms"},
        {"story-interval", "Milliseconds between news lines (default 60000; 0 off).", "ms"},
        {"bots", "Simulated players online at most (default 4; 0 none).", "count"},
        {"bot-interval", "Milliseconds between actions of simulated players (default 6000).", "ms"},
        {"seed", "Seed of the random numbers (default: random).", "number"},
        {"max-line", "Longest line a client may send, in bytes (default 4096).", "bytes"},
        {"max-output", "Unsent bytes after which a client is dropped (default 1048576).", "bytes"},
        {"hash-passes", "Argon2id passes of a password hash (default 2); others are rehashed at log-on.", "count"},
        {"hash-memory", "Argon2id memory of a password hash in KiB (default 19456); others are rehashed at log-on.",
            "kib"},
        {"signups-per-hour", "Accounts one address may create an hour, all at once at most (default 5; 0 no limit).",
            "count"},
        {"max-clients", "Connections served at once; more are turned away (default 100).", "count"},
        {"max-per-address", "Connections served at once from one address (default 8; 0 no limit).", "count"},
        {"no-demo", "Do not create the demo accounts in a new data directory."},
    });
    if (!p.parse(arguments)) {
        message = p.errorText();
        return false;
    }
    if (p.isSet(help)) {
        message = p.helpText();
        exitOk = true;
        return false;
    }
    if (p.isSet(version)) {
        message = QStringLiteral("kyrnd ") + QCoreApplication::applicationVersion();
        exitOk = true;
        return false;
    }
    if (!p.positionalArguments().isEmpty()) {
        message = QStringLiteral("unexpected argument: ") + p.positionalArguments().first();
        return false;
    }
    qint64 port = o.port, noop = o.session.noopIntervalMs, noopTimeout = o.session.noopTimeoutMs,
           login = o.session.loginTimeoutMs, drift = o.driftMs, story = o.storyMs, bots = o.bots,
           botInterval = o.botIntervalMs, seed = o.seed, maxLine = o.limits.maxLine, maxOutput = o.limits.maxOutput,
           passes = o.hashCost.passes, memory = o.hashCost.memoryKiB, signups = o.signupsPerHour,
           maxClients = o.maxClients, failureDelay = o.session.failureDelayMs,
           commandRate = o.session.commandsPerSecond, news = o.session.newsMs, save = o.saveMs,
           perAddress = o.maxPerAddress;
    constexpr qint64 day = 86400000;
    if (!number(p, "port", 0, 65535, port, message) || !number(p, "noop-interval", 0, day, noop, message)
        || !number(p, "noop-timeout", 1, day, noopTimeout, message)
        || !number(p, "login-timeout", 0, day, login, message) || !number(p, "drift-interval", 0, day, drift, message)
        || !number(p, "story-interval", 0, day, story, message) || !number(p, "bots", 0, 100, bots, message)
        || !number(p, "bot-interval", 1, day, botInterval, message)
        || !number(p, "seed", 0, 0xffffffffLL, seed, message) || !number(p, "max-line", 80, 1 << 20, maxLine, message)
        || !number(p, "max-output", 4096, 1LL << 30, maxOutput, message)
        || !number(p, "hash-passes", 1, HashCost::kMaxPasses, passes, message)
        || !number(p, "hash-memory", HashCost::kMinMemoryKiB, HashCost::kMaxMemoryKiB, memory, message)
        || !number(p, "signups-per-hour", 0, 100000, signups, message)
        || !number(p, "max-clients", 1, 10000, maxClients, message)
        || !number(p, "failure-delay", 0, 60000, failureDelay, message)
        || !number(p, "command-rate", 0, 10000, commandRate, message)
        || !number(p, "news-interval", 0, 1000, news, message) || !number(p, "save-interval", 0, 600000, save, message)
        || !number(p, "max-per-address", 0, 10000, perAddress, message))
        return false;
    o.port = quint16(port);
    o.session.noopIntervalMs = int(noop);
    o.session.noopTimeoutMs = int(noopTimeout);
    o.session.loginTimeoutMs = int(login);
    o.session.failureDelayMs = int(failureDelay);
    o.session.commandsPerSecond = int(commandRate);
    o.session.newsMs = int(news);
    o.saveMs = int(save);
    o.maxPerAddress = int(perAddress);
    o.driftMs = int(drift);
    o.storyMs = int(story);
    o.bots = int(bots);
    o.botIntervalMs = int(botInterval);
    o.seed = quint32(seed);
    o.limits = ConnectionLimits{int(maxLine), maxOutput, qMin(ConnectionLimits{}.holdOutput, maxOutput / 2)};
    o.hashCost = HashCost{int(passes), int(memory)};
    o.signupsPerHour = int(signups);
    o.maxClients = int(maxClients);
    if (p.isSet("listen"))
        o.listenAddress = p.value("listen");
    o.dataDir = p.isSet("data-dir") ? p.value("data-dir") : defaultDataDir();
    o.worldFile = p.isSet("world") ? p.value("world") : defaultWorldFile();
    o.createDemo = !p.isSet("no-demo");
    return true;
}
