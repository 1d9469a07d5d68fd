#include "tools/analyze/analyzer.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <istream>
#include <ostream>

#include "engine/search.h"
#include "tools/analyze/bench_suite.h"
#include "tools/analyze/sequence.h"
#include "tools/analyze/solve_mode.h"

namespace {

constexpr const char* kUsage =
    "usage: fourfall-analyze [--level N] [--seed S]\n"
    "       fourfall-analyze --solve [--table MIB]\n"
    "       fourfall-analyze --bench\n"
    "       fourfall-analyze --help\n";

constexpr const char* kHelp =
    "Plays the Fourfall computer's move for positions read from standard input.\n"
    "\n"
    "Each input line is one position, written as the columns of its moves from\n"
    "the empty board, digits 1 to 7, Red first (\"4453\"). A line \"-\" or an empty\n"
    "line is the empty board. Spaces around the sequence and a trailing CR are\n"
    "ignored.\n"
    "\n"
    "For each line one output line is printed, five fields separated by spaces:\n"
    "  the sequence as given (\"-\" for the empty board),\n"
    "  the column played, 1 to 7 (0 when the board is full),\n"
    "  the score from the side to move (30001-k: four with its k-th move from now;\n"
    "  -(30001-k): the opponent forces four with move k; otherwise the evaluation),\n"
    "  the moves the search counted,\n"
    "  the microseconds the search took.\n"
    "With fewer than two stones on the board the move is random, as in the game.\n"
    "\n"
    "A line that is not a playable position (a character other than 1 to 7, a\n"
    "move into a full column, more than 42 moves, or a four already standing)\n"
    "is reported on standard error as \"line N: reason\" and skipped; the exit\n"
    "status is then 1.\n"
    "\n"
    "Options:\n"
    "  --level N   search depth in plies, 1 to 10 (default 4)\n"
    "  --seed S    seed for the random first moves (default: the clock)\n"
    "  --bench     play a fixed suite of self-play games at levels 10 and 8 and\n"
    "              print the moves counted, seconds searching, million moves per\n"
    "              second and the slowest single search\n"
    "  --solve     print the exact value under perfect play and the best moves\n"
    "              instead (see below)\n"
    "  --table MIB the solver's table in MiB, 1 to 65536, rounded down to a power\n"
    "              of two (default 256)\n"
    "  --help      show this text\n"
    "\n"
    "With --solve, the five fields of each output line are:\n"
    "  the sequence as given,\n"
    "  the value from the side to move: 0 a draw, +k it completes four with\n"
    "  move k of perfect play (its next move is move 1), -k the opponent does,\n"
    "  every column that keeps that value, ascending (\"345\"; 0 on a full board),\n"
    "  the positions the solver visited,\n"
    "  the microseconds it took.\n"
    "A long solve shows its progress when standard error is a terminal;\n"
    "Ctrl+C stops it, and the exit status is then 130.\n"
    "\n"
    "Exit status: 0 success, 1 some line was skipped, 2 bad option,\n"
    "130 interrupted.\n";

static_assert(TSolver::kDefaultTableBytes == std::size_t{256} << 20,
              "the help text states the solver's default table size");

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && !text.empty();
}

// The column in which `after` has one more stone than `before`, 1..7, or 0.
int PlayedColumn(const TPosition& before, const TPosition& after) {
    for (int c = 0; c < kColumns; ++c)
        if (before.NextBit[c] != after.NextBit[c]) return c + 1;
    return 0;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, AnalyzerOptions& options,
                  std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--bench") {
            options.bench = true;
        } else if (name == "--solve") {
            options.solve = true;
        } else if (name == "--table") {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    error = name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            if (!ParseNumber(value, options.tableMiB) || options.tableMiB < 1 ||
                options.tableMiB > kMaxTableMiB) {
                error = "table must be a number of MiB from 1 to " + std::to_string(kMaxTableMiB) +
                        ", not '" + value + "'";
                return false;
            }
        } else if (name == "--level" || name == "--seed") {
            if (!hasValue) {
                if (i + 1 >= args.size()) {
                    error = name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            if (name == "--level") {
                if (!ParseNumber(value, options.level) || options.level < 1 || options.level > 10) {
                    error = "level must be a number from 1 to 10, not '" + value + "'";
                    return false;
                }
            } else {
                if (!ParseNumber(value, options.seed)) {
                    error = "seed must be a number from 0 to 4294967295, not '" + value + "'";
                    return false;
                }
                options.seedGiven = true;
            }
        } else {
            error = "unknown argument '" + args[i] + "'";
            return false;
        }
        if (hasValue && name != "--level" && name != "--seed" && name != "--table") {
            error = name + " takes no value";
            return false;
        }
    }
    if (options.solve && options.bench) {
        error = "--solve and --bench cannot be combined";
        return false;
    }
    return true;
}

int AnalyzeLines(std::istream& in, std::ostream& out, std::ostream& err, int level,
                 TSolveMode* solve) {
    using Clock = std::chrono::steady_clock;
    int status = 0;
    long long lineNumber = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        SequenceResult parsed = ParseSequence(line);
        if (!parsed.ok) {
            err << "line " << lineNumber << ": " << parsed.error << std::endl;
            status = 1;
            continue;
        }
        if (solve != nullptr) {
            if (!solve->Answer(parsed, out)) break;
            continue;
        }
        const TPosition before = parsed.position;
        TotalMoves = 0;
        const auto start = Clock::now();
        const int score = SearchRoot(parsed.position, level);
        const auto took =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        out << parsed.text << ' ' << PlayedColumn(before, parsed.position) << ' ' << score << ' '
            << TotalMoves << ' ' << took.count() << std::endl;
    }
    return status;
}

int RunAnalyzer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    AnalyzerOptions options;
    std::string error;
    if (!ParseOptions(args, options, error)) {
        err << "fourfall-analyze: " << error << '\n' << kUsage;
        return 2;
    }
    if (options.help) {
        out << kUsage << '\n' << kHelp;
        return 0;
    }
    InitBitCount();
    if (options.bench) {
        RunBenchSuite(out);
        return 0;
    }
    if (options.solve) return RunSolveMode(options, in, out, err);
    std::srand(options.seedGiven ? options.seed : static_cast<unsigned>(std::time(nullptr)));
    return AnalyzeLines(in, out, err, options.level);
}
