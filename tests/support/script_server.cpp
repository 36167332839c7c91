#include "support/script_server.h"

#include <sys/socket.h>

#include <QTest>

ScriptServer::ScriptServer()
{
    server.listen(QHostAddress::LocalHost, 0);
    connect(&server, &QTcpServer::newConnection, this, [this] {
        client = server.nextPendingConnection();
        connect(client, &QTcpSocket::readyRead, this, [this] { received += client->readAll(); });
    });
}

bool ScriptServer::WaitForClient(int ms)
{
    return QTest::qWaitFor([this] { return !client.isNull(); }, ms);
}

void ScriptServer::Send(const QByteArray& bytes)
{
    if (!client)
        return;
    client->write(bytes);
    client->flush();
    (void)QTest::qWaitFor([this] { return !client || client->bytesToWrite() == 0; }, 2000);
}

bool ScriptServer::WaitForReceived(const QByteArray& text, int ms)
{
    return QTest::qWaitFor([&] { return received.contains(text); }, ms);
}

void ScriptServer::CloseClient()
{
    if (client)
        client->disconnectFromHost();
}

void ScriptServer::ResetClient()
{
    if (!client)
        return;
    // No lingering: closing sends a reset instead of an orderly end.
    const linger off{1, 0};
    ::setsockopt(int(client->socketDescriptor()), SOL_SOCKET, SO_LINGER, &off, sizeof off);
    client->abort();
}
