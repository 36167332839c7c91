#pragma once
// A scripted game server on 127.0.0.1 for tests: accepts one client, sends
// what the test says and records every byte the client sent.

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class TMainForm;

class ScriptServer : public QObject {
    Q_OBJECT
public:
    ScriptServer();
    quint16 Port() const { return server.serverPort(); }
    // Connects the window as "Nova" and waits until it shows "Connected".
    bool Connect(TMainForm& window);
    // Connects and starts the stream as a finished logon does, waiting for
    // the window's "look"; what was received until then is forgotten.
    bool Stream(TMainForm& window);
    bool WaitForClient(int ms = 5000) { return QTest::qWaitFor([this] { return !client.isNull(); }, ms); }
    // Sends bytes and waits until they are written.
    void Send(const QByteArray& bytes);
    // Sends bytes, then waits until `done` holds.
    template <typename Pred>
    bool SendUntil(const QByteArray& bytes, Pred done) { return Send(bytes), QTest::qWaitFor(done, 5000); }
    // Waits until the client has sent `text` (anywhere in what it sent).
    bool WaitForReceived(const QByteArray& text, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return received.contains(text); }, ms);
    }
    void CloseClient() { if (client) client->disconnectFromHost(); }
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
