#include "engine/search.h"

#include <bit>
#include <cassert>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

RandomSource FirstMoveRandom = &std::rand;

namespace {

using board_bits::FindThrees;
using board_bits::HasFourFromThrees;
using board_bits::PlayerBits;
using board_bits::Threes;
using board_bits::ThreesScore;
using board_bits::WeightScore;

// Below the root a node needs only three words: the stones of the side to
// move, the stones of the other side, and NextBit of every column packed the
// same way (byte c, so 0x40 in a byte marks a full column). A trial move is
// then one OR, and passing the turn swaps the two stone words; nothing is
// copied back because nothing is changed in place.
constexpr std::uint64_t kFullBits = 0x0040'4040'4040'4040ull;
constexpr std::uint64_t kByteOnes = 0x0001'0101'0101'0101ull;
constexpr std::uint64_t kByteHighBits = 0x0080'8080'8080'8080ull;

constexpr std::uint64_t ColumnByte(int c) { return 0xFFull << (8 * c); }

inline std::uint64_t NextBits(const TPosition& position) {
    std::uint64_t word = 0;
    std::memcpy(&word, position.NextBit, kColumns);
    return word;
}

// Two words side by side in one vector register; the operators work on
// both at once.
using WordPair = std::uint64_t __attribute__((vector_size(16)));

// Non-zero bytes of `word` (whose bytes hold bits 0..5 only) as bit 6 of
// each byte.
template <typename Word>
constexpr Word ByteFlags(Word word) {
    return (word + board_bits::kLowSixBits) & board_bits::kBitSix;
}

// `factor` times `word` by shifts and adds, for words whose bytes stay
// below 256 after the product, so no byte carries into the next.
template <int factor, typename Word>
constexpr Word Times(Word word) {
    Word product = word & 0;
    for (int b = 0; (factor >> b) != 0; ++b)
        if ((factor >> b) & 1) product += word << b;
    return product;
}

constexpr int ByteAt(std::uint64_t word, int c) {
    return static_cast<int>((word >> (8 * c)) & 0xFF);
}

// The most one stone can add to its player's evaluation: its weight, the
// vertical three it closes, and a new three in each of the windows through
// it (three per direction).
constexpr int kMaxGain =
    board_bits::MaxColumnWeight() + kEvaluation.verticalThree +
    3 * (kEvaluation.horizontalThree + kEvaluation.risingThree + kEvaluation.fallingThree);
// Gains live one per byte and are compared against a threshold by
// subtracting it with the byte's top bit set, so they must stay below 128.
static_assert(kMaxGain < 128, "a stone's gain must fit in seven bits");

// What a player's next stone would add to their evaluation, worked out once
// for every column and shared by all the nodes in which that player moves
// with the same stones: only the candidate cell on top of one column differs
// between them.
//
// For a set of candidate cells, at most one per column, `Gain` gives per
// column byte what dropping a stone into that column's candidate cell adds
// to the player's evaluation: the column's weight, the vertical three it
// closes, and the horizontal or diagonal weight for each three-column window
// that holds no three of its direction yet and gets one through the new
// stone. A window holds at most one three through a given cell and
// direction, so each window adds once, as the evaluation counts it.
//
// `Word` is one 64-bit word, or a WordPair holding the same player's masks
// in both halves, which works out two sets of cells at once.
template <typename Word>
struct GainPlan {
    // Each three-in-a-line term: cells that would complete a three, with the
    // new stone first, middle or last in its window.
    Word vertical;
    Word first[3], middle[3], last[3];
    // Windows that already hold a three, as byte flags at the window's first
    // column, and those flags moved to the window's middle and last column.
    Word heldAtFirst[3], heldAtMiddle[3], heldAtLast[3];
    // Cells that would complete four.
    Word fours;
    // The player's own evaluation before the move.
    int evaluation;

    // From the player's stones `stones`, their threes and their evaluation.
    GainPlan(std::uint64_t stones, const Threes& threes, int ownEvaluation) {
        constexpr int kStep[3] = {8, 9, 7};  // horizontal, rising, falling
        const Word s = Splat(stones);
        const Word held3[3] = {Splat(threes.horizontal), Splat(threes.rising),
                               Splat(threes.falling)};
        vertical = (s << 1) & (s << 2);
        fours = vertical & (s << 3);
        for (int d = 0; d < 3; ++d) {
            const int k = kStep[d];
            const Word after1 = s >> k, after2 = s >> (2 * k), after3 = s >> (3 * k);
            const Word before1 = s << k, before2 = s << (2 * k), before3 = s << (3 * k);
            first[d] = after1 & after2;
            middle[d] = before1 & after1;
            last[d] = before1 & before2;
            heldAtFirst[d] = ByteFlags(held3[d]);
            heldAtMiddle[d] = heldAtFirst[d] << 8;
            heldAtLast[d] = heldAtFirst[d] << 16;
            fours |= (first[d] & after3) | (middle[d] & after2) | (middle[d] & before2) |
                     (before3 & last[d]);
        }
        evaluation = ownEvaluation;
    }

