#include "subsystems/tools/window_search.h"

#include "platform/platform.h"

namespace {

// Titles are compared as far as a 256-character buffer holds them.
constexpr qsizetype TitleLength = 255;

} // namespace

bool FindAndActivateWindow(Platform& platform, const QString& searchName)
{
    const QString name = searchName.toUpper();
    if (name.isEmpty())
        return false;
    for (const DesktopWindow& window : platform.desktopWindows()) {
        if (window.owned || window.ours)
            continue;
        if (window.title.left(TitleLength).toUpper().startsWith(name)) {
            platform.activateWindow(window.id);
            return true;
        }
    }
    return false;
}
