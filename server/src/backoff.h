#pragma once
// Waits that grow with what a key keeps doing: failed log-ons by address,
// log-ons by account. A few events are free (typing slips, a reconnection);
// after each further one the key's next password check waits longer (one
// second, then two, four, ... up to a minute). A host guessing passwords,
// or clients taking one account from each other in turn, so cost the
// server a few key derivations a minute, not one for every pair of lines
// they send. A quiet spell of twice the longest wait forgets the key.

#include <QString>
#include <QtGlobal>

#include <map>

class Backoff {
public:
    // `firstMs` 0: no waits.
    explicit Backoff(qint64 firstMs, qint64 longestMs = 60000, int freeEvents = 3);

    // How long the key's next check waits, from `nowMs` (a steady clock).
    qint64 waitMs(const QString& key, qint64 nowMs) const;
    void record(const QString& key, qint64 nowMs);
    void clear(const QString& key);
    // Keys on record (each a few dozen bytes).
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        int events = 0;
        qint64 lastMs = 0; // when the last event was recorded
        qint64 untilMs = 0; // the next check waits until then
    };
    void forgetQuiet(qint64 nowMs);

    qint64 firstMs_;
    qint64 longestMs_;
    int freeEvents_;
    std::map<QString, Entry> entries_;
};
