#include "window/window_placement.h"

#include <algorithm>

namespace {

// Enough of a title bar to grab with the mouse.
constexpr int GrabbableWidth = 40;
constexpr int GrabbableHeight = 10;
constexpr int TitleBarHeight = 20;

} // namespace

void WindowPlacement::place(const QRect& outer)
{
    m_outer = outer;
    m_requestedClient.reset();
    m_settled = false;
}

QSize WindowPlacement::resizeOuter(QSize outer)
{
    m_outer.setSize(outer);
    m_settled = false;
    m_requestedClient = (outer - m_frameExtra).expandedTo(QSize(1, 1));
    return *m_requestedClient;
}

std::optional<QSize> WindowPlacement::reported(const QRect& client, const QRect& frame)
{
    const QSize extra = frame.size() - client.size();
    const bool frameChanged = extra != m_frameExtra;
    m_frameExtra = extra;
    if (m_settled && !frameChanged) {
        m_outer = frame;
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

bool TitleBarOnSomeScreen(const QRect& outer, const QList<QRect>& screens)
{
    const QRect titleBar(outer.x(), outer.y(), std::max(outer.width(), 1), TitleBarHeight);
    const int neededWidth = std::min(GrabbableWidth, titleBar.width());
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect& screen) {
        const QRect shown = screen.intersected(titleBar);
        return shown.width() >= neededWidth && shown.height() >= GrabbableHeight;
    });
}
