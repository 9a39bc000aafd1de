#include "window/key_repeat.h"

#include <QKeyEvent>

#include <utility>

namespace {

// Between a repeat's release and its press, as they arrive.
constexpr std::int64_t RepeatGapMilliseconds = 20;

} // namespace

KeyRepeat::KeyRepeat(std::function<std::int64_t()> clock)
    : m_clock(std::move(clock))
{
}

bool KeyRepeat::isRepeat(const QKeyEvent& press) const
{
    if (press.isAutoRepeat())
        return true;
    if (!m_lastRelease || m_lastRelease->key != press.key())
        return false;
    if (press.timestamp() != 0 && m_lastRelease->timestamp != 0)
        return press.timestamp() == m_lastRelease->timestamp;
    return m_clock() - m_lastRelease->arrived <= RepeatGapMilliseconds;
}

void KeyRepeat::noteRelease(const QKeyEvent& release)
{
    m_lastRelease = Release{release.key(), release.timestamp(), m_clock()};
}
