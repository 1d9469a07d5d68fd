#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "engine/search.h"
#include "engine_test_support.h"

using engine_test::FromCells;
using engine_test::FromColumns;
using engine_test::SameBytes;

namespace {

// A drawn game: 42 stones and no four anywhere.
constexpr const char* kDrawnGame = "442761225377252342545563474175371666631311";
// 41 stones without a four; Blue's stone into the last cell (column 5)
// completes one.
constexpr const char* kLastCellWins = "47372534712334171251112467556746646623523";

// The scripted first-move generator.
int gScriptValue = 0;
int gScriptCalls = 0;
int ScriptedRandom() {
    ++gScriptCalls;
    return gScriptValue;
}

class SearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitBitCount();
        savedRandom_ = FirstMoveRandom;
        FirstMoveRandom = &ScriptedRandom;
        gScriptCalls = 0;
    }
    void TearDown() override { FirstMoveRandom = savedRandom_; }

    // Runs a search as the computer's turn does and checks what it leaves,
    // then the searcher itself on the same position, which must give the
    // same answer, leave the position as it was and touch no process-wide
    // count.
    void ExpectSearch(TPosition position, int level, int score, int column, int total) {
        const TPosition start = position;
        TPosition expected = position;
        if (column >= 0) MakeMove(expected, column);
        TotalMoves = 0;
        EXPECT_EQ(SearchRoot(position, level), score) << "level " << level;
        const std::int32_t counted = TotalMoves;
        if (total >= 0) {
            EXPECT_EQ(counted, total) << "level " << level;
        }
        EXPECT_TRUE(SameBytes(position, expected))
            << "level " << level << ": not the position after a stone in column " << column;

        const TPosition unchanged = start;
        const SearchResult result = Searcher(&ScriptedRandom).Search(unchanged, level);
        EXPECT_EQ(result.column, column) << "level " << level;
        EXPECT_EQ(result.score, score) << "level " << level;
        EXPECT_EQ(result.moves, counted) << "level " << level;
        EXPECT_EQ(TotalMoves, counted) << "level " << level;
        EXPECT_TRUE(SameBytes(unchanged, start)) << "level " << level;
    }

  private:
    RandomSource savedRandom_ = nullptr;
};

struct Worked {
    int level, score, column, total;  // total -1: not checked
};

}  // namespace

TEST_F(SearchTest, TakesTheLowestOfTwoImmediateWinsAtEveryLevel) {
    const TPosition p = FromCells({{1, 0}, {2, 0}, {3, 0}}, {{1, 1}, {2, 1}, {3, 1}});
    for (int level = 1; level <= 10; ++level) ExpectSearch(p, level, WinScore, 0, 1);
}

TEST_F(SearchTest, EveryMoveLosesAtOnceSoTheLowestColumnIsPlayed) {
    const TPosition p = FromCells({{2, 1}, {3, 1}, {4, 1}}, {{2, 0}, {3, 0}, {4, 0}});
    const Worked rows[] = {{1, 4, 3, 8},        {2, -29999, 0, 26},  {3, -29999, 0, 82},
                           {4, -29999, 0, 251}, {5, -29999, 0, 821}, {6, -29999, 0, -1},
                           {10, -29999, 0, -1}};
    for (const Worked& w : rows) ExpectSearch(p, w.level, w.score, w.column, w.total);
}

TEST_F(SearchTest, FindsTheThreeOpenAtBothEnds) {
    const TPosition p = FromCells({{2, 0}, {3, 0}}, {{2, 1}, {3, 1}});
    const Worked rows[] = {{1, 11, 4, 8},      {2, 0, 1, 37},     {3, 29998, 1, 85},
                           {4, 29998, 1, 208}, {5, 29998, 1, -1}, {7, 29998, 1, -1},
                           {10, 29998, 1, -1}};
    for (const Worked& w : rows) ExpectSearch(p, w.level, w.score, w.column, w.total);
    // The same position written as moves.
    ExpectSearch(FromColumns("3344"), 3, 29998, 1, 85);
}

TEST_F(SearchTest, OneStoneEachInTheCentreColumn) {
    const TPosition p = FromCells({{3, 0}}, {{3, 1}});
    ExpectSearch(p, 1, 4, 3, 8);
    ExpectSearch(p, 2, 0, 3, 42);
}

TEST_F(SearchTest, LevelBelowOneSearchesLikeLevelOne) {
    const TPosition p = FromCells({{2, 0}, {3, 0}}, {{2, 1}, {3, 1}});
    ExpectSearch(p, 0, 11, 4, 8);
    ExpectSearch(p, -3, 11, 4, 8);
}

