// The game position and the one operation that changes it.
//
// TPosition is 23 plain bytes, copied whole to save and restore a position
// (there is no undo). Columns are 0..6 from the left, rows 0..5 from the
// bottom; Red (0) always moves first, Blue (1) second.
//
//   Stones[p][c]   bit r set  <=>  player p has a stone in column c, row r
//                  (only bits 0..5 are ever set)
//   NextBit[c]     the bit of the lowest empty row: 1,2,4,...,32, or 64 when
//                  the column is full
//
// Invariants of every valid position (the empty board has them, MakeMove
// keeps them):
//   - Stones[0][c] & Stones[1][c] == 0
//   - Stones[0][c] | Stones[1][c] == NextBit[c] - 1   (columns fill without gaps)
//   - MoveCount == number of stones in all 14 masks (0..42)
//   - SideToMove == MoveCount % 2                   (Red moves on even counts)
#pragma once

#include <cstddef>
#include <cstdint>

enum : int { Red = 0, Blue = 1 };

constexpr int kColumns = 7;
constexpr int kRows = 6;
constexpr int kCells = kColumns * kRows;
constexpr std::uint8_t kFullColumn = 64;

struct TPosition {
    std::uint8_t SideToMove;
    std::uint8_t Stones[2][kColumns];
    std::uint8_t NextBit[kColumns];
    std::uint8_t MoveCount;
};

static_assert(sizeof(TPosition) == 23, "TPosition must stay 23 bytes, copied whole");
static_assert(offsetof(TPosition, Stones) == 1);
static_assert(offsetof(TPosition, NextBit) == 15);
static_assert(offsetof(TPosition, MoveCount) == 22);

// Stones dropped by MakeMove since the caller last reset it, and the moves
// SearchRoot counted. The computer's turn sets it to 0 before a search and
// reports it afterwards.
extern std::int32_t TotalMoves;

// BitCount[i] is the number of set bits among bits 0..5 of i: the number of
// stones that a column mask stands for. Filled by InitBitCount. Kept for the
// game's interface only: the evaluation counts stones with popcount, which
// agrees with it for every mask, so nothing in the engine needs it filled.
extern std::uint8_t BitCount[64];

void InitBitCount();

// Writes the empty board into `position`.
void ClearPosition(TPosition& position);

// Drops a stone of the side to move into `column` (0..6), which must not be
// full, and passes the turn; counts nothing.
inline void DropStone(TPosition& position, int column) {
    const std::uint8_t bit = position.NextBit[column];
    position.Stones[position.SideToMove][column] |= bit;
    position.NextBit[column] = static_cast<std::uint8_t>(bit << 1);
    position.SideToMove ^= 1;
    ++position.MoveCount;
}

// Drops a stone of the side to move into `column` (0..6). Returns 1 and
// passes the turn, or 0 when the column is full (or no column at all), in
// which case neither the position nor TotalMoves changes.
inline int MakeMove(TPosition& position, int column) {
    // Callers pass 0..6; refusing anything else costs one compare and keeps a
    // stray column number from writing outside the record.
    if (static_cast<unsigned>(column) >= static_cast<unsigned>(kColumns)) return 0;
    if (position.NextBit[column] == kFullColumn) return 0;
    DropStone(position, column);
    ++TotalMoves;
    return 1;
}

// True when `position` satisfies every invariant above; used by tests and by
// tools that build positions from outside input.
bool IsValidPosition(const TPosition& position);
