#include "engine/search.h"

#include <cstdlib>
#include <cstring>

RandomSource FirstMoveRandom = &std::rand;

namespace {

using board_bits::EvaluateBits;
using board_bits::FindThrees;
using board_bits::HasFourFromThrees;
using board_bits::PlayerBits;
using board_bits::Threes;
using board_bits::ThreesScore;
using board_bits::WeightScore;

// What one stone adds to the weight term, per column.
constexpr int kColumnWeight[kColumns] = {1, 2, 3, 4, 3, 2, 1};

// Below the root a node needs only three words: the stones of the side to
// move, the stones of the other side, and NextBit of every column packed the
// same way (byte c, so 0x40 in a byte marks a full column). A trial move is
// then one OR, and passing the turn swaps the two stone words; nothing is
// copied back because nothing is changed in place.
constexpr std::uint64_t kFullBits = 0x0040'4040'4040'4040ull;

constexpr std::uint64_t ColumnByte(int c) { return 0xFFull << (8 * c); }

inline std::uint64_t NextBits(const TPosition& position) {
    std::uint64_t word = 0;
    std::memcpy(&word, position.NextBit, kColumns);
    return word;
}

// Non-zero bytes of `word` (whose bytes hold bits 0..5 only) as bit 6 of
// each byte.
constexpr std::uint64_t ByteFlags(std::uint64_t word) {
    return (word + board_bits::kLowSixBits) & board_bits::kBitSix;
}

// The column weights 1,2,3,4,3,2,1 as one byte per column.
constexpr std::uint64_t kWeightBytes = 0x0001'0203'0403'0201ull;

// What the last ply needs to know of the side that moves there, worked out
// once by the node two plies from the end and shared by all its children:
// their last-ply player is the same and only the cell on top of one column
// differs between them.
//
// For a set of candidate cells, at most one per column, `Gain` gives per
// column byte what dropping a stone into that column's candidate cell adds
// to the player's evaluation: the column's weight, 4 for the vertical three
// it closes, and 8 or 10 for each three-column window that holds no three
// of its direction yet and gets one through the new stone. A window holds
// at most one three through a given cell and direction, so each window adds
// once, as the evaluation counts it. The largest gain, 4 + 4 + 3 * 8 +
// 6 * 10 = 92, fits in a byte.
struct LastPlyPlan {
    // Each three-in-a-line term: cells that would complete a three, with the
    // new stone first, middle or last in its window.
    std::uint64_t vertical;
    std::uint64_t first[3], middle[3], last[3];
    // Windows that already hold a three, as byte flags at the window's first
    // column.
    std::uint64_t held[3];
    // Cells that would complete four.
    std::uint64_t fours;
    // The player's own evaluation before the move.
    int evaluation;

    explicit LastPlyPlan(std::uint64_t s) {
        constexpr int kStep[3] = {8, 9, 7};  // horizontal, rising, falling
        const board_bits::Threes threes = board_bits::FindThrees(s);
        const std::uint64_t held3[3] = {threes.horizontal, threes.rising, threes.falling};
        vertical = (s << 1) & (s << 2);
        fours = vertical & (s << 3);
        for (int d = 0; d < 3; ++d) {
            const int k = kStep[d];
            const std::uint64_t after1 = s >> k, after2 = s >> (2 * k), after3 = s >> (3 * k);
            const std::uint64_t before1 = s << k, before2 = s << (2 * k), before3 = s << (3 * k);
            first[d] = after1 & after2;
            middle[d] = before1 & after1;
            last[d] = before1 & before2;
            held[d] = ByteFlags(held3[d]);
            fours |= (first[d] & after3) | (middle[d] & after2) | (middle[d] & before2) |
                     (before3 & last[d]);
        }
        evaluation = board_bits::WeightScore(s) + board_bits::ThreesScore(threes);
    }

