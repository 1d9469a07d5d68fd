// The computer's move: fixed-depth negamax with alpha-beta pruning.
//
// Scores are seen from the side to move at the node that returns them.
// A four made with the k-th move of a searched line (the computer's present
// move is move 1) scores 30001 - k for the computer and -(30001 - k) for the
// opponent; every other score is an evaluation difference within -348..348.
// Columns are always tried 0..6 and only a strictly better score replaces
// the best so far, so ties go to the lowest column. TotalMoves counts every
// stone dropped, trial moves included; callers reset it before a search.
#pragma once

#include "engine/evaluate.h"
#include "engine/position.h"

// Source of the non-negative pseudo-random numbers behind the random first
// move. The program uses the C runtime generator (std::rand); tests may
// replace it.
using RandomSource = int (*)();
extern RandomSource FirstMoveRandom;

// score - ply for a positive score, score + ply otherwise.
constexpr int MateAdjust(int score, int ply) { return score > 0 ? score - ply : score + ply; }

// Plays the computer's move for the side to move at `level` plies (below 1
// searches like 1) and returns its score. With fewer than two stones on the
// board it plays a random column instead (range by level) and returns 0; on
// a full board it returns 0 and leaves the position unchanged.
int SearchRoot(TPosition& position, int level);

// Value of `position` for its side to move within (alpha, beta); `depth` >= 1
// plies remain, `ply` >= 1 moves lie between the root and this node. The
// position is the same on return as on entry.
int Negamax(TPosition& position, int alpha, int beta, int depth, int ply);
