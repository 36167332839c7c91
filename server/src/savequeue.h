#pragma once
// Writes that combine: at most one write runs (on its own thread) and at
// most one waits. Every request made while a write runs is served by the
// one that follows it, and that write's copy of the data is taken only
// when it starts, so it holds everything asked for until then. However
// many players leave at once, memory holds one copy and the disk sees two
// writes at most.

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <future>
#include <optional>
#include <vector>

class SaveQueue {
public:
    // Runs on the worker thread: writes and returns an error (empty: written).
    using Write = std::function<QString()>;
    // Runs on the event loop when a write starts: copies the data and
    // returns the work that writes that copy.
    using Snapshot = std::function<Write()>;
    using Done = std::function<void(const QString& error)>;

    explicit SaveQueue(Snapshot snapshot);
    ~SaveQueue(); // waits for what was asked, as flush()

    // Saves soon: now when no write runs, else right after the one that
    // does. `done` runs on the event loop once a write that began after
    // this request has ended, unless `context` is gone by then.
    void request(QObject* context = nullptr, Done done = {});
    // Waits until every request is written, finishing their `done`s here.
    void flush();
    bool idle() const { return !running_ && !pending_; }

private:
    struct Waiter {
        QPointer<QObject> context;
        bool guarded = false; // a context was given, so its going matters
        Done done;
    };
    void startWrite();
    // Takes the running write's result (waiting for it) and starts the
    // pending one.
    void finishWrite();

    Snapshot snapshot_;
    std::optional<std::future<QString>> running_;
    std::vector<Waiter> runningWaiters_;
    quint64 generation_ = 0; // of the running write; an older one's word is stale
    bool pending_ = false;
    std::vector<Waiter> pendingWaiters_;
    QObject notifier_; // the writer's word that it ended arrives here
};
