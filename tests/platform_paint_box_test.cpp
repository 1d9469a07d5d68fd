#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <vector>

#include "platform/bitmap.h"
#include "platform/paint_box.h"

namespace {

constexpr TColor kPanel = RgbColor(0, 64, 128);

// A panel in the board's background colour with a paint box filling it, as
// the main window holds them.
class PaintBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel_.resize(40, 30);
        QPalette palette = panel_.palette();
        palette.setColor(QPalette::Window, QColor(0, 64, 128));
        panel_.setPalette(palette);
        panel_.setAutoFillBackground(true);
        box_ = new TPaintBox(&panel_);
        box_->setGeometry(0, 0, 40, 30);
        picture_.SetSize(10, 5);
        picture_.Canvas().Brush.Color = RgbColor(255, 0, 0);
        picture_.Canvas().FillRect(Rect(0, 0, 10, 5));
        panel_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel_));
    }

    // What the window system has been given for the panel, without any new
    // paint being asked for.
    QImage OnScreen() {
        return QGuiApplication::primaryScreen()->grabWindow(panel_.winId()).toImage();
    }

    static TColor At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

    QWidget panel_;
    TPaintBox* box_ = nullptr;
    TBitmap picture_;
};

TEST_F(PaintBoxTest, DrawOutsideAPaintEventIsOnScreenAtOnceWithoutCallingOnPaint) {
    int paints = 0;
    box_->OnPaint = [&] { ++paints; };
    box_->Canvas().Draw(5, 7, picture_);
    EXPECT_EQ(paints, 0);
    const QImage screen = OnScreen();
    EXPECT_EQ(At(screen, 5, 7), RgbColor(255, 0, 0));
    EXPECT_EQ(At(screen, 14, 11), RgbColor(255, 0, 0));
    EXPECT_EQ(At(screen, 15, 7), kPanel);  // the panel shows around the picture
    EXPECT_EQ(At(screen, 4, 7), kPanel);

    // A change of the bitmap after the draw does not reach the screen by itself.
    picture_.Canvas().Brush.Color = RgbColor(0, 255, 0);
    picture_.Canvas().FillRect(Rect(0, 0, 10, 5));
    box_->Canvas().Draw(0, 0, picture_);
    const QImage next = OnScreen();
    EXPECT_EQ(At(next, 0, 0), RgbColor(0, 255, 0));
    EXPECT_EQ(At(next, 12, 8), kPanel);  // the earlier picture is gone
}

TEST_F(PaintBoxTest, APaintEventRunsOnPaintWhichDrawsIntoIt) {
    int paints = 0;
    box_->OnPaint = [&] {
        ++paints;
        box_->Canvas().Draw(box_->Width() - 10, 0, picture_);
    };
    box_->repaint();
    EXPECT_EQ(paints, 1);
    const QImage screen = OnScreen();
    EXPECT_EQ(At(screen, 30, 0), RgbColor(255, 0, 0));
    EXPECT_EQ(At(screen, 29, 0), kPanel);
}

TEST_F(PaintBoxTest, MouseUpReportsButtonModifiersAndPosition) {
    struct Up {
        Qt::MouseButton button;
        Qt::KeyboardModifiers shift;
        int x;
        int y;
    };
    std::vector<Up> ups;
    box_->OnMouseUp = [&](Qt::MouseButton b, Qt::KeyboardModifiers s, int x, int y) {
        ups.push_back({b, s, x, y});
    };
    QTest::mouseClick(box_, Qt::LeftButton, Qt::NoModifier, QPoint(12, 3));
    QTest::mouseClick(box_, Qt::RightButton, Qt::ShiftModifier, QPoint(39, 29));
    QTest::mousePress(box_, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));  // no release
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups[0].button, Qt::LeftButton);
    EXPECT_EQ(ups[0].x, 12);
    EXPECT_EQ(ups[0].y, 3);
    EXPECT_EQ(ups[1].button, Qt::RightButton);
    EXPECT_EQ(ups[1].shift, Qt::ShiftModifier);
    EXPECT_EQ(ups[1].x, 39);
    EXPECT_EQ(ups[1].y, 29);
    QTest::mouseRelease(box_, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
}

}  // namespace
