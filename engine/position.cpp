#include "engine/position.h"

std::int32_t TotalMoves = 0;
std::uint8_t BitCount[64] = {};

void InitBitCount() {
    for (int i = 0; i < 64; ++i) {
        BitCount[i] = 0;
        for (int j = 0; j < 6; ++j)
            if (i & (1 << j)) ++BitCount[i];
    }
}

void ClearPosition(TPosition& position) {
    position.SideToMove = Red;
    for (int c = 0; c < kColumns; ++c) {
        position.Stones[Red][c] = 0;
        position.Stones[Blue][c] = 0;
        position.NextBit[c] = 1;
    }
    position.MoveCount = 0;
}

bool IsValidPosition(const TPosition& position) {
    int stones = 0;
    for (int c = 0; c < kColumns; ++c) {
        const unsigned red = position.Stones[Red][c];
        const unsigned blue = position.Stones[Blue][c];
        const unsigned next = position.NextBit[c];
        if (red & blue) return false;
        if (next != 1 && next != 2 && next != 4 && next != 8 && next != 16 && next != 32 &&
            next != 64)
            return false;
        if ((red | blue) != next - 1) return false;
        stones += __builtin_popcount(red | blue);
    }
    return position.MoveCount == stones && position.SideToMove == (stones & 1);
}
