#include "subsystems/options/timer_tick.h"

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
