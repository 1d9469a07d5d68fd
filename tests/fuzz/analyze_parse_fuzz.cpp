// Feeds arbitrary text to fourfall-analyze's input handling: ParseSequence on
// the whole input as one line, then the line loop over the input as a
// stream. Each line is checked against a plain board kept here (a 7 x 6 grid
// and a scan for four in a row), so an accepted sequence must be exactly the
// position the grid reaches with no four standing at any move, and a refused
// one must be refused for the first fault the grid meets, with the reason the
// tool prints for it.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/evaluate.h"
#include "engine/position.h"
#include "tests/fuzz/fuzz_check.h"
#include "tools/analyze/analyzer.h"
#include "tools/analyze/sequence.h"

namespace {

constexpr int kLevel = 2;  // the search is not under test here; keep it cheap

class Grid {
  public:
    Grid() {
        for (auto& column : cells_)
            for (int& cell : column) cell = -1;
    }

    int Height(int column) const { return heights_[column]; }
    int Owner(int column, int row) const { return cells_[column][row]; }

    void Drop(int column, int player) { cells_[column][heights_[column]++] = player; }

    bool AnyFour() const {
        static constexpr int kDirections[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kRows; ++r) {
                const int owner = cells_[c][r];
                if (owner < 0) continue;
                for (const auto& d : kDirections) {
                    int k = 1;
                    while (k < 4 && Inside(c + k * d[0], r + k * d[1]) &&
                           cells_[c + k * d[0]][r + k * d[1]] == owner)
                        ++k;
                    if (k == 4) return true;
                }
            }
        }
        return false;
    }

  private:
    static bool Inside(int c, int r) { return c >= 0 && c < kColumns && r >= 0 && r < kRows; }

    int cells_[kColumns][kRows];
    int heights_[kColumns] = {};
};

// What the tool should make of one line.
struct Expected {
    bool ok = false;
    std::string text;   // the trimmed sequence, "-" for the empty board
    std::string error;  // the reason, when refused
    Grid grid;          // the board reached, when accepted
};

Expected Judge(std::string_view line) {
    Expected e;
    // Blanks and carriage returns at the end, blanks at the start.
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    std::size_t lead = 0;  // positions in messages count the line as written
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
        ++lead;
    }
    if (line.empty() || line == "-") {
        e.ok = true;
        e.text.assign(1, '-');  // GCC 12 warns falsely about assigning "-" here
        return e;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] < '1' || line[i] > '7') {
            e.error = " at position " + std::to_string(lead + i + 1) + " is not a column 1 to 7";
            return e;
        }
    }
    if (line.size() > 42) {
        e.error = std::to_string(line.size()) + " moves, more than the 42 cells of the board";
        return e;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        const int column = line[i] - '1';
        if (e.grid.Height(column) == kRows) {
            e.error = "column " + std::to_string(column + 1) + " is full at move " +
                      std::to_string(i + 1);
            return e;
        }
        e.grid.Drop(column, static_cast<int>(i % 2));
        if (e.grid.AnyFour()) {
            e.error = "four in a row already stands after move " + std::to_string(i + 1);
            return e;
        }
    }
    e.ok = true;
    e.text = std::string(line);
    return e;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void CheckParse(std::string_view line, const Expected& e) {
    constexpr std::int32_t kSentinel = 12345;
    TotalMoves = kSentinel;
    const SequenceResult result = ParseSequence(line);
    FUZZ_CHECK(TotalMoves == kSentinel);
    FUZZ_CHECK(result.ok == e.ok);
    if (!e.ok) {
        FUZZ_CHECK(!result.error.empty());
        FUZZ_CHECK(result.error.find_first_of("\r\n") == std::string::npos);
        // A bad character is shown quoted or as a byte value in front of the
        // part checked here.
        if (e.error.front() == ' ')
            FUZZ_CHECK(EndsWith(result.error, e.error) && result.error.size() > e.error.size());
        else
            FUZZ_CHECK(result.error == e.error);
        return;
    }
    FUZZ_CHECK(result.error.empty());
    FUZZ_CHECK(result.text == e.text);
    const TPosition& p = result.position;
    FUZZ_CHECK(IsValidPosition(p));
    FUZZ_CHECK(!HasFour(p, Red) && !HasFour(p, Blue));
    int stones = 0;
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int owner = e.grid.Owner(c, r);
            FUZZ_CHECK(((p.Stones[Red][c] >> r) & 1) == (owner == Red));
            FUZZ_CHECK(((p.Stones[Blue][c] >> r) & 1) == (owner == Blue));
        }
        stones += e.grid.Height(c);
    }
    FUZZ_CHECK(p.MoveCount == stones);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// The line loop: one output line per accepted line, "line N: reason" on the
// error stream per refused one, in input order, and status 1 exactly when a
// line was refused.
void CheckLines(const std::string& input) {
    const std::vector<std::string> lines = SplitLines(input);
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = AnalyzeLines(in, out, err, kLevel);

    const std::vector<std::string> outLines = SplitLines(out.str());
    const std::vector<std::string> errLines = SplitLines(err.str());
    FUZZ_CHECK(out.str().empty() || out.str().back() == '\n');
    FUZZ_CHECK(err.str().empty() || err.str().back() == '\n');
    std::size_t nextOut = 0, nextErr = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Expected e = Judge(lines[i]);
        if (!e.ok) {
            FUZZ_CHECK(nextErr < errLines.size());
            const std::string prefix = "line " + std::to_string(i + 1) + ": ";
            FUZZ_CHECK(errLines[nextErr] == prefix + ParseSequence(lines[i]).error);
            ++nextErr;
            continue;
        }
        FUZZ_CHECK(nextOut < outLines.size());
        std::istringstream fields(outLines[nextOut++]);
        std::string text;
        long long column = -1, score = 0, counted = -1, micros = -1;
        std::string rest;
        FUZZ_CHECK(static_cast<bool>(fields >> text >> column >> score >> counted >> micros));
        FUZZ_CHECK(!(fields >> rest));
        FUZZ_CHECK(text == e.text);
        const bool full = e.text.size() == 42;
        if (full) {
            FUZZ_CHECK(column == 0 && score == 0);
        } else {
            FUZZ_CHECK(column >= 1 && column <= kColumns);
            FUZZ_CHECK(e.grid.Height(static_cast<int>(column - 1)) < kRows);
        }
        FUZZ_CHECK(counted >= 0 && micros >= 0);
    }
    FUZZ_CHECK(nextOut == outLines.size() && nextErr == errLines.size());
    FUZZ_CHECK(status == (errLines.empty() ? 0 : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool initialised = (InitBitCount(), true);
    (void)initialised;
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckParse(input, Judge(input));
    CheckLines(input);
    return 0;
}
