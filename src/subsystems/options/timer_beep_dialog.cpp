#include "subsystems/options/timer_beep_dialog.h"

#include "settings/settings.h"

namespace {

const IntervalDialogLayout TimerBeepLayout{
    "Form15", "Timer Beep", 4170, 6855, 5790, 1485,
    " Elapsed Timer \"Beeps\" Every", QRect(240, 120, 3615, 315),
    QRect(3960, 120, 675, 360),
    "Seconds", QRect(4740, 180, 915, 315),
    QRect(240, 720, 2475, 495), QRect(3000, 720, 2535, 495),
    1, 3600, "The Beep Time Interval Must Be Between 1 And 3600 Seconds", "Invalid Beep Time",
    "Beep Seconds",
};

} // namespace

Form15::Form15(QWidget* parent) : IntervalDialog(parent, TimerBeepLayout) {}

void Form15::load(Settings& settings, Platform& platform)
{
    m_settings = &settings;
    loadValues(platform, settings.TimerBeep == 1, settings.BeepTime);
}

void Form15::checkChanged(bool checked)
{
    if (m_settings)
        m_settings->TimerBeep = checked ? 1 : 0;
}

void Form15::storeNumber(int seconds)
{
    if (m_settings)
        m_settings->BeepTime = std::int16_t(seconds);
}
