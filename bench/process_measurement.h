#pragma once

#include <string>
#include <vector>

class WindowMapWatch;

struct ProgramUnderTest
{
    std::string name;
    std::string path;
    std::vector<std::string> arguments;
    std::vector<std::string> environment;
};

struct ProcessFigures
{
    double startupMilliseconds = 0; // from just before the fork to the MapNotify of its main window
    int windowWidth = 0;
    int windowHeight = 0;
    double residentMebibytes = 0;   // one second after the window was mapped
    // Idle without the keyboard focus: utime+stime, the scheduler's count and
    // the context switches of all its threads a second.
    double idleCpuMilliseconds = 0;
    double idleRunMilliseconds = 0;
    double wakeupsPerSecond = 0;
    // The same idle seconds again once the window has the keyboard.
    double focusedCpuMilliseconds = 0;
    double focusedRunMilliseconds = 0;
    double focusedWakeupsPerSecond = 0;
};

inline constexpr int IdleSeconds = 10;

// Starts the program and ends it once its window is mapped: the first start
// after a build reads everything from disk and fills the caches.
void WarmUp(const ProgramUnderTest& program, WindowMapWatch& watch);

// Starts the program, measures its start-up and memory and ends it; with
// idle, waits until it has settled and measures idle seconds without and then
// with the keyboard focus too. Throws
// std::runtime_error when it does not show its window or ends on its own.
ProcessFigures MeasureProcess(const ProgramUnderTest& program, WindowMapWatch& watch, bool idle);
