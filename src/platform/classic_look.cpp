#include "platform/classic_look.h"

#include <QFontMetrics>
#include <QMenuBar>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

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
    grey.setColor(QPalette::Active, QPalette::WindowText, Qt::black);
    grey.setColor(QPalette::Inactive, QPalette::WindowText, Qt::black);
    grey.setColor(QPalette::Disabled, QPalette::WindowText, QColor(112, 112, 112));
    widget.setPalette(grey);
}

void ApplyClassicGrey(QMenuBar& bar)
{
    ApplyClassicGrey(static_cast<QWidget&>(bar));
    QPalette grey = bar.palette();
    grey.setColor(QPalette::Active, QPalette::ButtonText, Qt::black);
    grey.setColor(QPalette::Inactive, QPalette::ButtonText, Qt::black);
    grey.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(112, 112, 112));
    bar.setPalette(grey);
}

namespace {

double RelativeLuminance(const QColor& colour)
{
    const auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

} // namespace

double ContrastRatio(const QColor& one, const QColor& other)
{
    const double first = RelativeLuminance(one);
    const double second = RelativeLuminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor ReadableTextOn(const QColor& background)
{
    return ContrastRatio(background, Qt::black) >= ContrastRatio(background, Qt::white) ? QColor(Qt::black) : QColor(Qt::white);
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
