#pragma once
// When a failed log-on is answered. Checking a password costs what its
// stored hash asks (an old record more or less than a new one; an unknown
// ID is checked against a hash of today's cost), so a failure is answered
// as long after its check began as the slowest check seen so far, and
// never sooner than the failure delay: the timing of the answer tells
// neither whether the account ID exists nor how its password is stored.

#include <QtGlobal>

class FailurePacer {
public:
    explicit FailurePacer(qint64 failureDelayMs)
        : delayMs_(failureDelayMs)
    {
    }

    // Every check's duration, successful or not, counts.
    void checked(qint64 workedMs) { slowestMs_ = qMax(slowestMs_, workedMs); }
    // How long to hold the answer to a failed check that took `workedMs`.
    qint64 holdFor(qint64 workedMs) const { return qMax<qint64>(0, qMax(delayMs_, slowestMs_) - workedMs); }

private:
    qint64 delayMs_;
    qint64 slowestMs_ = 0;
};
