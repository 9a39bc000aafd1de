#include "platform/accessible_windows.h"

#include <QAccessibleWidget>
#include <QWidget>

#include <utility>

namespace {

QAccessibleInterface* WindowOfItsOwn(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    // Popups (a combo box's list, say) are no windows to the user.
    if (className != QStringLiteral("QWidget") || !widget
        || (widget->windowType() != Qt::Window && widget->windowType() != Qt::Dialog))
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
