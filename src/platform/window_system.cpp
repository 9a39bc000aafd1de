#include "platform/window_system.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <atomic>
#include <cstdio>
#include <utility>

namespace {

const char* const PlatformVariable = "QT_QPA_PLATFORM";

std::function<void()> g_onConnectionBroken;
QtMessageHandler g_previousHandler = nullptr;
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;
// Whether the user's logging rules (QT_LOGGING_RULES, qtlogging.ini) switch
// off the warnings that the watch below needs to see. Read on the thread
// that finds the connection lost.
std::atomic<bool> g_rulesSilenceWarnings = false;

bool IsDefaultCategory(const char* name) { return !name || qstrcmp(name, "default") == 0; }

// Runs after Qt's own filter, which applies the rules, every time they are read.
void KeepWarningsForTheWatch(QLoggingCategory* category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (!IsDefaultCategory(category->categoryName()))
        return;
    g_rulesSilenceWarnings = !category->isWarningEnabled();
    category->setEnabled(QtWarningMsg, true);
}

void WatchForBrokenConnection(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    // Both of Qt's ways of finding the loss (its own event reader, Xlib's I/O
    // error handler) say so in these words right before they end the process.
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("The X11 connection broke")) && g_onConnectionBroken)
        std::exchange(g_onConnectionBroken, nullptr)();
    if (type == QtWarningMsg && g_rulesSilenceWarnings && IsDefaultCategory(context.category))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

bool PreferX11WindowSystem()
{
    if (!qEnvironmentVariableIsEmpty(PlatformVariable) || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    qputenv(PlatformVariable, "xcb;wayland");
    return true;
}

void ForgetWindowSystemChoice() { qunsetenv(PlatformVariable); }

void WhenX11ConnectionBreaks(std::function<void()> action)
{
    g_onConnectionBroken = std::move(action);
    if (!g_previousHandler) {
        g_previousHandler = qInstallMessageHandler(WatchForBrokenConnection);
        g_previousFilter = QLoggingCategory::installFilter(KeepWarningsForTheWatch);
    }
}

bool WindowPositionsKnown() { return !QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }
