#include "script_client.h"

#include <QTest>

ScriptClient::ScriptClient()
{
    QObject::connect(&socket_, &QTcpSocket::readyRead, [this] { onReadyRead(); });
}

bool ScriptClient::connectTo(quint16 port, int timeoutMs)
{
    socket_.connectToHost(QStringLiteral("127.0.0.1"), port);
    return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, timeoutMs);
}

void ScriptClient::send(const QString& line)
{
    sendRaw(line.toLatin1() + '\n');
}

void ScriptClient::sendRaw(const QByteArray& bytes)
{
    socket_.write(bytes);
    socket_.flush();
}

void ScriptClient::onReadyRead()
{
    buffer_ += socket_.readAll();
    qsizetype nl;
    while ((nl = buffer_.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(buffer_.left(nl));
        buffer_.remove(0, nl + 1);
        lines_ << line;
        if (answerNoOps_ && line == QLatin1String("<s-no-op/>"))
            send(QStringLiteral("<c-no-op/>"));
    }
}

QString ScriptClient::waitFor(const QString& fragment, int timeoutMs)
{
    const QStringList got = collectUntil(fragment, timeoutMs);
    return got.isEmpty() ? QString() : got.last();
}

QStringList ScriptClient::collectUntil(const QString& fragment, int timeoutMs)
{
    qsizetype found = -1;
    const auto scan = [&] {
        for (qsizetype i = cursor_; i < lines_.size(); ++i) {
            if (lines_[i].contains(fragment)) {
                found = i;
                return true;
            }
        }
        return false;
    };
    if (!scan() && !QTest::qWaitFor(scan, timeoutMs))
        return {};
    const QStringList passed = lines_.mid(cursor_, found - cursor_ + 1);
    cursor_ = found + 1;
    return passed;
}

bool ScriptClient::waitClosed(int timeoutMs)
{
    return QTest::qWaitFor([this] { return socket_.state() == QAbstractSocket::UnconnectedState; }, timeoutMs);
}

int ScriptClient::count(const QString& fragment) const
{
    int n = 0;
    for (const QString& l : lines_)
        n += l.contains(fragment) ? 1 : 0;
    return n;
}
