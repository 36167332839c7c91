#include "session/reset_watch.h"

#include <sys/socket.h>

#include <QEvent>
#include <QSocketNotifier>
#include <QTcpSocket>

ResetWatch::ResetWatch(QTcpSocket& s)
    : QObject(&s)
    , socket(s)
{
    connect(&socket, &QTcpSocket::connected, this, &ResetWatch::Watch);
}

void ResetWatch::Watch()
{
    lastError = 0;
    if (notifier)
        notifier->removeEventFilter(this);
    // The socket's read notifier fires before the socket reads: the kernel
    // still holds the reason the connection ended.
    for (QSocketNotifier* n : socket.findChildren<QSocketNotifier*>())
        if (n->type() == QSocketNotifier::Read) {
            notifier = n;
            n->installEventFilter(this);
            return;
        }
}

bool ResetWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == notifier && event->type() == QEvent::SockAct) {
        const qintptr fd = socket.socketDescriptor();
        int error = 0;
        socklen_t size = sizeof error;
        // Reading the pending error clears it; the socket then sees the end
        // of the stream as it would anyway.
        if (fd >= 0 && ::getsockopt(int(fd), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error != 0)
            lastError = error;
    }
    return QObject::eventFilter(watched, event);
}
