#pragma once
// A scripted client for the server tests: connects over TCP, sends lines,
// and waits (on socket events, with a deadline) for lines holding a given
// fragment. Every line received is kept, so tests can check what came.

#include <QStringList>
#include <QTcpSocket>

class ScriptClient {
public:
    ScriptClient();

    bool connectTo(quint16 port, int timeoutMs = 5000);
    void send(const QString& line);           // adds the line feed
    void sendRaw(const QByteArray& bytes);

    // Waits for a line, received after the last one waited for, that holds
    // the fragment; returns it, or a null string on time-out.
    QString waitFor(const QString& fragment, int timeoutMs = 5000);
    // Like waitFor, but the lines passed over are returned too (up to and
    // including the match); empty on time-out.
    QStringList collectUntil(const QString& fragment, int timeoutMs = 5000);
    bool waitClosed(int timeoutMs = 5000);
    bool isOpen() const { return socket_.state() == QAbstractSocket::ConnectedState; }

    // Answers s-no-op elements as a real client does (on by default).
    void setAnswerNoOps(bool on) { answerNoOps_ = on; }

    const QStringList& lines() const { return lines_; }
    qsizetype cursor() const { return cursor_; }
    // Lines received since the cursor, without moving it.
    QStringList pending() const { return lines_.mid(cursor_); }
    // Received lines that hold a fragment, counted from the start.
    int count(const QString& fragment) const;

private:
    void onReadyRead();

    QTcpSocket socket_;
    QByteArray buffer_;
    QStringList lines_;
    qsizetype cursor_ = 0;
    bool answerNoOps_ = true;
};
