#include "platform/monotonic_clock.h"

#include <ctime>

std::int64_t MonotonicMilliseconds()
{
    timespec now{};
    // CLOCK_BOOTTIME rather than CLOCK_MONOTONIC: a stopwatch left running
    // over a suspended laptop's lid has still been running.
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
