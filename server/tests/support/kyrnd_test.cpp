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

::testing::AssertionResult ScriptClient::sees(const QString& fragment, int timeoutMs)
{
    if (!collectUntil(fragment, timeoutMs).isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "never came: " << fragment.toStdString() << "\nafter:\n"
                                         << lines_.mid(cursor_).join('\n').toStdString();
}

::testing::AssertionResult ScriptClient::walk(std::initializer_list<Step> steps)
{
    for (const Step& s : steps) {
        if (s.command)
            send(s.command);
        if (auto seen = sees(s.expected); !seen)
            return seen << "\n(step " << (s.command ? s.command : "") << ")";
    }
    return ::testing::AssertionSuccess();
}

bool ScriptClient::waitClosed()
{
    return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, 5000);
}

ServerOptions testOptions(const QString& dataDir)
{
    ServerOptions o;
    o.port = 0;
    o.dataDir = dataDir;
    o.worldFile = QStringLiteral(KYRND_WORLD_FILE);
    o.session = SessionTimings{0, 60000, 0, 0, 0};
    o.driftMs = o.storyMs = o.bots = o.maxPerAddress = 0;
    o.seed = 7;
    o.hashIterations = 500;
    o.saveMs = 20;
    return o;
}

TestServer::TestServer(ServerOptions options)
{
    dataDir_ = options.dataDir = options.dataDir.isEmpty() ? dir_.path() : options.dataDir;
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
    if (!c.sees("login:"))
        return false;
    c.send(id + '\n' + password);
    if (!c.sees("Linking to Kyrnos DataSpace"))
        return false;
    c.send(orvix ? QStringLiteral("<?xml version=\"1.0\"?>\n<c-orvix version='1.60'>") : QStringLiteral("who"));
    return c.sees("<?xml version=\"1.0\"?>");
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
