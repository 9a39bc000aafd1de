#pragma once

#include "subsystems/options/interval_dialog.h"

class Platform;
struct Settings;

// The Timer Beep dialog: the stopwatch's beep, switched at once, and its
// interval in seconds, 1 to 3600.
class Form15 : public IntervalDialog
{
    Q_OBJECT

public:
    explicit Form15(QWidget* parent = nullptr);

    void load(Settings& settings, Platform& platform);

protected:
    void checkChanged(bool checked) override;
    void storeNumber(int seconds) override;

private:
    Settings* m_settings = nullptr;
};
