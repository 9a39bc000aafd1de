#pragma once

#include "platform/monotonic_clock.h"

#include <QtGlobal>

#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;

// Tells the presses a held key repeats from a press of its own. Qt's X11
// platform may mark only the first repeat as one: later ones then come
// unmarked, each as a release and a press of the same key at the same
// moment, so a key is let go only by a release that no such press follows.
// Where the moment is not told (events a screen reader's bridge passes on
// carry none), a press that comes right after a release is a repeat: no
// finger lets go of a key and presses it again that fast.
class KeyRepeat
{
public:
    explicit KeyRepeat(std::function<std::int64_t()> clock = MonotonicMilliseconds);

    bool isRepeat(const QKeyEvent& press) const;
    void noteRelease(const QKeyEvent& release);

private:
    struct Release
    {
        int key = 0;
        quint64 timestamp = 0;
        std::int64_t arrived = 0;
    };
    std::function<std::int64_t()> m_clock;
    std::optional<Release> m_lastRelease;
};
