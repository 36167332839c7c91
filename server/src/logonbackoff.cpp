#include "logonbackoff.h"

#include <algorithm>

LogonBackoff::LogonBackoff(qint64 firstMs, qint64 longestMs, int freeFailures)
    : firstMs_(firstMs)
    , longestMs_(longestMs)
    , freeFailures_(freeFailures)
{
}

qint64 LogonBackoff::waitMs(const QString& address, qint64 nowMs) const
{
    const auto it = entries_.find(address);
    return it == entries_.end() ? 0 : std::max<qint64>(0, it->second.untilMs - nowMs);
}

void LogonBackoff::failed(const QString& address, qint64 nowMs)
{
    if (firstMs_ <= 0)
        return;
    forgetQuiet(nowMs);
    Entry& e = entries_[address];
    e.failures = std::min(e.failures + 1, freeFailures_ + 30);
    e.lastMs = nowMs;
    if (e.failures <= freeFailures_)
        return;
    // Doubling from the first wait, without overflow, up to the longest.
    qint64 wait = firstMs_;
    for (int i = freeFailures_ + 1; i < e.failures && wait < longestMs_; ++i)
        wait *= 2;
    e.untilMs = nowMs + std::min(wait, longestMs_);
}

void LogonBackoff::succeeded(const QString& address)
{
    entries_.erase(address);
}

void LogonBackoff::forgetQuiet(qint64 nowMs)
{
    // Kept small however many hosts have failed once: an address quiet for
    // the longest wait starts afresh.
    std::erase_if(entries_, [&](const auto& kv) { return nowMs - kv.second.lastMs > 2 * longestMs_; });
}
