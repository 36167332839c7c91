#include "lineconnection.h"

#include "addresskey.h"
#include "outputpulse.h"
#include "wire.h"

#include <QHostAddress>
#include <QTimer>

namespace {
// Read at most this much per event, so one flooding client cannot keep the
// server from serving the others for long.
constexpr qint64 kReadChunk = 16 * 1024;
} // namespace

LineConnection::LineConnection(QTcpSocket* socket, ConnectionLimits limits, QObject* parent, OutputPulse* pulse)
    : QObject(parent)
    , socket_(socket)
    , limits_(limits)
    , pulse_(pulse && pulse->intervalMs() > 0 ? pulse : nullptr)
{
    socket_->setParent(this);
    socket_->setReadBufferSize(kReadChunk * 4);
    // Answers are small and interactive: send them at once, not when the
    // previous segment has been acknowledged.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    address_ = addressKey(socket_->peerAddress());
    peer_ = QStringLiteral("%1:%2").arg(socket_->peerAddress().toString()).arg(socket_->peerPort());
    connect(socket_, &QTcpSocket::readyRead, this, &LineConnection::onReadyRead);
    connect(socket_, &QTcpSocket::bytesWritten, this, [this] {
        if (wasBacklogged_ && !backlogged()) {
            wasBacklogged_ = false;
            emit drained();
        }
    });
    connect(socket_, &QTcpSocket::disconnected, this, [this] { finish(QStringLiteral("disconnected")); });
    connect(socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (e != QAbstractSocket::RemoteHostClosedError)
            finish(socket_->errorString());
    });
}

void LineConnection::setPaused(bool paused)
{
    if (paused_ == paused)
        return;
    paused_ = paused;
    // Bytes that arrived while paused raise no new signal; look at them now.
    if (!paused_)
        QMetaObject::invokeMethod(this, &LineConnection::onReadyRead, Qt::QueuedConnection);
}

qint64 LineConnection::unsent() const
{
    return socket_->bytesToWrite() + later_.size();
}

bool LineConnection::backlogged() const
{
    return open_ && unsent() > limits_.holdOutput;
}

void LineConnection::onReadyRead()
{
    while (open_ && !paused_ && socket_->bytesAvailable() > 0) {
        const QByteArray chunk = socket_->read(kReadChunk);
        if (chunk.isEmpty())
            break;
        qsizetype start = 0;
        while (open_) {
            const qsizetype nl = chunk.indexOf('\n', start);
            const qsizetype end = nl < 0 ? chunk.size() : nl;
            if (!discarding_)
                pending_.append(chunk.constData() + start, end - start);
            if (pending_.size() > limits_.maxLine) {
                pending_.clear();
                if (!discarding_)
                    emit lineTooLong();
                discarding_ = true;
            }
            if (nl < 0)
                break;
            start = nl + 1;
            if (discarding_) {
                discarding_ = false;
                continue;
            }
            emit lineReceived(wire::decodeLine(std::exchange(pending_, QByteArray())));
        }
    }
}

void LineConnection::sendLine(const QString& line)
{
    sendEncoded(wire::encode(line));
}

void LineConnection::sendEncoded(const QByteArray& bytes, When when)
{
    if (!open_)
        return;
    later_.append(bytes);
    if (unsent() > limits_.maxOutput) {
        finish(QStringLiteral("output limit passed (client not reading)"));
        later_.clear();
        socket_->abort();
        return;
    }
    if (when == When::Now || !pulse_) {
        flush();
    } else if (!waiting_) {
        waiting_ = true;
        pulse_->wait(this);
    }
    wasBacklogged_ = wasBacklogged_ || backlogged();
}

void LineConnection::flush()
{
    waiting_ = false;
    // Queued in the socket and written when the event loop next turns, so
    // all that one turn sends to a client leaves in one write.
    if (!later_.isEmpty() && open_)
        socket_->write(std::exchange(later_, QByteArray()));
}

void LineConnection::push()
{
    flush();
    if (open_ && socket_->bytesToWrite() > 0)
        socket_->flush();
}

void LineConnection::close()
{
    if (!open_)
        return;
    flush();
    finish(QStringLiteral("closed by server"));
    // The socket outlives this object until its last lines are sent, or
    // for a few seconds when the client does not take them.
    QTcpSocket* s = socket_;
    s->disconnect(this);
    s->setParent(nullptr);
    connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    QTimer::singleShot(5000, s, [s] {
        s->abort();
        s->deleteLater();
    });
    s->flush(); // hand the last lines to the system now, in case we are exiting
    s->disconnectFromHost();
    if (s->state() == QAbstractSocket::UnconnectedState)
        s->deleteLater();
}

void LineConnection::finish(const QString& reason)
{
    if (!open_)
        return;
    open_ = false;
    emit closed(reason);
}
