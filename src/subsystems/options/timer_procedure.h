#pragma once

struct OptionsContext;

// One tick of the main window's 100 ms timer: once a second the auto-save
// step and the stopwatch's blink, on every tick the stopwatch's clock. With
// nothing due it only counts.
void RunTimerTick(const OptionsContext& context);
