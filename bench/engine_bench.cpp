// Timings of the engine's pieces: the per-move scoring and searches of
// fixed depth from a few positions met in real games.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/search.h"

namespace {

// Positions as the columns of their moves, Red first: an early middle game,
// a crowded centre, and a late position with full columns.
constexpr std::string_view kPositions[] = {
    "4453",
    "4435212453",
    "33425655623224",
    "4435212453344233552455",
};

TPosition Play(std::string_view moves) {
    TPosition p;
    ClearPosition(p);
    for (const char m : moves) MakeMove(p, m - '1');
    return p;
}

std::vector<TPosition> AllPositions() {
    std::vector<TPosition> positions;
    for (const auto moves : kPositions) positions.push_back(Play(moves));
    return positions;
}

void BM_ScoreMove(benchmark::State& state) {
    const std::vector<TPosition> positions = AllPositions();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScoreMove(positions[i]));
        i = (i + 1) % positions.size();
    }
}
BENCHMARK(BM_ScoreMove);

void BM_HasFour(benchmark::State& state) {
    const std::vector<TPosition> positions = AllPositions();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(HasFour(positions[i], Red));
        i = (i + 1) % positions.size();
    }
}
BENCHMARK(BM_HasFour);

// A full-window search of the given depth from one position; the rate
// counter is the counted moves per second, the figure the game reports.
void BM_Negamax(benchmark::State& state) {
    const TPosition p = Play(kPositions[state.range(0)]);
    const int depth = static_cast<int>(state.range(1));
    Searcher searcher(&std::rand);
    std::int64_t moves = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(searcher.Negamax(p, -InfiniteScore, InfiniteScore, depth, 1));
        moves += searcher.Moves();
    }
    state.counters["moves"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Negamax)
    ->ArgNames({"position", "depth"})
    ->ArgsProduct({{0, 1, 2, 3}, {1, 4, 7}})
    ->Unit(benchmark::kMicrosecond);

// The computer's whole turn at level 8 and 10 from the second position.
void BM_Search(benchmark::State& state) {
    const TPosition start = Play(kPositions[1]);
    const int level = static_cast<int>(state.range(0));
    Searcher searcher(&std::rand);
    std::int64_t moves = 0;
    for (auto _ : state) {
        const SearchResult result = searcher.Search(start, level);
        benchmark::DoNotOptimize(result);
        moves += result.moves;
    }
    state.counters["moves"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Search)->ArgName("level")->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
