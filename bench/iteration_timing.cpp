#include "iteration_timing.h"

#include <chrono>

std::vector<double> TimeIterations(int iterations, const std::function<void()>& prepare,
                                   const std::function<void()>& step)
{
    using Clock = std::chrono::steady_clock;
    std::vector<double> durations;
    durations.reserve(std::size_t(iterations));
    for (int i = 0; i < iterations; ++i) {
        prepare();
        const Clock::time_point start = Clock::now();
        step();
        durations.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return durations;
}
