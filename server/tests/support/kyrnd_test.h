#pragma once
// What the server tests share: a scripted client that waits on socket
// events, a real server on a free port with quiet options, and the bundled
// program started as a process.

#include "server.h"
#include "support/common.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>

class ScriptClient {
public:
    ScriptClient();
    bool connectTo(quint16 port, const QString& from = QStringLiteral("127.0.0.1"));
    void send(const QString& line) { sendRaw(line.toLatin1() + '\n'); }
    void sendRaw(const QByteArray& bytes);
    // The lines received since the last wait, up to the first holding the
    // fragment; empty on time-out.
    QStringList collectUntil(const QString& fragment, int timeoutMs = 5000);
    // The matching line, or a null string on time-out.
    QString waitFor(const QString& fragment, int timeoutMs = 5000);
    ::testing::AssertionResult sees(const QString& fragment, int timeoutMs = 5000);
    // Asks `who` and waits for the answer: every line sent before has been
    // handled, and what it made the server send here has arrived.
    ::testing::AssertionResult sync();
    bool waitClosed(int timeoutMs = 5000);
    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    int count(const QString& fragment) const;
    bool answerNoOps = true;  // as a real client does

private:
    QTcpSocket socket_;
    QByteArray buffer_;
    QStringList lines_;
    qsizetype cursor_ = 0;
};

// No simulated players, no world events, no keep-alive, cheap hashing; the
// data directory is the server's own temporary one unless given.
ServerOptions testOptions(const QString& dataDir = {});

class TestServer {
public:
    explicit TestServer(ServerOptions options = testOptions());
    Server& server() { return *server_; }
    quint16 port() const { return server_->port(); }
    QString dataDir() const { return dataDir_; }
    // Connects, logs on and says hello as Orvix (or types `who`, as a plain
    // terminal does); true once the stream has begun.
    bool join(ScriptClient& c, const QString& id = QStringLiteral("demo1"), bool orvix = true);

private:
    QTemporaryDir dir_;
    QString dataDir_;
    std::unique_ptr<Server> server_;
};

bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix = true);

// Lines beginning with each prefix come in this order, others between.
::testing::AssertionResult inOrder(const QStringList& lines, const QStringList& prefixes);

// Starts the bundled kyrnd and reads the port it listens on; 0 on failure.
quint16 startKyrnd(QProcess& p, const QStringList& args, QString* log);
