#include "support/window_manager_wait.h"

#include "support/wait_until.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib defines Bool, Status and None as macros: after Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

bool HasFrameExtents(Display* display, Window window, Atom extents)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, extents, 0, 4, False, XA_CARDINAL, &type, &format, &count, &remaining, &data);
    if (data)
        XFree(data);
    return count == 4;
}

} // namespace

bool WaitForWindowManager(int milliseconds)
{
    if (!qGuiApp)
        return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    // The window manager answers a frame-extents request for an unmapped
    // window in turn, after every event queued before it.
    const Window root = DefaultRootWindow(display);
    const Window probe = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = probe;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);
    const bool answered = WaitUntil([&] { return HasFrameExtents(display, probe, extents); }, milliseconds);
    XDestroyWindow(display, probe);
    XFlush(display);
    return answered;
}
