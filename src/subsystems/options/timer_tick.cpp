#include "subsystems/options/timer_tick.h"

void ResetTimerCounters(TimerState& state)
{
    state.ElapsedRunning = 0;
    state.TickCount = 0;
    state.AutoSaveSeconds = 0;
}

void NoteBarButtonRelease(TimerState& state, bool leftButton) { state.StopQuietly = leftButton ? -1 : 0; }

TickResult AdvanceTimer(TimerState& state)
{
    TickResult result;
    ++state.TickCount;
    if (state.TickCount >= 10) {
        state.TickCount = 0;
        state.AutoSaveSeconds += 1;
        result.secondElapsed = true;
    }
    return result;
}
