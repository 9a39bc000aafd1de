// Starts Scriblet and two bare windows with its widgets, one with a 100 ms
// timer and one without, in turn on the X display, and compares start-up
// time, resident memory and idle activity: for first starts (fresh home and
// XDG folders every run) and for later starts (the folders of an earlier run).
#include "child_process.h"
#include "goal_table.h"
#include "median.h"
#include "process_measurement.h"
#include "window_map_watch.h"

#include <algorithm>
#include <array>
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
constexpr double IdleCpuRatioGoal = 1.1;
// The start-up ratio has settled when the last three rounds moved it by no more than this.
constexpr double SettledSpread = 0.02;
constexpr int MaximumRounds = 25;

struct Options
{
    int runs = 9; // at least; more while the start-up ratio has not settled
    int idleRuns = 3;
    fs::path scratch;
    std::string label = "no session bus";
    std::string scriblet;
    std::string bare;
};

Options ParseOptions(int argc, char* argv[])
{
    Options options;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool valued = i + 1 < argc;
        if (argument == "--runs" && valued)
            options.runs = std::atoi(argv[++i]);
        else if (argument == "--idle-runs" && valued)
            options.idleRuns = std::atoi(argv[++i]);
        else if (argument == "--scratch" && valued)
            options.scratch = argv[++i];
        else if (argument == "--label" && valued)
            options.label = argv[++i];
        else
            programs.push_back(argument);
    }
    if (programs.size() != 2 || options.scratch.empty() || options.runs < 1 || options.idleRuns < 1)
        throw std::invalid_argument(
            "usage: process_bench [--runs N] [--idle-runs N] [--label TEXT] --scratch DIR SCRIBLET BARE_WINDOW");
    options.scriblet = programs[0];
    options.bare = programs[1];
    return options;
}

// The program with a home and XDG folders of its own under folder, so nothing
// of the user's is read or written, talking to the X server whatever the
// caller's QT_QPA_PLATFORM says.
ProgramUnderTest ProgramIn(const ProgramUnderTest& program, const fs::path& folder)
{
    const std::vector<std::pair<std::string, std::string>> directories{
        {"HOME", "home"},           {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"},
        {"XDG_STATE_HOME", "state"}, {"XDG_CACHE_HOME", "cache"},   {"XDG_RUNTIME_DIR", "runtime"},
    };
    std::vector<std::string> overrides{"QT_QPA_PLATFORM=xcb"};
    for (const auto& [variable, name] : directories) {
        const fs::path directory = folder / name;
        fs::create_directories(directory);
        // Private, as Qt wants the runtime directory to be.
        fs::permissions(directory, fs::perms::owner_all, fs::perm_options::replace);
        overrides.push_back(variable + '=' + directory.string());
    }
    ProgramUnderTest placed = program;
    placed.environment = EnvironmentWith(overrides, {"SESSION_MANAGER"});
    return placed;
}

enum Which { Scriblet, Bare, Still };
constexpr std::array<const char*, 3> Names{"scriblet", "bare", "still"};
using Series = std::array<std::vector<ProcessFigures>, 3>; // runs of each program

double MedianOf(const std::vector<ProcessFigures>& runs, double ProcessFigures::*field)
{
    std::vector<double> values;
    for (const ProcessFigures& run : runs)
        values.push_back(run.*field);
    return Median(values);
}

std::string RangeOf(const std::vector<ProcessFigures>& runs, double ProcessFigures::*field, int decimals)
{
    const auto [low, high] = std::minmax_element(runs.begin(), runs.end(), [field](const auto& a, const auto& b) {
        return a.*field < b.*field;
    });
    return FormatNumber((*low).*field, decimals) + " - " + FormatNumber((*high).*field, decimals);
}

std::string Ratio(double value, double reference)
{
    return reference > 0 ? FormatNumber(value / reference, 2) : std::string("-");
}

// The median of Scriblet's figure over the reference's of the same round:
// runs next to each other in time share the machine's load of the moment,
// which moves both alike.
double PairedRatio(const Series& series, Which reference, double ProcessFigures::*field)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < series[Scriblet].size() && i < series[reference].size(); ++i) {
        if (series[reference][i].*field > 0)
            ratios.push_back(series[Scriblet][i].*field / series[reference][i].*field);
    }
    return Median(ratios);
}

// One figure of the three programs. Paired: met when the median of the
// rounds' ratios is at most ratioGoal. Otherwise met when Scriblet's median
// is at most ratioGoal times the reference's plus slack: the reading's
// resolution, or for the scheduler's count the noise of a program that does
// nothing.
struct Comparison
{
    std::string figure;
    double ProcessFigures::*field;
    int decimals;
    std::string unit;
    Which reference;
    double ratioGoal;
    double slack = 0;
    bool paired = false;
};

GoalRow ComparedRow(const Comparison& c, const Series& series)
{
    const auto median = [&](Which which) { return MedianOf(series[which], c.field); };
    const double value = median(Scriblet);
    const double reference = median(c.reference);
    std::string goal = "at most " + FormatNumber(c.ratioGoal, 2) + "x the "
        + (c.reference == Bare ? "bare window" : "one without timer");
    if (c.slack > 0)
        goal += " (+" + FormatNumber(c.slack, c.decimals, c.unit) + ")";
    if (c.paired)
        goal += ", round by round";
    const auto ratio = [&](Which which) {
        return c.paired ? FormatNumber(PairedRatio(series, which, c.field), 2) : Ratio(value, median(which));
    };
    const bool met = c.paired ? PairedRatio(series, c.reference, c.field) <= c.ratioGoal
                              : value <= reference * c.ratioGoal + c.slack;
    return {{c.figure, FormatNumber(value, c.decimals, c.unit), FormatNumber(median(Bare), c.decimals, c.unit),
             ratio(Bare), FormatNumber(median(Still), c.decimals, c.unit), ratio(Still),
             RangeOf(series[Scriblet], c.field, c.decimals), goal},
            met};
}

