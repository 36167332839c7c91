#pragma once
// Sends what a connection has put off a moment after the first of it:
// news of others (arrivals, departures, talk) gathered over that moment
// leaves in one write instead of one each, so a crowded place costs the
// server and the network far less. Each connection has its own moment, so
// the writes spread out instead of all coming due at once.

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>

class LineConnection;

class OutputPulse : public QObject {
    Q_OBJECT
public:
    explicit OutputPulse(int intervalMs, QObject* parent = nullptr);
    int intervalMs() const { return interval_; }
    // The connection sends what waits in it once the interval has passed.
    void wait(LineConnection* connection);

private:
    void beat();

    int interval_;
    QTimer timer_;
    // In the order they came due: every wait is as long.
    std::deque<std::pair<QDeadlineTimer, QPointer<LineConnection>>> waiting_;
};
