#pragma once
// Slow work on passwords (deriving keys) away from the event loop, one job
// at a time per client address: a host that keeps guessing passwords waits
// its turn and cannot fill every worker while everyone else queues behind.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>

class KeyQueue : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void()>;

    // Runs `work` on a worker thread once the earlier jobs of `address` are
    // done, then what it returns on the event loop, unless `context` is gone
    // by then. A job whose context has gone before it starts is dropped.
    void run(const QString& address, QObject* context, std::function<Done()> work);
    // Jobs waiting or running.
    qsizetype size() const;

private:
    struct Job {
        QPointer<QObject> context;
        std::function<Done()> work;
    };
    void startFront(const QString& address);
    void finished(const QString& address, const Done& done);

    QHash<QString, std::deque<Job>> queues_; // by address; the front job runs
};