int Report(const std::string& title, const Series& series, const std::vector<Comparison>& comparisons)
{
    std::vector<GoalRow> rows;
    for (const Comparison& comparison : comparisons)
        rows.push_back(ComparedRow(comparison, series));
    return PrintGoalTable(title, {"Figure", "Scriblet", "Bare window", "Ratio", "Without timer", "Ratio",
                                  "Scriblet runs", "Goal"},
                          rows);
}

double StartupRatio(const Series& series) { return PairedRatio(series, Bare, &ProcessFigures::startupMilliseconds); }

// Whether the last three rounds moved the ratio by no more than the settled spread.
bool Settled(const std::vector<double>& ratios)
{
    if (ratios.size() < 3)
        return false;
    const auto [low, high] = std::minmax_element(ratios.end() - 3, ratios.end());
    return *high - *low <= SettledSpread;
}

struct StartSeries
{
    Series first;
    Series later;
};

// Rounds of each program in turn, a first start and a later start each,
// until the start-up ratios have settled (at least the runs asked for).
StartSeries MeasureStarts(const Options& options, const std::array<ProgramUnderTest, 3>& programs,
                          WindowMapWatch& watch)
{
    StartSeries starts;
    std::vector<double> firstRatios;
    std::vector<double> laterRatios;
    for (int round = 1; round <= MaximumRounds; ++round) {
        std::fprintf(stderr, "%s: start-up round %d\n", options.label.c_str(), round);
        for (const Which which : {Bare, Scriblet, Still}) {
            const fs::path fresh = options.scratch / "first" / (Names[which] + std::to_string(round));
            starts.first[which].push_back(MeasureProcess(ProgramIn(programs[which], fresh), watch, false));
            const ProgramUnderTest later = ProgramIn(programs[which], options.scratch / "later" / Names[which]);
            starts.later[which].push_back(MeasureProcess(later, watch, false));
        }
        firstRatios.push_back(StartupRatio(starts.first));
        laterRatios.push_back(StartupRatio(starts.later));
        if (round >= options.runs && Settled(firstRatios) && Settled(laterRatios))
            break;
    }
    return starts;
}

int Run(const Options& options)
{
    const std::array<ProgramUnderTest, 3> programs{
        ProgramUnderTest{"Scriblet", options.scriblet, {}, {}},
        ProgramUnderTest{"bare window", options.bare, {}, {}},
        ProgramUnderTest{"bare window without timer", options.bare, {"--no-timer"}, {}},
    };
    WindowMapWatch watch;
    // A first start after a build reads everything from disk and fills the caches.
    for (const Which which : {Bare, Scriblet, Still})
        WarmUp(ProgramIn(programs[which], options.scratch / "later" / Names[which]), watch);
    const StartSeries starts = MeasureStarts(options, programs, watch);
    Series idle;
    for (int run = 1; run <= options.idleRuns; ++run) {
        std::fprintf(stderr, "%s: idle run %d of %d\n", options.label.c_str(), run, options.idleRuns);
        for (const Which which : {Bare, Scriblet, Still})
            idle[which].push_back(
                MeasureProcess(ProgramIn(programs[which], options.scratch / "later" / Names[which]), watch, true));
    }

    const ProcessFigures& shown = starts.later[Scriblet].front();
    std::printf("\n== %s ==\nScriblet's main window as mapped: %dx%d pixels.\n", options.label.c_str(),
                shown.windowWidth, shown.windowHeight);
    const std::string rounds = std::to_string(starts.first[Scriblet].size());
    const std::vector<Comparison> startComparisons{
        {"Start to main window mapped", &ProcessFigures::startupMilliseconds, 1, "ms", Bare, StartupRatioGoal, 0, true},
        {"Resident memory 1 s after mapping", &ProcessFigures::residentMebibytes, 1, "MiB", Bare, MemoryRatioGoal, 0,
         true},
    };
    int missed = Report("First starts (fresh folders every run), " + options.label + ", medians of " + rounds
                            + " runs each in turn under Xvfb",
                        starts.first, startComparisons);
    missed += Report("Later starts, " + options.label + ", medians of " + rounds + " runs each in turn under Xvfb",
                     starts.later, startComparisons);
    const std::string over = " over " + std::to_string(IdleSeconds) + " idle s";
    const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    missed += Report(
        "Idle, auto save off and the stopwatch stopped, " + options.label + ", medians of "
            + std::to_string(options.idleRuns) + " runs each",
        idle,
        {
            {"CPU" + over + ", utime+stime", &ProcessFigures::idleCpuMilliseconds, 0, "ms", Still, IdleCpuRatioGoal, tick},
            {"CPU" + over + ", scheduler's count", &ProcessFigures::idleRunMilliseconds, 2, "ms", Still,
             IdleCpuRatioGoal, 0.5},
            {"Wake-ups a second", &ProcessFigures::wakeupsPerSecond, 1, "", Still, 1.0},
            {"Focused: CPU" + over + ", utime+stime", &ProcessFigures::focusedCpuMilliseconds, 0, "ms", Still,
             IdleCpuRatioGoal, tick},
            {"Focused: CPU" + over + ", scheduler's count", &ProcessFigures::focusedRunMilliseconds, 2, "ms", Still,
             IdleCpuRatioGoal, 0.5},
            {"Focused: wake-ups a second (the caret blinks)", &ProcessFigures::focusedWakeupsPerSecond, 1, "", Still,
             IdleCpuRatioGoal},
        });
    return missed == 0 ? 0 : GoalsMissedStatus;
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
