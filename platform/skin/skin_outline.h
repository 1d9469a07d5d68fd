#pragma once
// One-pixel outlines that survive fractional scale factors.
//
// At a scale such as 1.5 or 1.75 a widget's edges fall between device pixels. A
// one-pixel pen on the widget's last column is then drawn half outside the part of
// the screen that belongs to the widget, and the line vanishes. Filling strips one
// pixel wide inside the rectangle instead always covers at least one whole device
// pixel within it, so the outline stays at every scale.

#include <QColor>
#include <QPainter>
#include <QRect>

namespace skin {

// The outline of `r`, one device-independent pixel wide, inside `r`.
inline void DrawOutline(QPainter& p, const QRect& r, const QColor& color) {
    if (r.isEmpty()) return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

// A vertical line one device-independent pixel wide in column `x`, rows top..bottom.
inline void DrawVerticalLine(QPainter& p, int x, int top, int bottom, const QColor& color) {
    p.fillRect(QRect(x, top, 1, bottom - top + 1), color);
}

}  // namespace skin
