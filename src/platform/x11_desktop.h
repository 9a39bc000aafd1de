#pragma once

#include "platform/platform.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Other programs' windows on an X11 desktop: the window manager's client
// list, activation through it, and keystrokes through the XTest extension.
// The connection is Qt's own, taken at the first use; on any other window
// system (Wayland, offscreen) nothing is found and nothing is typed.
class X11Desktop
{
public:
    X11Desktop();
    ~X11Desktop();
    X11Desktop(const X11Desktop&) = delete;
    X11Desktop& operator=(const X11Desktop&) = delete;

    // Whether an X11 display is there to work with.
    bool available() const;

    // The client list, top of the stack first, with each window's title,
    // whether it belongs to another window, whether it is one of ours, and
    // the process it names as its own (_NET_WM_PID).
    QList<DesktopWindow> windows();

    // The window manager's active window, described as in windows(), when
    // it also has the input focus.
    std::optional<DesktopWindow> activeWindow();

    // Restores the window if minimized, asks the window manager to activate
    // it and waits (briefly) until it has the input focus. False when it
    // could not be activated.
    bool activate(quint64 id);

    // Sends the text to the window as key presses, every character as typed
    // (also those the keyboard map lacks); a line break (CR LF, CR or LF) is
    // one Return. Keys go out only while that window (or a child of it) has
    // the input focus: nothing more once it has lost it. False when it did
    // not have it or lost it, or when nothing could be sent.
    bool typeText(quint64 window, const QString& text);

private:
    struct Connection;
    // Qt's connection, taken at the first call that finds one.
    Connection* connection() const;
    mutable std::unique_ptr<Connection> m_connection;
};
