#include "goal_table.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* ResultText(bool met) { return met ? "met" : "MISSED"; }

std::vector<std::size_t> ColumnWidths(const std::vector<std::string>& headers, const std::vector<GoalRow>& rows)
{
    std::vector<std::size_t> widths;
    for (const std::string& header : headers)
        widths.push_back(header.size());
    for (const GoalRow& row : rows) {
        for (std::size_t i = 0; i < row.cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row.cells[i].size());
    }
    return widths;
}

void PrintLine(const std::vector<std::string>& cells, const std::vector<std::size_t>& widths, const char* result)
{
    for (std::size_t i = 0; i < widths.size(); ++i)
        std::printf("%-*s  ", int(widths[i]), i < cells.size() ? cells[i].c_str() : "");
    std::printf("%s\n", result);
}

} // namespace

int PrintGoalTable(const std::string& title, const std::vector<std::string>& headers,
                   const std::vector<GoalRow>& rows)
{
    const std::vector<std::size_t> widths = ColumnWidths(headers, rows);
    std::printf("\n%s\n\n", title.c_str());
    PrintLine(headers, widths, "Result");
    std::string missed;
    int missedCount = 0;
    for (const GoalRow& row : rows) {
        PrintLine(row.cells, widths, ResultText(row.met));
        if (!row.met && !row.cells.empty()) {
            missed += (missedCount++ ? "; " : "") + row.cells.front();
        }
    }
    if (missedCount == 0)
        std::printf("\nAll %zu goals met.\n", rows.size());
    else
        std::printf("\nMISSED %d of %zu goals: %s.\n", missedCount, rows.size(), missed.c_str());
    std::fflush(stdout);
    return missedCount;
}

std::string FormatNumber(double value, int decimals, const std::string& unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return unit.empty() ? std::string(text) : std::string(text) + ' ' + unit;
}
