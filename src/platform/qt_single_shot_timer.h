#pragma once

#include "platform/platform.h"

#include <QTimer>

#include <functional>
#include <memory>

class QSocketNotifier;

// A single-shot countdown that runs its action on the event loop. It counts
// on the clock that goes on while the system is suspended (a timerfd on
// CLOCK_BOOTTIME, set to an absolute deadline): Qt's own timers count on
// the monotonic clock, which stops, so a save due during a suspend would
// come up to a whole countdown late. Where no timerfd can be made or set,
// a QTimer stands in.
class QtSingleShotTimer : public SingleShotTimer
{
public:
    explicit QtSingleShotTimer(std::function<void()> action);
    ~QtSingleShotTimer() override;
    QtSingleShotTimer(const QtSingleShotTimer&) = delete;
    QtSingleShotTimer& operator=(const QtSingleShotTimer&) = delete;

    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override;

private:
    void expired();
    void run();

    std::function<void()> m_action;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_active = false;
    QTimer m_fallback;
};
