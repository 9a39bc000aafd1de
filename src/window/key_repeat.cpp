#include "window/key_repeat.h"

#include <QKeyEvent>

bool KeyRepeat::isRepeat(const QKeyEvent& press) const
{
    return press.isAutoRepeat()
        || (m_lastRelease && m_lastRelease->key == press.key() && m_lastRelease->timestamp == press.timestamp());
}

void KeyRepeat::noteRelease(const QKeyEvent& release) { m_lastRelease = Release{release.key(), release.timestamp()}; }
