#pragma once

class QWidget;

// Some window managers (openbox) offer minimize on every dialog, whatever it
// asks for; a modal box minimized would take the main window with it out of
// sight. The window is shown again at once instead.
void KeepFromMinimizing(QWidget& window);
