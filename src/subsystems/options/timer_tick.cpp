#include "subsystems/options/timer_tick.h"

#include "settings/numeric_text.h"
#include "settings/settings.h"

void ResetTimerCounters(TimerState& state)
{
    state.ElapsedRunning = 0;
    state.TickCount = 0;
    state.AutoSaveSeconds = 0;
}

void NoteBarButtonRelease(TimerState& state, bool leftButton) { state.StopQuietly = leftButton ? -1 : 0; }

bool CountTick(TimerState& state)
{
    ++state.TickCount;
    if (state.TickCount < 10)
        return false;
    state.TickCount = 0;
    state.AutoSaveSeconds += 1;
    return true;
}

bool AutoSaveDue(TimerState& state, const Settings& settings, bool dialogOpen)
{
    // 64 bits: sixty times a 16-bit interval does not fit 16 bits. "At least",
    // so an interval lowered below the seconds counted saves at once instead
    // of never.
    const std::int64_t interval = 60 * std::int64_t(settings.AutoSaveTime);
    if (std::int64_t(state.AutoSaveSeconds) < interval && interval >= 60)
        return false;
    const bool saving = interval >= 60 && settings.AutoSave == 1;
    // A save in the middle of another dialog would stack its own dialogs on
    // it, or write the note the user is just deciding about.
    if (saving && dialogOpen)
        return false;
    state.AutoSaveSeconds = 0;
    return saving;
}

void RestartAutoSaveCount(TimerState& state) { state.AutoSaveSeconds = 0; }

void StartStopwatch(TimerState& state)
{
    state.ElapsedSeconds = 0;
    state.ElapsedMinutes = 0;
    state.ElapsedHours = 0;
    state.ElapsedRunning = 1;
    state.ElapsedFirstTick = 1;
    // Every run starts without a beep at 00:00:00, not only the first.
    state.LastBeepTotal = 0;
}

StopwatchStep AdvanceStopwatch(TimerState& state, const Settings& settings, double secondsOfDay)
{
    StopwatchStep step;
    const std::int32_t before = state.ElapsedSeconds + 60 * state.ElapsedMinutes + 3600 * state.ElapsedHours;
    if (state.ElapsedFirstTick == 1) {
        state.ElapsedSeconds = 0;
        state.ElapsedFirstTick = 0;
        state.ElapsedStart = std::int32_t(RoundHalfEven(secondsOfDay));
        step.shownTimeChanged = true;
    }
    state.ElapsedSeconds = std::int32_t(RoundHalfEven(secondsOfDay - state.ElapsedStart));
    if (state.ElapsedSeconds < 0) { // midnight has passed
        state.ElapsedStart -= 86400;
        state.ElapsedSeconds = std::int32_t(RoundHalfEven(secondsOfDay - state.ElapsedStart));
    }
    if (state.ElapsedSeconds >= 60) {
        state.ElapsedStart += 60;
        state.ElapsedSeconds -= 60;
        if (++state.ElapsedMinutes == 60) {
            state.ElapsedMinutes = 0;
            if (++state.ElapsedHours == 100)
                state.ElapsedHours = 0;
        }
    }
    const std::int32_t total = state.ElapsedSeconds + 60 * state.ElapsedMinutes + 3600 * state.ElapsedHours;
    step.shownTimeChanged = step.shownTimeChanged || total != before;
    // A beep interval of 0 or below (hand-edited settings) never beeps.
    if (settings.TimerBeep == 1 && settings.BeepTime > 0 && total % settings.BeepTime == 0
        && total != state.LastBeepTotal) {
        state.LastBeepTotal = total;
        step.beep = true;
    }
    return step;
}

QString ElapsedTimeText(const TimerState& state)
{
    const auto twoDigits = [](int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); };
    return twoDigits(state.ElapsedHours) + u':' + twoDigits(state.ElapsedMinutes) + u':'
        + twoDigits(state.ElapsedSeconds);
}

QString NextBlinkCaption(const QString& caption)
{
    if (caption == StopwatchCaption || caption == QStringLiteral("E"))
        return QStringLiteral("T");
    return QStringLiteral("E");
}
