// The exact solver against a plain game-tree walk on near-full boards and
// against the level search's own win and loss claims, and the --solve mode
// of fourfall-analyze around it.
#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/search.h"
#include "engine/solver.h"
#include "engine_test_support.h"
#include "tools/analyze/analyzer.h"

namespace {

using engine_test::FromColumns;

// Small tables keep the tests light under the sanitizers; what they check
// does not depend on the size.
constexpr std::size_t kTestTable = std::size_t{4} << 20;

// A random game of `stones` moves in which no move completes four, and the
// columns it played ("1".."7").
std::string RandomGame(std::mt19937& random, int stones) {
    for (;;) {
        TPosition p;
        ClearPosition(p);
        std::string moves;
        while (static_cast<int>(moves.size()) < stones) {
            std::vector<int> choices;
            for (int c = 0; c < kColumns; ++c) {
                TPosition next = p;
                if (MakeMove(next, c) && !HasFour(next, p.SideToMove)) choices.push_back(c);
            }
            if (choices.empty()) break;
            const int c = choices[random() % choices.size()];
            MakeMove(p, c);
            moves += static_cast<char>('1' + c);
        }
        if (static_cast<int>(moves.size()) == stones) return moves;
    }
}

// Values compared by what they are worth to the side to move: an earlier win
// is better, a later loss is better, a draw lies between.
int Worth(int value) {
    if (value > 0) return 100 - value;
    if (value < 0) return -100 - value;
    return 0;
}

struct Reference {
    int value;
    std::uint8_t columns;
};

// Every line of play to the end, one column at a time: a move that completes
// four wins with move 1, otherwise the opponent's value passed back one move
// later. Only for boards with few empty cells.
Reference Walk(const TPosition& p) {
    Reference best{0, 0};
    int bestWorth = -1000;
    for (int c = 0; c < kColumns; ++c) {
        TPosition next = p;
        if (!MakeMove(next, c)) continue;
        int value = 1;
        if (!HasFour(next, p.SideToMove)) {
            const int theirs = Walk(next).value;
            value = theirs == 0 ? 0 : theirs > 0 ? -(theirs + 1) : -theirs + 1;
        }
        if (Worth(value) > bestWorth) {
            bestWorth = Worth(value);
            best = {value, 0};
        }
        if (Worth(value) == bestWorth)
            best.columns = static_cast<std::uint8_t>(best.columns | 1 << c);
    }
    return best;
}

TPosition Mirrored(const TPosition& p) {
    TPosition m = p;
    for (int c = 0; c < kColumns; ++c) {
        m.Stones[Red][c] = p.Stones[Red][kColumns - 1 - c];
        m.Stones[Blue][c] = p.Stones[Blue][kColumns - 1 - c];
        m.NextBit[c] = p.NextBit[kColumns - 1 - c];
    }
    return m;
}

std::uint8_t MirroredColumns(std::uint8_t columns) {
    std::uint8_t m = 0;
    for (int c = 0; c < kColumns; ++c)
        if ((columns >> c) & 1) m = static_cast<std::uint8_t>(m | 1 << (kColumns - 1 - c));
    return m;
}

class Solver : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { InitBitCount(); }
    TSolver solver{kTestTable};
};

TEST_F(Solver, KnownPositions) {
    struct Row {
        const char* moves;
        int value;
        std::uint8_t columns;  // bit c for column c, 0-based
    } rows[] = {
        // An open three on the bottom row, with column 2 or 5, wins with move 3.
        {"3344", 3, 0b0010010},
        // Either end of three on the bottom row wins at once.
        {"223344", 1, 0b0010001},
        // Blue holds three on the bottom row with both ends open: whatever
        // Red plays, Blue completes four with move 2.
        {"627364", -2, 0b1111111},
        // A drawn game's last stone, and the full board it leaves.
        {"44276122537725234254556347417537166663131", 0, 0b0000001},
        {"442761225377252342545563474175371666631311", 0, 0},
    };
    for (const Row& r : rows) {
        const TSolveResult result = solver.Solve(FromColumns(r.moves));
        ASSERT_TRUE(result.complete) << r.moves;
        EXPECT_EQ(result.value, r.value) << r.moves;
        EXPECT_EQ(result.bestColumns, r.columns) << r.moves;
        EXPECT_GE(result.positions, 1u) << r.moves;
    }
}

