#include "silent_platform.h"

#include "platform/qt_single_shot_timer.h"

MessageAnswer SilentPlatform::showMessage(const MessageBoxRequest& request)
{
    messages.append(request);
    return request.defaultAnswer;
}

QDateTime SilentPlatform::currentDateTime() { return QDateTime::currentDateTime(); }

std::unique_ptr<SingleShotTimer> SilentPlatform::makeSingleShotTimer(std::function<void()> action)
{
    return std::make_unique<QtSingleShotTimer>(std::move(action));
}
