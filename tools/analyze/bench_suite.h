// A fixed suite of complete self-play games for measuring the search.
#pragma once

#include <cstdint>
#include <iosfwd>

struct SuiteResult {
    int level = 0;
    int games = 0;
    int searches = 0;
    std::int64_t moves = 0;     // the moves counted, summed over every search
    double seconds = 0;         // time spent searching
    double slowestSeconds = 0;  // the longest single search
    std::int64_t slowestMoves = 0;
};

// Plays, at `level`, one complete game from the empty board for each of the
// nine openings in which both first stones fall into columns 2..4 (the
// range of the random first moves from level 7 up), both sides played by
// the searcher, until a four stands or the board is full. The first-move
// generator is scripted to produce each opening, so the games and their
// counts are the same on every run.
SuiteResult PlaySuite(int level);

// The benchmark of `fourfall-analyze --bench`: the suite at level 10, then
// at level 8, one report line each.
void RunBenchSuite(std::ostream& out);
