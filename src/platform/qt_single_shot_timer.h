#pragma once

#include "platform/platform.h"

#include <QTimer>

#include <functional>

// A single-shot QTimer that runs its action on the event loop.
class QtSingleShotTimer : public SingleShotTimer
{
public:
    explicit QtSingleShotTimer(std::function<void()> action);

    void start(int milliseconds) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer m_timer;
    std::function<void()> m_action;
};
