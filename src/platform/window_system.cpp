#include "platform/window_system.h"

#include <QGuiApplication>

namespace {

const char* const PlatformVariable = "QT_QPA_PLATFORM";

} // namespace

bool PreferX11WindowSystem()
{
    if (!qEnvironmentVariableIsEmpty(PlatformVariable) || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    qputenv(PlatformVariable, "xcb;wayland");
    return true;
}

void ForgetWindowSystemChoice() { qunsetenv(PlatformVariable); }

bool WindowPositionsKnown() { return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }
