#pragma once
// Sends what connections have put off, all together, a moment after the
// first of it: news of others (arrivals, departures, talk) gathered over
// that moment leaves each connection in one write instead of one each, so
// a crowded place costs the server and the network far less.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class LineConnection;

class OutputPulse : public QObject {
    Q_OBJECT
public:
    explicit OutputPulse(int intervalMs, QObject* parent = nullptr);
    int intervalMs() const { return timer_.interval(); }
    // The connection sends what waits in it at the next beat.
    void wait(LineConnection* connection);

private:
    void beat();

    QTimer timer_;
    std::vector<QPointer<LineConnection>> waiting_;
};
