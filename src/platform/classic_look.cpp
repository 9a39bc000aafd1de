#include "platform/classic_look.h"

#include <QPalette>
#include <QWidget>

QFont ClassicFont(double points)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QFont ArialBoldFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void ApplyClassicGrey(QWidget& widget)
{
    QPalette grey = widget.palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    widget.setPalette(grey);
}
