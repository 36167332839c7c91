#pragma once
// A token bucket: `burst` actions at once, then `perSecond` on average.

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

class RateLimiter {
public:
    RateLimiter(double perSecond, double burst)
        : perSecond_(perSecond)
        , burst_(burst)
        , tokens_(burst)
    {
        clock_.start();
    }

    // True (and one token spent) when the action may happen now.
    bool take()
    {
        refill();
        if (tokens_ < 1.0)
            return false;
        tokens_ -= 1.0;
        return true;
    }

    // True when take() would succeed now.
    bool ready()
    {
        refill();
        return tokens_ >= 1.0;
    }

    // True when the whole burst is available again.
    bool full()
    {
        refill();
        return tokens_ >= burst_;
    }

    // Milliseconds until take() will succeed.
    int msUntilNext()
    {
        refill();
        if (tokens_ >= 1.0 || perSecond_ <= 0)
            return 0;
        return int(std::ceil((1.0 - tokens_) * 1000.0 / perSecond_));
    }

private:
    void refill()
    {
        const qint64 now = clock_.elapsed();
        tokens_ = std::min(burst_, tokens_ + double(now - last_) * perSecond_ / 1000.0);
        last_ = now;
    }

    double perSecond_;
    double burst_;
    double tokens_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
};
