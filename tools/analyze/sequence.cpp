#include "tools/analyze/sequence.h"

#include <cstdio>
#include <sstream>

#include "engine/evaluate.h"

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// A character as it can be shown safely in a one-line message.
std::string Describe(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    char buffer[16];
    if (byte >= 0x21 && byte < 0x7F)
        std::snprintf(buffer, sizeof buffer, "'%c'", ch);
    else
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X", byte);
    return buffer;
}

}  // namespace

SequenceResult ParseSequence(std::string_view line) {
    SequenceResult result;
    ClearPosition(result.position);
    const std::string_view moves = Trim(line);
    if (moves.empty() || moves == "-") {
        result.text.assign(1, '-');  // Assigning "-" directly trips a false GCC 12 warning.
        result.ok = true;
        return result;
    }

    // Check the whole text before playing, so that a stray character is
    // reported as such even where a later move would also be refused.
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (moves[i] < '1' || moves[i] > '7') {
            std::ostringstream reason;
            reason << Describe(moves[i]) << " at position " << i + 1 << " is not a column 1 to 7";
            result.error = reason.str();
            return result;
        }
    }
    if (moves.size() > static_cast<std::size_t>(kCells)) {
        std::ostringstream reason;
        reason << moves.size() << " moves, more than the " << kCells << " cells of the board";
        result.error = reason.str();
        return result;
    }

    // MakeMove counts every stone; the caller's count must not see these.
    const std::int32_t savedTotal = TotalMoves;
    std::ostringstream reason;
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const int column = moves[i] - '1';
        if (!MakeMove(result.position, column)) {
            reason << "column " << column + 1 << " is full at move " << i + 1;
            break;
        }
        if (HasFour(result.position, result.position.SideToMove ^ 1)) {
            reason << "four in a row already stands after move " << i + 1;
            break;
        }
    }
    result.error = reason.str();
    TotalMoves = savedTotal;
    if (!result.error.empty()) return result;
    result.text = std::string(moves);
    result.ok = true;
    return result;
}
