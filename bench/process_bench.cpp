// Starts Scriblet and the bare window in turn on the X display and compares
// start-up time, resident memory and idle activity.
#include "child_process.h"
#include "goal_table.h"
#include "median.h"
#include "process_measurement.h"
#include "window_map_watch.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr double StartupRatioGoal = 1.15;
constexpr double MemoryRatioGoal = 1.15;
constexpr double CpuRatioGoal = 2.0;
constexpr double WakeupsGoal = 10.0;

struct Options
{
    int runs = 5;
    fs::path scratch;
    std::string scriblet;
    std::string bare;
};

Options ParseOptions(int argc, char* argv[])
{
    Options options;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc)
            options.runs = std::atoi(argv[++i]);
        else if (argument == "--scratch" && i + 1 < argc)
            options.scratch = argv[++i];
        else
            programs.push_back(argument);
    }
    if (programs.size() != 2 || options.scratch.empty() || options.runs < 1)
        throw std::invalid_argument("usage: process_bench [--runs N] --scratch DIR SCRIBLET BARE_WINDOW");
    options.scriblet = programs[0];
    options.bare = programs[1];
    return options;
}

// Each program gets a home and XDG directories of its own, so nothing of the
// user's is read or written, and talks to the X server whatever the caller's
// QT_QPA_PLATFORM says.
ProgramUnderTest ProgramIn(const std::string& name, const std::string& path, const fs::path& scratch)
{
    const std::vector<std::pair<std::string, std::string>> directories{
        {"HOME", "home"},
        {"XDG_CONFIG_HOME", "config"},
        {"XDG_DATA_HOME", "data"},
        {"XDG_STATE_HOME", "state"},
        {"XDG_CACHE_HOME", "cache"},
        {"XDG_RUNTIME_DIR", "runtime"},
    };
    std::vector<std::string> overrides{"QT_QPA_PLATFORM=xcb"};
    for (const auto& [variable, folder] : directories) {
        const fs::path directory = scratch / name / folder;
        fs::create_directories(directory);
        // Private, as Qt wants the runtime directory to be.
        fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace);
        overrides.push_back(variable + '=' + directory.string());
    }
    return {name, path, EnvironmentWith(overrides, {"SESSION_MANAGER"})};
}

struct Series
{
    std::vector<ProcessFigures> runs;

    double median(double ProcessFigures::*field) const
    {
        std::vector<double> values;
        for (const ProcessFigures& run : runs)
            values.push_back(run.*field);
        return Median(values);
    }

    std::string range(double ProcessFigures::*field, int decimals) const
    {
        double low = runs.front().*field;
        double high = low;
        for (const ProcessFigures& run : runs) {
            low = std::min(low, run.*field);
            high = std::max(high, run.*field);
        }
        return FormatNumber(low, decimals) + " - " + FormatNumber(high, decimals);
    }
};

std::string Ratio(double value, double reference)
{
    return reference > 0 ? FormatNumber(value / reference, 2) : std::string("-");
}

// One figure of both programs; met when Scriblet's median is at most ratioGoal
// times the bare window's plus slack, the resolution of the reading.
struct Comparison
{
    std::string figure;
    double ProcessFigures::*field;
    int decimals;
    std::string unit;
    double ratioGoal;
    double slack = 0;
};

GoalRow ComparedRow(const Comparison& c, const Series& scriblet, const Series& bare)
{
    const double value = scriblet.median(c.field);
    const double reference = bare.median(c.field);
    std::string goal = "at most " + FormatNumber(c.ratioGoal, 2) + "x the bare window";
    if (c.slack > 0)
        goal += " (+" + FormatNumber(c.slack, c.decimals, c.unit) + " resolution)";
    return {{c.figure, FormatNumber(value, c.decimals, c.unit), FormatNumber(reference, c.decimals, c.unit),
             Ratio(value, reference), scriblet.range(c.field, c.decimals), bare.range(c.field, c.decimals), goal},
            value <= reference * c.ratioGoal + c.slack};
}

GoalRow WakeupsRow(const Series& scriblet, const Series& bare)
{
    double ProcessFigures::*field = &ProcessFigures::wakeupsPerSecond;
    const double value = scriblet.median(field);
    const double reference = bare.median(field);
    return {{"Idle wake-ups a second", FormatNumber(value, 1), FormatNumber(reference, 1), Ratio(value, reference),
             scriblet.range(field, 1), bare.range(field, 1), "at most " + FormatNumber(WakeupsGoal, 0)},
            value <= WakeupsGoal};
}

int Report(const Series& scriblet, const Series& bare, int runs)
{
    const ProcessFigures& first = scriblet.runs.front();
    const ProcessFigures& bareFirst = bare.runs.front();
    std::printf("Main windows as mapped: Scriblet %dx%d, bare window %dx%d pixels.\n", first.windowWidth,
                first.windowHeight, bareFirst.windowWidth, bareFirst.windowHeight);
    const std::string idle = " over " + std::to_string(IdleSeconds) + " idle s";
    const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    const std::vector<Comparison> comparisons{
        {"Start to main window mapped", &ProcessFigures::startupMilliseconds, 1, "ms", StartupRatioGoal},
        {"Resident memory 1 s after mapping", &ProcessFigures::residentMebibytes, 1, "MiB", MemoryRatioGoal},
        {"CPU" + idle + ", utime+stime", &ProcessFigures::idleCpuMilliseconds, 0, "ms", CpuRatioGoal, tick},
        {"CPU" + idle + ", scheduler's ns count", &ProcessFigures::idleRunMilliseconds, 2, "ms", CpuRatioGoal},
    };
    std::vector<GoalRow> rows;
    for (const Comparison& comparison : comparisons)
        rows.push_back(ComparedRow(comparison, scriblet, bare));
    rows.push_back(WakeupsRow(scriblet, bare));
    return PrintGoalTable("Process figures, median of " + std::to_string(runs)
                              + " runs each, Scriblet and the bare window in turn under Xvfb",
                          {"Figure", "Scriblet", "Bare window", "Ratio", "Scriblet runs", "Bare runs", "Goal"}, rows);
}

int Run(const Options& options)
{
    const ProgramUnderTest scriblet = ProgramIn("scriblet", options.scriblet, options.scratch);
    const ProgramUnderTest bare = ProgramIn("bare", options.bare, options.scratch);
    WindowMapWatch watch;
    // Scriblet's first start also writes its welcome note; the runs measured are the later ones.
    WarmUp(bare, watch);
    WarmUp(scriblet, watch);
    Series scribletSeries;
    Series bareSeries;
    for (int run = 1; run <= options.runs; ++run) {
        std::fprintf(stderr, "process run %d of %d\n", run, options.runs);
        bareSeries.runs.push_back(MeasureProcess(bare, watch));
        scribletSeries.runs.push_back(MeasureProcess(scriblet, watch));
    }
    return Report(scribletSeries, bareSeries, options.runs) == 0 ? 0 : GoalsMissedStatus;
}

} // namespace

int main(int argc, char* argv[])
{
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "process_bench: %s\n", error.what());
        return 1;
    }
}
