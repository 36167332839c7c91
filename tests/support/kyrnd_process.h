#pragma once
// Starts the bundled game server as its own process and reads the port it
// listens on from what it prints, for the client's and the server's suites.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

// What keeps a test's kyrnd quick and quiet: a free port, its own data folder
// (so the demo accounts), no simulated players or world events, a fixed seed,
// cheap hashing and no pause after a refused password; then `more`.
inline QStringList QuietKyrndOptions(const QString& dataDir, const QStringList& more = {})
{
    return QStringList{"--port", "0", "--data-dir", dataDir, "--bots", "0", "--seed", "7", "--hash-passes", "1",
               "--hash-memory", "8", "--failure-delay", "0", "--drift-interval", "0", "--story-interval", "0"}
    + more;
}

// The port, or 0 when kyrnd did not start; everything it printed is in `log`.
inline quint16 StartKyrnd(QProcess& p, const QString& binary, const QStringList& args, QString* log)
{
    p.start(binary, args);
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    quint16 port = 0;
    const bool settled = QTest::qWaitFor(
        [&] {
            *log += QString::fromLocal8Bit(p.readAllStandardError());
            port = listening.match(*log).captured(1).toUShort();
            return port != 0 || p.state() == QProcess::NotRunning;
        },
        10000);
    return settled ? port : 0;
}
