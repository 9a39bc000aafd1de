#pragma once

#include <functional>
#include <memory>

class Platform;
class SingleShotTimer;
struct Settings;
struct TimerState;

// The main window's timer. Rather than tick every 100 ms all day, it sleeps
// until a tick has something to do and then runs the tick procedure, which
// works out from the clock what has passed meanwhile. With auto save off and
// the stopwatch stopped it does not wake at all.
class Ticker
{
public:
    Ticker(Platform& platform, TimerState& timer, const Settings& settings, std::function<void()> procedure);
    ~Ticker();

    // Plans the next wake from the counts as they are now.
    void plan();
    // Changes what the ticks act on (the stopwatch, the auto-save option or
    // its interval): what has fallen due runs first, so the counts are
    // current when the change is made, and the next wake is planned after it.
    void change(const std::function<void()>& change);

private:
    void wake();

    Platform& m_platform;
    TimerState& m_timer;
    const Settings& m_settings;
    std::function<void()> m_procedure;
    std::unique_ptr<SingleShotTimer> m_countdown;
};
