#pragma once

#include <functional>
#include <vector>

// Runs step the given number of times and returns how long each took, in
// milliseconds. prepare runs untimed before each step.
std::vector<double> TimeIterations(int iterations, const std::function<void()>& prepare,
                                   const std::function<void()>& step);
