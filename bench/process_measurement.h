#pragma once

#include <string>
#include <vector>

class WindowMapWatch;

struct ProgramUnderTest
{
    std::string name;
    std::string path;
    std::vector<std::string> environment;
};

struct ProcessFigures
{
    double startupMilliseconds = 0; // from just before the fork to the MapNotify of its main window
    int windowWidth = 0;
    int windowHeight = 0;
    double residentMebibytes = 0;   // one second after the window was mapped
    double idleCpuMilliseconds = 0; // utime+stime over the idle seconds that follow
    double idleRunMilliseconds = 0; // the scheduler's count over the same seconds
    double wakeupsPerSecond = 0;    // context switches of all its threads over those seconds
};

inline constexpr int IdleSeconds = 10;

// Starts the program and ends it once its window is mapped: the first start
// after a build reads everything from disk and fills the caches.
void WarmUp(const ProgramUnderTest& program, WindowMapWatch& watch);

// Starts the program, measures one run and ends it. Throws std::runtime_error
// when it does not show its window or ends on its own.
ProcessFigures MeasureProcess(const ProgramUnderTest& program, WindowMapWatch& watch);
