// kyrnd: the local Kyrn game server.
#include "epolldispatcher.h"
#include "options.h"
#include "server.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

// Only writes a byte; the event loop does the real work.
void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

void logLine(QtMsgType, const QMessageLogContext&, const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    std::fflush(stderr);
}

} // namespace

int main(int argc, char** argv)
{
    // GLib's event dispatcher walks a list of every socket each time one
    // starts or stops waiting to write, and Qt's own polls every socket on
    // every turn: with a thousand players each cost the game a quarter of
    // its time or more. Ours asks the kernel which are ready.
    QCoreApplication::setEventDispatcher(new EpollDispatcher);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kyrnd"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KYRND_VERSION));
    qInstallMessageHandler(logLine);

    ServerOptions options;
    QString message;
    bool exitOk = false;
    if (!parseOptions(app.arguments(), options, message, exitOk)) {
        std::fprintf(exitOk ? stdout : stderr, "%s\n", qPrintable(message));
        return exitOk ? 0 : 2;
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) {
        std::perror("kyrnd: socketpair");
        return 1;
    }
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&app] {
        char c;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
        qInfo("kyrnd: stopping");
        app.quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    Server server(options);
    QString error;
    if (!server.start(&error)) {
        std::fprintf(stderr, "kyrnd: %s\n", qPrintable(error));
        return 1;
    }
    qInfo().noquote() << QStringLiteral("kyrnd: listening on %1:%2, world %3, data in %4")
                             .arg(options.listenAddress)
                             .arg(server.port())
                             .arg(options.worldFile, options.dataDir);
    const int rc = app.exec();
    server.stop();
    return rc;
}
