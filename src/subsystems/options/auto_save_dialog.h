#pragma once

#include "subsystems/options/interval_dialog.h"

class Platform;
struct Settings;
class Ticker;
struct TimerState;

// The Auto Save dialog: the option, switched at once, and its interval in
// minutes, 1 to 60. Every change of the check box restarts the count.
class Form14 : public IntervalDialog
{
    Q_OBJECT

public:
    explicit Form14(QWidget* parent = nullptr);

    // The changes go through the ticker, which plans its wakes by them.
    void load(Settings& settings, TimerState& timer, Ticker& ticker, Platform& platform);

protected:
    void checkChanged(bool checked) override;
    void storeNumber(int minutes) override;

private:
    Settings* m_settings = nullptr;
    TimerState* m_timer = nullptr;
    Ticker* m_ticker = nullptr;
};
