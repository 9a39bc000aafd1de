#pragma once

// Waits until the window manager has handled everything the X server sent it
// before this call. A window manager lags behind on a loaded machine, most of
// all after changes of the keyboard map (it grabs its keys afresh for each),
// and a window shown meanwhile would wait in its queue. False when it did not
// catch up within the time given, or when there is no X11 display.
bool WaitForWindowManager(int milliseconds);
