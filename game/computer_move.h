// The pieces of the computer's turn that do not need the game object: the
// level, the think-output texts, the choice of a chatter remark and the
// random source of the search. TGame::ComputerMove (game_flow.cpp) puts them
// together.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/search.h"
#include "game/clock.h"

// Search depth for the level box's text. The box offers "1" to "10"; any
// other text is brought into that range (a non-number counts as 1) so that a
// wrong text can never start an endless search.
int LevelFromText(std::string_view text);

// First search-info line for the score s of the computer's move (seen from
// the computer): "Score: Win in p" when s > 15000 and "Score: Lose in p" when
// s < -15000, p being the ply of the four counting the move just played as 1;
// otherwise "Score: s".
std::string ScoreLine(int s);

// Thousands of moves per second for a search that made `totalMoves` moves
// between the tick counts t0 and t1: the integer quotient of totalMoves by
// t1 - t0 + 1, so a search shorter than one tick reports totalMoves. When the
// counter wrapped during the search (t1 < t0) the speed is 0.
std::int64_t SearchSpeed(std::uint32_t t0, std::uint32_t t1, std::int32_t totalMoves);

// Whether the computer makes a remark after a move scoring s, given the
// first draw r1: at random (r1 mod 1000 above 800), and always when its move
// completed four (30000) or the user completes four next move (-29999).
bool MakesRemark(int r1, int s);

// The remark for a move scoring s, given the second draw r2: losing list
// below -100, winning list above 100, neutral list in between.
std::string_view RemarkFor(int s, int r2);

// For its lifetime, points the engine's first-move draw (FirstMoveRandom) at
// `random`, so that the search's opening move and the chatter draw from one
// source, in order: first move (if any), then r1, then r2. Restores the
// previous source when it ends; scopes may nest.
class TSearchRandomScope {
  public:
    explicit TSearchRandomScope(RandomGenerator& random);
    ~TSearchRandomScope();
    TSearchRandomScope(const TSearchRandomScope&) = delete;
    TSearchRandomScope& operator=(const TSearchRandomScope&) = delete;

  private:
    RandomSource saved_pointer_;
    RandomGenerator* saved_random_;
};
