#include "platform/classic_look.h"

#include <QFontMetrics>
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

void FitCaptionToWidth(QWidget& control, const QString& caption)
{
    constexpr double SmallestPoints = 6.0;
    QFont font = control.font();
    // What the control adds around its caption: an indicator, spacing, margins.
    const int around = control.sizeHint().width() - QFontMetrics(font).horizontalAdvance(caption);
    while (font.pointSizeF() > SmallestPoints
           && QFontMetrics(font).horizontalAdvance(caption) + around > control.width())
        font.setPointSizeF(font.pointSizeF() - 0.25);
    control.setFont(font);
}
