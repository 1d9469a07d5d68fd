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

// A node with one ply left: each move is scored as ScoreMove would score it.
// The opponent's stones do not change between the seven trial moves, so
// their evaluation and the weight of the mover's stones (to which each move
// adds its column's weight) come in as one number, `base`, worked out by the
// parent from what it already knows.
//
// The seven columns are spelled out through a template so that each one's
// masks and weight are constants in the code.
struct LeafState {
    std::uint64_t own, next;
    int base, alpha, beta, ply, legal;
    int result;
};

// Tries column C; true when the node is decided and `result` holds its value.
template <int C>
inline bool LeafColumn(LeafState& n) {
    const std::uint64_t bit = n.next & ColumnByte(C);
    if (bit & kFullBits) return false;
    // Counted into TotalMoves once, when the node is done.
    ++n.legal;
    const std::uint64_t moved = n.own | bit;
    const Threes threes = FindThrees(moved);
    if (HasFourFromThrees(moved, threes)) {
        n.result = MateAdjust(WinScore, n.ply);
        return true;
    }
    const int s = n.base + kColumnWeight[C] + ThreesScore(threes);
    // A cut needs s above alpha and at least beta; otherwise alpha becomes
    // the larger of the two. Written so that only the cut is a branch.
    if ((s > n.alpha) & (s >= n.beta)) {
        n.result = s;
        return true;
    }
    n.alpha = s > n.alpha ? s : n.alpha;
    return false;
}

int Leaf(std::uint64_t own, std::uint64_t next, int base, int alpha, int beta, int ply) {
    LeafState n{own, next, base, alpha, beta, ply, 0, 0};
    const bool decided = LeafColumn<0>(n) || LeafColumn<1>(n) || LeafColumn<2>(n) ||
                         LeafColumn<3>(n) || LeafColumn<4>(n) || LeafColumn<5>(n) ||
                         LeafColumn<6>(n);
    // One update of the shared counter per node instead of one per move keeps
    // a chain of memory increments out of the hottest loop.
    TotalMoves += n.legal;
    if (decided) return n.result;
    return n.legal == 0 ? 0 : n.alpha;
}

// A node with two or more plies left. The weight terms of both sides are
// carried down the tree (a move adds its column's weight), and the threes
// found for the four test give the rest of the mover's evaluation, which
// the leaf below needs.
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
        const int s = depth > 2
                          ? -Node(other, moved, raised, otherWeight, movedWeight, -beta, -alpha,
                                  depth - 1, ply + 1)
                          : -Leaf(other, raised, otherWeight - movedWeight - ThreesScore(threes),
                                  -beta, -alpha, ply + 1);
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
    if (depth <= 1)
        return Leaf(own, next, WeightScore(own) - EvaluateBits(other), alpha, beta, ply);
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
