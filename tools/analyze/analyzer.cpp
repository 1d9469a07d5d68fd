#include "tools/analyze/analyzer.h"

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <ios>
#include <istream>
#include <new>
#include <ostream>
#include <system_error>

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
    "Ctrl+C stops it.\n"
    "\n"
    "Exit status:\n"
    "  0   every line was analysed\n"
    "  1   some line was not a position and was skipped\n"
    "  2   bad option or value; nothing was read\n"
    "  3   the input could not be read or the output could not be written\n"
    "      (also when the reader of a pipe has gone away)\n"
    "  4   out of memory (also when the solver's table cannot be had)\n"
    "  130 a solve was interrupted by Ctrl+C\n"
    "Statuses 3, 4 and 130 stop the program at once, with one message on\n"
    "standard error.\n";

static_assert(TSolver::kDefaultTableBytes == std::size_t{256} << 20,
              "the help text states the solver's default table size");

// A command-line value as it can be shown in a one-line message: in single
// quotes, with quotes, backslashes and bytes that are not printable ASCII
// written as \xNN.
std::string Quoted(const std::string& value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string quoted = "'";
    for (const char ch : value) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= 0x20 && byte < 0x7F && ch != '\'' && ch != '\\') {
            quoted += ch;
        } else {
            quoted += "\\x";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 15];
        }
    }
    return quoted + "'";
}

// Runs `body` with write errors on `out` thrown, and turns every failure of
// reading, writing or allocating into one message and its exit status.
template <typename Body>
int Guarded(std::ostream& out, std::ostream& err, Body body) {
    const std::ios::iostate thrown = out.exceptions();
    int status = kExitOk;
    try {
        out.exceptions(std::ios::badbit);
        status = body();
        out.flush();
    } catch (const std::bad_alloc&) {
        err << "fourfall-analyze: out of memory" << std::endl;
        status = kExitNoMemory;
    } catch (const std::ios_base::failure&) {
        err << "fourfall-analyze: cannot write the output" << std::endl;
        status = kExitIoError;
    } catch (const std::system_error& error) {
        err << "fourfall-analyze: " << error.what() << std::endl;
        status = kExitIoError;
    }
    out.exceptions(thrown & ~std::ios::badbit);
    return status;
}

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
                        ", not " + Quoted(value);
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
                    error = "level must be a number from 1 to 10, not " + Quoted(value);
                    return false;
                }
            } else {
                if (!ParseNumber(value, options.seed)) {
                    error = "seed must be a number from 0 to 4294967295, not " + Quoted(value);
                    return false;
                }
                options.seedGiven = true;
            }
        } else {
            error = "unknown argument " + Quoted(args[i]);
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

namespace {

int AnalyzeEachLine(std::istream& in, std::ostream& out, std::ostream& err, int level,
                    TSolveMode* solve) {
    using Clock = std::chrono::steady_clock;
    using Traits = std::istream::traits_type;
    std::streambuf* const source = in.rdbuf();
    if (source == nullptr) return kExitOk;
    int status = kExitOk;
    long long lineNumber = 0;
    SequenceScanner scanner;
    bool lineStarted = false;
    for (;;) {
        // The bytes go straight into the scanner: a line is never stored.
        const Traits::int_type next = source->sbumpc();
        const bool end = Traits::eq_int_type(next, Traits::eof());
        if (end && !lineStarted) break;
        if (!end && next != '\n') {
            scanner.Feed(Traits::to_char_type(next));
            lineStarted = true;
            continue;
        }
        lineStarted = false;
        ++lineNumber;
        SequenceResult parsed = scanner.Finish();
        if (!parsed.ok) {
            err << "line " << lineNumber << ": " << parsed.error << std::endl;
            status = kExitBadLine;
        } else if (solve != nullptr) {
            if (!solve->Answer(parsed, out)) break;
        } else {
            // The C runtime generator, seeded by RunAnalyzer, as in the game.
            Searcher searcher(&std::rand);
            const auto start = Clock::now();
            const SearchResult result = searcher.Search(parsed.position, level);
            const auto took =
                std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
            out << parsed.text << ' ' << result.column + 1 << ' ' << result.score << ' '
                << result.moves << ' ' << took.count() << std::endl;
        }
        if (end) break;
    }
    return status;
}

}  // namespace

int AnalyzeLines(std::istream& in, std::ostream& out, std::ostream& err, int level,
                 TSolveMode* solve) {
    return Guarded(out, err, [&] { return AnalyzeEachLine(in, out, err, level, solve); });
}

int RunAnalyzer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    AnalyzerOptions options;
    std::string error;
    const int optionStatus = Guarded(out, err, [&] {
        if (ParseOptions(args, options, error)) return kExitOk;
        err << "fourfall-analyze: " << error << '\n' << kUsage;
        return kExitUsage;
    });
    if (optionStatus != kExitOk) return optionStatus;
    if (options.help) {
        return Guarded(out, err, [&] {
            out << kUsage << '\n' << kHelp;
            return kExitOk;
        });
    }
    InitBitCount();
    if (options.bench) {
        return Guarded(out, err, [&] {
            RunBenchSuite(out);
            return kExitOk;
        });
    }
    if (options.solve) return RunSolveMode(options, in, out, err);
    std::srand(options.seedGiven ? options.seed : static_cast<unsigned>(std::time(nullptr)));
    return AnalyzeLines(in, out, err, options.level);
}
