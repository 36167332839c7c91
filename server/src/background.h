#pragma once
// Deriving password keys, done off the event loop, yields the processors
// to it: when they are all busy, players' answers come first and log-ons
// wait. (Saves keep their priority: a trade must reach the disk in time.)

#include <sys/resource.h>
#include <unistd.h>

namespace background {

// Niceness of a background thread, above the event loop's own.
constexpr int kNiceness = 10;

// Lowers the calling thread's priority (on Linux niceness belongs to each
// thread). Refused where system calls are filtered: the work then runs as
// it would have.
inline void yieldToEventLoop()
{
    const id_t self = static_cast<id_t>(gettid());
    if (getpriority(PRIO_PROCESS, self) < kNiceness)
        setpriority(PRIO_PROCESS, self, kNiceness);
}

} // namespace background
