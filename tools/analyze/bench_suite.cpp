#include "tools/analyze/bench_suite.h"

#include <chrono>
#include <ostream>

#include "engine/search.h"

namespace {

// The scripted first-move generator: the values it hands out in turn.
int gScript[2];
int gScriptNext = 0;

int ScriptedRandom() { return gScript[gScriptNext++ % 2]; }

// The generator value that makes SearchRoot's random move at `level` pick
// `column`, given the range each level draws from.
int RandomValueFor(int level, int column) {
    if (level <= 3) return column;
    if (level <= 6) return column - 1;
    return column - 2;
}

void Report(std::ostream& out, const SuiteResult& r) {
    const double millions = r.seconds > 0 ? static_cast<double>(r.moves) / r.seconds / 1e6 : 0;
    out << "level " << r.level << ": " << r.games << " games, " << r.searches << " searches, "
        << r.moves << " moves counted, " << r.seconds << " s searching, " << millions
        << " million moves/s, slowest search " << r.slowestSeconds * 1000 << " ms ("
        << r.slowestMoves << " moves)" << std::endl;
}

}  // namespace

SuiteResult PlaySuite(int level) {
    using Clock = std::chrono::steady_clock;
    SuiteResult result;
    result.level = level;
    const RandomSource savedRandom = FirstMoveRandom;
    FirstMoveRandom = &ScriptedRandom;
    for (int first = 2; first <= 4; ++first) {
        for (int second = 2; second <= 4; ++second) {
            gScript[0] = RandomValueFor(level, first);
            gScript[1] = RandomValueFor(level, second);
            gScriptNext = 0;
            TPosition position;
            ClearPosition(position);
            while (position.MoveCount < kCells) {
                const int before = position.MoveCount;
                TotalMoves = 0;
                const auto start = Clock::now();
                SearchRoot(position, level);
                const std::chrono::duration<double> took = Clock::now() - start;
                ++result.searches;
                result.moves += TotalMoves;
                result.seconds += took.count();
                if (took.count() > result.slowestSeconds) {
                    result.slowestSeconds = took.count();
                    result.slowestMoves = TotalMoves;
                }
                if (position.MoveCount == before) break;
                if (HasFour(position, position.SideToMove ^ 1)) break;
            }
            ++result.games;
        }
    }
    FirstMoveRandom = savedRandom;
    return result;
}

void RunBenchSuite(std::ostream& out) {
    out.setf(std::ios::fixed);
    out.precision(3);
    Report(out, PlaySuite(10));
    Report(out, PlaySuite(8));
}
