#include "platform/x11_desktop.h"

struct X11Desktop::Connection
{
};

X11Desktop::X11Desktop() = default;
X11Desktop::~X11Desktop() = default;

bool X11Desktop::available() const { return false; }

QList<DesktopWindow> X11Desktop::windows() { return {}; }

bool X11Desktop::activate(quint64) { return false; }

bool X11Desktop::typeText(const QString&) { return false; }
