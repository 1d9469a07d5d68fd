#include "engine/search.h"

#include <cstdlib>

RandomSource FirstMoveRandom = &std::rand;

namespace {

// Random opening column: the stronger the level, the closer to the centre.
int FirstMoveColumn(int level) {
    const int r = FirstMoveRandom();
    if (level <= 3) return r % 7;
    if (level <= 6) return r % 5 + 1;
    return r % 3 + 2;
}

// A node with one ply left scores each move by ScoreMove alone; kept apart
// from Negamax so the most frequent nodes run without the recursion test.
int LeafNode(TPosition& position, int alpha, int beta, int ply) {
    const TPosition saved = position;
    int legal = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (!MakeMove(position, c)) continue;
        ++legal;
        const int s = ScoreMove(position);
        position = saved;
        if (s == WinScore) return MateAdjust(WinScore, ply);
        if (s > alpha) {
            alpha = s;
            if (s >= beta) return s;
        }
    }
    return legal == 0 ? 0 : alpha;
}

}  // namespace

int Negamax(TPosition& position, int alpha, int beta, int depth, int ply) {
    if (depth <= 1) return LeafNode(position, alpha, beta, ply);
    const TPosition saved = position;
    int legal = 0;
    for (int c = 0; c < kColumns; ++c) {
        if (!MakeMove(position, c)) continue;
        ++legal;
        // Only the four matters here: deeper nodes score the line themselves.
        if (HasFour(position, position.SideToMove ^ 1)) {
            position = saved;
            return MateAdjust(WinScore, ply);
        }
        const int s = -Negamax(position, -beta, -alpha, depth - 1, ply + 1);
        position = saved;
        if (s > alpha) {
            alpha = s;
            if (s >= beta) return s;
        }
    }
    return legal == 0 ? 0 : alpha;
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
