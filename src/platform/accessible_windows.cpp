#include "platform/accessible_windows.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <utility>

namespace {

QAccessibleInterface* WindowOfItsOwn(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (className != QStringLiteral("QWidget") || !widget || !widget->isWindow())
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void AnnounceOwnWindowsAsWindows()
{
    static bool installed = false;
    if (!std::exchange(installed, true))
        QAccessible::installFactory(WindowOfItsOwn);
}
