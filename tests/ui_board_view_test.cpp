// The board picture on bitmaps: tile sizes, the composed board pixel by pixel
// with solid test tiles, and the four that blinks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/evaluate.h"
#include "engine/position.h"
#include "ui/board_geometry.h"
#include "ui/board_view.h"

namespace {

// One colour per image, so every pixel of the board tells which tile put it there.
constexpr TColor kHole = RgbColor(10, 20, 30);
constexpr TColor kRed = RgbColor(200, 0, 0);
constexpr TColor kBlue = RgbColor(0, 0, 200);
constexpr TColor kLeft = RgbColor(1, 100, 1);
constexpr TColor kRight = RgbColor(2, 110, 2);
constexpr TColor kBottom = RgbColor(3, 120, 3);
constexpr TColor kRightCorner = RgbColor(4, 130, 4);
constexpr TColor kLeftCorner = RgbColor(5, 140, 5);

void Solid(TBitmap& image, TColor colour) {
    image.SetSize(3, 2);
    image.Canvas().Brush.Color = colour;
    image.Canvas().FillRect(Rect(0, 0, 3, 2));
}

// The 17 bitmaps with solid test images, scaled for a paint box.
struct TestBoard {
    TBoardBitmaps bitmaps;

    TestBoard(int pbW, int pbH) {
        CreateBoardBitmaps(bitmaps);
        Solid(*bitmaps.imgBoard, kHole);
        Solid(*bitmaps.imgRedStone, kRed);
        Solid(*bitmaps.imgBlueStone, kBlue);
        Solid(*bitmaps.imgBorderL, kLeft);
        Solid(*bitmaps.imgBorderR, kRight);
        Solid(*bitmaps.imgBorderB, kBottom);
        Solid(*bitmaps.imgBorderRB, kRightCorner);
        Solid(*bitmaps.imgBorderLB, kLeftCorner);
        ScaleTiles(bitmaps, pbW, pbH);
    }
};

// A position with stones of both colours and empty cells spread so that
// neighbouring cells differ; legality does not matter to the painter.
TPosition Mixed() {
    TPosition p;
    ClearPosition(p);
    for (int column = 0; column < kColumns; ++column) {
        for (int row = 0; row < kRows; ++row) {
            const int kind = (column + 2 * row) % 3;
            if (kind == 1)
                p.Stones[Blue][column] =
                    static_cast<std::uint8_t>(p.Stones[Blue][column] | 1u << row);
            if (kind == 2)
                p.Stones[Red][column] =
                    static_cast<std::uint8_t>(p.Stones[Red][column] | 1u << row);
        }
    }
    return p;
}

// A plain picture painted from a list of rectangles, the expected board.
struct Picture {
    int width, height;
    std::vector<TColor> pixels;

    Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), clWhite) {}
    void Paint(int x, int y, int w, int h, TColor colour) {
        for (int yy = std::max(y, 0); yy < std::min(y + h, height); ++yy)
            for (int xx = std::max(x, 0); xx < std::min(x + w, width); ++xx)
                pixels[static_cast<std::size_t>(yy * width + xx)] = colour;
    }
    TColor At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Where the tiles go, written out from the worked tables rather than computed.
struct Layout {
    int pbW, pbH;
    int W, H, T, B;
    int sideStep, sideCount, xR;
    int bottomStep, bottomCount, yB;
    int rightCornerX, cornerY;
    std::vector<int> cellX, cellY;
};

const Layout kLayouts[] = {
    {461,
     519,
     414,
     343,
     57,
     12,
     12,
     29,
     401,
     12,
     35,
     333,
     402,
     330,
     {12, 67, 123, 179, 234, 290, 346},
     {278, 222, 167, 111, 55, 0}},
    {445,
     400,
     400,
     331,
     55,
     12,
     12,
     28,
     388,
     12,
     34,
     322,
     389,
     319,
     {11, 65, 119, 173, 227, 281, 335},
     {270, 216, 162, 108, 54, 0}},
};

