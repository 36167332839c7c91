#pragma once
// Failed log-ons by address. A few are free (typing slips, or one
// connection's tries); after each further failure the address's next
// password check waits longer (one second, then two, four, ... up to a
// minute), so a host guessing passwords costs the server a few key
// derivations a minute, not one for every pair of lines it sends. A log-on
// that succeeds, or a quiet spell twice the longest wait, clears the record.

#include <QString>
#include <QtGlobal>

#include <map>

class LogonBackoff {
public:
    // `firstMs` 0: no waits.
    explicit LogonBackoff(qint64 firstMs, qint64 longestMs = 60000, int freeFailures = 3);

    // How long the address's next check waits, from `nowMs` (a steady clock).
    qint64 waitMs(const QString& address, qint64 nowMs) const;
    void failed(const QString& address, qint64 nowMs);
    void succeeded(const QString& address);
    // Addresses on record (each a few dozen bytes).
    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        int failures = 0;
        qint64 lastMs = 0; // when the last failure was recorded
        qint64 untilMs = 0; // the next check waits until then
    };
    void forgetQuiet(qint64 nowMs);

    qint64 firstMs_;
    qint64 longestMs_;
    int freeFailures_;
    std::map<QString, Entry> entries_;
};
