#include "subsystems/tools/accessories.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "subsystems/tools/window_search.h"

#include <QUrl>

#include <algorithm>
#include <functional>

namespace {

// "a, b or c, Must Be Installed."
QString MustBeInstalled(const QStringList& programs)
{
    QString list = programs.first();
    for (qsizetype i = 1; i < programs.size(); ++i)
        list += (i + 1 == programs.size() ? QStringLiteral(" or ") : QStringLiteral(", ")) + programs[i];
    return list + QStringLiteral(", Must Be Installed.");
}

Accessory MakeAccessory(QStringList searchNames, QStringList programs, const QString& firstHalf,
                        bool identifiedByProgram)
{
    const QString message = firstHalf + MustBeInstalled(programs);
    return {std::move(searchNames), std::move(programs), message, identifiedByProgram};
}

// Whether the window's WM_CLASS names one of the accessory's programs (in
// any letter case), or its process runs one of them as found on PATH.
bool IsProgramsWindow(Platform& platform, const DesktopWindow& window, const Accessory& accessory)
{
    return std::any_of(accessory.programs.cbegin(), accessory.programs.cend(), [&](const QString& program) {
        const bool named = std::any_of(window.wmClass.cbegin(), window.wmClass.cend(), [&program](const QString& name) {
            return name.compare(program, Qt::CaseInsensitive) == 0;
        });
        if (named)
            return true;
        const QString path = platform.findProgram(program);
        return !path.isEmpty() && platform.windowRunsProgram(window, path);
    });
}

bool IsTakenAs(Platform& platform, const DesktopWindow& window, const Accessory& accessory)
{
    return !accessory.identifiedByProgram || IsProgramsWindow(platform, window, accessory);
}

// Lets pending events run until done() holds (true) or the time is up by
// the clock, which may pass midnight or be set back (false); false too once
// the program is closing.
bool LetEventsRunUntil(Platform& platform, qint64 milliseconds, const std::function<bool()>& done)
{
    const QDateTime start = platform.currentDateTime();
    for (;;) {
        platform.processEvents();
        if (platform.exitRequested())
            return false;
        if (done())
            return true;
        const qint64 waited = start.msecsTo(platform.currentDateTime());
        if (waited >= milliseconds || waited < 0)
            return false;
    }
}

// A started program's window: shown by its process, or a new window titled
// as the accessory's search would take it (a launcher script may start the
// program as a process of its own). A window that was there before the start
// is some other program's, whatever its title has become since.
bool IsAccessoryWindow(Platform& platform, const DesktopWindow& window, const Accessory& accessory,
                       const AccessoryCopy& copy)
{
    if (window.ours)
        return false;
    if (copy.process != 0 && window.pid == copy.process)
        return true;
    if (copy.windowsBefore.contains(window.id))
        return false;
    return std::any_of(accessory.searchNames.cbegin(), accessory.searchNames.cend(),
                       [&window](const QString& name) { return IsSearchedWindow(window, name); })
        && IsTakenAs(platform, window, accessory);
}

// Some programs take several seconds to show their first window.
constexpr qint64 StartedWindowWait = 10000;

// The started accessory's window once it is the active one, or 0 when it
// did not come in time. Where no window can be listed (no X11) none can
// come, and there is no wait.
quint64 WaitForActiveWindow(Platform& platform, const Accessory& accessory, const AccessoryCopy& copy)
{
    if (copy.windowsBefore.isEmpty())
        return 0;
    quint64 found = 0;
    LetEventsRunUntil(platform, StartedWindowWait, [&] {
        const std::optional<DesktopWindow> active = platform.activeWindow();
        if (active && IsAccessoryWindow(platform, *active, accessory, copy))
            found = active->id;
        return found != 0;
    });
    return found;
}

} // namespace

// Each program is also found by its own window title: not all of them call
// themselves "Calculator".
const Accessory& CalculatorAccessory()
{
    static const Accessory calculator = MakeAccessory(
        {QStringLiteral("Calculator"), QStringLiteral("KCalc"), QStringLiteral("galculator"), QStringLiteral("Qalculate!")},
        {QStringLiteral("gnome-calculator"), QStringLiteral("mate-calc"), QStringLiteral("kcalc"),
         QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")},
        QStringLiteral("In Order To Run The Calculator, A Calculator Executable File, "), false);
    return calculator;
}

const Accessory& PhoneDialerAccessory()
{
    static const Accessory dialer = MakeAccessory(
        {QStringLiteral("Phone Dialer"), QStringLiteral("Calls"), QStringLiteral("Linphone")},
        {QStringLiteral("gnome-calls"), QStringLiteral("linphone")},
        QStringLiteral("In Order To Run The Phone Dialer, A Dialer Executable File, "), true);
    return dialer;
}

AccessoryCopy BringUpAccessory(Platform& platform, const Accessory& accessory)
{
    if (platform.exitRequested())
        return {};
    const auto taken = [&](const DesktopWindow& window) { return IsTakenAs(platform, window, accessory); };
    for (const QString& name : accessory.searchNames) {
        if (const quint64 window = FindAndActivateWindow(platform, name, taken))
            return {window, 0, {}};
    }
    for (const QString& program : accessory.programs) {
        if (const QString path = platform.findProgram(program); !path.isEmpty()) {
            QSet<quint64> before;
            for (const DesktopWindow& window : platform.desktopWindows())
                before.insert(window.id);
            return {0, platform.startProgram(path), before};
        }
    }
    ShowError(platform, accessory.missingMessage);
    return {};
}

void RunCalculator(Platform& platform) { BringUpAccessory(platform, CalculatorAccessory()); }

// The desktop's handler of tel: links (GNOME Calls, KDE Connect) dials the
// selection itself, also where no keystroke can reach another program (Wayland).
void RunPhoneDialer(Platform& platform, const EditorControl& editor)
{
    const QString number = editor.selectedText().trimmed();
    if (!number.isEmpty()
        && platform.openLinkWithHandler(QStringLiteral("tel:") + QString::fromLatin1(QUrl::toPercentEncoding(number, "+*()-."))))
        return;
    const Accessory& dialer = PhoneDialerAccessory();
    const AccessoryCopy copy = BringUpAccessory(platform, dialer);
    if (copy.window == 0 && copy.process == 0)
        return;
    platform.processEvents();
    const QString selected = editor.selectedText();
    if (selected.isEmpty())
        return;
    platform.processEvents();
    quint64 target = copy.window;
    if (target != 0)
        WaitOneSecond(platform);
    else
        target = WaitForActiveWindow(platform, dialer, copy);
    // Closed meanwhile, the program must not type any more.
    if (target != 0 && !platform.exitRequested())
        platform.typeText(target, selected);
}

void WaitOneSecond(Platform& platform)
{
    LetEventsRunUntil(platform, 1000, [] { return false; });
}