    explicit GainPlan(std::uint64_t s) : GainPlan(s, FindThrees(s), board_bits::EvaluateBits(s)) {}

    static Word Splat(std::uint64_t word) {
        if constexpr (std::is_same_v<Word, std::uint64_t>) {
            return word;
        } else {
            return Word{word, word};
        }
    }

    // Per column byte, the evaluation gained by a stone on `cells` (bits 0..5
    // of a byte only, at most one per column).
    Word Gain(Word cells) const {
        Word windows[3];
        for (int d = 0; d < 3; ++d) {
            // The window starting at the new stone's column, one column
            // before it, and two before it.
            windows[d] = (((ByteFlags(cells & first[d]) & ~heldAtFirst[d]) +
                           (ByteFlags(cells & middle[d]) & ~heldAtMiddle[d]) +
                           (ByteFlags(cells & last[d]) & ~heldAtLast[d])) >>
                          6);
        }
        const Word verticals = ByteFlags(cells & vertical) >> 6;
        return board_bits::ColumnWeightBytes() + Times<kEvaluation.verticalThree>(verticals) +
               Times<kEvaluation.horizontalThree>(windows[0]) +
               Times<kEvaluation.risingThree>(windows[1]) +
               Times<kEvaluation.fallingThree>(windows[2]);
    }
};

// A player's next move as its parent plans it: per column, the candidate
// cell (0 for a full column), whether it completes four, and what it adds to
// the player's evaluation.
struct PlannedMoves {
    std::uint64_t cells;
    std::uint64_t fours;
    std::uint64_t gain;
};

// The same for the lowest empty cells and, kept as the difference from
// them, for the cells on top of those, so that a grandchild can mix in the
// one column its parent raised.
struct RaisedMoves {
    PlannedMoves low, raisedChange;
    std::uint64_t fours;  // every cell that would complete four

    RaisedMoves(const GainPlan<WordPair>& plan, std::uint64_t next) {
        const std::uint64_t lowCells = next & board_bits::kLowSixBits;
        const std::uint64_t raisedCells = (next << 1) & board_bits::kLowSixBits;
        const WordPair gains = plan.Gain(WordPair{lowCells, raisedCells});
        fours = plan.fours[0];
        low = {lowCells, fours & lowCells, gains[0]};
        raisedChange = {lowCells ^ raisedCells, 0, gains[0] ^ gains[1]};
    }

    // The moves after a stone in `column` raised it by one cell.
    PlannedMoves After(int column) const {
        const std::uint64_t mask = ColumnByte(column);
        const std::uint64_t cells = low.cells ^ (raisedChange.cells & mask);
        return {cells, fours & cells, low.gain ^ (raisedChange.gain & mask)};
    }
};

// The largest byte of `word`, whose bytes all lie below 128.
inline int LargestByte(std::uint64_t word) {
#if defined(__SSE2__)
    __m128i v = _mm_cvtsi64_si128(static_cast<long long>(word));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 4));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 2));
    v = _mm_max_epu8(v, _mm_srli_si128(v, 1));
    return _mm_cvtsi128_si32(v) & 0xFF;
#else
    int largest = 0;
    for (int c = 0; c < kColumns; ++c)
        largest = ByteAt(word, c) > largest ? ByteAt(word, c) : largest;
    return largest;
#endif
}

// The stones dropped in one search, and the nodes below the root. Each node
// returns as Searcher::Negamax promises; the stone words are those of the
// side to move (`own`) and of the other side (`other`), with `next` packed
// like them.
struct Tree {
    std::int32_t moves = 0;

    // The last ply, all of whose moves are planned: `moves` are the side to
    // move's, and `base` is the rest of each move's score, the same for all.
    // Trying the columns in order, the first that completes four or whose
    // score reaches the cut decides; every open column up to it is counted.
    // All columns are weighed at once, so the last ply costs the same
    // whether it stops at column 0 or tries all seven.
    //
    // The nodes of the last three plies count into a local `counted`, which
    // stays in a register, and hand it to `moves` once per node three plies
    // from the end.
    [[gnu::always_inline]] static inline int Leaf(const PlannedMoves& planned, int base, int alpha,
                                                  int beta, int ply, std::int32_t& counted) {
        const std::uint64_t open = ByteFlags(planned.cells);
        // A move's score cuts when it beats alpha and reaches beta, which
        // for a proper window is simply reaching beta.
        int need = (alpha + 1 > beta ? alpha + 1 : beta) - base;
        // Clamped to 0..128, every gain (below 128) reaches 0 and none 128.
        need = need < 0 ? 0 : (need > 128 ? 128 : need);
        const std::uint64_t reached =
            ((planned.gain | kByteHighBits) - static_cast<std::uint64_t>(need) * kByteOnes) &
            kByteHighBits;
        const std::uint64_t cuts = (reached >> 1) & open;
        const std::uint64_t fours = ByteFlags(planned.fours);
        const std::uint64_t decisive = cuts | fours;
        if (decisive != 0) {
            const std::uint64_t first = decisive & (~decisive + 1);
            counted += std::popcount(open & (2 * first - 1));
            if (fours & first) return MateAdjust(WinScore, ply);
            return base + ByteAt(planned.gain, std::countr_zero(first) / 8);
        }
        if (open == 0) return 0;
        counted += std::popcount(open);
        const int best = base + LargestByte(planned.gain & ((open >> 6) * 0xFF));
        return best > alpha ? best : alpha;
    }

