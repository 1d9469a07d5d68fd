#include <gtest/gtest.h>

#include "engine/evaluate.h"
#include "engine/position.h"

TEST(Position, DropIntoCentreOfEmptyBoard) {
    TPosition p;
    ClearPosition(p);
    TotalMoves = 0;
    EXPECT_EQ(MakeMove(p, 3), 1);
    EXPECT_EQ(p.Stones[Red][3], 1);
    EXPECT_EQ(p.NextBit[3], 2);
    EXPECT_EQ(p.SideToMove, Blue);
    EXPECT_EQ(p.MoveCount, 1);
    EXPECT_EQ(TotalMoves, 1);
    EXPECT_TRUE(IsValidPosition(p));
}
