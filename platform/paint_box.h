// A widget that only paints and forwards input, for a picture the program
// composes itself.
//
// The paint box paints no background: around what is drawn on it, its parent
// shows through. Its canvas can draw a bitmap at any time, also outside a
// paint event, and the picture is on screen when Draw returns:
//   - inside OnPaint, Draw paints straight into the current paint event;
//   - outside, Draw keeps the picture and repaints the widget synchronously
//     with just that picture, without calling OnPaint (which might compose a
//     different one).
// The last picture drawn is kept and is what a paint event shows when there
// is no OnPaint handler.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

class QPainter;
class TBitmap;

class TPaintBox : public QWidget {
    Q_OBJECT

  public:
    explicit TPaintBox(QWidget* parent = nullptr);

    // Called for every paint event; it draws through Canvas().
    std::function<void()> OnPaint;
    // Called when a mouse button is released after being pressed on the
    // widget; x and y are in the widget's pixels.
    std::function<void(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)>
        OnMouseUp;

    class TScreenCanvas {
      public:
        // Shows `bitmap` with its top-left corner at (x, y), at its own size.
        void Draw(int x, int y, const TBitmap& bitmap);

      private:
        friend class TPaintBox;
        explicit TScreenCanvas(TPaintBox& owner) : owner_(owner) {}
        TPaintBox& owner_;
    };

    TScreenCanvas& Canvas() { return canvas_; }
    int Width() const { return width(); }
    int Height() const { return height(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Show(const QImage& picture, QPoint at);

    TScreenCanvas canvas_;
    QImage picture_;
    QPoint pictureAt_;
    QPainter* painter_ = nullptr;  // set while a paint event runs
    bool showingPicture_ = false;  // a repaint for Draw, not a full paint
};
