// fourfall-analyze: the engine's move and score for positions read from a
// stream, one per line, and a fixed self-play benchmark.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The program's exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitBadLine = 1;   // some input line was not a position and was skipped
constexpr int kExitUsage = 2;     // a bad option or value; nothing was read
constexpr int kExitIoError = 3;   // the input could not be read or the output written
constexpr int kExitNoMemory = 4;  // memory ran out

class TSolveMode;

struct AnalyzerOptions {
    int level = 4;
    bool seedGiven = false;
    unsigned seed = 0;
    bool help = false;
    bool bench = false;
    bool solve = false;
    int tableMiB = 0;  // the solver's table; 0 for its default size
};

// Reads the command-line arguments (without the program name). Returns false
// and a one-line reason for an unknown option, a missing or malformed value,
// or a level outside 1..10.
bool ParseOptions(const std::vector<std::string>& args, AnalyzerOptions& options,
                  std::string& error);

// For each line of `in`, plays the computer's move at `level` and writes
// "<sequence> <column 1-7, 0 on a full board> <score> <moves counted>
// <microseconds>" to `out`, flushed line by line. A line that is not a
// playable position gets "line N: <reason>" on `err` and is skipped; only a
// bounded part of a line is ever kept, however long it is. A read or write
// error or a failed allocation ends the loop with one message on `err`.
// Returns kExitOk, kExitBadLine when any line was skipped, or kExitIoError or
// kExitNoMemory. With `solve`, each position gets the solver's answer
// instead, and an interrupted solve ends the loop.
int AnalyzeLines(std::istream& in, std::ostream& out, std::ostream& err, int level,
                 TSolveMode* solve = nullptr);

// The whole program: options, seeding, then the lines or the benchmark.
// Returns one of the exit statuses above.
int RunAnalyzer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);
