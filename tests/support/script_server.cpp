#include "support/script_server.h"

#include <sys/socket.h>

#include <QLabel>

#include "shell/coms.h"
#include "shell/mainform.h"

ScriptServer::ScriptServer()
{
    server.listen(QHostAddress::LocalHost, 0);
    connect(&server, &QTcpServer::newConnection, this, [this] {
        client = server.nextPendingConnection();
        connect(client, &QTcpSocket::readyRead, this, [this] { received += client->readAll(); });
    });
}

bool ScriptServer::Connect(TMainForm& w)
{
    w.OpenConnection("127.0.0.1", Port(), "Nova");
    return WaitForClient() && QTest::qWaitFor([&] { return w.StatusPanels[0]->text() == "Connected"; }, 5000);
}

bool ScriptServer::Stream(TMainForm& w)
{
    if (!Connect(w))
        return false;
    w.GetComs().SetMode(Coms::AwaitingStream);
    Send("<s-default>\n");
    const bool started = WaitForReceived("look\n");
    return ClearReceived(), started;
}

void ScriptServer::Send(const QByteArray& bytes)
{
    if (!client)
        return;
    client->write(bytes);
    client->flush();
    (void)QTest::qWaitFor([this] { return !client || client->bytesToWrite() == 0; }, 2000);
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
