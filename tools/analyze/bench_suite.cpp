#include "tools/analyze/bench_suite.h"

#include <chrono>
#include <ostream>

#include "engine/search.h"

namespace {

// The first-move generator of one game: it hands out the two values that
// make the random first moves at the suite's level pick the two opening
// columns, in turn.
class ScriptedOpening {
  public:
    ScriptedOpening(int level, int first, int second)
        : values_{RandomValueFor(level, first), RandomValueFor(level, second)} {}

    int operator()() { return values_[next_++ % 2]; }

  private:
    // The generator value that makes the random move at `level` pick
    // `column`, given the range each level draws from.
    static int RandomValueFor(int level, int column) {
        if (level <= 3) return column;
        if (level <= 6) return column - 1;
        return column - 2;
    }

    int values_[2];
    int next_ = 0;
};

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
    for (int first = 2; first <= 4; ++first) {
        for (int second = 2; second <= 4; ++second) {
            ScriptedOpening opening(level, first, second);
            Searcher searcher(opening);
            TPosition position;
            ClearPosition(position);
            while (position.MoveCount < kCells) {
                const auto start = Clock::now();
                const SearchResult move = searcher.Search(position, level);
                const std::chrono::duration<double> took = Clock::now() - start;
                ++result.searches;
                result.moves += move.moves;
                result.seconds += took.count();
                if (took.count() > result.slowestSeconds) {
                    result.slowestSeconds = took.count();
                    result.slowestMoves = move.moves;
                }
                if (move.column < 0) break;
                DropStone(position, move.column);
                if (HasFour(position, position.SideToMove ^ 1)) break;
            }
            ++result.games;
        }
    }
    return result;
}

void RunBenchSuite(std::ostream& out) {
    out.setf(std::ios::fixed);
    out.precision(3);
    Report(out, PlaySuite(10));
    Report(out, PlaySuite(8));
}
