#include "subsystems/options/ticker.h"

#include "platform/platform.h"
#include "subsystems/options/timer_tick.h"

#include <algorithm>
#include <limits>

Ticker::Ticker(Platform& platform, TimerState& timer, const Settings& settings, std::function<void()> procedure)
    : m_platform(platform)
    , m_timer(timer)
    , m_settings(settings)
    , m_procedure(std::move(procedure))
    , m_countdown(platform.makeSingleShotTimer([this] { wake(); }))
{
}

Ticker::~Ticker() = default;

void Ticker::plan()
{
    const std::int64_t now = m_platform.monotonicMilliseconds();
    const std::optional<std::int64_t> due = NextTickDue(m_timer, m_settings, now);
    if (!due) {
        m_countdown->stop();
        return;
    }
    const std::int64_t wait = std::clamp<std::int64_t>(*due - now, 0, std::numeric_limits<int>::max());
    m_countdown->start(int(wait));
}

void Ticker::change(const std::function<void()>& change)
{
    m_procedure();
    change();
    plan();
}

void Ticker::wake()
{
    m_procedure();
    plan();
}