    // Two plies left. The side to move's moves come planned from the
    // grandparent (`ownMoves`, on top of `ownEvaluation`); the other side's
    // last-ply moves are planned here once for all children, from its stones,
    // threes and evaluation.
    [[gnu::always_inline]] static inline int Frontier(const PlannedMoves& ownMoves,
                                                      int ownEvaluation, std::uint64_t other,
                                                      const Threes& otherThrees,
                                                      int otherEvaluation, std::uint64_t next,
                                                      int alpha, int beta, int ply,
                                                      std::int32_t& counted) {
        assert(alpha < beta);
        const GainPlan<WordPair> plan(other, otherThrees, otherEvaluation);
        const RaisedMoves replies(plan, next);
        const std::uint64_t open = ByteFlags(ownMoves.cells);
        if (open == 0) return 0;
        // The open columns before the first that completes four are searched;
        // that one, if no cut comes first, ends the node.
        const std::uint64_t fours = ByteFlags(ownMoves.fours);
        const std::uint64_t firstFour = fours & (~fours + 1);
        for (std::uint64_t rest = open & (firstFour - 1); rest != 0; rest &= rest - 1) {
            const int c = std::countr_zero(rest) / 8;
            ++counted;
            const int movedEvaluation = ownEvaluation + ByteAt(ownMoves.gain, c);
            const int s = -Leaf(replies.After(c), plan.evaluation - movedEvaluation, -beta, -alpha,
                                ply + 1, counted);
            if (s > alpha) {
                alpha = s;
                if (s >= beta) return s;
            }
        }
        if (firstFour != 0) {
            ++counted;
            return MateAdjust(WinScore, ply);
        }
        return alpha;
    }

    // Three plies left. The other side moves at the frontier below with the
    // same stones whichever column is played here, so its moves are planned
    // once for all children.
    int BeforeFrontier(std::uint64_t own, std::uint64_t other, std::uint64_t next, int ownWeight,
                       int alpha, int beta, int ply) {
        std::int32_t counted = 0;
        const int value = BeforeFrontier(own, other, next, ownWeight, alpha, beta, ply, counted);
        moves += counted;
        return value;
    }

    [[gnu::always_inline]] static inline int BeforeFrontier(std::uint64_t own, std::uint64_t other,
                                                            std::uint64_t next, int ownWeight,
                                                            int alpha, int beta, int ply,
                                                            std::int32_t& counted) {
        assert(alpha < beta);
        const GainPlan<WordPair> otherPlan(other);
        const RaisedMoves replies(otherPlan, next);
        const std::uint64_t open = ~next & kFullBits;
        if (open == 0) return 0;
        for (std::uint64_t rest = open; rest != 0; rest &= rest - 1) {
            const int c = std::countr_zero(rest) / 8;
            const std::uint64_t bit = next & ColumnByte(c);
            ++counted;
            const std::uint64_t moved = own | bit;
            const Threes threes = FindThrees(moved);
            if (HasFourFromThrees(moved, threes)) return MateAdjust(WinScore, ply);
            const int movedEvaluation = ownWeight + kEvaluation.column[c] + ThreesScore(threes);
            const int s = -Frontier(replies.After(c), otherPlan.evaluation, moved, threes,
                                    movedEvaluation, next + bit, -beta, -alpha, ply + 1, counted);
            if (s > alpha) {
                alpha = s;
                if (s >= beta) return s;
            }
        }
        return alpha;
    }

