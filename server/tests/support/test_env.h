#pragma once
// A real kyrnd server on a free port with a fresh data directory, plus the
// steps most tests share (log on, say hello).

#include "script_client.h"
#include "server.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// Quiet, fast options: no simulated players, no timers, cheap hashing.
ServerOptions testOptions(const QString& dataDir);

class TestServer {
public:
    explicit TestServer(ServerOptions options);
    TestServer();

    bool ok() const { return ok_; }
    QString error() const { return error_; }
    Server& server() { return *server_; }
    quint16 port() const { return server_->port(); }
    QString dataDir() const { return dir_.path(); }
    // Connects the client and logs on with the account, saying hello as
    // Orvix (or, with `orvix` false, as a plain terminal that types `who`).
    bool join(ScriptClient& c, const QString& id = QStringLiteral("demo1"), bool orvix = true);

private:
    QTemporaryDir dir_;
    std::unique_ptr<Server> server_;
    bool ok_ = false;
    QString error_;
};

// Logs on with the account and says hello; true once the stream has begun.
bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix = true);

// Checks that lines beginning with each of the prefixes come in this order
// (other lines may come between them).
::testing::AssertionResult inOrder(const QStringList& lines, const QStringList& prefixes);

// True when the client's markup scanner reads the line as the element it
// begins with, with the attributes the server meant (see the .cpp).
bool scansCleanly(const QString& line, QString* why);
