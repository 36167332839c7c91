#pragma once
// An event dispatcher on Linux's epoll. The kernel says which sockets are
// ready, where poll() has the loop look at every socket on every turn:
// with a thousand connections that look alone took a third of the
// server's time. Timers are kept in order of when they are due.

#include <QAbstractEventDispatcher>
#include <QHash>

#include <atomic>
#include <map>

class EpollDispatcher : public QAbstractEventDispatcher {
    Q_OBJECT
public:
    explicit EpollDispatcher(QObject* parent = nullptr);
    ~EpollDispatcher() override;

    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;
    void registerSocketNotifier(QSocketNotifier* notifier) override;
    void unregisterSocketNotifier(QSocketNotifier* notifier) override;
    void registerTimer(int timerId, qint64 interval, Qt::TimerType timerType, QObject* object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject* object) override;
    QList<TimerInfo> registeredTimers(QObject* object) const override;
    int remainingTime(int timerId) override;
    void wakeUp() override;
    void interrupt() override;

private:
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
        QSocketNotifier* exception = nullptr;
        quint32 events = 0; // as the kernel has them
    };
    struct Timer {
        qint64 interval;
        Qt::TimerType type;
        QObject* object;
        qint64 due; // ms on the steady clock
    };

    void watch(int fd, Watch& w);
    void removeDue(qint64 due, int timerId);
    bool activateTimers();
    bool activateSockets(const struct epoll_event* events, int count);

    int epoll_ = -1;
    int wake_ = -1; // eventfd: another thread posted something, or interrupt()
    std::atomic<bool> interrupted_{false};
    QHash<int, Watch> watches_; // by file descriptor
    QHash<int, Timer> timers_; // by timer id
    std::multimap<qint64, int> due_; // when each timer is due
};
