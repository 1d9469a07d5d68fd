// Where the tiles of the composed board go, for the worked board sizes.
#include <gtest/gtest.h>

#include <vector>

#include "ui/board_geometry.h"

namespace {

struct Placement {
    int W, H;
    std::vector<int> cellX;  // columns 0..6
    std::vector<int> cellY;  // rows 0..5
    int rightBorderX, bottomBorderY, rightCornerX, cornerY;
};

class BoardPlacementTest : public ::testing::TestWithParam<Placement> {};

TEST_P(BoardPlacementTest, TilesLandOnTheWorkedPixels) {
    const Placement& p = GetParam();
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(CellLeft(p.W, column), p.cellX[static_cast<std::size_t>(column)])
            << "column " << column;
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(CellTop(p.W, row), p.cellY[static_cast<std::size_t>(row)]) << "row " << row;
    EXPECT_EQ(RightBorderLeft(p.W), p.rightBorderX);
    EXPECT_EQ(BottomBorderTop(p.W), p.bottomBorderY);
    EXPECT_EQ(RightCornerLeft(p.W), p.rightCornerX);
    EXPECT_EQ(CornerTop(p.W, p.H), p.cornerY);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedBoards, BoardPlacementTest,
    ::testing::Values(Placement{414,
                                343,
                                {12, 67, 123, 179, 234, 290, 346},
                                {278, 222, 167, 111, 55, 0},
                                401,
                                333,
                                402,
                                330},
                      // B0 = 11 here, one less than the 12-pixel border tiles.
                      Placement{400,
                                331,
                                {11, 65, 119, 173, 227, 281, 335},
                                {270, 216, 162, 108, 54, 0},
                                388,
                                322,
                                389,
                                319},
                      Placement{0, 0, {0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, 0, 0, 1, 0}),
    [](const ::testing::TestParamInfo<Placement>& test) {
        return "Board" + std::to_string(test.param.W) + "x" + std::to_string(test.param.H);
    });

TEST(BoardPlacementTest, BorderTilesStepByTheWholeBorderWidth) {
    // 414 wide: b = 12.42, so the fractions never add up to a 13-pixel step
    // within the board: side tiles at 0, 12, ... 336 (29 of them), bottom
    // tiles at 0, 12, ... 408 (35).
    std::vector<int> side;
    for (int y = 0; y < 343; y = NextBorderTile(y, 414)) side.push_back(y);
    ASSERT_EQ(side.size(), 29u);
    EXPECT_EQ(side.back(), 336);
    std::vector<int> bottom;
    for (int x = 0; x < 414; x = NextBorderTile(x, 414)) bottom.push_back(x);
    ASSERT_EQ(bottom.size(), 35u);
    EXPECT_EQ(bottom.back(), 408);
    // Below 34 pixels a step does not advance; callers must stop there.
    EXPECT_EQ(NextBorderTile(5, 33), 5);
}

TEST(BoardPlacementTest, OffsetHalvesTheSpareRoomTowardZero) {
    EXPECT_EQ(BoardOffset(461, 414), 23);
    EXPECT_EQ(BoardOffset(519, 343), 88);
    EXPECT_EQ(BoardOffset(445, 400), 22);
    EXPECT_EQ(BoardOffset(400, 331), 34);
    EXPECT_EQ(BoardOffset(0, 0), 0);
}

}  // namespace
