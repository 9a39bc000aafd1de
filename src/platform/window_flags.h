#pragma once

#include <Qt>

// A dialog with a title and a close button only. Linux window managers draw
// the close button on every window anyway; asking for it keeps them from
// offering minimize or maximize, and the dialog closes as its own way of
// closing does.
inline constexpr Qt::WindowFlags CloseOnlyDialogFlags
    = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
