#pragma once

#include <QStringList>

// Waits until the window manager has handled all the X server sent it before, as it lags for seconds
// after changes of the keyboard map. False when the time was up first, or without an X11 display.
bool WaitForWindowManager(int milliseconds);

// A window's property as xprop shows it; the window as xprop takes it:
// {"-root"}, {"-id", "123"}, {"-name", "Title"}.
QString XProperty(const QStringList& window, const char* name);
