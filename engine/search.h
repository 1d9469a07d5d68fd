// The computer's move: fixed-depth negamax with alpha-beta pruning.
//
// Scores are seen from the side to move at the node that returns them.
// A four made with the k-th move of a searched line (the computer's present
// move is move 1) scores 30001 - k for the computer and -(30001 - k) for the
// opponent; every other score is an evaluation difference within -348..348.
// Columns are always tried 0..6 and only a strictly better score replaces
// the best so far, so ties go to the lowest column. Every stone dropped is
// counted, trial moves included.
//
// The engine's entry is Searcher: it reads a const position and keeps its
// count in the object, so searches share no state. SearchRoot, Negamax,
// TotalMoves and FirstMoveRandom are the game's interface over it.
#pragma once

#include <cstdint>
#include <type_traits>

#include "engine/evaluate.h"
#include "engine/position.h"

// Source of the non-negative pseudo-random numbers behind the random first
// move. The program uses the C runtime generator (std::rand); tests may
// replace it.
using RandomSource = int (*)();
extern RandomSource FirstMoveRandom;

// A borrowed source of non-negative pseudo-random numbers: a plain function,
// or a callable object that outlives the search. A search draws from it at
// most once, for the random first move.
class RandomDraw {
  public:
    RandomDraw(int (*function)()) : function_(function) {}
    template <typename Callable>
    requires(!std::is_same_v<std::remove_cv_t<Callable>, RandomDraw>) RandomDraw(Callable& object)
        : object_(&object), call_(&Call<Callable>) {}

    int operator()() const { return object_ != nullptr ? call_(object_) : function_(); }

  private:
    template <typename Callable>
    static int Call(void* object) {
        return (*static_cast<Callable*>(object))();
    }

    int (*function_)() = nullptr;
    void* object_ = nullptr;
    int (*call_)(void*) = nullptr;
};

// What one search chose. `column` is 0..6, or -1 on a full board; `moves`
// counts every stone the search dropped, the chosen one included (0 on a
// full board, 1 for the random first move and for an immediate four).
struct SearchResult {
    int column = -1;
    int score = 0;
    std::int32_t moves = 0;
};

// score - ply for a positive score, score + ply otherwise.
constexpr int MateAdjust(int score, int ply) { return score > 0 ? score - ply : score + ply; }

class Searcher {
  public:
    explicit Searcher(RandomDraw random) : random_(random) {}

    // The computer's move for the side to move of a valid `position` at
    // `level` plies (below 1 searches like 1), and its score. With fewer
    // than two stones on the board the column is random (range by level)
    // and the score 0; on a full board the column is -1 and the score 0.
    SearchResult Search(const TPosition& position, int level);

    // The value of a valid `position` for its side to move, searched
    // `depth` (1..42) plies deep at `ply` (1..42) moves from the root, with
    // alpha < beta. Fail-hard below the window, not above it. Columns are
    // tried in order, and the first that completes a four returns 30000 -
    // ply whatever the window, and the first whose score reaches beta
    // returns that score (beta or more). Otherwise a true value inside
    // (alpha, beta) is returned as it is, one at or below alpha returns
    // alpha, and a node without a legal move returns 0. Moves() afterwards
    // holds the stones this call dropped.
    int Negamax(const TPosition& position, int alpha, int beta, int depth, int ply);

    std::int32_t Moves() const { return moves_; }

  private:
    RandomDraw random_;
    std::int32_t moves_ = 0;
};

// Plays the computer's move for the side to move at `level` plies (below 1
// searches like 1) and returns its score, as Searcher::Search with the
// random first move drawn from FirstMoveRandom. Adds the moves counted to
// TotalMoves; on a full board it returns 0 and leaves the position unchanged.
int SearchRoot(TPosition& position, int level);

// Searcher::Negamax on `position`, which is the same on return as on entry,
// with the moves counted added to TotalMoves.
int Negamax(TPosition& position, int alpha, int beta, int depth, int ply);
