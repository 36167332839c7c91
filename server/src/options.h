#pragma once
// Everything that can be set on kyrnd's command line.

#include "accountstore.h"
#include "lineconnection.h"
#include "session.h"

#include <QString>
#include <QStringList>

struct ServerOptions {
    QString listenAddress = QStringLiteral("127.0.0.1");
    quint16 port = 30003; // 0 picks a free port
    QString dataDir;
    QString worldFile;
    SessionTimings session;
    ConnectionLimits limits;
    int driftMs = 20000;
    int storyMs = 60000;
    int saveMs = 2000; // changes are saved together after this
    int bots = 4; // simulated players online at most
    int botIntervalMs = 6000;
    quint32 seed = 0; // 0: a different world every run
    HashCost hashCost; // of new password hashes
    int signupsPerHour = 5; // accounts one address may create (0: no limit)
    bool createDemo = true; // demo accounts when there is no accounts file
    int maxClients = 100; // connections served at once
    int maxPerAddress = 8; // of those from one address (0: no limit)
};

// The default world file: data/world.xml next to the program.
QString defaultWorldFile();
// The default data directory: kyrnd under the user's data location.
QString defaultDataDir();

// Fills options from the arguments. False with a message (or the help
// text, with `exitOk` set) when the program should stop.
bool parseOptions(const QStringList& arguments, ServerOptions& options, QString& message, bool& exitOk);
