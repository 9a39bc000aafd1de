#include "platform/qt_single_shot_timer.h"

#include <algorithm>

QtSingleShotTimer::QtSingleShotTimer(std::function<void()> action)
    : m_action(std::move(action))
{
    m_timer.setSingleShot(true);
    // A coarse timer may end 5% late: "two seconds" must not become 2.1.
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        // A copy, because the action may destroy this timer while it runs.
        const std::function<void()> run = m_action;
        if (run)
            run();
    });
}

void QtSingleShotTimer::start(int milliseconds)
{
    // QTimer refuses a negative interval; an elapsed countdown runs at once.
    m_timer.start(std::max(0, milliseconds));
}

void QtSingleShotTimer::stop() { m_timer.stop(); }

bool QtSingleShotTimer::isActive() const { return m_timer.isActive(); }
