// The engine against a deliberately plain second implementation of the same
// rules: cell-by-cell win test and evaluation, and the search written step
// by step with a saved copy per node. The two must agree exactly on every
// score, every column, every byte of the position left behind and every
// counted move, because the game shows the count to the player.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/search.h"
#include "engine_test_support.h"

using engine_test::SameBytes;

namespace ref {

int Total = 0;
unsigned char Bits[64];

void InitBits() {
    for (int i = 0; i < 64; ++i) {
        Bits[i] = 0;
        for (int j = 0; j < 6; ++j)
            if (i & (1 << j)) Bits[i] = Bits[i] + 1;
    }
}

int Drop(TPosition& p, int column) {
    const int b = p.NextBit[column];
    if (b == 64) return 0;
    p.Stones[p.SideToMove][column] = static_cast<std::uint8_t>(p.Stones[p.SideToMove][column] | b);
    p.NextBit[column] = static_cast<std::uint8_t>(b << 1);
    p.SideToMove = p.SideToMove == 0 ? 1 : 0;
    p.MoveCount = static_cast<std::uint8_t>(p.MoveCount + 1);
    Total = Total + 1;
    return 1;
}

bool Cell(const TPosition& p, int player, int c, int r) {
    if (c < 0 || c > 6 || r < 0 || r > 5) return false;
    return ((p.Stones[player][c] >> r) & 1) != 0;
}

int Four(const TPosition& p, int player) {
    const int dc[4] = {0, 1, 1, 1};
    const int dr[4] = {1, 0, 1, -1};
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r < 6; ++r)
            for (int d = 0; d < 4; ++d) {
                bool all = true;
                for (int k = 0; k < 4; ++k)
                    if (!Cell(p, player, c + dc[d] * k, r + dr[d] * k)) all = false;
                if (all) return 1;
            }
    return 0;
}

int Eval(const TPosition& p, int player) {
    const int weight[7] = {1, 2, 3, 4, 3, 2, 1};
    int score = 0;
    for (int c = 0; c < 7; ++c) score += Bits[p.Stones[player][c]] * weight[c];
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r <= 3; ++r)
            if (Cell(p, player, c, r) && Cell(p, player, c, r + 1) && Cell(p, player, c, r + 2))
                score += 4;
    for (int c = 0; c <= 4; ++c) {
        bool horizontal = false, rising = false, falling = false;
        for (int r = 0; r <= 5; ++r) {
            if (Cell(p, player, c, r) && Cell(p, player, c + 1, r) && Cell(p, player, c + 2, r))
                horizontal = true;
            if (Cell(p, player, c, r) && Cell(p, player, c + 1, r + 1) &&
                Cell(p, player, c + 2, r + 2))
                rising = true;
            if (Cell(p, player, c, r) && Cell(p, player, c + 1, r - 1) &&
                Cell(p, player, c + 2, r - 2))
                falling = true;
        }
        if (horizontal) score += 8;
        if (rising) score += 10;
        if (falling) score += 10;
    }
    return score;
}

int Score(const TPosition& p) {
    const int mover = p.SideToMove == 0 ? 1 : 0;
    if (Four(p, mover) == 1) return 30000;
    return Eval(p, mover) - Eval(p, p.SideToMove);
}

int Search(TPosition& p, int alpha, int beta, int depth, int ply) {
    const TPosition saved = p;
    int legal = 0;
    for (int c = 0; c <= 6; ++c) {
        if (Drop(p, c) == 0) continue;
        legal = legal + 1;
        int s = Score(p);
        if (s == 30000) {
            p = saved;
            return 30000 - ply;
        }
        if (depth > 1) s = -Search(p, -beta, -alpha, depth - 1, ply + 1);
        p = saved;
        if (s > alpha) {
            alpha = s;
            if (s >= beta) return s;
        }
    }
    if (legal == 0) return 0;
    return alpha;
}

int Root(TPosition& p, int level, int (*random)()) {
    const TPosition saved = p;
    int best = -32000;
    int bestColumn = -1;
    int legal = 0;
    if (p.MoveCount < 2) {
        int column;
        if (level <= 3)
            column = random() % 7;
        else if (level <= 6)
            column = random() % 5 + 1;
        else
            column = random() % 3 + 2;
        Drop(p, column);
        return 0;
    }
    for (int c = 0; c <= 6; ++c) {
        if (Drop(p, c) == 0) continue;
        legal = legal + 1;
        int s = Score(p);
        if (s == 30000) return 30000;
        if (level > 1) s = -Search(p, -32000, -best, level - 1, 1);
        if (s > best) {
            best = s;
            bestColumn = c;
        }
        p = saved;
    }
    if (legal == 0) return 0;
    Drop(p, bestColumn);
    return best;
}

}  // namespace ref

