#include "platform/skin/skin_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>

#include "platform/skin/skin_theme.h"

namespace skin {
namespace {

// The caption's vertical shading: a thin dark rim, a bright glint just under it, then
// a deep blue that darkens slowly toward the menu bar.
QLinearGradient TitleGradient(int height) {
    QLinearGradient g(0, 0, 0, height);
    g.setColorAt(0.00, QColor(0, 58, 218));
    g.setColorAt(0.05, QColor(96, 156, 255));
    g.setColorAt(0.14, QColor(44, 122, 250));
    g.setColorAt(0.38, QColor(0, 90, 238));
    g.setColorAt(0.72, QColor(0, 82, 226));
    g.setColorAt(0.92, QColor(0, 70, 214));
    g.setColorAt(1.00, QColor(0, 50, 196));
    return g;
}

QPixmap DrawSection(TitleSection section) {
    const int w = section == TitleSection::Middle ? kTitleMiddleWidth : kTitleSectionWidth;
    const int h = kTitleBarHeight;
    QPixmap pm(w, h);
    pm.fill(kFrameBorder);
    QPainter p(&pm);
    p.fillRect(QRect(0, 0, w, h), TitleGradient(h));
    if (section == TitleSection::Middle) return pm;

    // The outer corner: the rim follows the rounded outline of the window, and a soft
    // highlight on the left edge (a shadow on the right) gives the bar some volume.
    const bool left = section == TitleSection::Left;
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = kRoundCorner / 2.0;
    QPainterPath rim;
    if (left) {
        rim.moveTo(0.5, h);
        rim.lineTo(0.5, r);
        rim.arcTo(QRectF(0.5, 0.5, kRoundCorner, kRoundCorner), 180, -90);
        rim.lineTo(w, 0.5);
    } else {
        rim.moveTo(0, 0.5);
        rim.lineTo(w - 0.5 - r, 0.5);
        rim.arcTo(QRectF(w - 0.5 - kRoundCorner, 0.5, kRoundCorner, kRoundCorner), 90, -90);
        rim.lineTo(w - 0.5, h);
    }
    p.setPen(QPen(QColor(0, 40, 190), 1.0));
    p.drawPath(rim);
    QLinearGradient side(left ? 0 : w, 0, left ? 8 : w - 8, 0);
    side.setColorAt(0, left ? QColor(255, 255, 255, 70) : QColor(0, 20, 120, 70));
    side.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(side);
    p.drawRect(left ? QRectF(1, r, 8, h - r) : QRectF(w - 9, r, 8, h - r));
    return pm;
}

struct ButtonColors {
    QColor light, dark, rim;
};

ButtonColors ColorsFor(TitleGlyph glyph, ButtonState state) {
    const bool close = glyph == TitleGlyph::Close;
    ButtonColors c = close ? ButtonColors{{238, 140, 110}, {200, 62, 28}, {255, 255, 255}}
                           : ButtonColors{{132, 176, 255}, {20, 82, 226}, {255, 255, 255}};
    if (state == ButtonState::Hover) {
        c.light = c.light.lighter(115);
        c.dark = c.dark.lighter(130);
    } else if (state == ButtonState::Pressed) {
        std::swap(c.light, c.dark);
        c.light = c.light.darker(115);
        c.dark = c.dark.darker(105);
        c.rim = QColor(220, 228, 255);
    }
    return c;
}

void DrawGlyph(QPainter& p, TitleGlyph glyph, bool pressed) {
    const int o = pressed ? 1 : 0;  // the glyph sinks by a pixel while pressed
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    switch (glyph) {
        case TitleGlyph::Minimize:
            p.drawRect(6 + o, 13 + o, 7, 3);
            break;
        case TitleGlyph::Maximize:
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(5 + o, 5 + o, 10, 10);
            p.fillRect(5 + o, 5 + o, 11, 3, Qt::white);
            break;
        case TitleGlyph::Restore:
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(8 + o, 4 + o, 8, 8);
            p.fillRect(8 + o, 4 + o, 9, 2, Qt::white);
            p.fillRect(4 + o, 8 + o, 9, 9, QColor(0, 0, 0, 0));
            p.drawRect(4 + o, 8 + o, 8, 8);
            p.fillRect(4 + o, 8 + o, 9, 2, Qt::white);
            break;
        case TitleGlyph::Close: {
            p.setRenderHint(QPainter::Antialiasing);
            QPen pen(Qt::white, 2.2, Qt::SolidLine, Qt::SquareCap);
            p.setPen(pen);
            p.drawLine(QPointF(6.5 + o, 6.5 + o), QPointF(14.5 + o, 14.5 + o));
            p.drawLine(QPointF(14.5 + o, 6.5 + o), QPointF(6.5 + o, 14.5 + o));
            break;
        }
        case TitleGlyph::ControlBox: {
            // A small window with a drop arrow: "this opens the window's menu".
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(4 + o, 5 + o, 9, 8);
            p.fillRect(4 + o, 5 + o, 10, 2, Qt::white);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            const QPoint tri[3] = {QPoint(11 + o, 14 + o), QPoint(18 + o, 14 + o),
                                   QPoint(14 + o + 1, 18 + o)};
            p.setRenderHint(QPainter::Antialiasing);
            p.drawPolygon(tri, 3);
            break;
        }
    }
}

QPixmap DrawButton(TitleGlyph glyph, ButtonState state) {
    const int s = kTitleButtonSize;
    QPixmap pm(s, s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const ButtonColors c = ColorsFor(glyph, state);

    QLinearGradient face(0, 0, s, s);
    face.setColorAt(0.0, c.light);
    face.setColorAt(0.45, c.dark.lighter(120));
    face.setColorAt(1.0, c.dark);
    const QRectF body(0.5, 0.5, s - 1, s - 1);
    p.setPen(QPen(c.rim, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(body, 3, 3);

    // A faint glass sheen across the upper half.
    QLinearGradient sheen(0, 1, 0, s / 2.0);
    sheen.setColorAt(0, QColor(255, 255, 255, state == ButtonState::Pressed ? 20 : 80));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRoundedRect(QRectF(2, 2, s - 4, s / 2.0 - 1), 2, 2);

    DrawGlyph(p, glyph, state == ButtonState::Pressed);
    return pm;
}

}  // namespace

// The pictures live in Qt's pixmap cache, which the application empties when it ends.
QPixmap TitleSectionPicture(TitleSection section) {
    const QString key = QStringLiteral("fourfall-title-%1").arg(static_cast<int>(section));
    QPixmap pm;
    if (!QPixmapCache::find(key, &pm)) {
        pm = DrawSection(section);
        QPixmapCache::insert(key, pm);
    }
    return pm;
}

QPixmap TitleButtonPicture(TitleGlyph glyph, ButtonState state) {
    const QString key = QStringLiteral("fourfall-button-%1-%2")
                            .arg(static_cast<int>(glyph))
                            .arg(static_cast<int>(state));
    QPixmap pm;
    if (!QPixmapCache::find(key, &pm)) {
        pm = DrawButton(glyph, state);
        QPixmapCache::insert(key, pm);
    }
    return pm;
}

}  // namespace skin
