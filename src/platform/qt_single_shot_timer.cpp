#include "platform/qt_single_shot_timer.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

QtSingleShotTimer::QtSingleShotTimer(std::function<void()> action)
    : m_action(std::move(action))
    , m_fd(::timerfd_create(CLOCK_BOOTTIME, TFD_NONBLOCK | TFD_CLOEXEC))
{
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] { expired(); });
    }
    m_fallback.setSingleShot(true);
    // A coarse timer may end 5% late: "two seconds" must not become 2.1.
    m_fallback.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_fallback, &QTimer::timeout, &m_fallback, [this] { run(); });
}

QtSingleShotTimer::~QtSingleShotTimer()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void QtSingleShotTimer::start(int milliseconds)
{
    // An elapsed countdown runs at once.
    milliseconds = std::max(0, milliseconds);
    m_fallback.stop();
    if (m_fd >= 0) {
        timespec now{};
        ::clock_gettime(CLOCK_BOOTTIME, &now);
        const std::int64_t deadline = std::int64_t(now.tv_nsec) + std::int64_t(milliseconds) * 1000000;
        itimerspec due{};
        due.it_value.tv_sec = now.tv_sec + time_t(deadline / 1000000000);
        due.it_value.tv_nsec = long(deadline % 1000000000);
        // Setting the deadline anew also clears an expiry not yet read.
        m_active = ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &due, nullptr) == 0;
    }
    if (!m_active)
        m_fallback.start(milliseconds);
}

void QtSingleShotTimer::stop()
{
    m_fallback.stop();
    if (m_fd >= 0 && m_active) {
        const itimerspec disarmed{};
        ::timerfd_settime(m_fd, 0, &disarmed, nullptr);
    }
    m_active = false;
}

bool QtSingleShotTimer::isActive() const { return m_active || m_fallback.isActive(); }

void QtSingleShotTimer::expired()
{
    std::uint64_t expiries = 0;
    // Nothing to read: the countdown was stopped or set anew meanwhile.
    if (::read(m_fd, &expiries, sizeof expiries) != ssize_t(sizeof expiries))
        return;
    m_active = false;
    run();
}

void QtSingleShotTimer::run()
{
    // A copy, because the action may destroy this timer while it runs.
    const std::function<void()> action = m_action;
    if (action)
        action();
}
