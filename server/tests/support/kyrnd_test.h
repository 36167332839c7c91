#pragma once
// What the server tests share: a scripted client that waits on socket
// events, a real server on a free port, and the bundled program as a process.
#include "server.h"
#include "support/common.h"
#include "support/kyrnd_process.h"

#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

// A command (none: more of the answer before) and a line that must come next.
struct Step {
    const char* command;
    QString expected;
};

class ScriptClient {
public:
    ScriptClient()
    {
        QObject::connect(&socket_, &QTcpSocket::readyRead, [this] {
            buffer_ += socket_.readAll();
            for (qsizetype nl; (nl = buffer_.indexOf('\n')) >= 0; buffer_.remove(0, nl + 1)) {
                lines_ << QString::fromLatin1(buffer_.left(nl));
                if (answerNoOps && lines_.last() == "<s-no-op/>")
                    send("<c-no-op/>");
            }
        });
    }
    bool connectTo(quint16 port, const QString& from = "127.0.0.1")
    {
        socket_.bind(QHostAddress(from));
        socket_.connectToHost("127.0.0.1", port);
        return QTest::qWaitFor([this] { return isOpen(); }, 5000);
    }
    void send(const QString& line) { sendRaw(line.toLatin1() + '\n'); }
    void sendRaw(const QByteArray& bytes)
    {
        socket_.write(bytes);
        socket_.flush();
    }
    // The lines since the last wait, up to the first holding the fragment; empty on time-out.
    QStringList collectUntil(const QString& fragment, int timeoutMs = 5000)
    {
        qsizetype found = -1;
        const auto scan = [&] {
            for (qsizetype i = cursor_; found < 0 && i < lines_.size(); ++i)
                found = lines_[i].contains(fragment) ? i : -1;
            return found >= 0;
        };
        const qsizetype from = cursor_;
        return QTest::qWaitFor(scan, timeoutMs) ? lines_.mid(from, (cursor_ = found + 1) - from) : QStringList();
    }
    ::testing::AssertionResult sees(const QString& fragment, int timeoutMs = 5000)
    {
        return collectUntil(fragment, timeoutMs).isEmpty() ? ::testing::AssertionFailure()
                << "never came: " << fragment.toStdString() << "\nafter:\n"
                << lines_.mid(cursor_).join('\n').toStdString()
                                                           : ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult walk(std::initializer_list<Step> steps)
    {
        for (const Step& s : steps) {
            if (s.command)
                send(s.command);
            if (auto seen = sees(s.expected); !seen)
                return seen << "\n(step " << (s.command ? s.command : "") << ")";
        }
        return ::testing::AssertionSuccess();
    }
    // Asks who and waits for the answer: every line sent before has been
    // handled, and what it made the server send here has arrived.
    ::testing::AssertionResult sync()
    {
        send("who");
        return sees("In Kyrnos DataSpace now");
    }
    bool waitClosed()
    {
        return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, 5000);
    }
    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }
    int count(const QString& fragment) const { return int(lines_.filter(fragment).size()); }
    bool answerNoOps = true; // as Orvix does

private:
    QTcpSocket socket_;
    QByteArray buffer_;
    QStringList lines_;
    qsizetype cursor_ = 0;
};

// Logs on and says hello as Orvix, or types who as a terminal does; true once the stream has begun.
inline bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix = true)
{
    return c.walk({{nullptr, "login:"}, {qPrintable(id + '\n' + password), "Linking to Kyrnos DataSpace"},
        {orvix ? "<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>" : "who",
            orvix ? "<?xml version=\"1.0\"?>" : "Welcome to Kyrnos DataSpace"}});
}

// Argon2id at the least work it allows, so tests stay fast.
inline constexpr HashCost kCheapHash{1, HashCost::kMinMemoryKiB};

// A server on a free port with no simulated players, world events,
// keep-alive, time-outs or command rate, and cheap hashing, changed as the
// test says; its data directory is its own temporary one unless given.
class TestServer {
public:
    explicit TestServer(const std::function<void(ServerOptions&)>& change = {}, const QString& dataDir = {})
        : dataDir_(dataDir.isEmpty() ? dir_.path() : dataDir)
    {
        ServerOptions o;
        o.port = 0;
        o.driftMs = 0;
        o.storyMs = 0;
        o.bots = 0;
        o.maxPerAddress = 0;
        o.dataDir = dataDir_;
        o.worldFile = KYRND_WORLD_FILE;
        o.seed = 7;
        o.hashCost = kCheapHash;
        o.saveMs = 20;
        o.signupsPerHour = 0;
        o.session = SessionTimings{0, 60000, 0, 0, 0};
        if (change)
            change(o);
        server_ = std::make_unique<Server>(o);
        QString error;
        if (!server_->start(&error))
            ADD_FAILURE() << "server did not start: " << error.toStdString();
    }
    Server& server() { return *server_; }
    quint16 port() const { return server_->port(); }
    QString dataDir() const { return dataDir_; }
    bool join(ScriptClient& c, const QString& id = "demo1", bool orvix = true)
    {
        return c.connectTo(port()) && logOn(c, id, "orvixdemo", orvix);
    }

private:
    QTemporaryDir dir_;
    QString dataDir_;
    std::unique_ptr<Server> server_;
};
