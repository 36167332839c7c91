#pragma once
// The time source of the parts that stamp files or count days. Injected so
// they can be driven without the real clock.

#include <cstdint>
#include <ctime>
#include <functional>

// Seconds since 1 January 1970, UTC.
using Clock = std::function<std::int64_t()>;

inline Clock SystemClock()
{
    return [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}
