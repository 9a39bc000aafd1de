#include "subsystems/tools/window_search.h"

#include "platform/platform.h"

namespace {

// Titles are compared as far as a 256-character buffer holds them.
constexpr qsizetype TitleLength = 255;

} // namespace

bool IsSearchedWindow(const DesktopWindow& window, const QString& searchName)
{
    if (searchName.isEmpty() || window.owned || window.ours)
        return false;
    return window.title.left(TitleLength).toUpper().startsWith(searchName.toUpper());
}

quint64 FindAndActivateWindow(Platform& platform, const QString& searchName,
                              const std::function<bool(const DesktopWindow&)>& accept)
{
    for (const DesktopWindow& window : platform.desktopWindows()) {
        if (IsSearchedWindow(window, searchName) && (!accept || accept(window))) {
            platform.activateWindow(window.id);
            return window.id;
        }
    }
    return 0;
}
