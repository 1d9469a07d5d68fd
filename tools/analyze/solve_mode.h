// fourfall-analyze --solve: the exact value and the best moves of each
// position read, through the same line loop as the level mode.
//
// Each answer line is "<sequence> <value> <columns> <positions>
// <microseconds>": the value as TSolver gives it ("0", "+3", "-12"), the
// columns that keep it as digits 1..7 ascending ("0" on a full board).
#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>

#include "engine/solver.h"
#include "tools/analyze/analyzer.h"
#include "tools/analyze/sequence.h"

// The largest table --table accepts, in MiB.
constexpr int kMaxTableMiB = 65536;

class TSolveMode {
  public:
    // `progress` receives the updating progress line of long solves; null
    // shows none. The solve stops when *stop becomes true. Throws
    // std::bad_alloc when the table cannot be had.
    TSolveMode(std::size_t tableBytes, const std::atomic<bool>* stop, std::ostream* progress);

    // Solves one parsed position and writes its answer line to `out`.
    // Returns false, writing nothing, when the solve was stopped.
    bool Answer(const SequenceResult& parsed, std::ostream& out);

  private:
    static void ShowProgress(void* self, const TSolveProgress& progress);
    void ClearProgress();

    TSolver solver_;
    std::ostream* progress_;
    const SequenceResult* current_ = nullptr;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastShown_;
    std::size_t shownWidth_ = 0;
};

// The --solve program: the table, Ctrl+C, progress on a terminal, then the
// line loop. Returns the exit status: that of the loop, 2 when the table
// cannot be allocated, 130 when interrupted.
int RunSolveMode(const AnalyzerOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err);
