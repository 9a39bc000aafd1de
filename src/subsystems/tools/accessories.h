#pragma once

#include <QString>
#include <QStringList>

class EditorControl;
class Platform;

// A desk accessory the bar reaches: the window titles it is known by, the
// programs that provide it (the first found on PATH is started), and the
// message when none is installed.
struct Accessory
{
    QStringList searchNames;
    QStringList programs;
    QString missingMessage;
};

const Accessory& CalculatorAccessory();
const Accessory& PhoneDialerAccessory();

// Activates a running copy of the accessory, or starts one; says so when
// none is installed. A program that fails to start is passed over in silence.
void BringUpAccessory(Platform& platform, const Accessory& accessory);

// The "#" button: the calculator.
void RunCalculator(Platform& platform);

// The "AD" button: the phone dialer, then, a second later, the note's
// selected text typed into whatever window is active by then.
void RunPhoneDialer(Platform& platform, const EditorControl& editor);

// Lets pending events run for about a second by the clock, also across
// midnight or when the clock is set back.
void WaitOneSecond(Platform& platform);
