#pragma once

struct OptionsContext;

// The main window's tick, run when something has fallen due: for each second
// of the tick count that has ended since the last run, the auto-save step and
// the stopwatch's blink; then the stopwatch's clock. With nothing due it only
// counts.
void RunTimerTick(const OptionsContext& context);
