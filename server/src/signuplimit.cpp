#include "signuplimit.h"

namespace {
// Past this many addresses remembered, those that may sign up in full again are forgotten.
constexpr size_t kForgetAbove = 4096;
}

RateLimiter& SignupLimit::bucket(const QString& address)
{
    if (buckets_.size() > kForgetAbove) {
        for (auto it = buckets_.begin(); it != buckets_.end();)
            it = it->second.full() ? buckets_.erase(it) : std::next(it);
    }
    return buckets_.try_emplace(address, perHour_ / 3600.0, double(perHour_)).first->second;
}

bool SignupLimit::allows(const QString& address)
{
    return perHour_ <= 0 || bucket(address).ready();
}

bool SignupLimit::take(const QString& address)
{
    return perHour_ <= 0 || bucket(address).take();
}
