#include "platform/paint_box.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/bitmap.h"

TPaintBox::TPaintBox(QWidget* parent) : QWidget(parent), canvas_(*this) {}

void TPaintBox::TScreenCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    owner_.Show(bitmap.Image(), QPoint(x, y));
}

void TPaintBox::Show(const QImage& picture, QPoint at) {
    picture_ = picture;  // shared, not copied, until the bitmap changes
    pictureAt_ = at;
    if (painter_ != nullptr) {
        if (!picture_.isNull()) painter_->drawImage(pictureAt_, picture_);
        return;
    }
    showingPicture_ = true;
    repaint();
    showingPicture_ = false;
}

void TPaintBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (showingPicture_ || !OnPaint) {
        if (!picture_.isNull()) painter.drawImage(pictureAt_, picture_);
        return;
    }
    painter_ = &painter;
    struct Reset {
        QPainter*& p;
        ~Reset() { p = nullptr; }
    } reset{painter_};
    OnPaint();
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (!OnMouseUp) return;
    const QPoint at = event->position().toPoint();
    OnMouseUp(event->button(), event->modifiers(), at.x(), at.y());
}
