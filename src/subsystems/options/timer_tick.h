#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct Settings;

// Counters of the main window's tick: a tick every 100 ms from the window's
// load step, every tenth of which ends a second. The window does not wake for
// every tick: from a clock in milliseconds these work out which ticks have
// passed and when the next one comes that has something to do. Plain values,
// so a tick allocates nothing.
struct TimerState
{
    std::int64_t TickOrigin = 0;     // the clock at the load step: the ticks fall 100 ms apart from here
    std::int64_t SecondsCounted = 0; // seconds of the tick count that have been counted
    float AutoSaveSeconds = 0;       // whole seconds since the auto-save count last started

    int ElapsedRunning = 0;          // the stopwatch runs
    int ElapsedFirstTick = 0;        // the run's first tick, which shows 00:00:00, is still to come
    std::int64_t ElapsedStart = 0;   // the clock when the run started
    std::int32_t ElapsedSeconds = 0;
    std::int16_t ElapsedMinutes = 0;
    std::int16_t ElapsedHours = 0;
    std::int32_t LastBeepTotal = 0;  // total elapsed seconds at the last beep
    std::int16_t StopQuietly = -1;   // -1: the next stop inserts nothing; 0: it pastes the time
};

// The counters as the window's load step leaves them at the clock's now:
// stopwatch stopped, nothing counted, the ticks counted from now.
void ResetTimerCounters(TimerState& state, std::int64_t now);

// A mouse button let go over a bar button: a stop by the left button inserts
// nothing, a stop by any other button pastes the elapsed time.
void NoteBarButtonRelease(TimerState& state, bool leftButton);

// How many seconds of the tick count have ended by now since they were last
// counted; they count as counted from here on.
std::int64_t TakeEndedSeconds(TimerState& state, std::int64_t now);

// Once a second: whether auto save is to save now. The count restarts each
// time it reaches the interval, saved or not; an interval below one minute
// (only a hand-edited file holds one) never saves. While the program waits on
// a dialog (one opened by an automatic save among them) no save starts: it
// comes at the first second after the dialog has gone.
bool AutoSaveDue(TimerState& state, const Settings& settings, bool dialogOpen);

// Restarts the auto-save count: the check box of the Auto Save dialog.
void RestartAutoSaveCount(TimerState& state);

// Starts a run from 00:00:00 at the clock's now; it is shown from the next tick on.
void StartStopwatch(TimerState& state, std::int64_t now);

struct StopwatchStep
{
    bool beep = false;
    bool shownTimeChanged = false; // hours, minutes or seconds differ from the last tick's
};

// A running stopwatch at the clock's now: whole seconds since the start,
// going on at 00:00:00 after 99:59:59, and whether to beep.
StopwatchStep AdvanceStopwatch(TimerState& state, const Settings& settings, std::int64_t now);

// The clock's time at which a tick next has something to do: an auto save
// can fall due, the stopwatch's caption blinks or its shown time changes.
// Nothing when no tick ever will: auto save off (or an interval that never
// saves) and the stopwatch stopped.
std::optional<std::int64_t> NextTickDue(const TimerState& state, const Settings& settings, std::int64_t now);

// A caption that changes every second shows after that many seconds what one
// change (an odd count) or two (an even one) show: no more need be made.
int BlinksShownAfter(std::int64_t seconds);

// hh:mm:ss of the counters.
QString ElapsedTimeText(const TimerState& state);

// The stopwatch button's caption a second later while it runs: "T" and "E" by turns, "T" first.
QString NextBlinkCaption(const QString& caption);

inline const QString StopwatchCaption = QStringLiteral("ET");
