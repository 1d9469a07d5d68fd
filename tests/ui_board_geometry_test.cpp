// Board geometry and the column hit test, checked against worked values and
// against a reference that forms every product exactly (in __float128, whose
// 113-bit mantissa holds a 64-bit integer times a double without rounding)
// and rounds it once.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/board_geometry.h"

namespace {

using Quad = __float128;

struct Reference {
    float b, c, c0;
    int H, T, B, B0;
};

Reference ReferenceFor(int W) {
    Reference r;
    const Quad seventh = Quad(1.0 / 7.0);
    r.b = static_cast<float>(Quad(W) * Quad(0.03));
    r.c = static_cast<float>((Quad(W) - 2 * Quad(r.b)) * seventh);
    r.T = static_cast<int>(static_cast<float>((Quad(W) - 2 * Quad(r.b)) * seventh + 2));
    r.B = static_cast<int>(r.b);
    r.B0 = static_cast<int>(Quad(W) * Quad(0.03));
    r.c0 = static_cast<float>((Quad(W) - 2 * Quad(r.B0)) * seventh);
    const int m = W * 6 / 7;
    r.H = static_cast<int>(Quad(m) * Quad(0.97));
    return r;
}

TEST(BoardGeometryTest, WorkedPaintBoxes) {
    struct Row {
        int pbW, pbH;
        TBoardGeometry expected;
    };
    const Row rows[] = {
        {461, 519, {414, 343, 12.42f, 55.594284f, 57, 12}},
        {445, 400, {400, 331, 12.0f, 53.714287f, 55, 12}},
        {700, 500, {524, 435, 15.72f, 70.365715f, 72, 15}},  // fitted by height: F = 583
        {0, 0, {0, 0, 0.0f, 0.0f, 2, 0}},
        {-5, -5, {0, 0, 0.0f, 0.0f, 2, 0}},
    };
    for (const Row& row : rows) {
        const TBoardGeometry g = BoardGeometryFor(row.pbW, row.pbH);
        SCOPED_TRACE(::testing::Message() << row.pbW << " x " << row.pbH);
        EXPECT_EQ(g.W, row.expected.W);
        EXPECT_EQ(g.H, row.expected.H);
        EXPECT_EQ(g.b, row.expected.b);
        EXPECT_EQ(g.c, row.expected.c);
        EXPECT_EQ(g.T, row.expected.T);
        EXPECT_EQ(g.B, row.expected.B);
    }
    EXPECT_EQ(WholeBorder(414), 12);
    EXPECT_EQ(WholeCellPitch(414), 55.714287f);
    EXPECT_EQ(WholeBorder(400), 11);
    EXPECT_EQ(WholeCellPitch(400), 54.0f);
}

TEST(BoardGeometryTest, ConstantsJustBelowTheirDecimalValueCostAPixel) {
    EXPECT_EQ(BoardBitmapHeight(117), 96);  // m = 100: 0.97 lies just below 0.97
    EXPECT_EQ(WholeBorder(300), 8);         // 300 x 0.03 lies just below 9
    EXPECT_EQ(BorderTileSize(300), 9);      // but b rounds to 9.0f
    // A quotient halfway between two floats rounds down, because 1/7 as a
    // double lies below 1/7; a product formed only in double gives the upper.
    EXPECT_EQ(CellPitch(296), 39.748569f);
    EXPECT_NE(CellPitch(296), 39.748573f);
}

TEST(BoardGeometryTest, ClosedFormsHoldUpTo2700Pixels) {
    for (int W = 0; W <= 2700; ++W) {
        const int m = W * 6 / 7;
        ASSERT_EQ(BoardBitmapHeight(W), m == 0 ? 0 : (97 * m - 1) / 100) << W;
        ASSERT_EQ(CellTileSize(W), 47 * W / 350 + 2) << W;
        ASSERT_EQ(BorderTileSize(W), 3 * W / 100) << W;
        ASSERT_EQ(WholeBorder(W), W == 0 ? 0 : (3 * W - 1) / 100) << W;
    }
    for (int F = 0; F <= 3000; ++F) {
        ASSERT_EQ(BoardBitmapWidth(F, 100000), 9 * F / 10) << F;
    }
    // Wider than 7:6: the height decides.
    EXPECT_EQ(BoardBitmapWidth(10000, 600), 9 * (600 * 7 / 6) / 10);
}

TEST(BoardGeometryTest, MatchesExactReferenceForEveryWidth) {
    for (int W = 0; W <= 20000; ++W) {
        const Reference r = ReferenceFor(W);
        ASSERT_EQ(BorderWidth(W), r.b) << W;
        ASSERT_EQ(CellPitch(W), r.c) << W;
        ASSERT_EQ(CellTileSize(W), r.T) << W;
        ASSERT_EQ(BorderTileSize(W), r.B) << W;
        ASSERT_EQ(WholeBorder(W), r.B0) << W;
        ASSERT_EQ(WholeCellPitch(W), r.c0) << W;
        ASSERT_EQ(BoardBitmapHeight(W), r.H) << W;
    }
}

// The smallest X of columns 1 to 6 for a paint box and board width.
struct HitCase {
    int paint_box, board;
    int first_x[6];
};

TEST(ColumnAtTest, BoundariesOfWorkedBoards) {
    const HitCase cases[] = {
        {461, 414, {92, 147, 203, 258, 314, 369}},
        {445, 400, {88, 142, 196, 249, 303, 357}},
        {329, 296, {65, 105, 145, 184, 224, 264}},
        // L + c is exactly 89 here: a release on the boundary belongs to the
        // column on its right (with L not rounded to float it would not).
        {460, 420, {89, 146, 202, 259, 315, 372}},
    };
    for (const HitCase& h : cases) {
        SCOPED_TRACE(::testing::Message() << h.paint_box << " / " << h.board);
        for (int k = 1; k <= 6; ++k) {
            EXPECT_EQ(ColumnAt(h.first_x[k - 1], h.paint_box, h.board), k);
            EXPECT_EQ(ColumnAt(h.first_x[k - 1] - 1, h.paint_box, h.board), k - 1);
        }
        EXPECT_EQ(ColumnAt(-1000000, h.paint_box, h.board), 0);
        EXPECT_EQ(ColumnAt(0, h.paint_box, h.board), 0);
        EXPECT_EQ(ColumnAt(h.paint_box, h.paint_box, h.board), 6);
        EXPECT_EQ(ColumnAt(1000000, h.paint_box, h.board), 6);
    }
}

TEST(ColumnAtTest, MatchesExactReferenceOverManyBoards) {
    std::vector<int> widths;
    for (int W = 0; W <= 800; ++W) widths.push_back(W);
    for (int W = 801; W <= 2700; W += 7) widths.push_back(W);
    for (const int W : widths) {
        const Reference r = ReferenceFor(W);
        for (const int extra : {0, 1, 46, 47, -1, -31}) {
            const int P = W + extra;
            const int offs = (P - W) / 2;
            const float L = static_cast<float>(Quad(offs) + Quad(r.b));
            Quad boundary[7];
            for (int k = 1; k <= 6; ++k) boundary[k] = Quad(L) + k * Quad(r.c);
            for (int X = offs - 2; X <= offs + W + 2; ++X) {
                int expected = 0;
                for (int k = 1; k <= 6; ++k) expected += Quad(X) >= boundary[k];
                ASSERT_EQ(ColumnAt(X, P, W), expected) << "X " << X << " P " << P << " W " << W;
            }
        }
    }
}

TEST(ColumnAtTest, ExtremeWidthsStayInRange) {
    for (const int P : {INT32_MIN, -1, 0, INT32_MAX}) {
        for (const int W : {INT32_MIN, -1, 0, 414, INT32_MAX}) {
            for (const int X : {INT32_MIN, 0, INT32_MAX}) {
                const int column = ColumnAt(X, P, W);
                EXPECT_GE(column, 0);
                EXPECT_LE(column, 6);
            }
        }
    }
}

}  // namespace
