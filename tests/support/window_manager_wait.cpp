#include "support/window_manager_wait.h"

#include "support/wait_until.h"

#include <QProcess>

#include <QtGui/qguiapplication_platform.h>

// Xlib defines Bool, Status and None as macros: after Qt's headers.
#include <X11/Xlib.h>

// The window manager sets a new window's frame extents, when asked, in turn after all queued before.
bool WaitForWindowManager(int milliseconds)
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    const Window root = DefaultRootWindow(display);
    XEvent request{};
    request.xclient = {ClientMessage, 0, False, display, XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0),
                       XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False), 32, {}};
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    const bool answered = WaitUntil([&] {
        int count = 0;
        XFree(XListProperties(display, request.xclient.window, &count)); // a round trip
        return count > 0;
    }, milliseconds);
    XDestroyWindow(display, request.xclient.window);
    XFlush(display);
    return answered;
}

QString XProperty(const QStringList& window, const char* name)
{
    QProcess xprop;
    xprop.start(QStringLiteral("/usr/bin/xprop"), window + QStringList{QString::fromLatin1(name)});
    return xprop.waitForFinished(5000) ? QString::fromUtf8(xprop.readAllStandardOutput()).trimmed() : QString();
}
