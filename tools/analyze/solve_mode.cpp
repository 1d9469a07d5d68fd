#include "tools/analyze/solve_mode.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <iostream>
#include <new>
#include <ostream>
#include <string>

#include "tools/analyze/fd_stream.h"

namespace {

using Clock = std::chrono::steady_clock;

// Solves shorter than this show no progress at all, so that a run over many
// easy positions does not flicker.
constexpr auto kQuietTime = std::chrono::milliseconds(500);
constexpr auto kRefreshTime = std::chrono::milliseconds(200);

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void OnInterrupt(int) { interrupted.store(true, std::memory_order_relaxed); }

// Catches Ctrl+C for as long as it lives, unless SIGINT was ignored when the
// program started (a background job of a shell without job control), which
// is then left as it was. Without SA_RESTART, a read waiting for input
// returns at once, so the line loop ends there too.
class TInterruptGuard {
  public:
    TInterruptGuard() {
        interrupted.store(false);
        struct sigaction action {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        if (sigaction(SIGINT, nullptr, &previous_) != 0 || previous_.sa_handler == SIG_IGN) return;
        installed_ = sigaction(SIGINT, &action, nullptr) == 0;
    }
    ~TInterruptGuard() {
        if (installed_) sigaction(SIGINT, &previous_, nullptr);
    }
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

  private:
    struct sigaction previous_ {};
    bool installed_ = false;
};

std::string SignedValue(int value) {
    std::string text = std::to_string(value);
    if (value > 0) text.insert(text.begin(), '+');
    return text;
}

std::string Columns(std::uint8_t bestColumns) {
    std::string digits;
    for (int c = 0; c < kColumns; ++c)
        if ((bestColumns >> c) & 1) digits += static_cast<char>('1' + c);
    return digits.empty() ? "0" : digits;
}

}  // namespace

TSolveMode::TSolveMode(std::size_t tableBytes, const std::atomic<bool>* stop,
                       std::ostream* progress)
    : solver_(tableBytes), progress_(progress) {
    solver_.SetStopFlag(stop);
    if (progress_ != nullptr) solver_.SetProgress(&TSolveMode::ShowProgress, this);
}

void TSolveMode::ShowProgress(void* self, const TSolveProgress& progress) {
    auto& mode = *static_cast<TSolveMode*>(self);
    const auto now = Clock::now();
    if (now - mode.start_ < kQuietTime || now - mode.lastShown_ < kRefreshTime) return;
    mode.lastShown_ = now;
    const double seconds = std::chrono::duration<double>(now - mode.start_).count();
    char figures[96];
    std::snprintf(figures, sizeof figures, ": %.1f M positions, %.1f s, value ",
                  static_cast<double>(progress.positions) / 1e6, seconds);
    std::string line = mode.current_->text + figures;
    if (progress.worst == progress.best)
        line += SignedValue(progress.best);
    else
        line += "between " + SignedValue(progress.worst) + " and " + SignedValue(progress.best);
    // Pad with blanks over whatever the previous, longer line left behind.
    const std::size_t width = line.size();
    if (width < mode.shownWidth_) line.append(mode.shownWidth_ - width, ' ');
    mode.shownWidth_ = width;
    *mode.progress_ << '\r' << line << std::flush;
}

void TSolveMode::ClearProgress() {
    if (shownWidth_ == 0) return;
    *progress_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

bool TSolveMode::Answer(const SequenceResult& parsed, std::ostream& out) {
    current_ = &parsed;
    start_ = Clock::now();
    lastShown_ = start_;
    const TSolveResult result = solver_.Solve(parsed.position);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_);
    if (progress_ != nullptr) ClearProgress();
    current_ = nullptr;
    if (!result.complete) return false;
    out << parsed.text << ' ' << SignedValue(result.value) << ' ' << Columns(result.bestColumns)
        << ' ' << result.positions << ' ' << took.count() << std::endl;
    return true;
}

int RunSolveMode(const AnalyzerOptions& options, std::istream& in, std::ostream& out,
                 std::ostream& err) {
    const std::size_t bytes = options.tableMiB > 0
                                  ? static_cast<std::size_t>(options.tableMiB) << 20
                                  : TSolver::kDefaultTableBytes;
    // Progress only for a person watching: standard error on a terminal.
    std::ostream* progress = &err == &std::cerr && isatty(STDERR_FILENO) ? &err : nullptr;
    TInterruptGuard guard;
    // Ctrl+C while we wait for the next line ends the input there.
    auto* const reader = dynamic_cast<FdInBuf*>(in.rdbuf());
    if (reader != nullptr) reader->EndOnInterrupt(&interrupted);
    int status = kExitOk;
    try {
        TSolveMode mode(bytes, &interrupted, progress);
        status = AnalyzeLines(in, out, err, options.level, &mode);
    } catch (const std::bad_alloc&) {
        err << "fourfall-analyze: cannot allocate a table of " << (bytes >> 20) << " MiB\n";
        if (reader != nullptr) reader->EndOnInterrupt(nullptr);
        return kExitNoMemory;
    }
    if (reader != nullptr) reader->EndOnInterrupt(nullptr);
    // A failure that has already been reported keeps its own status.
    if (interrupted.load() && status != kExitIoError && status != kExitNoMemory) {
        err << "fourfall-analyze: interrupted" << std::endl;
        return 130;
    }
    return status;
}
