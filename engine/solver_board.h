// The exact solver's view of a position: two 64-bit boards.
//
// Seven bits per column, column 0 in the lowest bits. Within a column bits
// 0..5 are rows 0..5 from the bottom and bit 6 is a spare row that never
// holds a stone, so that a line shifted past the top or the bottom of a
// column lands on an empty bit instead of the next column's cells.
//
//   row 6 (spare)  6 13 20 27 34 41 48
//   row 5          5 12 19 26 33 40 47
//   row 4          4 11 18 25 32 39 46
//   row 3          3 10 17 24 31 38 45
//   row 2          2  9 16 23 30 37 44
//   row 1          1  8 15 22 29 36 43
//   row 0          0  7 14 21 28 35 42
//         column   0  1  2  3  4  5  6
//
// `mine` holds the stones of the side to move and `all` every stone. Both
// have only cell bits (rows 0..5) set, mine is a subset of all, every column
// of all is filled from the bottom without gaps, and `stones` is the number
// of bits in all. A move is the single bit of the cell it fills.
#pragma once

#include <bit>
#include <cstdint>

#include "engine/position.h"

namespace solver_bits {

constexpr int kColumnBits = kRows + 1;

constexpr std::uint64_t BottomCell(int column) { return 1ull << (column * kColumnBits); }
constexpr std::uint64_t ColumnCells(int column) {
    return ((1ull << kRows) - 1) << (column * kColumnBits);
}

constexpr std::uint64_t AllBottomCells() {
    std::uint64_t bits = 0;
    for (int c = 0; c < kColumns; ++c) bits |= BottomCell(c);
    return bits;
}

constexpr std::uint64_t kBottomRow = AllBottomCells();
constexpr std::uint64_t kBoardCells = kBottomRow * ((1ull << kRows) - 1);

static_assert(kColumns * kColumnBits <= 64, "the board with its spare row fits one word");
static_assert(std::popcount(kBoardCells) == kCells);

// The cells where one more stone of `stones` would complete four, whether
// empty or not and whether playable now or not. Each direction pairs two
// shifted copies into the two neighbours on one side and then adds the
// third stone on either side of the gap.
constexpr std::uint64_t FourCompletingCells(std::uint64_t stones) {
    // Vertical: a four can only be completed on top of three.
    std::uint64_t cells = (stones << 1) & (stones << 2) & (stones << 3);
    // Horizontal (7), rising diagonal (8) and falling diagonal (6).
    for (const int step : {kColumnBits, kColumnBits + 1, kColumnBits - 1}) {
        const std::uint64_t below = (stones << step) & (stones << (2 * step));
        cells |= below & (stones << (3 * step));
        cells |= below & (stones >> step);
        const std::uint64_t above = (stones >> step) & (stones >> (2 * step));
        cells |= above & (stones << step);
        cells |= above & (stones >> (3 * step));
    }
    return cells & kBoardCells;
}

}  // namespace solver_bits

struct TBitBoard {
    std::uint64_t mine = 0;
    std::uint64_t all = 0;
    int stones = 0;

    static TBitBoard FromPosition(const TPosition& position) {
        TBitBoard board;
        for (int c = 0; c < kColumns; ++c) {
            const int shift = c * solver_bits::kColumnBits;
            board.mine |= std::uint64_t{position.Stones[position.SideToMove][c]} << shift;
            board.all |= std::uint64_t{static_cast<std::uint8_t>(position.NextBit[c] - 1)} << shift;
        }
        board.stones = position.MoveCount;
        return board;
    }

    int Empty() const { return kCells - stones; }
    std::uint64_t Theirs() const { return all ^ mine; }

    // The cells that can take a stone now, one per column that is not full.
    std::uint64_t Playable() const {
        return (all + solver_bits::kBottomRow) & solver_bits::kBoardCells;
    }

    // Empty cells where the side to move, or its opponent, would complete four.
    std::uint64_t MyWinningCells() const { return solver_bits::FourCompletingCells(mine) & ~all; }
    std::uint64_t TheirWinningCells() const {
        return solver_bits::FourCompletingCells(Theirs()) & ~all;
    }

    bool CanWinNow() const { return (MyWinningCells() & Playable()) != 0; }

    // The moves after which the opponent cannot complete four at once,
    // assuming the side to move cannot complete four itself. When the
    // opponent has a playable winning cell, only blocking it can be among
    // them, and with two such cells there are none. A cell just below an
    // opponent's winning cell is never among them either.
    std::uint64_t SafeMoves() const {
        std::uint64_t moves = Playable();
        const std::uint64_t threats = TheirWinningCells();
        const std::uint64_t forced = moves & threats;
        if (forced != 0) {
            if ((forced & (forced - 1)) != 0) return 0;
            moves = forced;
        }
        return moves & ~(threats >> 1);
    }

    // Plays `move`, one playable cell, for the side to move and passes the turn.
    void Play(std::uint64_t move) {
        mine ^= all;
        all |= move;
        ++stones;
    }

    // A number that identifies the position: per column, the stones of the
    // side to move plus a bit pattern of the height (all), which sets the
    // bit above the top stone. Heights 0..6 give disjoint ranges per column,
    // so no two positions share a key, and no column carries into the next.
    std::uint64_t Key() const { return mine + all; }
};

// The key of the position seen in a mirror; equal positions in a mirror have
// the same value and their best moves mirror too.
constexpr std::uint64_t MirroredKey(std::uint64_t key) {
    constexpr std::uint64_t kColumnMask = (1ull << solver_bits::kColumnBits) - 1;
    std::uint64_t mirrored = 0;
    for (int c = 0; c < kColumns; ++c) {
        const std::uint64_t column = (key >> (c * solver_bits::kColumnBits)) & kColumnMask;
        mirrored |= column << ((kColumns - 1 - c) * solver_bits::kColumnBits);
    }
    return mirrored;
}
