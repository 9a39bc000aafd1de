#pragma once

#include <chrono>
#include <optional>

#include <sys/types.h>

struct _XDisplay;

struct MappedWindow
{
    std::chrono::steady_clock::time_point seen;
    unsigned long id = 0;
    int width = 0;
    int height = 0;
};

// Sees top-level windows being mapped on the X display named by $DISPLAY,
// through the SubstructureNotify events of the root window.
class WindowMapWatch
{
public:
    // Throws std::runtime_error when the display cannot be opened.
    WindowMapWatch();
    ~WindowMapWatch();
    WindowMapWatch(const WindowMapWatch&) = delete;
    WindowMapWatch& operator=(const WindowMapWatch&) = delete;

    // Listens from now on, so a window mapped right after a start is not missed.
    void arm();
    // Waits until a window whose _NET_WM_PID is pid is mapped. Nothing when
    // the process ended first (pidfd readable) or the deadline passed.
    std::optional<MappedWindow> waitForMap(pid_t pid, int pidfd, std::chrono::steady_clock::time_point deadline);
    void disarm();
    // Gives the window the keyboard, as a window manager does for the window
    // the user works in: a focused editor blinks its caret.
    void giveFocus(unsigned long window);

private:
    std::optional<MappedWindow> nextMappedWindow(pid_t pid);
    bool ownedBy(unsigned long window, pid_t pid);

    _XDisplay* m_display = nullptr;
    unsigned long m_pidAtom = 0;
};
