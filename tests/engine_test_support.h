// Small builders for engine test positions.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "engine/evaluate.h"
#include "engine/position.h"

namespace engine_test {

using Cell = std::pair<int, int>;  // (column, row)

// The position reached by playing the columns of `moves` ("4453", digits 1..7)
// from the empty board. TotalMoves is left as it was.
inline TPosition FromColumns(std::string_view moves) {
    const std::int32_t total = TotalMoves;
    TPosition p;
    ClearPosition(p);
    for (const char m : moves) {
        const int ok = MakeMove(p, m - '1');
        EXPECT_EQ(ok, 1) << "column full in " << moves;
    }
    TotalMoves = total;
    return p;
}

// `mask` with the bit of row `row` set.
inline std::uint8_t Bit(std::uint8_t mask, int row) {
    return static_cast<std::uint8_t>(mask | 1u << row);
}

// A position with exactly these stones; every column must be filled from
// the bottom without gaps. The side to move follows from the stone count.
inline TPosition FromCells(std::initializer_list<Cell> red, std::initializer_list<Cell> blue) {
    TPosition p;
    ClearPosition(p);
    int count = 0;
    for (const auto& [c, r] : red) p.Stones[Red][c] = Bit(p.Stones[Red][c], r), ++count;
    for (const auto& [c, r] : blue) p.Stones[Blue][c] = Bit(p.Stones[Blue][c], r), ++count;
    for (int c = 0; c < kColumns; ++c) {
        int height = 0;
        while ((p.Stones[Red][c] | p.Stones[Blue][c]) >> height & 1) ++height;
        p.NextBit[c] = static_cast<std::uint8_t>(1 << height);
    }
    p.MoveCount = static_cast<std::uint8_t>(count);
    p.SideToMove = static_cast<std::uint8_t>(count & 1);
    EXPECT_TRUE(IsValidPosition(p)) << "test position has a gap or overlap";
    return p;
}

inline bool SameBytes(const TPosition& a, const TPosition& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace engine_test
