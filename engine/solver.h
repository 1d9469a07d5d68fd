// The exact value of a position under perfect play, and the moves that keep it.
//
// Perfect play means that the winner completes four as early as it can and
// the loser puts it off as long as it can. The value is given in the moves
// of the line from the side to move, whose next move is move 1, as the
// search info counts them:
//
//   0    a draw (also a full board)
//   +k   the side to move completes four with move k (k odd)
//   -k   the opponent completes four with move k (k even)
//
// Inside the solver a position's score is the winner's stones still in hand
// when it completes four, plus one: positive when the side to move wins,
// negative when it loses, 0 for a draw, so that a higher score is always
// better for the side to move and scores lie in -21..21. The solver is a
// negamax search with alpha-beta pruning on that score, run with null
// windows that narrow the value down, over bitboards, with a transposition
// table of fixed size. It uses one core and allocates only its table.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/position.h"
#include "engine/solver_board.h"
#include "engine/solver_table.h"

// The score of a position with `empty` empty cells whose value is `value`,
// and back. Both assume the pair is possible on a board of that size.
int ValueToScore(int value, int empty);
int ScoreToValue(int score, int empty);

struct TSolveResult {
    bool complete = false;  // false when stopped before the answer was known
    int value = 0;          // see above; meaningful only when complete
    // Bit c is set for each column c whose move keeps the value; 0 on a full
    // board.
    std::uint8_t bestColumns = 0;
    std::uint64_t positions = 0;  // positions visited, the root included
};

// What a long solve knows so far: the value lies between `worst` and `best`
// (in the move numbering above, worst for the side to move first).
struct TSolveProgress {
    std::uint64_t positions;
    int worst;
    int best;
};
using SolveProgressFn = void (*)(void* context, const TSolveProgress& progress);

class TSolver {
  public:
    static constexpr std::size_t kDefaultTableBytes = std::size_t{256} << 20;

    // Allocates the table once; throws std::bad_alloc when that fails.
    explicit TSolver(std::size_t tableBytes = kDefaultTableBytes);

    // The solve stops soon after *stop becomes true (it may be set from a
    // signal handler) and returns an incomplete result.
    void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

    // Called every few milliseconds of a solve, from the solving thread.
    void SetProgress(SolveProgressFn progress, void* context) {
        progress_ = progress;
        progressContext_ = context;
    }

    // Solves `position`, which must be valid with no four standing. Every
    // solve starts from an empty table, so its result and its count of
    // positions do not depend on earlier solves.
    TSolveResult Solve(const TPosition& position);

    std::size_t TableEntries() const { return table_.Entries(); }

  private:
    // The score of `board`, whose side to move cannot complete four at once,
    // against the window (alpha, beta) with alpha < beta:
    //   true score <= alpha        returns r with true score <= r <= alpha
    //   alpha < true score < beta  returns the true score
    //   true score >= beta         returns r with beta <= r <= true score
    int Negamax(const TBitBoard& board, int alpha, int beta);

    // The exact score of `board` under the same assumption, by null windows.
    int RootScore(const TBitBoard& board);

    void Poll();

    TTranspositionTable table_;
    const std::atomic<bool>* stop_ = nullptr;
    SolveProgressFn progress_ = nullptr;
    void* progressContext_ = nullptr;
    std::uint64_t nodes_ = 0;
    bool stopped_ = false;
    int rootEmpty_ = 0;
    int rootLower_ = 0;
    int rootUpper_ = 0;
};
