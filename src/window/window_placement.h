#pragma once

#include <QList>
#include <QRect>

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
class WindowPlacement
{
public:
    // A new outer rectangle in pixels; the window is not yet settled on it.
    void place(const QRect& outer);

    // The program changes the outer size (the resize rule). Returns the
    // client size to ask the window system for.
    QSize resizeOuter(QSize outer);

    // The window system reports the window's client and frame rectangles.
    // Returns a client size to ask for when the frame changed the outer size
    // the window must keep.
    std::optional<QSize> reported(const QRect& client, const QRect& frame);

    // The window manager did not give the size asked for in good time: what
    // is reported from now on is taken as the user's doing.
    void settle() { m_settled = true; }

    bool settled() const { return m_settled; }
    QRect outer() const { return m_outer; }

private:
    QRect m_outer;
    QSize m_frameExtra{0, 0}; // what the frame adds to the client size
    std::optional<QSize> m_requestedClient;
    bool m_settled = false;
};

// Whether some screen shows enough of the title bar of a window with this
// outer rectangle for the user to grab it.
bool TitleBarOnSomeScreen(const QRect& outer, const QList<QRect>& screens);
