#include "backoff.h"

#include <algorithm>

Backoff::Backoff(qint64 firstMs, qint64 longestMs, int freeEvents)
    : firstMs_(firstMs)
    , longestMs_(longestMs)
    , freeEvents_(freeEvents)
{
}

qint64 Backoff::waitMs(const QString& key, qint64 nowMs) const
{
    const auto it = entries_.find(key);
    return it == entries_.end() ? 0 : std::max<qint64>(0, it->second.untilMs - nowMs);
}

void Backoff::record(const QString& key, qint64 nowMs)
{
    if (firstMs_ <= 0)
        return;
    forgetQuiet(nowMs);
    Entry& e = entries_[key];
    e.events = std::min(e.events + 1, freeEvents_ + 30);
    e.lastMs = nowMs;
    if (e.events <= freeEvents_)
        return;
    // Doubling from the first wait, without overflow, up to the longest.
    qint64 wait = firstMs_;
    for (int i = freeEvents_ + 1; i < e.events && wait < longestMs_; ++i)
        wait *= 2;
    e.untilMs = nowMs + std::min(wait, longestMs_);
}

void Backoff::clear(const QString& key)
{
    entries_.erase(key);
}

void Backoff::forgetQuiet(qint64 nowMs)
{
    // Kept small however many keys come once: a key quiet for twice the
    // longest wait starts afresh.
    std::erase_if(entries_, [&](const auto& kv) { return nowMs - kv.second.lastMs > 2 * longestMs_; });
}
