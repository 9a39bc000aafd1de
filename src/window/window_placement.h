#pragma once

#include "platform/monotonic_clock.h"

#include <QList>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>

// The main window's outer (frame) geometry as the program means it: what the
// settings gave it, the resize rule made of it or the user dragged it to.
//
// A window manager frames a new window some time after it is shown, and on
// the way reports sizes and places that belong to neither the program nor the
// user (stale replies to earlier requests, a frame half-way through being
// added). Taken at face value they make the stored geometry creep from run to
// run, so until the window has the outer size it was asked for, reports only
// tell how large the frame is; once it has settled, a report is the user's doing.
//
// A maximized (or full-screen) window keeps the geometry it had before as its
// normal one. The window manager's reports of the new size may come before
// the news of the state: what reports changed just before that news is undone.
class WindowPlacement
{
public:
    // The clock tells which reports came together.
    explicit WindowPlacement(std::function<std::int64_t()> clock = MonotonicMilliseconds);

    // A new outer rectangle in pixels; the window is not yet settled on it.
    void place(const QRect& outer);

    // The program changes the outer size (the resize rule). Returns the
    // client size to ask the window system for.
    QSize resizeOuter(QSize outer);

    // The window system reports the window's client and frame rectangles.
    // Returns a client size to ask for when a new frame changed the outer
    // size the window must keep.
    std::optional<QSize> reported(const QRect& client, const QRect& frame);

    // The window manager maximized the window, or gave it its normal size
    // back; the window must then settle on its normal geometry again.
    void setMaximized(bool maximized);

    // The window manager did not give the size asked for in good time: what
    // is reported from now on is taken as the user's doing.
    void settle() { m_settled = true; }

    bool settled() const { return m_settled; }
    bool maximized() const { return m_maximized; }
    // The normal geometry, also while the window is maximized.
    QRect outer() const { return m_outer; }

private:
    void takeReported(const QRect& frame);

    std::function<std::int64_t()> m_clock;
    QRect m_outer;
    QSize m_frameExtra{0, 0}; // what the frame adds to the client size
    QSize m_client;
    std::optional<QSize> m_requestedClient;
    bool m_settled = false;
    bool m_maximized = false;
    // The outer geometry before the latest run of reports, and when that run last changed it.
    QRect m_outerBeforeReports;
    std::optional<std::int64_t> m_reportedAt;
};

// Whether some screen shows enough of the title bar of a window with this
// outer rectangle for the user to grab it.
bool TitleBarOnSomeScreen(const QRect& outer, const QList<QRect>& screens);
