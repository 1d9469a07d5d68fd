#include <gtest/gtest.h>

#include "engine/position.h"
#include "engine_test_support.h"

using engine_test::FromColumns;
using engine_test::SameBytes;

TEST(Position, EmptyBoardIsValidAndRedMovesFirst) {
    TPosition p;
    ClearPosition(p);
    EXPECT_TRUE(IsValidPosition(p));
    EXPECT_EQ(p.SideToMove, Red);
    EXPECT_EQ(p.MoveCount, 0);
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(p.Stones[Red][c], 0);
        EXPECT_EQ(p.Stones[Blue][c], 0);
        EXPECT_EQ(p.NextBit[c], 1);
    }
}

TEST(Position, DropIntoCentreOfEmptyBoard) {
    TPosition p;
    ClearPosition(p);
    TotalMoves = 5;
    EXPECT_EQ(MakeMove(p, 3), 1);
    EXPECT_EQ(p.Stones[Red][3], 1);
    EXPECT_EQ(p.Stones[Blue][3], 0);
    EXPECT_EQ(p.NextBit[3], 2);
    EXPECT_EQ(p.SideToMove, Blue);
    EXPECT_EQ(p.MoveCount, 1);
    EXPECT_EQ(TotalMoves, 6);
    EXPECT_TRUE(IsValidPosition(p));
}

TEST(Position, ColumnFillsAlternatelyAndRefusesSeventhStone) {
    for (int c = 0; c < kColumns; ++c) {
        TPosition p;
        ClearPosition(p);
        TotalMoves = 0;
        for (int i = 0; i < kRows; ++i) ASSERT_EQ(MakeMove(p, c), 1);
        EXPECT_EQ(p.Stones[Red][c], 21);
        EXPECT_EQ(p.Stones[Blue][c], 42);
        EXPECT_EQ(p.NextBit[c], 64);
        EXPECT_EQ(p.SideToMove, Red);
        EXPECT_EQ(p.MoveCount, 6);
        EXPECT_EQ(TotalMoves, 6);

        const TPosition full = p;
        EXPECT_EQ(MakeMove(p, c), 0);
        EXPECT_TRUE(SameBytes(p, full)) << "column " << c;
        EXPECT_EQ(TotalMoves, 6);
    }
}

TEST(Position, ColumnOutsideTheBoardIsRefused) {
    TPosition p = FromColumns("4453");
    const TPosition before = p;
    TotalMoves = 0;
    for (int column : {-1, 7, 8, 100, -1000}) {
        EXPECT_EQ(MakeMove(p, column), 0) << column;
        EXPECT_TRUE(SameBytes(p, before)) << column;
    }
    EXPECT_EQ(TotalMoves, 0);
}

TEST(Position, FullBoardAfterFortyTwoDrops) {
    TPosition p;
    ClearPosition(p);
    TotalMoves = 0;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r) ASSERT_EQ(MakeMove(p, c), 1);
    for (int c = 0; c < kColumns; ++c) EXPECT_EQ(p.NextBit[c], 64);
    EXPECT_EQ(p.MoveCount, 42);
    EXPECT_EQ(p.SideToMove, Red);
    EXPECT_EQ(TotalMoves, 42);
    EXPECT_TRUE(IsValidPosition(p));
    for (int c = 0; c < kColumns; ++c) EXPECT_EQ(MakeMove(p, c), 0);
    EXPECT_EQ(TotalMoves, 42);
}

TEST(Position, CopyRestoresAllBytesAfterMoves) {
    TPosition p = FromColumns("4453");
    const TPosition saved = p;
    MakeMove(p, 0);
    MakeMove(p, 6);
    MakeMove(p, 3);
    EXPECT_FALSE(SameBytes(p, saved));
    p = saved;
    EXPECT_TRUE(SameBytes(p, saved));
}

TEST(Position, BitCountCountsStonesOfAColumnMask) {
    InitBitCount();
    struct Row {
        int mask, count;
    } rows[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {21, 3}, {42, 3}, {32, 1}, {62, 5}, {63, 6}};
    for (const Row& r : rows) EXPECT_EQ(BitCount[r.mask], r.count) << "mask " << r.mask;
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(BitCount[i], __builtin_popcount(static_cast<unsigned>(i))) << "mask " << i;
}

TEST(Position, ValidityCheckCatchesEachBrokenInvariant) {
    const TPosition good = FromColumns("4453");
    ASSERT_TRUE(IsValidPosition(good));
    struct Breakage {
        const char* what;
        void (*apply)(TPosition&);
    } cases[] = {
        {"shared cell", [](TPosition& p) { p.Stones[Blue][3] |= 1; }},
        {"gap in a column", [](TPosition& p) { p.Stones[Red][0] = 2; }},
        {"NextBit not a power of two", [](TPosition& p) { p.NextBit[6] = 3; }},
        {"NextBit beyond a full column", [](TPosition& p) { p.NextBit[6] = 128; }},
        {"MoveCount off", [](TPosition& p) { ++p.MoveCount; }},
        {"wrong side to move", [](TPosition& p) { p.SideToMove ^= 1; }},
        {"side to move out of range", [](TPosition& p) { p.SideToMove = 2; }},
    };
    for (const Breakage& b : cases) {
        TPosition p = good;
        b.apply(p);
        EXPECT_FALSE(IsValidPosition(p)) << b.what;
    }
}
