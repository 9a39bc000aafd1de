#pragma once

#include <cstdint>

// Milliseconds since the system started, counting the time it was suspended:
// a clock that setting the time of day or summer time never moves.
std::int64_t MonotonicMilliseconds();
