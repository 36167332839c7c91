#include "epolldispatcher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

qint64 nowMs()
{
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
}

// Taken from the kernel in one turn; more wait for the next.
constexpr int kMaxEvents = 256;

} // namespace

EpollDispatcher::EpollDispatcher(QObject* parent)
    : QAbstractEventDispatcher(parent)
    , epoll_(::epoll_create1(EPOLL_CLOEXEC))
    , wake_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.fd = wake_;
    if (epoll_ < 0 || wake_ < 0 || ::epoll_ctl(epoll_, EPOLL_CTL_ADD, wake_, &ev) != 0)
        qFatal("kyrnd: no epoll event dispatcher (%s)", strerror(errno));
}

EpollDispatcher::~EpollDispatcher()
{
    ::close(wake_);
    ::close(epoll_);
}

bool EpollDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags)
{
    interrupted_.store(false);
    emit awake();
    QCoreApplication::sendPostedEvents();

    int timeout = 0;
    if (flags.testFlag(QEventLoop::WaitForMoreEvents) && !interrupted_.load()) {
        timeout = -1;
        if (!due_.empty())
            timeout = int(std::clamp<qint64>(due_.begin()->first - nowMs(), 0, 24 * 3600 * 1000));
        if (timeout != 0)
            emit aboutToBlock();
    }
    epoll_event events[kMaxEvents];
    int count = ::epoll_wait(epoll_, events, kMaxEvents, timeout);
    if (count < 0)
        count = 0; // a signal came; the loop turns again
    if (timeout != 0)
        emit awake();

    // Take the wake-up, so the next wait does not end at once for it.
    if (std::any_of(events, events + count, [this](const epoll_event& e) { return e.data.fd == wake_; })) {
        quint64 value = 0;
        [[maybe_unused]] const auto n = ::read(wake_, &value, sizeof value);
    }
    bool handled = false;
    if (!flags.testFlag(QEventLoop::ExcludeSocketNotifiers))
        handled = activateSockets(events, count);
    if (!flags.testFlag(QEventLoop::X11ExcludeTimers) && !interrupted_.load())
        handled = activateTimers() || handled;
    return handled;
}

bool EpollDispatcher::activateSockets(const epoll_event* events, int count)
{
    // Notifiers may go while others are served: look each up as it comes.
    struct Ready {
        int fd;
        QSocketNotifier::Type type;
    };
    std::vector<Ready> ready;
    for (int i = 0; i < count; ++i) {
        const int fd = events[i].data.fd;
        const quint32 e = events[i].events;
        if (fd == wake_)
            continue;
        if (e & (EPOLLIN | EPOLLHUP | EPOLLERR))
            ready.push_back({fd, QSocketNotifier::Read});
        if (e & (EPOLLOUT | EPOLLHUP | EPOLLERR))
            ready.push_back({fd, QSocketNotifier::Write});
        if (e & EPOLLPRI)
            ready.push_back({fd, QSocketNotifier::Exception});
    }
    bool handled = false;
    for (const Ready& r : ready) {
        const auto it = watches_.constFind(r.fd);
        if (it == watches_.cend())
            continue;
        QSocketNotifier* n = r.type == QSocketNotifier::Read ? it->read
            : r.type == QSocketNotifier::Write               ? it->write
                                                             : it->exception;
        if (!n)
            continue;
        QEvent event(QEvent::SockAct);
        QCoreApplication::sendEvent(n, &event);
        handled = true;
    }
    return handled;
}

