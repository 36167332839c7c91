#pragma once
// Sign-ups per address: each costs a password hash and a record for good,
// so one host may make a few accounts at once and then a few an hour.

#include "ratelimiter.h"

#include <QString>

#include <map>

class SignupLimit {
public:
    explicit SignupLimit(int perHour)
        : perHour_(perHour)
    {
    } // 0: no limit

    // True when a sign-up from this address (see addressKey) may begin.
    bool allows(const QString& address);
    // True, and the sign-up counted, when it may go ahead now.
    bool take(const QString& address);

private:
    RateLimiter& bucket(const QString& address);

    int perHour_;
    std::map<QString, RateLimiter> buckets_;
};
