#pragma once
// A scripted game server on 127.0.0.1 for tests: accepts one client, sends
// what the test says and records every byte the client sent.

#include <sys/socket.h>

#include <QByteArray>
#include <QLabel>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "session/coms.h"
#include "app/mainform.h"

class ScriptServer : public QObject {
public:
    ScriptServer()
    {
        server.listen(QHostAddress::LocalHost, 0);
        connect(&server, &QTcpServer::newConnection, this, [this] {
            client = server.nextPendingConnection();
            connect(client, &QTcpSocket::readyRead, this, [this] { received += client->readAll(); });
        });
    }
    quint16 Port() const { return server.serverPort(); }
    // Connects the window as "Nova" and waits until it shows "Connected".
    bool Connect(TMainForm& w)
    {
        w.OpenConnection("127.0.0.1", Port(), "Nova");
        return QTest::qWaitFor([this] { return !client.isNull(); }, 5000)
            && QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; });
    }
    // Connects and starts the stream as a finished logon does, waiting for
    // the window's "look"; what was received until then is forgotten.
    bool Stream(TMainForm& w)
    {
        if (!Connect(w))
            return false;
        w.GetComs().SetMode(Coms::AwaitingStream);
        const bool started = SendUntil("<s-default>\n", [&] { return received.contains("look\n"); });
        ClearReceived();
        return started;
    }
    // Sends bytes and waits until they are written.
    void Send(const QByteArray& bytes)
    {
        if (!client)
            return;
        client->write(bytes);
        client->flush();
        (void)QTest::qWaitFor([this] { return !client || client->bytesToWrite() == 0; }, 2000);
    }
    // Sends bytes, then waits until `done` holds.
    template <typename Pred>
    bool SendUntil(const QByteArray& bytes, Pred done)
    {
        Send(bytes);
        return QTest::qWaitFor(done, 5000);
    }
    // Waits until the client has sent `text` (anywhere in what it sent).
    bool WaitForReceived(const QByteArray& text, int ms = 5000)
    {
        return QTest::qWaitFor([&] { return received.contains(text); }, ms);
    }
    void CloseClient()
    {
        if (client)
            client->disconnectFromHost();
    }
    // Drops the connection with a reset, as a crashed server or a broken link does.
    void ResetClient()
    {
        if (!client)
            return;
        const linger off{1, 0}; // no lingering: closing sends a reset instead of an orderly end
        ::setsockopt(int(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &off, sizeof off);
        client->abort();
    }
    const QByteArray& Received() const { return received; }
    void ClearReceived() { received.clear(); }

private:
    QTcpServer server;
    QPointer<QTcpSocket> client;
    QByteArray received;
};
