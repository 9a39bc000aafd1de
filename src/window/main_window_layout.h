#pragma once

// Sizes of the main window in twips.
inline constexpr int MinimumWindowWidth = 6510;
inline constexpr int MinimumHeightWithBar = 2040;
inline constexpr int MinimumHeightWithoutBar = 1680;
inline constexpr int ButtonBarHeight = 360; // the band the bar takes above the editor

// What the window's frame, title and menu bar take from its outer size. The
// defaults are a typical frame with a one-line menu bar; the window passes
// what they really take on this desktop, so the editor fills the client area.
struct NonClientTwips
{
    int horizontal = 135;
    int vertical = 705;
};

struct MainWindowGeometry
{
    int windowWidth = 0;
    int windowHeight = 0;
    bool windowResized = false; // the window must take the size above first
    int editorTop = 0;
    int editorWidth = 0;
    int editorHeight = 0;
};

// The resize rule for an outer window size: snaps the window to its minimum
// size, then places the editor below the button bar (or at the top when the
// bar is hidden) filling the rest.
MainWindowGeometry MainWindowGeometryFor(int windowWidth, int windowHeight, bool buttonBarShown,
                                    NonClientTwips nonClient = {});
