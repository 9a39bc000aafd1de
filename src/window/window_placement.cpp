#include "window/window_placement.h"

#include <algorithm>
#include <utility>

namespace {

// Enough of a title bar to grab with the mouse.
constexpr int GrabbableWidth = 40;
constexpr int GrabbableHeight = 10;
constexpr int TitleBarHeight = 20;

// Reports this close together belong to one change of the window manager's.
constexpr std::int64_t OneChangeMilliseconds = 500;

} // namespace

WindowPlacement::WindowPlacement(std::function<std::int64_t()> clock)
    : m_clock(std::move(clock))
{
}

void WindowPlacement::place(const QRect& outer)
{
    m_outer = outer;
    m_requestedClient.reset();
    m_settled = false;
    m_reportedAt.reset();
}

QSize WindowPlacement::resizeOuter(QSize outer)
{
    m_outer.setSize(outer);
    m_settled = false;
    m_reportedAt.reset();
    m_requestedClient = (outer - m_frameExtra).expandedTo(QSize(1, 1));
    return *m_requestedClient;
}

std::optional<QSize> WindowPlacement::reported(const QRect& client, const QRect& frame)
{
    if (m_maximized)
        return std::nullopt;
    const QSize extra = frame.size() - client.size();
    // A frame that changes with the client's size is the window manager
    // resizing the window (maximizing it, before it says so), not a new frame.
    const bool newFrame = extra != m_frameExtra && client.size() == m_client;
    m_frameExtra = extra;
    m_client = client.size();
    if (m_settled && !newFrame) {
        takeReported(frame);
        return std::nullopt;
    }
    const QSize wanted = (m_outer.size() - extra).expandedTo(QSize(1, 1));
    if (client.size() == wanted) {
        m_settled = true;
        return std::nullopt;
    }
    m_settled = false;
    // A report of an older size while the wanted one is on its way asks for nothing again.
    if (m_requestedClient == wanted)
        return std::nullopt;
    m_requestedClient = wanted;
    return wanted;
}

// A move alone (the user dragging the window) starts no run that a maximize
// would undo; a window manager maximizing changes the size.
void WindowPlacement::takeReported(const QRect& frame)
{
    if (frame == m_outer)
        return;
    const std::int64_t now = m_clock();
    const bool runOver = !m_reportedAt || now - *m_reportedAt > OneChangeMilliseconds;
    if (runOver && frame.size() == m_outer.size()) {
        m_outer = frame;
        return;
    }
    if (runOver)
        m_outerBeforeReports = m_outer;
    m_reportedAt = now;
    m_outer = frame;
}

void WindowPlacement::setMaximized(bool maximized)
{
    if (maximized == m_maximized)
        return;
    m_maximized = maximized;
    if (maximized && m_reportedAt && m_clock() - *m_reportedAt <= OneChangeMilliseconds)
        m_outer = m_outerBeforeReports;
    m_reportedAt.reset();
    if (!maximized) {
        m_settled = false;
        m_requestedClient.reset();
    }
}

bool TitleBarOnSomeScreen(const QRect& outer, const QList<QRect>& screens)
{
    const QRect titleBar(outer.x(), outer.y(), std::max(outer.width(), 1), TitleBarHeight);
    const int neededWidth = std::min(GrabbableWidth, titleBar.width());
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect& screen) {
        const QRect shown = screen.intersected(titleBar);
        return shown.width() >= neededWidth && shown.height() >= GrabbableHeight;
    });
}
