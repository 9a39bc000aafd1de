#include "window/main_window_layout.h"

#include <algorithm>

MainWindowGeometry MainWindowGeometryFor(int windowWidth, int windowHeight, bool buttonBarShown, NonClientTwips nonClient)
{
    MainWindowGeometry g;
    const int minimumHeight = buttonBarShown ? MinimumHeightWithBar : MinimumHeightWithoutBar;
    g.windowWidth = std::max(windowWidth, MinimumWindowWidth);
    g.windowHeight = std::max(windowHeight, minimumHeight);
    g.windowResized = g.windowWidth != windowWidth || g.windowHeight != windowHeight;
    g.editorTop = buttonBarShown ? ButtonBarHeight : 0;
    g.editorHeight = g.windowHeight - nonClient.vertical - g.editorTop;
    g.editorWidth = g.windowWidth - nonClient.horizontal;
    return g;
}
