#pragma once
// Starts the bundled game server as its own process and reads the port it
// listens on from what it prints, for the client's and the server's suites.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

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
