#pragma once

#include <QString>

#include <cstdint>

struct Settings;

// Counters driven by the main window's 100 ms timer: the auto-save count and
// the stopwatch. Plain values, so a tick allocates nothing.
struct TimerState
{
    std::int16_t TickCount = 0;      // ticks within the current second, 0-9
    float AutoSaveSeconds = 0;       // whole seconds since the auto-save count last started

    int ElapsedRunning = 0;          // the stopwatch runs
    int ElapsedFirstTick = 0;        // the next tick is the first since the start
    std::int32_t ElapsedStart = 0;   // time of day (s) from which the current minute's seconds count
    std::int32_t ElapsedSeconds = 0;
    std::int16_t ElapsedMinutes = 0;
    std::int16_t ElapsedHours = 0;
    std::int32_t LastBeepTotal = 0;  // total elapsed seconds at the last beep
    std::int16_t StopQuietly = -1;   // -1: the next stop inserts nothing; 0: it pastes the time
};

// The counters as the window's load step leaves them: stopwatch stopped,
// nothing counted.
void ResetTimerCounters(TimerState& state);

// A mouse button let go over a bar button: a stop by the left button inserts
// nothing, a stop by any other button pastes the elapsed time.
void NoteBarButtonRelease(TimerState& state, bool leftButton);

// Counts one tick; true once a second, when the auto-save count has gone up.
bool CountTick(TimerState& state);

// Once a second: whether auto save is to save now. The count restarts each
// time it reaches the interval, saved or not; an interval below one minute
// (only a hand-edited file holds one) never saves. While the program waits on
// a dialog (one opened by an automatic save among them) no save starts: it
// comes at the first second after the dialog has gone.
bool AutoSaveDue(TimerState& state, const Settings& settings, bool dialogOpen);

// Restarts the auto-save count: the check box of the Auto Save dialog.
void RestartAutoSaveCount(TimerState& state);

// Starts a run from 00:00:00; its clock starts at the next tick.
void StartStopwatch(TimerState& state);

struct StopwatchStep
{
    bool beep = false;
    bool shownTimeChanged = false; // hours, minutes or seconds differ from the last tick's
};

// One tick of a running stopwatch at the given time of day in seconds since
// midnight: follows the clock (across midnight too), carries at most one
// minute, wraps after 99:59:59, and says whether to beep.
StopwatchStep AdvanceStopwatch(TimerState& state, const Settings& settings, double secondsOfDay);

// hh:mm:ss of the counters.
QString ElapsedTimeText(const TimerState& state);

// The stopwatch button's caption a second later while it runs: "T" and "E" by turns, "T" first.
QString NextBlinkCaption(const QString& caption);

inline const QString StopwatchCaption = QStringLiteral("ET");