TEST_F(SearchTest, FirstMoveIsRandomWithinTheLevelsRange) {
    struct Range {
        int fromLevel, toLevel;
        std::set<int> columns;
    } ranges[] = {{-1, 3, {0, 1, 2, 3, 4, 5, 6}}, {4, 6, {1, 2, 3, 4, 5}}, {7, 10, {2, 3, 4}}};
    for (const char* opening : {"", "1", "4", "7"}) {
        for (const Range& range : ranges) {
            for (int level = range.fromLevel; level <= range.toLevel; ++level) {
                std::set<int> seen;
                for (int value :
                     {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 34, RAND_MAX, INT_MAX}) {
                    gScriptValue = value;
                    gScriptCalls = 0;
                    TPosition p = FromColumns(opening);
                    const TPosition before = p;
                    TotalMoves = 0;
                    EXPECT_EQ(SearchRoot(p, level), 0);
                    EXPECT_EQ(TotalMoves, 1);
                    EXPECT_EQ(gScriptCalls, 1);
                    EXPECT_EQ(p.MoveCount, before.MoveCount + 1);
                    int column = -1;
                    for (int c = 0; c < kColumns; ++c)
                        if (p.NextBit[c] != before.NextBit[c]) column = c;
                    ASSERT_GE(column, 0);
                    TPosition expected = before;
                    MakeMove(expected, column);
                    EXPECT_TRUE(SameBytes(p, expected));
                    seen.insert(column);
                }
                EXPECT_EQ(seen, range.columns)
                    << "level " << level << " opening '" << opening << "'";
            }
        }
    }
}

TEST_F(SearchTest, NegativeRandomNumberStillGivesAColumnInRange) {
    gScriptValue = -1;
    for (int level : {1, 5, 10}) {
        TPosition p = FromColumns("");
        EXPECT_EQ(SearchRoot(p, level), 0);
        EXPECT_EQ(p.MoveCount, 1) << "level " << level;
    }
}

TEST_F(SearchTest, SecondStoneIsStillRandomButThirdIsSearched) {
    gScriptValue = 0;
    TPosition p = FromColumns("44");
    TotalMoves = 0;
    SearchRoot(p, 1);
    EXPECT_EQ(gScriptCalls, 0);
    EXPECT_EQ(TotalMoves, 8);
}

TEST_F(SearchTest, FullBoardIsLeftAloneWithScoreZero) {
    const TPosition full = FromColumns(kDrawnGame);
    ASSERT_EQ(full.MoveCount, 42);
    ASSERT_EQ(HasFour(full, Red) | HasFour(full, Blue), 0);
    for (int level : {1, 2, 5, 10}) ExpectSearch(full, level, 0, -1, 0);
}

TEST_F(SearchTest, LastEmptyCell) {
    // Blue fills the last cell without making four: a drawn line scores 0.
    const std::string drawn(kDrawnGame);
    const TPosition quiet = FromColumns(drawn.substr(0, 41));
    const int quietColumn = drawn[41] - '1';
    ExpectSearch(quiet, 2, 0, quietColumn, 2);
    ExpectSearch(quiet, 10, 0, quietColumn, 2);

    // Blue's stone into the last cell completes four.
    const TPosition winning = FromColumns(kLastCellWins);
    ASSERT_EQ(HasFour(winning, Red) | HasFour(winning, Blue), 0);
    for (int level : {1, 2, 10}) ExpectSearch(winning, level, WinScore, 4, 1);
}

TEST(SearcherEntry, DrawsItsFirstMoveFromItsOwnSourceOnce) {
    // A stateful source: the opening columns of a scripted game.
    struct Script {
        int values[2];
        int calls = 0;
        int operator()() { return values[calls++ % 2]; }
    } script{{4, 2}};
    Searcher searcher(script);
    const RandomSource global = FirstMoveRandom;
    TotalMoves = 0;
    TPosition p = FromColumns("");
    const SearchResult first = searcher.Search(p, 1);
    EXPECT_EQ(first.column, 4);
    EXPECT_EQ(first.score, 0);
    EXPECT_EQ(first.moves, 1);
    MakeMove(p, first.column);
    EXPECT_EQ(searcher.Search(p, 1).column, 2);
    MakeMove(p, 2);
    // From the third stone on the move is searched and nothing is drawn.
    EXPECT_EQ(searcher.Search(p, 1).moves, 8);
    EXPECT_EQ(script.calls, 2);
    EXPECT_EQ(FirstMoveRandom, global);
    EXPECT_EQ(TotalMoves, 2);  // the two MakeMove calls above, nothing from the searcher
}

TEST(MateAdjust, MovesTheScoreTowardZeroByThePly) {
    EXPECT_EQ(MateAdjust(WinScore, 1), 29999);
    EXPECT_EQ(MateAdjust(WinScore, 9), 29991);
    EXPECT_EQ(MateAdjust(-WinScore, 3), -29997);
    EXPECT_EQ(MateAdjust(0, 2), 2);
}
