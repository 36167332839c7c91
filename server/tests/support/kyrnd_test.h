#pragma once
// What the server tests share: a scripted client that waits on socket
// events, a real server on a free port, and the bundled program as a process.
#include "server.h"
#include "support/common.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

// A command (none: more of the answer before) and a line that must come next.
struct Step {
    const char* command;
    QString expected;
};

class ScriptClient {
public:
    ScriptClient();
    bool connectTo(quint16 port, const QString& from = QStringLiteral("127.0.0.1"));
    void send(const QString& line) { sendRaw(line.toLatin1() + '\n'); }
    void sendRaw(const QByteArray& bytes) { socket_.write(bytes), socket_.flush(); }
    // The lines since the last wait, up to the first holding the fragment; empty on time-out.
    QStringList collectUntil(const QString& fragment, int timeoutMs = 5000);
    ::testing::AssertionResult sees(const QString& fragment, int timeoutMs = 5000);
    ::testing::AssertionResult walk(std::initializer_list<Step> steps);
    // Asks who and waits for the answer: every line sent before has been
    // handled, and what it made the server send here has arrived.
    ::testing::AssertionResult sync() { return send("who"), sees("In Kyrnos DataSpace now"); }
    bool waitClosed();
    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    int count(const QString& fragment) const { return int(lines_.filter(fragment).size()); }
    bool answerNoOps = true;  // as Orvix does

private:
    QTcpSocket socket_;
    QByteArray buffer_;
    QStringList lines_;
    qsizetype cursor_ = 0;
};

// No simulated players, world events, keep-alive, time-outs or command
// rate; cheap hashing; the server's own temporary data directory unless given.
ServerOptions testOptions(const QString& dataDir = {});

class TestServer {
public:
    explicit TestServer(ServerOptions options = testOptions());
    Server& server() { return *server_; }
    quint16 port() const { return server_->port(); }
    QString dataDir() const { return dataDir_; }
    // Connects, logs on and says hello as Orvix, or types who as a terminal does.
    bool join(ScriptClient& c, const QString& id = "demo1", bool orvix = true);

private:
    QTemporaryDir dir_;
    QString dataDir_;
    std::unique_ptr<Server> server_;
};

bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix = true);
// Starts the bundled kyrnd and reads the port it listens on; 0 on failure.
quint16 startKyrnd(QProcess& p, const QStringList& args, QString* log);
