#include "window_map_watch.h"

#include <cerrno>
#include <stdexcept>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

namespace {

// A window may be gone by the time it is asked about; that is no reason to end.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

} // namespace

WindowMapWatch::WindowMapWatch()
{
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        throw std::runtime_error("cannot open the X display");
    XSetErrorHandler(IgnoreXError);
    m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
}

WindowMapWatch::~WindowMapWatch() { XCloseDisplay(m_display); }

void WindowMapWatch::arm()
{
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    XSync(m_display, True);
}

void WindowMapWatch::disarm()
{
    XSelectInput(m_display, DefaultRootWindow(m_display), NoEventMask);
    XSync(m_display, True);
}

void WindowMapWatch::giveFocus(unsigned long window)
{
    XSetInputFocus(m_display, window, RevertToPointerRoot, CurrentTime);
    XSync(m_display, False);
}

std::optional<MappedWindow> WindowMapWatch::waitForMap(pid_t pid, int pidfd,
                                                       std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        while (XPending(m_display)) {
            if (std::optional<MappedWindow> mapped = nextMappedWindow(pid))
                return mapped;
        }
        pollfd watched[2] = {{ConnectionNumber(m_display), POLLIN, 0}, {pidfd, POLLIN, 0}};
        const int ready = poll(watched, 2, MillisecondsUntil(deadline));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || (watched[1].revents & POLLIN))
            return std::nullopt;
    }
}

std::optional<MappedWindow> WindowMapWatch::nextMappedWindow(pid_t pid)
{
    XEvent event;
    XNextEvent(m_display, &event);
    const auto seen = std::chrono::steady_clock::now();
    if (event.type != MapNotify || event.xmap.override_redirect || !ownedBy(event.xmap.window, pid))
        return std::nullopt;
    XWindowAttributes attributes{};
    XGetWindowAttributes(m_display, event.xmap.window, &attributes);
    return MappedWindow{seen, event.xmap.window, attributes.width, attributes.height};
}

bool WindowMapWatch::ownedBy(unsigned long window, pid_t pid)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                                          &count, &after, &data);
    const bool owned = status == Success && format == 32 && count == 1
        && *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid);
    if (data)
        XFree(data);
    return owned;
}
