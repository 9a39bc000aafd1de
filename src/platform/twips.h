#pragma once

#include <QRect>


class QWidget;

// Twips: 1440 per inch at the screen's logical DPI (15 per pixel at 96 DPI).
class Twips
{
public:
    explicit Twips(double logicalDpi = 96.0)
        : m_perPixel(1440.0 / logicalDpi)
    {
    }

    static Twips forWidget(const QWidget& widget);

    int toPixels(int twips) const;
    int fromPixels(int pixels) const;
    QRect toPixels(int left, int top, int width, int height) const;
    double perPixel() const { return m_perPixel; }

private:
    double m_perPixel;
};
