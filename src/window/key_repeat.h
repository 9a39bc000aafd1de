#pragma once

#include <QtGlobal>

#include <optional>

class QKeyEvent;

// Tells the presses a held key repeats from a press of its own. Qt's X11
// platform marks only the first repeat as one: the later ones come unmarked,
// each as a release and a press of the same key at the same moment. So a key
// is let go only by a release that no such press follows.
class KeyRepeat
{
public:
    bool isRepeat(const QKeyEvent& press) const;
    void noteRelease(const QKeyEvent& release);

private:
    struct Release
    {
        int key = 0;
        quint64 timestamp = 0;
    };
    std::optional<Release> m_lastRelease;
};
