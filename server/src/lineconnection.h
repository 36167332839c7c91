#pragma once
// One client's TCP connection cut into lines. Incoming bytes are split at
// line feeds, cleaned of control characters and decoded from Windows-1252
// (with the client's own table);
// outgoing lines are encoded and end with a line feed only. Limits protect
// the server: an over-long incoming line is thrown away (reported once),
// and a client that does not read what is sent to it is dropped once its
// unsent output passes the limit.

#include <QObject>
#include <QTcpSocket>

class OutputPulse;

struct ConnectionLimits {
    int maxLine = 4096; // bytes per incoming line
    qint64 maxOutput = 1024 * 1024; // unsent bytes before the client is dropped
    // Unsent bytes past which the client's own commands wait until it reads:
    // a client that asks and never reads costs the server nothing more.
    qint64 holdOutput = 64 * 1024;
};

class LineConnection : public QObject {
    Q_OBJECT
public:
    // Takes ownership of the socket. With a pulse, news can wait for its beat.
    LineConnection(
        QTcpSocket* socket, ConnectionLimits limits, QObject* parent = nullptr, OutputPulse* pulse = nullptr);

    // Answers leave when the event loop next turns; news may wait for the
    // pulse. Either way everything leaves in the order it was sent.
    enum class When { Now, WithPulse };
    void sendLine(const QString& line);
    // Lines already encoded for the wire (see wire.h).
    void sendEncoded(const QByteArray& bytes, When when = When::Now);
    // What waits for the pulse leaves now.
    void flush();
    // Hands everything queued to the system at once, rather than when the
    // event loop next turns: one turn less for each answer.
    void push();
    // Sends what is queued, then closes. Input after this is ignored.
    void close();
    bool isOpen() const { return open_; }
    // While paused nothing more is read; the client's bytes wait in the
    // system's buffers and, once those are full, in the client.
    void setPaused(bool paused);
    // More unsent output than the hold limit; `drained` follows when it is
    // back under.
    bool backlogged() const;
    QString peer() const { return peer_; } // address and port
    QString address() const { return address_; } // what per-address limits count (addressKey)

signals:
    void lineReceived(const QString& line);
    void lineTooLong();
    void drained();
    void closed(const QString& reason);

private:
    void onReadyRead();
    void finish(const QString& reason);

    qint64 unsent() const; // in the socket and waiting for the pulse

    QTcpSocket* socket_;
    ConnectionLimits limits_;
    OutputPulse* pulse_;
    QByteArray later_; // news waiting for the pulse
    bool waiting_ = false; // on the pulse's list
    QString peer_;
    QString address_;
    QByteArray pending_;
    bool discarding_ = false; // inside an over-long line, up to its line feed
    bool open_ = true;
    bool paused_ = false;
    bool wasBacklogged_ = false;
};
