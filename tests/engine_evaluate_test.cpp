#include <gtest/gtest.h>

#include <vector>

#include "engine/evaluate.h"
#include "engine_test_support.h"

using engine_test::Bit;
using engine_test::Cell;
using engine_test::FromCells;

namespace {

// Every line of four on the board, found by walking each direction from
// each cell.
std::vector<std::vector<Cell>> AllLinesOfFour() {
    const int directions[4][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}};
    std::vector<std::vector<Cell>> lines;
    for (const auto& d : directions) {
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                std::vector<Cell> line;
                for (int k = 0; k < 4; ++k) {
                    const int cc = c + d[0] * k, rr = r + d[1] * k;
                    if (cc < 0 || cc >= kColumns || rr < 0 || rr >= kRows) break;
                    line.push_back({cc, rr});
                }
                if (line.size() == 4) lines.push_back(line);
            }
        }
    }
    return lines;
}

// Only the masks of `player` are set; the win test and the evaluation do
// not look at NextBit, so the stones need not rest on anything.
TPosition StonesOnly(int player, const std::vector<Cell>& cells) {
    TPosition p;
    ClearPosition(p);
    for (const auto& [c, r] : cells) p.Stones[player][c] = Bit(p.Stones[player][c], r);
    return p;
}

}  // namespace

TEST(HasFour, EveryLineOfFourIsFoundForItsOwnerOnly) {
    const auto lines = AllLinesOfFour();
    ASSERT_EQ(lines.size(), 69u);
    for (int owner : {Red, Blue}) {
        for (const auto& line : lines) {
            const TPosition p = StonesOnly(owner, line);
            EXPECT_EQ(HasFour(p, owner), 1)
                << "line from (" << line[0].first << "," << line[0].second << ") owner " << owner;
            EXPECT_EQ(HasFour(p, owner ^ 1), 0);
        }
    }
}

TEST(HasFour, NoThreeCellsOfALineAreFour) {
    for (const auto& line : AllLinesOfFour()) {
        for (int skip = 0; skip < 4; ++skip) {
            std::vector<Cell> three = line;
            three.erase(three.begin() + skip);
            EXPECT_EQ(HasFour(StonesOnly(Red, three), Red), 0)
                << "line from (" << line[0].first << "," << line[0].second << ") without " << skip;
        }
    }
}

TEST(Evaluate, WorkedPositions) {
    InitBitCount();
    struct Row {
        const char* what;
        TPosition position;
        int red, blue;
    } rows[] = {
        {"empty board", FromCells({}, {}), 0, 0},
        {"Red in column 0", FromCells({{0, 0}}, {}), 1, 0},
        {"Red in column 3", FromCells({{3, 0}}, {}), 4, 0},
        {"Red 3, Blue 6", FromCells({{3, 0}}, {{6, 0}}), 4, 1},
        {"horizontal three", FromCells({{2, 0}, {3, 0}, {4, 0}}, {{0, 0}, {6, 0}}), 18, 2},
        {"horizontal three blocked at both ends",
         FromCells({{2, 0}, {3, 0}, {4, 0}, {0, 0}}, {{1, 0}, {5, 0}, {6, 0}}), 19, 5},
        {"two horizontal threes in one window count once",
         FromCells({{2, 0}, {3, 0}, {4, 0}, {2, 2}, {3, 2}, {4, 2}}, {{2, 1}, {3, 1}, {4, 1}}), 28,
         18},
        {"rising three", FromCells({{0, 0}, {1, 1}, {2, 2}}, {{1, 0}, {2, 0}, {2, 1}}), 16, 8},
        {"falling three", FromCells({{0, 2}, {1, 1}, {2, 0}}, {{0, 0}, {0, 1}, {1, 0}}), 16, 4},
        {"vertical four: two overlapping threes",
         FromCells({{0, 0}, {0, 1}, {0, 2}, {0, 3}}, {{6, 0}, {6, 1}, {6, 2}}), 12, 7},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(Evaluate(r.position, Red), r.red) << r.what;
        EXPECT_EQ(Evaluate(r.position, Blue), r.blue) << r.what;
    }
}

TEST(Evaluate, WholeBoardOfOnePlayerScoresTheMaximum) {
    InitBitCount();
    TPosition p;
    ClearPosition(p);
    for (int c = 0; c < kColumns; ++c) p.Stones[Blue][c] = 63;
    EXPECT_EQ(Evaluate(p, Blue), 348);
    EXPECT_EQ(Evaluate(p, Red), 0);
}

TEST(ScoreMove, SeenFromThePlayerWhoJustMoved) {
    InitBitCount();
    TPosition p = FromCells({}, {});
    MakeMove(p, 3);
    EXPECT_EQ(ScoreMove(p), 4);
    MakeMove(p, 0);
    EXPECT_EQ(ScoreMove(p), 1 - 4);

    p = FromCells({{2, 0}, {3, 0}}, {{2, 1}, {3, 1}});
    MakeMove(p, 4);
    EXPECT_EQ(ScoreMove(p), 18 - 7);
}

TEST(ScoreMove, FourOfTheMoverWinsWhateverTheEvaluation) {
    InitBitCount();
    // Blue's four in column 0 is worth less than Red's stones in the centre.
    TPosition p =
        FromCells({{2, 0}, {3, 0}, {4, 0}, {3, 1}, {4, 1}}, {{0, 0}, {0, 1}, {0, 2}, {6, 0}});
    ASSERT_EQ(p.SideToMove, Blue);
    ASSERT_EQ(HasFour(p, Red), 0);
    MakeMove(p, 0);
    ASSERT_LT(Evaluate(p, Blue), Evaluate(p, Red));
    EXPECT_EQ(ScoreMove(p), WinScore);
}

TEST(ScoreMove, OnlyTheMoverIsTestedForFour) {
    InitBitCount();
    // Red (to move) already has four; ScoreMove judges Blue's last move only.
    const TPosition p =
        FromCells({{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {{0, 1}, {1, 1}, {2, 1}, {6, 0}});
    ASSERT_EQ(p.SideToMove, Red);
    EXPECT_EQ(ScoreMove(p), Evaluate(p, Blue) - Evaluate(p, Red));
}
