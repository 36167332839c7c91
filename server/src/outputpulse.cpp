#include "outputpulse.h"

#include "lineconnection.h"

OutputPulse::OutputPulse(int intervalMs, QObject* parent)
    : QObject(parent)
    , interval_(intervalMs)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &OutputPulse::beat);
}

void OutputPulse::wait(LineConnection* connection)
{
    waiting_.emplace_back(QDeadlineTimer(interval_, Qt::PreciseTimer), connection);
    if (!timer_.isActive())
        timer_.start(interval_);
}

void OutputPulse::beat()
{
    // Sending adds nothing here: a connection waits only for news, and news
    // is made by commands and timers, not by sending.
    while (!waiting_.empty() && waiting_.front().first.remainingTime() <= 0) {
        const QPointer<LineConnection> c = waiting_.front().second;
        waiting_.pop_front();
        if (c)
            c->push();
    }
    if (!waiting_.empty())
        timer_.start(std::max<qint64>(1, waiting_.front().first.remainingTime()));
}
