#include "outputpulse.h"

#include "lineconnection.h"

OutputPulse::OutputPulse(int intervalMs, QObject* parent)
    : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OutputPulse::beat);
}

void OutputPulse::wait(LineConnection* connection)
{
    waiting_.emplace_back(connection);
    if (!timer_.isActive())
        timer_.start();
}

void OutputPulse::beat()
{
    // Sending cannot add to the list: a connection waits only for news,
    // and news is made by commands and timers, not by sending.
    for (const QPointer<LineConnection>& c : std::exchange(waiting_, {})) {
        if (c)
            c->push();
    }
}
