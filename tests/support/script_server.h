#pragma once
// A scripted game server on 127.0.0.1 for tests: accepts one client, sends
// what the test says and records every byte the client sent.

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class ScriptServer : public QObject {
    Q_OBJECT
public:
    ScriptServer();
    quint16 Port() const { return server.serverPort(); }
    // Waits until a client has connected.
    bool WaitForClient(int ms = 5000);
    // Sends bytes and waits until they are written.
    void Send(const QByteArray& bytes);
    // Waits until the client has sent at least `text` (as a suffix or anywhere).
    bool WaitForReceived(const QByteArray& text, int ms = 5000);
    void CloseClient();
    // Drops the connection with a reset, as a crashed server or a broken link does.
    void ResetClient();
    const QByteArray& Received() const { return received; }
    void ClearReceived() { received.clear(); }
    QTcpSocket* Client() const { return client; }

private:
    QTcpServer server;
    QPointer<QTcpSocket> client;
    QByteArray received;
};