TEST(ComposeBoard, WorkedBoardsMatchPixelByPixel) {
    const TPosition position = Mixed();
    for (const Layout& l : kLayouts) {
        SCOPED_TRACE("paint box " + std::to_string(l.pbW) + " x " + std::to_string(l.pbH));
        TestBoard board(l.pbW, l.pbH);
        ComposeBoard(board.bitmaps, position);
        const TBitmap& bmp = *board.bitmaps.bmpBoard;
        ASSERT_EQ(bmp.Width(), l.W);
        ASSERT_EQ(bmp.Height(), l.H);

        Picture expected(l.W, l.H);
        for (int i = 0; i < l.sideCount; ++i) {
            expected.Paint(0, i * l.sideStep, l.B, l.B, kLeft);
            expected.Paint(l.xR, i * l.sideStep, l.B + 1, l.B, kRight);
        }
        for (int i = 0; i < l.bottomCount; ++i)
            expected.Paint(i * l.bottomStep, l.yB, l.B, l.B, kBottom);
        expected.Paint(l.rightCornerX, l.cornerY, l.B, l.B, kRightCorner);
        expected.Paint(0, l.cornerY, l.B, l.B, kLeftCorner);
        for (int column = 0; column < 7; ++column) {
            for (int row = 0; row < 6; ++row) {
                const int bit = 1 << row;
                const TColor colour = (position.Stones[Blue][column] & bit)  ? kBlue
                                      : (position.Stones[Red][column] & bit) ? kRed
                                                                             : kHole;
                expected.Paint(l.cellX[static_cast<std::size_t>(column)],
                               l.cellY[static_cast<std::size_t>(row)], l.T, l.T, colour);
            }
        }

        int wrong = 0;
        for (int y = 0; y < l.H; ++y) {
            for (int x = 0; x < l.W; ++x) {
                // The tiles cover the whole board: nothing is left white.
                EXPECT_NE(expected.At(x, y), clWhite) << "(" << x << ", " << y << ")";
                if (bmp.Pixel(x, y) != expected.At(x, y) && ++wrong <= 5) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << bmp.Pixel(x, y) << ", expected " << expected.At(x, y);
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(ComposeBoard, BlueIsTestedBeforeRedAndOddKindsDrawNothing) {
    TestBoard board(461, 519);
    TPosition p;
    ClearPosition(p);
    p.Stones[Red][0] = 1;
    p.Stones[Blue][0] = 1;  // both bits set: the Blue tile wins
    p.Stones[Red][1] = 1;
    ComposeBoard(board.bitmaps, p);
    const TBitmap& bmp = *board.bitmaps.bmpBoard;
    // Bottom cells at (12, 278) and (67, 278); look inside, away from overlaps.
    EXPECT_EQ(bmp.Pixel(30, 300), kBlue);
    EXPECT_EQ(bmp.Pixel(90, 300), kRed);
    EXPECT_EQ(bmp.Pixel(150, 300), kHole);

    DrawCell(board.bitmaps, 2, 0, 3);
    DrawCell(board.bitmaps, 2, 0, -1);
    EXPECT_EQ(bmp.Pixel(150, 300), kHole);
    DrawCell(board.bitmaps, 2, 0, kRedTile);
    EXPECT_EQ(bmp.Pixel(150, 300), kRed);
}

struct TileSizes {
    int pbW, pbH;
    int W, H, T, B;
};

TEST(ScaleTiles, TileSizesForTheWorkedPaintBoxes) {
    const TileSizes rows[] = {
        {461, 519, 414, 343, 57, 12}, {445, 400, 400, 331, 55, 12},
        {700, 500, 524, 435, 72, 15},  // wider than 7:6, fitted by its height
        {130, 200, 117, 96, 17, 3},    // m = 100 gives 96, not 97
        {0, 0, 0, 0, 2, 0},
    };
    for (const TileSizes& r : rows) {
        SCOPED_TRACE("paint box " + std::to_string(r.pbW) + " x " + std::to_string(r.pbH));
        TestBoard board(r.pbW, r.pbH);
        const TBoardBitmaps& b = board.bitmaps;
        EXPECT_EQ(b.bmpBoard->Width(), r.W);
        EXPECT_EQ(b.bmpBoard->Height(), r.H);
        for (const TBitmap* cell : {b.bmpHole.get(), b.bmpRedStone.get(), b.bmpBlueStone.get()}) {
            EXPECT_EQ(cell->Width(), r.T);
            EXPECT_EQ(cell->Height(), r.T);
        }
        for (const TBitmap* tile :
             {b.bmpBorderL.get(), b.bmpBorderB.get(), b.bmpBorderRB.get(), b.bmpBorderLB.get()}) {
            EXPECT_EQ(tile->Width(), r.B);
            EXPECT_EQ(tile->Height(), r.B);
        }
        // One pixel wider than the others; a bitmap without height keeps no
        // width, so the empty board's right tile is empty too.
        EXPECT_EQ(b.bmpBorderR->Width(), r.B + 1);
        EXPECT_EQ(b.bmpBorderR->Height(), r.B);
        EXPECT_EQ(b.bmpRedStone->Pixel(r.T - 1, r.T - 1), kRed);
    }
}

TEST(ScaleTiles, AMissingImageLeavesAWhiteTile) {
    TBoardBitmaps b;
    CreateBoardBitmaps(b);
    ScaleTiles(b, 461, 519);
    EXPECT_EQ(b.bmpHole->Pixel(0, 0), clWhite);
    EXPECT_EQ(b.bmpBorderR->Pixel(12, 11), clWhite);
}

TEST(ComposeBoard, TinyAndEmptyBoardsFinish) {
    // Below 34 pixels the border steps do not advance; composing must still end.
    for (const int size : {0, 1, 23, 37, 40}) {
        TestBoard board(size, size);
        ComposeBoard(board.bitmaps, Mixed());
    }
    TBoardBitmaps never_scaled;
    CreateBoardBitmaps(never_scaled);
    ComposeBoard(never_scaled, Mixed());
    EXPECT_EQ(never_scaled.bmpBoard->Width(), 0);
}

// --- The four that blinks ---------------------------------------------------

TPosition Stones(const std::vector<std::pair<int, int>>& red,
                 const std::vector<std::pair<int, int>>& blue = {}) {
    TPosition p;
    ClearPosition(p);
    for (const auto& [column, row] : red)
        p.Stones[Red][column] = static_cast<std::uint8_t>(p.Stones[Red][column] | 1u << row);
    for (const auto& [column, row] : blue)
        p.Stones[Blue][column] = static_cast<std::uint8_t>(p.Stones[Blue][column] | 1u << row);
    return p;
}

constexpr TCellCode Cell(int column, int row) { return column * 256 + row; }

struct LineCase {
    std::string name;
    TPosition position;
    std::array<TCellCode, 4> line;
};

TEST(WinningLine, PicksTheLastFourOfTheScan) {
    const std::array<TCellCode, 4> none = {kNoCell, kNoCell, kNoCell, kNoCell};
    const LineCase cases[] = {
        {"horizontal in row 0",
         Stones({{2, 0}, {3, 0}, {4, 0}, {5, 0}}, {{2, 1}, {3, 1}}),
         {Cell(2, 0), Cell(3, 0), Cell(4, 0), Cell(5, 0)}},
        {"five in a row: the later start wins",
         Stones({{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}),
         {Cell(2, 2), Cell(3, 2), Cell(4, 2), Cell(5, 2)}},
        {"row and rising diagonal through (3, 0): the diagonal starts further right",
         Stones({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 2}, {6, 3}}),
         {Cell(3, 0), Cell(4, 1), Cell(5, 2), Cell(6, 3)}},
        {"falling diagonal found from its lowest cell",
         Stones({{3, 0}, {2, 1}, {1, 2}, {0, 3}}),
         {Cell(3, 0), Cell(2, 1), Cell(1, 2), Cell(0, 3)}},
        {"vertical at the top of the right column",
         Stones({}, {{6, 2}, {6, 3}, {6, 4}, {6, 5}}),
         {Cell(6, 2), Cell(6, 3), Cell(6, 4), Cell(6, 5)}},
        {"same start: up-left replaces up-right",
         Stones({{3, 0}, {4, 1}, {5, 2}, {6, 3}, {2, 1}, {1, 2}, {0, 3}}),
         {Cell(3, 0), Cell(2, 1), Cell(1, 2), Cell(0, 3)}},
        {"three and a stone of the other colour", Stones({{0, 0}, {1, 0}, {2, 0}}, {{3, 0}}), none},
        {"empty board", Stones({}), none},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(WinningLine(c.position), c.line) << c.name;
    }
}

}  // namespace
