#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <memory>

#include "platform/skin/skin_theme.h"
#include "platform/skin/sui_controls.h"
#include "platform/skin/sui_main_menu.h"

namespace {

TEST(SkinFonts, PointSizesBecomePixelsAt96Dpi) {
    EXPECT_EQ(skin::PixelsForPoints(8), 11);
    EXPECT_EQ(skin::PixelsForPoints(10), 13);
    EXPECT_EQ(skin::WindowFont().pixelSize(), 11);
    EXPECT_TRUE(skin::TitleFont().bold());
    // The stand-in families must really be installed, or the layout's text runs long.
    EXPECT_EQ(QFontInfo(skin::WindowFont()).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(skin::TitleFont()).family(), "DejaVu Sans Condensed");
}

TEST(SkinMemo, LinesBehaveLikeAListOfStrings) {
    struct Row {
        std::vector<QString> added;
        QStringList expected;
    } rows[] = {
        {{}, {}},
        {{""}, {""}},
        {{"", "Let the games begin!"}, {"", "Let the games begin!"}},
        {{"", "", ""}, {"", "", ""}},
        {{"one", "", "three"}, {"one", "", "three"}},
    };
    TsuiMemo memo;
    EXPECT_TRUE(memo.isReadOnly());
    for (const Row& r : rows) {
        memo.Clear();
        for (const QString& line : r.added) memo.AddLine(line);
        EXPECT_EQ(memo.Lines(), r.expected) << r.added.size() << " lines added";
        EXPECT_EQ(memo.document()->blockCount(), std::max<qsizetype>(1, r.expected.size()));
    }
}

TEST(SkinComboBox, IsAFixedHeightListTheUserCannotTypeInto) {
    TsuiComboBox box;
    box.addItems({"Red", "Blue"});
    EXPECT_FALSE(box.isEditable());
    EXPECT_EQ(box.lineEdit(), nullptr);
    EXPECT_EQ(box.view()->sizeHintForRow(0), 16);
    EXPECT_EQ(box.style()->styleHint(QStyle::SH_ComboBox_Popup, nullptr, &box), 0);
    EXPECT_EQ(box.BorderColor(), QColor(104, 104, 104));
    EXPECT_EQ(box.ArrowColor(), QColor(0, 0, 0));
    EXPECT_EQ(box.ButtonColor(), QColor(239, 235, 222));
}

// At fractional scale factors a widget's edges fall between device pixels; the
// box keeps its border on all four sides, painted as the window does it, at an
// offset that is not a whole number of device pixels.
TEST(SkinComboBox, KeepsAllFourBorderLinesAtFractionalScales) {
    TsuiComboBox box;
    box.addItems({"Red", "Blue"});
    box.resize(89, 22);
    const QColor border(104, 104, 104);
    for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(scale);
        // One pixel in from the corner, so that its edges fall between device pixels.
        QImage image(int(std::ceil((box.width() + 2) * scale)),
                     int(std::ceil((box.height() + 2) * scale)), QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::yellow);
        {
            QPainter p(&image);
            p.setClipRect(QRect(1, 1, box.width(), box.height()));
            box.render(&p, QPoint(1, 1));
        }
        const auto hasBorder = [&](int x0, int x1, int y0, int y1) {
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    if (image.pixelColor(x, y) == border) return true;
            return false;
        };
        const int left = int(std::floor(scale)),
                  right = int(std::ceil((box.width() + 1) * scale)) - 1;
        const int top = int(std::floor(scale)),
                  bottom = int(std::ceil((box.height() + 1) * scale)) - 1;
        const int midY = image.height() / 2, midX = image.width() / 3;
        EXPECT_TRUE(hasBorder(left - 1, left + 1, midY, midY)) << "left";
        EXPECT_TRUE(hasBorder(right - 1, right, midY, midY)) << "right";
        EXPECT_TRUE(hasBorder(midX, midX, top - 1, top + 1)) << "top";
        EXPECT_TRUE(hasBorder(midX, midX, bottom - 1, bottom)) << "bottom";
    }
}

TEST(SkinGroupBox, PassesItsTextColourToTheLabelsInside) {
    TsuiGroupBox box("Think Output");
    auto* label = new QLabel("Level:", &box);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(2, 70, 207));
    EXPECT_EQ(box.BorderColor(), QColor(104, 104, 104));
}

TEST(SkinButton, PaintsTheCaptionOnAnXpFace) {
    TsuiButton button("New Game");
    button.resize(75, 25);
    const QImage image = button.grab().toImage();
    EXPECT_EQ(image.pixelColor(37, 0), QColor(0, 60, 116));  // the dark border
    bool dark = false;                                       // some caption pixels
    for (int x = 10; x < 65 && !dark; ++x) dark = image.pixelColor(x, 12).lightness() < 80;
    EXPECT_TRUE(dark);
}

struct MenuFixture : ::testing::Test {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    TsuiMainMenu* bar = new TsuiMainMenu(window.get());
    QMenu* file = bar->AddMenu("&File");
    QAction* open = TsuiMainMenu::AddItem(file, "&Open");
    QAction* separator = file->addSeparator();
    int exits = 0;
    QAction* exit = TsuiMainMenu::AddItem(file, "E&xit", [this] { ++exits; });

    MenuFixture() { file->setDefaultAction(exit); }
};

TEST_F(MenuFixture, ItemsSeparatorsAndBarHaveTheirHeights) {
    EXPECT_EQ(bar->height(), 22);
    file->popup(QPoint(0, 0));
    QApplication::processEvents();
    EXPECT_EQ(file->actionGeometry(open).height(), 21);
    EXPECT_EQ(file->actionGeometry(exit).height(), 21);
    EXPECT_EQ(file->actionGeometry(separator).height(), 5);
    file->hide();
    exit->trigger();
    EXPECT_EQ(exits, 1);
}

TEST_F(MenuFixture, PopupIsPaintedInTheMenuColours) {
    file->popup(QPoint(0, 0));
    file->setActiveAction(open);
    QApplication::processEvents();
    const QImage image = file->grab().toImage();
    const QRect openRect = file->actionGeometry(open);
    const QRect exitRect = file->actionGeometry(exit);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 0));  // the popup's border
    // The unselected item: the grey band on the left, white under the text.
    EXPECT_EQ(image.pixelColor(exitRect.left() + 5, exitRect.center().y()), QColor(214, 211, 206));
    EXPECT_EQ(image.pixelColor(exitRect.right() - 3, exitRect.center().y()), QColor(255, 255, 255));
    // The selected item is boxed in blue across the band.
    EXPECT_EQ(image.pixelColor(openRect.left(), openRect.center().y()), QColor(49, 105, 198));
    EXPECT_EQ(image.pixelColor(openRect.left() + 5, openRect.center().y()), QColor(198, 211, 239));
    file->hide();
}

}  // namespace