    // Per column byte, the evaluation gained by a stone on `cells` (bits 0..5
    // of a byte only, at most one per column).
    std::uint64_t Gain(std::uint64_t cells) const {
        std::uint64_t windows[3];
        for (int d = 0; d < 3; ++d) {
            // The window starting at the new stone's column, one column
            // before it, and two before it.
            windows[d] = (((ByteFlags(cells & first[d]) & ~held[d]) +
                           (ByteFlags(cells & middle[d]) & ~(held[d] << 8)) +
                           (ByteFlags(cells & last[d]) & ~(held[d] << 16))) >>
                          6);
        }
        const std::uint64_t verticals = ByteFlags(cells & vertical) >> 6;
        return kWeightBytes + 4 * verticals + 8 * windows[0] + 10 * (windows[1] + windows[2]);
    }
};

// The last ply with a plan from its grandparent: `cells` holds the cell each
// open column would take, `fours` those of them that complete four, `gain`
// the evaluation each column's move adds, and `base` the rest of ScoreMove's
// value, the same for every move here. Kept inline in the node two plies
// from the end, where nearly every last ply is searched.
[[gnu::always_inline]] inline int PlannedLeaf(std::uint64_t cells, std::uint64_t fours,
                                              std::uint64_t gain, int base, int alpha, int beta,
                                              int ply) {
    int legal = 0;
    int result = 0;
    bool decided = false;
    for (int c = 0; c < kColumns; ++c) {
        if ((cells & ColumnByte(c)) == 0) continue;
        ++legal;
        if (fours & ColumnByte(c)) {
            result = MateAdjust(WinScore, ply);
            decided = true;
            break;
        }
        const int s = base + static_cast<int>((gain >> (8 * c)) & 0xFF);
        if (s > alpha) {
            alpha = s;
            if (s >= beta) {
                result = s;
                decided = true;
                break;
            }
        }
    }
    TotalMoves += legal;
    if (decided) return result;
    return legal == 0 ? 0 : alpha;
}

// A node with exactly two plies left. Its children are last-ply nodes of
// one and the same player, so what their moves score is planned here once.
int Frontier(std::uint64_t own, std::uint64_t other, std::uint64_t next, int ownWeight, int alpha,
             int beta, int ply) {
    const LastPlyPlan plan(other);
    // The children's candidate cells: each column's lowest empty cell, but
    // one higher in the column this node plays into.
    const std::uint64_t lowCells = next & board_bits::kLowSixBits;
    const std::uint64_t raisedCells = (next << 1) & board_bits::kLowSixBits;
    const std::uint64_t lowGain = plan.Gain(lowCells);
    const std::uint64_t raisedGain = plan.Gain(raisedCells);
    int legal = 0;
    for (int c = 0; c < kColumns; ++c) {
        const std::uint64_t bit = next & ColumnByte(c);
        if (bit & kFullBits) continue;
        ++TotalMoves;
        ++legal;
        const std::uint64_t moved = own | bit;
        const Threes threes = FindThrees(moved);
        if (HasFourFromThrees(moved, threes)) return MateAdjust(WinScore, ply);
        const std::uint64_t column = ColumnByte(c);
        const std::uint64_t cells = (lowCells & ~column) | (raisedCells & column);
        const std::uint64_t gain = (lowGain & ~column) | (raisedGain & column);
        const int movedEvaluation = ownWeight + kColumnWeight[c] + ThreesScore(threes);
        const int s = -PlannedLeaf(cells, plan.fours & cells, gain,
                                   plan.evaluation - movedEvaluation, -beta, -alpha, ply + 1);
        if (s > alpha) {
            alpha = s;
            if (s >= beta) return s;
        }
    }
    return legal == 0 ? 0 : alpha;
}

// A node with three or more plies left. The weight terms of both sides are
// carried down the tree (a move adds its column's weight), so the node two
// plies from the end gets the mover's weight without counting stones.
int Node(std::uint64_t own, std::uint64_t other, std::uint64_t next, int ownWeight, int otherWeight,
         int alpha, int beta, int depth, int ply) {
    int legal = 0;
    for (int c = 0; c < kColumns; ++c) {
        const std::uint64_t bit = next & ColumnByte(c);
        if (bit & kFullBits) continue;
        ++TotalMoves;
        ++legal;
        const std::uint64_t moved = own | bit;
        const Threes threes = FindThrees(moved);
        // Only the four matters here: the deeper nodes score the line.
        if (HasFourFromThrees(moved, threes)) return MateAdjust(WinScore, ply);
        // Adding the bit to itself moves the column's empty row up by one.
        const std::uint64_t raised = next + bit;
        const int movedWeight = ownWeight + kColumnWeight[c];
        const int s = depth > 3
                          ? -Node(other, moved, raised, otherWeight, movedWeight, -beta, -alpha,
                                  depth - 1, ply + 1)
                          : -Frontier(other, moved, raised, otherWeight, -beta, -alpha, ply + 1);
        if (s > alpha) {
            alpha = s;
            if (s >= beta) return s;
        }
    }
    return legal == 0 ? 0 : alpha;
}

// Random opening column: the stronger the level, the closer to the centre.
int FirstMoveColumn(int level) {
    // The generator promises non-negative numbers; reading them unsigned
    // keeps a replacement that breaks the promise from picking column -1.
    const unsigned r = static_cast<unsigned>(FirstMoveRandom());
    if (level <= 3) return static_cast<int>(r % 7);
    if (level <= 6) return static_cast<int>(r % 5 + 1);
    return static_cast<int>(r % 3 + 2);
}

}  // namespace

int Negamax(TPosition& position, int alpha, int beta, int depth, int ply) {
    const int side = position.SideToMove;
    const std::uint64_t own = PlayerBits(position, side);
    const std::uint64_t other = PlayerBits(position, side ^ 1);
    const std::uint64_t next = NextBits(position);
    if (depth <= 1) {
        const LastPlyPlan plan(own);
        const std::uint64_t cells = next & board_bits::kLowSixBits;
        return PlannedLeaf(cells, plan.fours & cells, plan.Gain(cells),
                           plan.evaluation - EvaluateBits(other), alpha, beta, ply);
    }
    if (depth == 2) return Frontier(own, other, next, WeightScore(own), alpha, beta, ply);
    return Node(own, other, next, WeightScore(own), WeightScore(other), alpha, beta, depth, ply);
}

int SearchRoot(TPosition& position, int level) {
    const TPosition saved = position;
    if (position.MoveCount < 2) {
        MakeMove(position, FirstMoveColumn(level));
        return 0;
    }
    int best = -InfiniteScore;
    int bestColumn = 0;
    int legal = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (!MakeMove(position, c)) continue;
        ++legal;
        int s = ScoreMove(position);
        // The winning stone stays on the board.
        if (s == WinScore) return WinScore;
        if (level > 1) s = -Negamax(position, -InfiniteScore, -best, level - 1, 1);
        if (s > best) {
            best = s;
            bestColumn = c;
        }
        position = saved;
    }
    if (legal == 0) return 0;
    MakeMove(position, bestColumn);
    return best;
}
