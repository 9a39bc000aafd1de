#pragma once

#include <QString>

// What the commands change on the main window, without knowing its class:
// the caption, the options that shape the window, and the two ways of ending.
class MainWindowControl
{
public:
    virtual ~MainWindowControl() = default;

    virtual QString title() const = 0;
    virtual void setTitle(const QString& title) = 0;

    // Neither moves nor resizes the window.
    virtual void setAlwaysOnTop(bool onTop) = 0;
    virtual void setButtonBarShown(bool shown) = 0;
    // The window's outer height in twips; the resize rule still applies. A
    // maximized or minimized window keeps its height.
    virtual void setOuterHeight(int twips) = 0;

    // What a screen reader calls the note's editor: the note's file name.
    virtual void setNoteName(const QString& name) = 0;

    // The stopwatch's bar button, whose caption blinks while it runs.
    virtual QString stopwatchCaption() const = 0;
    virtual void setStopwatchCaption(const QString& caption) = 0;
    // Told to screen readers as the button's state; the caption shows it on screen.
    virtual void setStopwatchRunning(bool running) = 0;

    // The normal close: asks about unsaved changes and may be refused.
    virtual void requestClose() = 0;
    // A close request nobody can answer (shutdown signals): nothing is asked,
    // the settings are written as at a normal exit and the program ends.
    virtual void endWithoutAsking() = 0;
};
