#include "platform/twips.h"

#include <QWidget>

#include <cmath>

Twips Twips::forWidget(const QWidget& widget)
{
    const int dpi = widget.logicalDpiY();
    return Twips(dpi > 0 ? dpi : 96.0);
}

int Twips::toPixels(int twips) const { return static_cast<int>(std::lround(twips / m_perPixel)); }

int Twips::fromPixels(int pixels) const { return static_cast<int>(std::lround(pixels * m_perPixel)); }

QRect Twips::toPixels(int left, int top, int width, int height) const
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}
