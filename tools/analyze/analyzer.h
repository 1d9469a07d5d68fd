// fourfall-analyze: the engine's move and score for positions read from a
// stream, one per line, and a fixed self-play benchmark.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
// <microseconds>" to `out`. A line that is not a playable position gets
// "line N: <reason>" on `err` and is skipped. Returns 0, or 1 when any line
// was skipped. InitBitCount must have run. With `solve`, each position gets
// the solver's answer instead, and an interrupted solve ends the loop.
int AnalyzeLines(std::istream& in, std::ostream& out, std::ostream& err, int level,
                 TSolveMode* solve = nullptr);

// The whole program: options, seeding, then the lines or the benchmark.
// Returns the exit status: 0, 1 when a line was skipped, 2 for bad options.
int RunAnalyzer(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);
