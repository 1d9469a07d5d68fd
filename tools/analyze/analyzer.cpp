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

namespace {

constexpr const char* kUsage =
    "usage: fourfall-analyze [--level N] [--seed S]\n"
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
    "  --help      show this text\n"
    "\n"
    "Exit status: 0 success, 1 some line was skipped, 2 bad option.\n";

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end == last && !text.empty();
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
        if (hasValue && name != "--level" && name != "--seed") {
            error = name + " takes no value";
            return false;
        }
    }
    return true;
}

int AnalyzeLines(std::istream& in, std::ostream& out, std::ostream& err, int level) {
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
        // The C runtime generator, seeded by RunAnalyzer, as in the game.
        Searcher searcher(&std::rand);
        const auto start = Clock::now();
        const SearchResult result = searcher.Search(parsed.position, level);
        const auto took =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        out << parsed.text << ' ' << result.column + 1 << ' ' << result.score << ' ' << result.moves
            << ' ' << took.count() << std::endl;
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
    std::srand(options.seedGiven ? options.seed : static_cast<unsigned>(std::time(nullptr)));
    return AnalyzeLines(in, out, err, options.level);
}