namespace {

// The same short sequence of generator values for both implementations.
std::uint32_t gRandomState = 0;
int ScriptedRandom() {
    gRandomState = gRandomState * 1103515245u + 12345u;
    return static_cast<int>((gRandomState >> 1) & 0x7FFFFFFF);
}

// A position reached by random legal moves, `length` stones at most, in
// which no four stands: a playout stops before a move that would make one.
TPosition RandomPosition(std::mt19937& rng, int length) {
    TPosition p;
    ClearPosition(p);
    const std::int32_t total = TotalMoves;
    while (p.MoveCount < length) {
        int open[kColumns], count = 0;
        for (int c = 0; c < kColumns; ++c)
            if (p.NextBit[c] != kFullColumn) open[count++] = c;
        TPosition next = p;
        MakeMove(next, open[rng() % static_cast<unsigned>(count)]);
        if (HasFour(next, p.SideToMove)) break;
        p = next;
    }
    TotalMoves = total;
    return p;
}

// Debug builds assert alpha < beta at every node.
#ifdef NDEBUG
constexpr bool kWindowUnchecked = true;
#else
constexpr bool kWindowUnchecked = false;
#endif

class ReferenceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitBitCount();
        ref::InitBits();
    }
};

}  // namespace

TEST_F(ReferenceTest, WinTestAndEvaluationAgreeOnArbitraryMasks) {
    std::mt19937 rng(7);
    for (int sample = 0; sample < 20000; ++sample) {
        TPosition p;
        ClearPosition(p);
        // Dense boards make fours and threes likely; sparse ones test the
        // edges of the board and the column boundaries of the bit layout.
        const unsigned density = static_cast<unsigned>(sample % 4);
        for (int player : {Red, Blue})
            for (int c = 0; c < kColumns; ++c) {
                unsigned mask = static_cast<unsigned>(rng() & 63);
                for (unsigned d = 0; d < density; ++d) mask &= static_cast<unsigned>(rng());
                p.Stones[player][c] = static_cast<std::uint8_t>(mask & 63);
            }
        for (int player : {Red, Blue}) {
            ASSERT_EQ(HasFour(p, player), ref::Four(p, player)) << "sample " << sample;
            ASSERT_EQ(Evaluate(p, player), ref::Eval(p, player)) << "sample " << sample;
        }
        for (int side : {Red, Blue}) {
            p.SideToMove = static_cast<std::uint8_t>(side);
            ASSERT_EQ(ScoreMove(p), ref::Score(p)) << "sample " << sample;
        }
    }
}

TEST_F(ReferenceTest, SearchAgreesOnRandomPositionsAtLevelsOneToSix) {
    std::mt19937 rng(2024);
    // Fewer positions at the deeper levels keep the run short.
    const int positionsPerLevel[7] = {0, 400, 400, 300, 250, 150, 80};
    for (int level = 1; level <= 6; ++level) {
        for (int i = 0; i < positionsPerLevel[level]; ++i) {
            const TPosition start = RandomPosition(rng, static_cast<int>(rng() % 43));
            ASSERT_TRUE(IsValidPosition(start));

            TPosition theirs = start;
            const std::uint32_t seed = static_cast<std::uint32_t>(rng());
            gRandomState = seed;
            const SearchResult result = Searcher(&ScriptedRandom).Search(start, level);
            gRandomState = seed;
            ref::Total = 0;
            const int expected = ref::Root(theirs, level, &ScriptedRandom);
            TPosition mine = start;
            if (result.column >= 0) DropStone(mine, result.column);

            ASSERT_EQ(result.score, expected) << "level " << level << " position " << i;
            ASSERT_EQ(result.moves, ref::Total) << "level " << level << " position " << i;
            ASSERT_TRUE(SameBytes(mine, theirs)) << "level " << level << " position " << i;
            ASSERT_TRUE(IsValidPosition(mine));
        }
    }
}

TEST_F(ReferenceTest, NegamaxAgreesForAnyWindow) {
    std::mt19937 rng(99);
    for (int i = 0; i < 300; ++i) {
        const TPosition start = RandomPosition(rng, 4 + static_cast<int>(rng() % 34));
        const int depth = 1 + static_cast<int>(rng() % 4);
        const int ply = 1 + static_cast<int>(rng() % 6);
        int alpha = static_cast<int>(rng() % 120) - 60;
        int beta = alpha + 1 + static_cast<int>(rng() % 40);
        if (i % 5 == 0) alpha = -InfiniteScore, beta = InfiniteScore;
        // Callers never pass an empty or inverted window, but Negamax still
        // has a defined answer for one where the window is not asserted.
        if (kWindowUnchecked && i % 7 == 3) beta = alpha - static_cast<int>(rng() % 3);

        TPosition mine = start, theirs = start;
        TotalMoves = 0;
        ref::Total = 0;
        ASSERT_EQ(Negamax(mine, alpha, beta, depth, ply),
                  ref::Search(theirs, alpha, beta, depth, ply))
            << "position " << i;
        ASSERT_EQ(TotalMoves, ref::Total) << "position " << i;
        ASSERT_TRUE(SameBytes(mine, start)) << "position " << i;
    }
}
