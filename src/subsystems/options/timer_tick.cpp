#include "subsystems/options/timer_tick.h"

#include "settings/settings.h"

#include <algorithm>

namespace {

constexpr std::int64_t TickMilliseconds = 100;
constexpr std::int64_t SecondMilliseconds = 1000;
constexpr std::int64_t StopwatchWrap = 100 * 3600; // 99:59:59 goes on at 00:00:00

// The first tick of the count after the run's start: it shows 00:00:00.
std::int64_t FirstStopwatchTick(const TimerState& state)
{
    const std::int64_t since = std::max<std::int64_t>(0, state.ElapsedStart - state.TickOrigin);
    return state.TickOrigin + (since / TickMilliseconds + 1) * TickMilliseconds;
}

std::int64_t WholeSecondsRun(const TimerState& state, std::int64_t now)
{
    return std::max<std::int64_t>(0, now - state.ElapsedStart) / SecondMilliseconds;
}

} // namespace

void ResetTimerCounters(TimerState& state, std::int64_t now)
{
    state.ElapsedRunning = 0;
    state.TickOrigin = now;
    state.SecondsCounted = 0;
    state.AutoSaveSeconds = 0;
}

void NoteBarButtonRelease(TimerState& state, bool leftButton) { state.StopQuietly = leftButton ? -1 : 0; }

std::int64_t TakeEndedSeconds(TimerState& state, std::int64_t now)
{
    const std::int64_t ended = std::max<std::int64_t>(0, now - state.TickOrigin) / SecondMilliseconds;
    const std::int64_t fresh = std::max<std::int64_t>(0, ended - state.SecondsCounted);
    state.SecondsCounted += fresh;
    return fresh;
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

void StartStopwatch(TimerState& state, std::int64_t now)
{
    state.ElapsedSeconds = 0;
    state.ElapsedMinutes = 0;
    state.ElapsedHours = 0;
    state.ElapsedRunning = 1;
    state.ElapsedFirstTick = 1;
    state.ElapsedStart = now;
    // Every run starts without a beep at 00:00:00, not only the first.
    state.LastBeepTotal = 0;
}

StopwatchStep AdvanceStopwatch(TimerState& state, const Settings& settings, std::int64_t now)
{
    StopwatchStep step;
    if (state.ElapsedFirstTick == 1) {
        if (now < FirstStopwatchTick(state))
            return step;
        state.ElapsedFirstTick = 0;
        step.shownTimeChanged = true;
    }
    const std::int32_t before = state.ElapsedSeconds + 60 * state.ElapsedMinutes + 3600 * state.ElapsedHours;
    const auto total = std::int32_t(WholeSecondsRun(state, now) % StopwatchWrap);
    state.ElapsedSeconds = total % 60;
    state.ElapsedMinutes = std::int16_t(total / 60 % 60);
    state.ElapsedHours = std::int16_t(total / 3600);
    step.shownTimeChanged = step.shownTimeChanged || total != before;
    // A beep interval of 0 or below (hand-edited settings) never beeps.
    if (settings.TimerBeep == 1 && settings.BeepTime > 0 && total % settings.BeepTime == 0
        && total != state.LastBeepTotal) {
        state.LastBeepTotal = total;
        step.beep = true;
    }
    return step;
}

std::optional<std::int64_t> NextTickDue(const TimerState& state, const Settings& settings, std::int64_t now)
{
    std::optional<std::int64_t> due;
    const auto consider = [&due](std::int64_t moment) { due = due ? std::min(*due, moment) : moment; };
    const auto endOfSecond = [&state](std::int64_t second) { return state.TickOrigin + second * SecondMilliseconds; };
    const std::int64_t interval = 60 * std::int64_t(settings.AutoSaveTime);
    if (settings.AutoSave == 1 && interval >= 60) {
        // A save held back by a dialog is tried again every second.
        const std::int64_t left = std::max<std::int64_t>(1, interval - std::int64_t(state.AutoSaveSeconds));
        consider(endOfSecond(state.SecondsCounted + left));
    }
    if (state.ElapsedRunning == 1) {
        consider(endOfSecond(state.SecondsCounted + 1)); // the caption blinks
        consider(state.ElapsedFirstTick == 1
                     ? FirstStopwatchTick(state)
                     : state.ElapsedStart + (WholeSecondsRun(state, now) + 1) * SecondMilliseconds);
    }
    return due;
}

int BlinksShownAfter(std::int64_t seconds)
{
    if (seconds <= 0)
        return 0;
    return seconds % 2 == 1 ? 1 : 2;
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