    // Four or more plies left. The weight terms of both sides are carried
    // down the tree (a move adds its column's weight), so the nodes near the
    // end get them without counting stones.
    int Node(std::uint64_t own, std::uint64_t other, std::uint64_t next, int ownWeight,
             int otherWeight, int alpha, int beta, int depth, int ply) {
        assert(alpha < beta);
        assert(depth >= 4 && ply >= 1);
        assert((own & other) == 0);
        int legal = 0;
        for (int c = 0; c < kColumns; ++c) {
            const std::uint64_t bit = next & ColumnByte(c);
            if (bit & kFullBits) continue;
            ++moves;
            ++legal;
            const std::uint64_t moved = own | bit;
            // Only the four matters here: the deeper nodes score the line.
            if (board_bits::HasFourBits(moved)) return MateAdjust(WinScore, ply);
            // Adding the bit to itself moves the column's empty row up by one.
            const std::uint64_t raised = next + bit;
            const int movedWeight = ownWeight + kEvaluation.column[c];
            const int s = depth > 4 ? -Node(other, moved, raised, otherWeight, movedWeight, -beta,
                                            -alpha, depth - 1, ply + 1)
                                    : -BeforeFrontier(other, moved, raised, otherWeight, -beta,
                                                      -alpha, ply + 1);
            if (s > alpha) {
                alpha = s;
                if (s >= beta) return s;
            }
        }
        return legal == 0 ? 0 : alpha;
    }

    // Any depth from a position record.
    int Value(const TPosition& position, int alpha, int beta, int depth, int ply) {
        const int side = position.SideToMove;
        const std::uint64_t own = PlayerBits(position, side);
        const std::uint64_t other = PlayerBits(position, side ^ 1);
        const std::uint64_t next = NextBits(position);
        if (depth <= 1) {
            const GainPlan<std::uint64_t> plan(own);
            const std::uint64_t cells = next & board_bits::kLowSixBits;
            return Leaf({cells, plan.fours & cells, plan.Gain(cells)},
                        plan.evaluation - board_bits::EvaluateBits(other), alpha, beta, ply, moves);
        }
        if (depth == 2) {
            const GainPlan<std::uint64_t> plan(own);
            const std::uint64_t cells = next & board_bits::kLowSixBits;
            return Frontier({cells, plan.fours & cells, plan.Gain(cells)}, plan.evaluation, other,
                            FindThrees(other), board_bits::EvaluateBits(other), next, alpha, beta,
                            ply, moves);
        }
        if (depth == 3) return BeforeFrontier(own, other, next, WeightScore(own), alpha, beta, ply);
        return Node(own, other, next, WeightScore(own), WeightScore(other), alpha, beta, depth,
                    ply);
    }
};

// Random opening column from a draw: the stronger the level, the closer to
// the centre.
int FirstMoveColumn(int level, int draw) {
    // The generator promises non-negative numbers; reading them unsigned
    // keeps a replacement that breaks the promise from picking column -1.
    const unsigned r = static_cast<unsigned>(draw);
    if (level <= 3) return static_cast<int>(r % 7);
    if (level <= 6) return static_cast<int>(r % 5 + 1);
    return static_cast<int>(r % 3 + 2);
}

}  // namespace

int Searcher::Negamax(const TPosition& position, int alpha, int beta, int depth, int ply) {
    assert(IsValidPosition(position));
    assert(alpha < beta);
    assert(depth >= 1 && depth <= kCells && ply >= 1 && ply <= kCells);
    Tree tree;
    const int value = tree.Value(position, alpha, beta, depth, ply);
    moves_ = tree.moves;
    return value;
}

SearchResult Searcher::Search(const TPosition& position, int level) {
    assert(IsValidPosition(position));
    assert(level <= kCells);
    moves_ = 0;
    if (position.MoveCount < 2) {
        moves_ = 1;
        return {FirstMoveColumn(level, random_()), 0, moves_};
    }
    Tree tree;
    int best = -InfiniteScore;
    int bestColumn = -1;
    for (int c = 0; c < kColumns; ++c) {
        if (position.NextBit[c] == kFullColumn) continue;
        TPosition after = position;
        DropStone(after, c);
        ++tree.moves;
        int s = ScoreMove(after);
        // The winning stone is the move; nothing more is tried.
        if (s == WinScore) {
            moves_ = tree.moves;
            return {c, WinScore, moves_};
        }
        if (level > 1) s = -tree.Value(after, -InfiniteScore, -best, level - 1, 1);
        if (s > best) {
            best = s;
            bestColumn = c;
        }
    }
    if (bestColumn < 0) return {-1, 0, 0};
    // The chosen stone is dropped once more on the real board.
    moves_ = tree.moves + 1;
    return {bestColumn, best, moves_};
}

int SearchRoot(TPosition& position, int level) {
    Searcher searcher(FirstMoveRandom);
    const SearchResult result = searcher.Search(position, level);
    TotalMoves += result.moves;
    if (result.column >= 0) DropStone(position, result.column);
    return result.score;
}

int Negamax(TPosition& position, int alpha, int beta, int depth, int ply) {
    Searcher searcher(FirstMoveRandom);
    const int value = searcher.Negamax(position, alpha, beta, depth, ply);
    TotalMoves += searcher.Moves();
    return value;
}
