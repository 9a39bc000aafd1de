#include "subsystems/options/auto_save_dialog.h"

#include "settings/settings.h"
#include "subsystems/options/ticker.h"
#include "subsystems/options/timer_tick.h"

namespace {

const IntervalDialogLayout AutoSaveLayout{
    "Form14", "AutoSave...", 2775, 2970, 5790, 1485,
    " Auto Save Current .SCB File Every", QRect(240, 120, 3915, 315),
    QRect(4200, 120, 435, 360),
    " Minutes", QRect(4680, 180, 915, 315),
    QRect(240, 720, 2475, 495), QRect(3000, 720, 2535, 495),
    1, 60, "Auto Save Time Must Be Between 1 And 60 Minutes", "Invalid Auto Save Time",
    "Auto Save Minutes",
};

} // namespace

Form14::Form14(QWidget* parent) : IntervalDialog(parent, AutoSaveLayout) {}

void Form14::load(Settings& settings, TimerState& timer, Ticker& ticker, Platform& platform)
{
    m_settings = &settings;
    m_timer = &timer;
    m_ticker = &ticker;
    loadValues(platform, settings.AutoSave == 1, settings.AutoSaveTime);
}

void Form14::checkChanged(bool checked)
{
    if (!m_settings)
        return;
    m_ticker->change([this, checked] {
        RestartAutoSaveCount(*m_timer);
        m_settings->AutoSave = checked ? 1 : 0;
    });
}

void Form14::storeNumber(int minutes)
{
    if (m_settings)
        m_ticker->change([this, minutes] { m_settings->AutoSaveTime = std::int16_t(minutes); });
}
