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

namespace board_bits {

constexpr std::uint64_t kSevenColumns = 0x00FF'FFFF'FFFF'FFFFull;
constexpr std::uint64_t kColumns1To5 = 0x0000'FFFF'FFFF'FF00ull;
constexpr std::uint64_t kColumns2To4 = 0x0000'00FF'FFFF'0000ull;
constexpr std::uint64_t kColumn3 = 0x0000'0000'FF00'0000ull;
constexpr std::uint64_t kLowSixBits = 0x3F3F'3F3F'3F3F'3F3Full;
constexpr std::uint64_t kBitSix = 0x4040'4040'4040'4040ull;

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

inline bool HasFourBits(std::uint64_t s) {
    const std::uint64_t vertical = s & (s >> 1) & (s >> 2) & (s >> 3);
    const std::uint64_t horizontal = s & (s >> 8) & (s >> 16) & (s >> 24);
    const std::uint64_t rising = s & (s >> 9) & (s >> 18) & (s >> 27);
    const std::uint64_t falling = s & (s >> 7) & (s >> 14) & (s >> 21);
    return (vertical | horizontal | rising | falling) != 0;
}

// Column weights 1,2,3,4,3,2,1 per stone, vertical threes 4 each (every
// occurrence), and 8 / 10 / 10 per three-column window holding a horizontal,
// rising or falling three (once per window).
inline int EvaluateBits(std::uint64_t s) {
    const int weight = std::popcount(s) + std::popcount(s & kColumns1To5) +
                       std::popcount(s & kColumns2To4) + std::popcount(s & kColumn3);
    const int vertical = std::popcount(s & (s >> 1) & (s >> 2));
    const int horizontal = NonZeroBytes(s & (s >> 8) & (s >> 16));
    const int rising = NonZeroBytes(s & (s >> 9) & (s >> 18));
    const int falling = NonZeroBytes(s & (s >> 7) & (s >> 14));
    return weight + 4 * vertical + 8 * horizontal + 10 * (rising + falling);
}

}  // namespace board_bits

// 1 when `player` has four stones in a line (vertical, horizontal or either
// diagonal), else 0. Only that player's stones are looked at.
inline int HasFour(const TPosition& position, int player) {
    return board_bits::HasFourBits(board_bits::PlayerBits(position, player)) ? 1 : 0;
}

// Static score of `player`'s stones alone, 0..348.
inline int Evaluate(const TPosition& position, int player) {
    return board_bits::EvaluateBits(board_bits::PlayerBits(position, player));
}

// Score of the position just after a move, seen from the player who made it
// (the one not to move now): WinScore if that player has four, else their
// evaluation minus the opponent's.
inline int ScoreMove(const TPosition& position) {
    const int mover = position.SideToMove ^ 1;
    const std::uint64_t own = board_bits::PlayerBits(position, mover);
    if (board_bits::HasFourBits(own)) return WinScore;
    return board_bits::EvaluateBits(own) -
           board_bits::EvaluateBits(board_bits::PlayerBits(position, position.SideToMove));
}
