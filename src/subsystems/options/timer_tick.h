#pragma once

#include <cstdint>

// Counters driven by the main window's 100 ms timer.
struct TimerState
{
    std::int16_t TickCount = 0;      // ticks within the current second, 0-9
    float AutoSaveSeconds = 0;       // whole seconds since the auto-save count last started
    int ElapsedRunning = 0;          // the stopwatch runs
    std::int16_t StopQuietly = -1;   // -1: the next stop inserts nothing; 0: it pastes the time
};

// What one tick found to do; the window carries it out. Plain data, so a
// tick allocates nothing.
struct TickResult
{
    bool secondElapsed = false;
};

// Advances the counters by one 100 ms tick.
TickResult AdvanceTimer(TimerState& state);

// The counters as the window's load step leaves them: stopwatch stopped,
// nothing counted.
void ResetTimerCounters(TimerState& state);

// A mouse button let go over a bar button: a stop by the left button inserts
// nothing, a stop by any other button pastes the elapsed time.
void NoteBarButtonRelease(TimerState& state, bool leftButton);
