#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class EditorControl;
class Platform;

// A desk accessory the bar reaches: the window titles it is known by, the
// programs that provide it (the first found on PATH is started), and the
// message when none is installed. Keys are typed into the accessory's window:
// a window titled like it is taken only when it shows itself to be one of
// those programs', as a terminal titled "Calls - shell" does not.
struct Accessory
{
    QStringList searchNames;
    QStringList programs;
    QString missingMessage;
    bool identifiedByProgram = false;
};

const Accessory& CalculatorAccessory();
const Accessory& PhoneDialerAccessory();

// The copy of an accessory that was brought up: a running one found and
// activated, or one just started; neither when none is installed or the
// start failed.
struct AccessoryCopy
{
    quint64 window = 0; // the running copy's window
    qint64 process = 0; // the started copy's process
    QSet<quint64> windowsBefore; // the desktop's windows when it was started; none without X11
};

// Activates a running copy of the accessory, or starts one; says so when
// none is installed. A program that fails to start is passed over in silence;
// once the program is closing, nothing is started.
AccessoryCopy BringUpAccessory(Platform& platform, const Accessory& accessory);

// The "#" button: the calculator.
void RunCalculator(Platform& platform);

// The "AD" button: the phone dialer, then the note's selected text typed
// into the dialer's window; a second after activating a running dialer, or
// once a started one's window is active, if that comes within ten seconds.
// Keys never go to any other window.
void RunPhoneDialer(Platform& platform, const EditorControl& editor);

// Lets pending events run for about a second by the clock, also across
// midnight or when the clock is set back.
void WaitOneSecond(Platform& platform);
