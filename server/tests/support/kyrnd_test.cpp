#include "kyrnd_test.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>

ScriptClient::ScriptClient()
{
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] {
        buffer_ += socket_.readAll();
        for (qsizetype nl; (nl = buffer_.indexOf('\n')) >= 0; buffer_.remove(0, nl + 1)) {
            lines_ << QString::fromLatin1(buffer_.left(nl));
            if (answerNoOps && lines_.last() == QLatin1String("<s-no-op/>"))
                send(QStringLiteral("<c-no-op/>"));
        }
    });
}

bool ScriptClient::connectTo(quint16 port, const QString& from)
{
    socket_.bind(QHostAddress(from));
    socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
    return QTest::qWaitFor([this] { return isOpen(); }, 5000);
}

void ScriptClient::sendRaw(const QByteArray& bytes)
{
    socket_.write(bytes);
    socket_.flush();
}

QStringList ScriptClient::collectUntil(const QString& fragment, int timeoutMs)
{
    qsizetype found = -1;
    const auto scan = [&] {
        for (qsizetype i = cursor_; found < 0 && i < lines_.size(); ++i)
            found = lines_[i].contains(fragment) ? i : -1;
        return found >= 0;
    };
    if (!scan() && !QTest::qWaitFor(scan, timeoutMs))
        return {};
    const QStringList passed = lines_.mid(cursor_, found - cursor_ + 1);
    cursor_ = found + 1;
    return passed;
}

QString ScriptClient::waitFor(const QString& fragment, int timeoutMs)
{
    const QStringList got = collectUntil(fragment, timeoutMs);
    return got.isEmpty() ? QString() : got.last();
}

::testing::AssertionResult ScriptClient::sees(const QString& fragment, int timeoutMs)
{
    if (!waitFor(fragment, timeoutMs).isNull())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "never came: " << fragment.toStdString() << "\nafter:\n"
                                         << lines_.mid(cursor_).join('\n').toStdString();
}

::testing::AssertionResult ScriptClient::sync()
{
    send(QStringLiteral("who"));
    return sees(QStringLiteral("In Kyrnos DataSpace now"));
}

bool ScriptClient::waitClosed(int timeoutMs)
{
    return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, timeoutMs);
}

int ScriptClient::count(const QString& fragment) const
{
    return int(std::count_if(lines_.begin(), lines_.end(), [&](const QString& l) { return l.contains(fragment); }));
}

ServerOptions testOptions(const QString& dataDir)
{
    ServerOptions o;
    o.port = 0;
    o.dataDir = dataDir;
    o.worldFile = QStringLiteral(KYRND_WORLD_FILE);
    o.session = SessionTimings{0, 60000, 0, 0, 0};  // no keep-alive, time-outs, pauses or command rate
    o.driftMs = o.storyMs = o.bots = 0;
    o.seed = 7;
    o.hashIterations = 500;
    o.saveMs = 20;
    o.maxPerAddress = 0;
    return o;
}

TestServer::TestServer(ServerOptions options)
{
    if (options.dataDir.isEmpty())
        options.dataDir = dir_.path();
    dataDir_ = options.dataDir;
    server_ = std::make_unique<Server>(options);
    QString error;
    if (!server_->start(&error))
        ADD_FAILURE() << "server did not start: " << error.toStdString();
}

bool TestServer::join(ScriptClient& c, const QString& id, bool orvix)
{
    return c.connectTo(port()) && logOn(c, id, QStringLiteral("orvixdemo"), orvix);
}

bool logOn(ScriptClient& c, const QString& id, const QString& password, bool orvix)
{
    if (!c.sees(QStringLiteral("login:")))
        return false;
    c.send(id);
    if (!c.sees(QStringLiteral("password:")))
        return false;
    c.send(password);
    if (!c.sees(QStringLiteral("Linking to Kyrnos DataSpace")))
        return false;
    c.send(orvix ? QStringLiteral("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>") : QStringLiteral("who"));
    return c.sees(QStringLiteral("<?xml version=\"1.0\"?>"));
}

::testing::AssertionResult inOrder(const QStringList& lines, const QStringList& prefixes)
{
    qsizetype at = 0;
    for (const QString& p : prefixes) {
        while (at < lines.size() && !lines[at].startsWith(p))
            ++at;
        if (at++ == lines.size())
            return ::testing::AssertionFailure() << "missing or out of order: " << p.toStdString() << "\n"
                                                 << lines.join('\n').toStdString();
    }
    return ::testing::AssertionSuccess();
}

quint16 startKyrnd(QProcess& p, const QStringList& args, QString* log)
{
    p.start(QStringLiteral(KYRND_BINARY), args);
    const QRegularExpression listening(QStringLiteral("listening on 127\\.0\\.0\\.1:(\\d+)"));
    quint16 port = 0;
    QTest::qWaitFor([&] {
        *log += QString::fromLocal8Bit(p.readAllStandardError());
        port = listening.match(*log).captured(1).toUShort();
        return port != 0 || p.state() == QProcess::NotRunning;
    }, 10000);
    return port;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
