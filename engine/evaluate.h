// The four-in-a-row test and the static evaluation.
//
// All three functions read one player's seven column masks as a single
// 64-bit word, one byte per column (column c in byte c, row r in bit r of
// that byte). Rows 6 and 7 of every byte and the whole top byte stay zero,
// so shifting by 1 (up a row), 8 (across a column), 9 (rising diagonal) or
// 7 (falling diagonal) never carries a stone from one column into a line it
// does not belong to: every bit that would wrap lands on a zero row.
//
//   byte:   6      5      4      3      2      1      0
//         col 6  col 5  col 4  col 3  col 2  col 1  col 0
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/position.h"

static_assert(std::endian::native == std::endian::little,
              "the column masks are read as one little-endian word");

constexpr int WinScore = 30000;
constexpr int InfiniteScore = 32000;

// The evaluation's weights, the one place they are written down. Evaluate
// and the search's per-column gains both derive from this table.
struct EvaluationWeights {
    int column[kColumns];  // per stone, by column
    int verticalThree;     // per occurrence, overlapping ones included
    int horizontalThree;   // per window of three columns holding one, once
    int risingThree;       // likewise for the rising diagonal
    int fallingThree;      // likewise for the falling diagonal
};

inline constexpr EvaluationWeights kEvaluation = {{1, 2, 3, 4, 3, 2, 1}, 4, 8, 10, 10};

namespace board_bits {

constexpr std::uint64_t kSevenColumns = 0x00FF'FFFF'FFFF'FFFFull;
constexpr std::uint64_t kLowSixBits = 0x3F3F'3F3F'3F3F'3F3Full;
constexpr std::uint64_t kBitSix = 0x4040'4040'4040'4040ull;

constexpr int MaxColumnWeight() {
    int most = 0;
    for (const int w : kEvaluation.column) most = w > most ? w : most;
    return most;
}

// The columns whose stones weigh at least `weight`, as whole bytes. A
// stone's weight is the number of these masks (weight 1 up to the largest)
// that hold it, so the weight term is one popcount per mask.
constexpr std::uint64_t ColumnsWeighingAtLeast(int weight) {
    std::uint64_t mask = 0;
    for (int c = 0; c < kColumns; ++c)
        if (kEvaluation.column[c] >= weight) mask |= 0xFFull << (8 * c);
    return mask;
}

// The column weights as one byte per column, for adding a stone's weight to
// per-column sums.
constexpr std::uint64_t ColumnWeightBytes() {
    std::uint64_t bytes = 0;
    for (int c = 0; c < kColumns; ++c)
        bytes |= static_cast<std::uint64_t>(kEvaluation.column[c]) << (8 * c);
    return bytes;
}

// The most one player's stones can score: six stones in every column, four
// vertical threes per column, and every window with all three line terms.
constexpr int MaxEvaluation() {
    int total = 0;
    for (const int w : kEvaluation.column) total += kRows * w;
    total += kColumns * (kRows - 2) * kEvaluation.verticalThree;
    total += (kColumns - 2) *
             (kEvaluation.horizontalThree + kEvaluation.risingThree + kEvaluation.fallingThree);
    return total;
}

static_assert(MaxEvaluation() == 348, "evaluation differences must stay within -348..348");
static_assert(MaxEvaluation() < WinScore - 2 * kCells, "an evaluation never looks like a four");

// One player's seven masks as one word. The eight-byte read stays inside the
// record: Stones[1] is followed by NextBit.
inline std::uint64_t PlayerBits(const TPosition& position, int player) {
    std::uint64_t word;
    std::memcpy(&word, position.Stones[player], sizeof word);
    return word & kSevenColumns;
}

// Number of bytes of `word` that are not zero; every byte holds at most
// bits 0..5, so adding 0x3F sets bit 6 exactly in the non-zero bytes.
inline int NonZeroBytes(std::uint64_t word) {
    return std::popcount((word + kLowSixBits) & kBitSix);
}

// Every three in a line, each direction in its own word: a bit is set at the
// lowest cell of a three (vertical: its bottom; the others: its cell in the
// window's first column). Each is also the first step towards a four.
struct Threes {
    std::uint64_t vertical, horizontal, rising, falling;
};

inline Threes FindThrees(std::uint64_t s) {
    return {s & (s >> 1) & (s >> 2), s & (s >> 8) & (s >> 16), s & (s >> 9) & (s >> 18),
            s & (s >> 7) & (s >> 14)};
}

// A four is a three whose next cell along the line is also taken.
inline bool HasFourFromThrees(std::uint64_t s, const Threes& t) {
    return ((t.vertical & (s >> 3)) | (t.horizontal & (s >> 24)) | (t.rising & (s >> 27)) |
            (t.falling & (s >> 21))) != 0;
}

inline bool HasFourBits(std::uint64_t s) { return HasFourFromThrees(s, FindThrees(s)); }

// The weight term: each stone's column weight.
inline int WeightScore(std::uint64_t s) {
    int score = 0;
    for (int weight = 1; weight <= MaxColumnWeight(); ++weight)
        score += std::popcount(s & ColumnsWeighingAtLeast(weight));
    return score;
}

// The three-in-a-line terms: every vertical three, and each three-column
// window holding a horizontal, rising or falling three once. With equal
// diagonal weights the rising and falling windows share one popcount: their
// marker bits land on bits 6 and 5 of each byte.
inline int ThreesScore(const Threes& t) {
    const int vertical = kEvaluation.verticalThree * std::popcount(t.vertical);
    const int horizontal = kEvaluation.horizontalThree * NonZeroBytes(t.horizontal);
    if constexpr (kEvaluation.risingThree == kEvaluation.fallingThree) {
        const std::uint64_t diagonalWindows =
            ((t.rising + kLowSixBits) & kBitSix) | (((t.falling + kLowSixBits) & kBitSix) >> 1);
        return vertical + horizontal + kEvaluation.risingThree * std::popcount(diagonalWindows);
    } else {
        return vertical + horizontal + kEvaluation.risingThree * NonZeroBytes(t.rising) +
               kEvaluation.fallingThree * NonZeroBytes(t.falling);
    }
}

inline int EvaluateBits(std::uint64_t s) { return WeightScore(s) + ThreesScore(FindThrees(s)); }

}  // namespace board_bits

// 1 when `player` has four stones in a line (vertical, horizontal or either
// diagonal), else 0. Only that player's stones are looked at.
inline int HasFour(const TPosition& position, int player) {
    return board_bits::HasFourBits(board_bits::PlayerBits(position, player)) ? 1 : 0;
}

// Static score of `player`'s stones alone, 0..348: the terms of kEvaluation.
inline int Evaluate(const TPosition& position, int player) {
    return board_bits::EvaluateBits(board_bits::PlayerBits(position, player));
}

// Score of the position just after a move, seen from the player who made it
// (the one not to move now): WinScore if that player has four, else their
// evaluation minus the opponent's.
inline int ScoreMove(const TPosition& position) {
    const int mover = position.SideToMove ^ 1;
    const std::uint64_t own = board_bits::PlayerBits(position, mover);
    const board_bits::Threes threes = board_bits::FindThrees(own);
    if (board_bits::HasFourFromThrees(own, threes)) return WinScore;
    return board_bits::WeightScore(own) + board_bits::ThreesScore(threes) -
           board_bits::EvaluateBits(board_bits::PlayerBits(position, position.SideToMove));
}
