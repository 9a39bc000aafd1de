#include "subsystems/tools/accessories.h"

#include "platform/editor_control.h"
#include "platform/platform.h"
#include "subsystems/tools/window_search.h"

namespace {

// "a, b or c, Must Be Installed."
QString MustBeInstalled(const QStringList& programs)
{
    QString list = programs.first();
    for (qsizetype i = 1; i < programs.size(); ++i)
        list += (i + 1 == programs.size() ? QStringLiteral(" or ") : QStringLiteral(", ")) + programs[i];
    return list + QStringLiteral(", Must Be Installed.");
}

Accessory MakeAccessory(QStringList searchNames, QStringList programs, const QString& firstHalf)
{
    const QString message = firstHalf + MustBeInstalled(programs);
    return {std::move(searchNames), std::move(programs), message};
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
        QStringLiteral("In Order To Run The Calculator, A Calculator Executable File, "));
    return calculator;
}

const Accessory& PhoneDialerAccessory()
{
    static const Accessory dialer = MakeAccessory(
        {QStringLiteral("Phone Dialer"), QStringLiteral("Calls"), QStringLiteral("Linphone")},
        {QStringLiteral("gnome-calls"), QStringLiteral("linphone")},
        QStringLiteral("In Order To Run The Phone Dialer, A Dialer Executable File, "));
    return dialer;
}

void BringUpAccessory(Platform& platform, const Accessory& accessory)
{
    for (const QString& name : accessory.searchNames) {
        if (FindAndActivateWindow(platform, name))
            return;
    }
    for (const QString& program : accessory.programs) {
        if (const QString path = platform.findProgram(program); !path.isEmpty()) {
            platform.startProgram(path);
            return;
        }
    }
    ShowError(platform, accessory.missingMessage);
}

void RunCalculator(Platform& platform) { BringUpAccessory(platform, CalculatorAccessory()); }

void RunPhoneDialer(Platform& platform, const EditorControl& editor)
{
    BringUpAccessory(platform, PhoneDialerAccessory());
    platform.processEvents();
    const QString selected = editor.selectedText();
    platform.processEvents();
    WaitOneSecond(platform);
    // Closed meanwhile, the program must not type into whatever has the keyboard now.
    if (!selected.isEmpty() && !platform.exitRequested())
        platform.typeText(selected);
}

void WaitOneSecond(Platform& platform)
{
    const QDateTime start = platform.currentDateTime();
    for (;;) {
        platform.processEvents();
        const qint64 waited = start.msecsTo(platform.currentDateTime());
        if (waited >= 1000 || waited < 0 || platform.exitRequested())
            return;
    }
}
