#include "keyqueue.h"

#include <QCoreApplication>
#include <QThreadPool>

void KeyQueue::run(const QString& address, QObject* context, std::function<Done()> work)
{
    std::deque<Job>& queue = queues_[address];
    queue.push_back(Job{context, std::move(work)});
    if (queue.size() == 1)
        startFront(address);
}

qsizetype KeyQueue::size() const
{
    qsizetype n = 0;
    for (const std::deque<Job>& q : queues_)
        n += qsizetype(q.size());
    return n;
}

void KeyQueue::startFront(const QString& address)
{
    const auto it = queues_.find(address);
    if (it == queues_.end())
        return;
    while (!it->empty() && !it->front().context)
        it->pop_front();
    if (it->empty()) {
        queues_.erase(it);
        return;
    }
    QPointer<KeyQueue> self(this);
    QThreadPool::globalInstance()->start([self, address, work = it->front().work] {
        Done done = work();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, address, done = std::move(done)] {
                if (self)
                    self->finished(address, done);
            },
            Qt::QueuedConnection);
    });
}

void KeyQueue::finished(const QString& address, const Done& done)
{
    const auto it = queues_.find(address);
    if (it == queues_.end() || it->empty())
        return;
    const QPointer<QObject> context = it->front().context;
    it->pop_front();
    // The next job starts first: `done` may queue another for this address.
    startFront(address);
    if (context)
        done();
}
