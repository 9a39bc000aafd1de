#pragma once

#include <cstdint>

struct OptionsContext;

// Starts the stopwatch when it is stopped; stops it when it runs, pasting
// "Elapsed Time Was hh:mm:ss" at the caret unless the stop is a quiet one.
void ToggleElapsedTimer(const OptionsContext& context);

// A mouse button let go over a bar button decides how the next stop behaves;
// over the stopwatch's own button it also starts or stops the stopwatch. The
// keyboard never does: its click only returns the focus.
void BarButtonReleased(const OptionsContext& context, bool leftButton, bool stopwatchButton);

// Once a second while it runs: the button's caption blinks.
void BlinkStopwatchButton(const OptionsContext& context);

// A tick while it runs: the time since the start at the clock's now, a beep
// when due, the time shown when it changed.
void StopwatchTick(const OptionsContext& context, std::int64_t now);