TEST_F(Solver, AgreesWithAFullWalkOnNearFullBoards) {
    std::mt19937 random(12);
    int wins = 0, losses = 0, draws = 0;
    for (int i = 0; i < 300; ++i) {
        const std::string moves = RandomGame(random, kCells - 4 - i % 5);
        const TPosition p = FromColumns(moves);
        const Reference expected = Walk(p);
        const TSolveResult result = solver.Solve(p);
        ASSERT_TRUE(result.complete);
        EXPECT_EQ(result.value, expected.value) << moves;
        EXPECT_EQ(result.bestColumns, expected.columns) << moves;
        // The same position seen in a mirror: the same value, mirrored moves.
        const TSolveResult mirror = solver.Solve(Mirrored(p));
        EXPECT_EQ(mirror.value, expected.value) << moves;
        EXPECT_EQ(mirror.bestColumns, MirroredColumns(expected.columns)) << moves;
        (expected.value > 0 ? wins : expected.value < 0 ? losses : draws)++;
    }
    // The random boards must exercise every kind of outcome.
    EXPECT_GT(wins, 10);
    EXPECT_GT(losses, 10);
    EXPECT_GT(draws, 10);
}

// The level search sees a four up to move L of its lines, exactly; so where
// it claims a four with move k the solver must give that value, and where
// the solver's four comes with move L or sooner the search must claim it.
TEST_F(Solver, AgreesWithTheLevelSearchOnFoursWithinItsDepth) {
    std::mt19937 random(4);
    int claims = 0;
    for (int i = 0; i < 100; ++i) {
        const std::string moves = RandomGame(random, 12 + i % 20);
        const TPosition p = FromColumns(moves);
        const TSolveResult result = solver.Solve(p);
        ASSERT_TRUE(result.complete);
        const int k = result.value > 0 ? result.value : -result.value;
        for (int level = 1; level <= 10; ++level) {
            TPosition searched = p;
            const int score = SearchRoot(searched, level);
            if (k != 0 && k <= level) {
                EXPECT_EQ(score, result.value > 0 ? 30001 - k : -(30001 - k))
                    << moves << " at level " << level << ": solver value " << result.value;
                ++claims;
            } else {
                EXPECT_LE(score < 0 ? -score : score, 348)
                    << moves << " at level " << level << ": solver value " << result.value;
            }
        }
    }
    EXPECT_GT(claims, 100);
}

TEST_F(Solver, EverySolveStartsAfresh) {
    const TPosition larger = FromColumns("442761225377252342");
    const TPosition small = FromColumns("4427612253772");
    TSolver fresh(kTestTable);
    const std::uint64_t alone = fresh.Solve(small).positions;
    // Many solves in between, past the point where the table's generations
    // run out and it is wiped.
    for (int i = 0; i < 300; ++i)
        solver.Solve(i % 50 ? FromColumns("4427612253772523425455634") : larger);
    const TSolveResult again = solver.Solve(small);
    EXPECT_EQ(again.positions, alone);
}

// A bound on a large subtree must outlive any number of small positions
// stored after it, even in the smallest table, where they share its bucket
// many times over; and the newest small position is still there to be found.
TEST(SolverTable, KeepsTheLargestSubtreeAndTheNewestEntry) {
    TTranspositionTable table(std::size_t{1} << 20);
    const std::uint64_t deep = 0x1234'5678'9ABCull;
    table.StoreLower(deep, 30, 5, 3);
    for (std::uint64_t key = 1; key <= 4 * table.Entries(); ++key) {
        table.StoreUpper(deep + key, 2, -1, -1);
        ASSERT_TRUE(table.Probe(deep + key).found) << key;
    }
    const TTableEntry kept = table.Probe(deep);
    ASSERT_TRUE(kept.found);
    EXPECT_EQ(kept.lower, 5);
    EXPECT_EQ(kept.move, 3);
    // A bound added later to the same position keeps the one it had.
    table.StoreUpper(deep, 30, 9, -1);
    EXPECT_EQ(table.Probe(deep).lower, 5);
    EXPECT_EQ(table.Probe(deep).upper, 9);
    table.Clear();
    EXPECT_FALSE(table.Probe(deep).found);
}

