#pragma once

#include <QRect>
#include <QtMath>

// Window geometry is designed in twips (1/1440 inch). At 96 dpi fifteen twips make one
// logical pixel; Qt's high-DPI scaling takes care of everything above that.
constexpr int twips(int value) { return (value * 2 + 15) / 30; }

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// A rectangle designed in twips (left, top, width, height).
inline QRect twipsRect(const QRect &design)
{
    return twipsRect(design.x(), design.y(), design.width(), design.height());
}
