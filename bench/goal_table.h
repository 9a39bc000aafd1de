#pragma once

#include <string>
#include <vector>

// A bench program's exit status when every figure was measured but some
// missed their goal: a report, not a failure.
inline constexpr int GoalsMissedStatus = 3;

struct GoalRow
{
    std::vector<std::string> cells; // one per header, the goal last
    bool met = false;
};

// Prints the rows as aligned columns under the title, each with "met" or
// "MISSED", then a line saying which goals were missed. Returns how many.
int PrintGoalTable(const std::string& title, const std::vector<std::string>& headers,
                   const std::vector<GoalRow>& rows);

// A number with a fixed count of decimals and an optional unit after a space.
std::string FormatNumber(double value, int decimals, const std::string& unit = {});
