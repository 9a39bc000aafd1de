#include "process_measurement.h"

#include "child_process.h"
#include "proc_readings.h"
#include "window_map_watch.h"

#include <memory>
#include <stdexcept>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto MapDeadline = std::chrono::seconds(30);
constexpr auto SettleTime = std::chrono::seconds(1);
// Idle begins once the program has stopped waiting for the window manager to settle its window (2 s).
constexpr auto IdleFrom = std::chrono::seconds(3);

struct StartedProgram
{
    std::unique_ptr<ChildProcess> child;
    Clock::time_point start;
    MappedWindow window;
};

StartedProgram StartUntilMapped(const ProgramUnderTest& program, WindowMapWatch& watch)
{
    watch.arm();
    StartedProgram started;
    started.start = Clock::now();
    started.child = std::make_unique<ChildProcess>(program.path, program.arguments, program.environment);
    const std::optional<MappedWindow> mapped
        = watch.waitForMap(started.child->pid(), started.child->pidfd(), started.start + MapDeadline);
    watch.disarm();
    if (!mapped)
        throw std::runtime_error(program.name + " ended or showed no window");
    started.window = *mapped;
    return started;
}

double MillisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void MeasureIdle(pid_t pid, double& cpu, double& run, double& wakeupsPerSecond)
{
    const double cpuBefore = CpuMilliseconds(pid);
    const double runBefore = RunMilliseconds(pid);
    const long switchesBefore = ContextSwitches(pid);
    std::this_thread::sleep_for(std::chrono::seconds(IdleSeconds));
    cpu = CpuMilliseconds(pid) - cpuBefore;
    run = RunMilliseconds(pid) - runBefore;
    wakeupsPerSecond = double(ContextSwitches(pid) - switchesBefore) / IdleSeconds;
}

} // namespace

void WarmUp(const ProgramUnderTest& program, WindowMapWatch& watch)
{
    StartUntilMapped(program, watch).child->terminate();
}

ProcessFigures MeasureProcess(const ProgramUnderTest& program, WindowMapWatch& watch, bool idle)
{
    const StartedProgram started = StartUntilMapped(program, watch);
    const pid_t pid = started.child->pid();
    ProcessFigures figures;
    figures.startupMilliseconds = MillisecondsBetween(started.start, started.window.seen);
    figures.windowWidth = started.window.width;
    figures.windowHeight = started.window.height;
    std::this_thread::sleep_until(started.window.seen + SettleTime);
    figures.residentMebibytes = double(ResidentKibibytes(pid)) / 1024.0;
    if (idle) {
        std::this_thread::sleep_until(started.window.seen + IdleFrom);
        MeasureIdle(pid, figures.idleCpuMilliseconds, figures.idleRunMilliseconds, figures.wakeupsPerSecond);
        watch.giveFocus(started.window.id);
        std::this_thread::sleep_for(SettleTime);
        MeasureIdle(pid, figures.focusedCpuMilliseconds, figures.focusedRunMilliseconds,
                    figures.focusedWakeupsPerSecond);
    }
    if (!started.child->running())
        throw std::runtime_error(program.name + " ended on its own while it was measured");
    started.child->terminate();
    return figures;
}
