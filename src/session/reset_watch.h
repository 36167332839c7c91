#pragma once
// Tells a connection dropped by the server's side (reset) from one it closed
// in order. Qt reports both as "remote host closed", but a reset is a fault
// the player must be told of.

#include <QObject>
#include <QPointer>

class QTcpSocket;

class ResetWatch : public QObject {
    Q_OBJECT
public:
    explicit ResetWatch(QTcpSocket& socket);
    // The socket's pending error when its connection went, 0 for an orderly
    // close; valid until the next connection.
    int LastError() const { return lastError; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();

    QTcpSocket& socket;
    QPointer<QObject> notifier;
    int lastError = 0;
};