bool EpollDispatcher::activateTimers()
{
    const qint64 now = nowMs();
    std::vector<int> fire;
    for (auto it = due_.begin(); it != due_.end() && it->first <= now; ++it)
        fire.push_back(it->second);
    for (int id : fire) {
        auto it = timers_.find(id);
        // Gone, or started again, while an earlier one was served.
        if (it == timers_.end() || it->due > now)
            continue;
        removeDue(it->due, id);
        // The next time keeps its rhythm, but a loop that fell behind does
        // not fire a timer again for every beat it missed.
        it->due = it->interval > 0 && it->due + it->interval > now ? it->due + it->interval : now + it->interval;
        due_.emplace(it->due, id);
        QObject* object = it->object;
        QTimerEvent event(id);
        QCoreApplication::sendEvent(object, &event);
    }
    return !fire.empty();
}

void EpollDispatcher::watch(int fd, Watch& w)
{
    const quint32 wanted
        = (w.read ? quint32(EPOLLIN) : 0) | (w.write ? quint32(EPOLLOUT) : 0) | (w.exception ? quint32(EPOLLPRI) : 0);
    epoll_event ev{};
    ev.events = wanted;
    ev.data.fd = fd;
    if (wanted == 0) {
        ::epoll_ctl(epoll_, EPOLL_CTL_DEL, fd, &ev);
        watches_.remove(fd);
        return;
    }
    if (wanted == w.events)
        return;
    // A descriptor closed and opened again may have left the set unseen.
    if (w.events == 0) {
        if (::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev) != 0 && errno == EEXIST)
            ::epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev);
    } else if (::epoll_ctl(epoll_, EPOLL_CTL_MOD, fd, &ev) != 0 && errno == ENOENT) {
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &ev);
    }
    w.events = wanted;
}

void EpollDispatcher::registerSocketNotifier(QSocketNotifier* notifier)
{
    const int fd = int(notifier->socket());
    Watch& w = watches_[fd];
    switch (notifier->type()) {
    case QSocketNotifier::Read: w.read = notifier; break;
    case QSocketNotifier::Write: w.write = notifier; break;
    case QSocketNotifier::Exception: w.exception = notifier; break;
    }
    watch(fd, w);
}

void EpollDispatcher::unregisterSocketNotifier(QSocketNotifier* notifier)
{
    const int fd = int(notifier->socket());
    const auto it = watches_.find(fd);
    if (it == watches_.end())
        return;
    for (QSocketNotifier** slot : {&it->read, &it->write, &it->exception}) {
        if (*slot == notifier)
            *slot = nullptr;
    }
    watch(fd, *it);
}

void EpollDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType timerType, QObject* object)
{
    const qint64 due = nowMs() + interval;
    timers_.insert(timerId, Timer{interval, timerType, object, due});
    due_.emplace(due, timerId);
}

void EpollDispatcher::removeDue(qint64 due, int timerId)
{
    auto [from, to] = due_.equal_range(due);
    for (auto it = from; it != to; ++it) {
        if (it->second == timerId) {
            due_.erase(it);
            return;
        }
    }
}

bool EpollDispatcher::unregisterTimer(int timerId)
{
    const auto it = timers_.find(timerId);
    if (it == timers_.end())
        return false;
    removeDue(it->due, timerId);
    timers_.erase(it);
    return true;
}

bool EpollDispatcher::unregisterTimers(QObject* object)
{
    bool any = false;
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->object == object) {
            removeDue(it->due, it.key());
            it = timers_.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    return any;
}

QList<QAbstractEventDispatcher::TimerInfo> EpollDispatcher::registeredTimers(QObject* object) const
{
    QList<TimerInfo> list;
    for (auto it = timers_.cbegin(); it != timers_.cend(); ++it) {
        if (it->object == object)
            list.append(TimerInfo(it.key(), int(it->interval), it->type));
    }
    return list;
}

int EpollDispatcher::remainingTime(int timerId)
{
    const auto it = timers_.constFind(timerId);
    return it == timers_.cend() ? -1 : int(qMax<qint64>(0, it->due - nowMs()));
}

void EpollDispatcher::wakeUp()
{
    const quint64 one = 1;
    [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
}

void EpollDispatcher::interrupt()
{
    interrupted_.store(true);
    wakeUp();
}
