#include "savequeue.h"

SaveQueue::SaveQueue(Snapshot snapshot)
    : snapshot_(std::move(snapshot))
{
}

SaveQueue::~SaveQueue()
{
    flush();
}

void SaveQueue::request(QObject* context, Done done)
{
    std::vector<Waiter>& waiters = running_ ? pendingWaiters_ : runningWaiters_;
    if (done)
        waiters.push_back(Waiter{context, context != nullptr, std::move(done)});
    if (running_)
        pending_ = true;
    else
        startWrite();
}

void SaveQueue::startWrite()
{
    pending_ = false;
    Write write = snapshot_();
    running_ = std::async(std::launch::async, [this, write = std::move(write), generation = ++generation_] {
        QString error = write();
        // The queue outlives this thread (its destructor waits for it), so
        // the notifier is still there to receive the word.
        QMetaObject::invokeMethod(
            &notifier_,
            [this, generation] {
                if (generation == generation_)
                    finishWrite();
            },
            Qt::QueuedConnection);
        return error;
    });
}

void SaveQueue::finishWrite()
{
    if (!running_)
        return;
    const QString error = running_->get();
    running_.reset();
    std::vector<Waiter> waiters = std::move(runningWaiters_);
    runningWaiters_ = std::move(pendingWaiters_);
    pendingWaiters_.clear();
    if (pending_)
        startWrite();
    for (const Waiter& w : waiters) {
        if (!w.guarded || w.context)
            w.done(error);
    }
}

void SaveQueue::flush()
{
    while (running_) {
        running_->wait();
        finishWrite();
    }
}