TEST_F(Solver, StopsWhenAskedAndReportsProgress) {
    std::atomic<bool> stop{false};
    struct Seen {
        std::atomic<bool>* stop;
        int calls = 0;
        TSolveProgress last{};
    } seen{&stop};
    solver.SetStopFlag(&stop);
    solver.SetProgress(
        [](void* context, const TSolveProgress& progress) {
            auto& s = *static_cast<Seen*>(context);
            s.last = progress;
            if (++s.calls == 3) s.stop->store(true);
        },
        &seen);
    const TSolveResult result = solver.Solve(FromColumns(""));
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(seen.calls, 3);
    EXPECT_GT(seen.last.positions, 0u);
    // The empty board is a win for Red, at the latest with its 21st stone.
    EXPECT_LE(Worth(seen.last.worst), Worth(41));
    EXPECT_GE(Worth(seen.last.best), Worth(41));
}

struct Outcome {
    int status;
    std::string out, err;
};

Outcome Analyze(const std::vector<std::string>& args, const std::string& input) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunAnalyzer(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The output with the last two fields of each line, the counts, checked to
// be numbers and dropped.
std::string WithoutCounts(const std::string& out) {
    std::istringstream lines(out);
    std::string line, result;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string text, value, columns;
        unsigned long long positions = 0, micros = 0;
        if (!(fields >> text >> value >> columns >> positions >> micros)) return "? " + line;
        result += text + ' ' + value + ' ' + columns + '\n';
    }
    return result;
}

TEST(SolveMode, PrintsValueAndBestColumns) {
    const Outcome run = Analyze({"--solve", "--table", "4"},
                                "3344\n 223344 \r\n627364\n"
                                "442761225377252342545563474175371666631311\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(WithoutCounts(run.out).substr(0, 10), "3344 +3 25");
    EXPECT_EQ(WithoutCounts(run.out),
              "3344 +3 25\n223344 +1 15\n627364 -2 1234567\n"
              "442761225377252342545563474175371666631311 0 0\n");
}

TEST(SolveMode, BadLinesAndOptionsAsInTheLevelMode) {
    const Outcome lines = Analyze({"--solve", "--table=4"}, "12x\n1111111\n3344\n1212121\n");
    EXPECT_EQ(lines.status, 1);
    EXPECT_EQ(WithoutCounts(lines.out), "3344 +3 25\n");
    EXPECT_EQ(lines.err,
              "line 1: 'x' at position 3 is not a column 1 to 7\n"
              "line 2: column 1 is full at move 7\n"
              "line 4: four in a row already stands after move 7\n");

    struct Row {
        std::vector<std::string> args;
        const char* message;
    } rows[] = {
        {{"--solve", "--table", "0"}, "table must be a number of MiB from 1 to 65536, not '0'"},
        {{"--solve", "--table=65537"},
         "table must be a number of MiB from 1 to 65536, not '65537'"},
        {{"--solve", "--table", "1M"}, "table must be a number of MiB from 1 to 65536, not '1M'"},
        {{"--solve", "--table"}, "--table needs a value"},
        {{"--solve=1"}, "--solve takes no value"},
        {{"--solve", "--bench"}, "--solve and --bench cannot be combined"},
    };
    for (const Row& r : rows) {
        const Outcome run = Analyze(r.args, "3344\n");
        EXPECT_EQ(run.status, 2) << r.message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  std::string("fourfall-analyze: ") + r.message);
    }
}

TEST(SolveMode, CtrlCStopsTheSolveAndTheInput) {
    // Waits until the solve mode has taken over SIGINT, then presses Ctrl+C.
    std::thread user([] {
        for (int i = 0; i < 2000; ++i) {
            struct sigaction current {};
            sigaction(SIGINT, nullptr, &current);
            if (current.sa_handler != SIG_DFL) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        kill(getpid(), SIGINT);
    });
    const auto start = std::chrono::steady_clock::now();
    const Outcome run = Analyze({"--solve", "--table", "16"}, "-\n3344\n");
    user.join();
    EXPECT_EQ(run.status, 130);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "fourfall-analyze: interrupted\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    // Ctrl+C is the system's again afterwards.
    struct sigaction after {};
    sigaction(SIGINT, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_DFL);
}

}  // namespace
