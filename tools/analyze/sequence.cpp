#include "tools/analyze/sequence.h"

#include <cstdio>
#include <sstream>

#include "engine/evaluate.h"

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t'; }

// A character as it can be shown safely in a one-line message.
std::string Describe(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    char buffer[16];
    if (byte >= 0x21 && byte < 0x7F)
        std::snprintf(buffer, sizeof buffer, "'%c'", ch);
    else
        std::snprintf(buffer, sizeof buffer, "byte 0x%02X", static_cast<unsigned>(byte));
    return buffer;
}

}  // namespace

void SequenceScanner::Feed(char byte) {
    ++bytes_;
    if (badAt_ != 0) return;  // the verdict stands; the rest is only skipped
    if (!started_ && IsBlank(byte)) return;
    if (IsBlank(byte) || byte == '\r') {
        // Fine at the end of the line, a fault if anything else follows.
        if (blankAt_ == 0) {
            blankAt_ = bytes_;
            blankByte_ = byte;
        }
        started_ = true;
        return;
    }
    started_ = true;
    if (dashAt_ != 0) {
        badAt_ = dashAt_;
        badByte_ = '-';
    } else if (blankAt_ != 0) {
        badAt_ = blankAt_;
        badByte_ = blankByte_;
    } else if (byte == '-' && moveCount_ == 0) {
        dashAt_ = bytes_;
    } else if (byte >= '1' && byte <= '7') {
        if (moveCount_ < moves_.size()) moves_[moveCount_] = byte;
        ++moveCount_;
    } else {
        badAt_ = bytes_;
        badByte_ = byte;
    }
}

SequenceResult SequenceScanner::Finish() {
    const SequenceScanner read = *this;
    *this = SequenceScanner{};

    SequenceResult result;
    ClearPosition(result.position);
    // A stray character is reported as such even where the number of moves
    // or a later move would also be refused.
    if (read.badAt_ != 0) {
        std::ostringstream reason;
        reason << Describe(read.badByte_) << " at position " << read.badAt_
               << " is not a column 1 to 7";
        result.error = reason.str();
        return result;
    }
    if (read.moveCount_ == 0) {
        result.text.assign(1, '-');  // Assigning "-" directly trips a false GCC 12 warning.
        result.ok = true;
        return result;
    }
    if (read.moveCount_ > read.moves_.size()) {
        std::ostringstream reason;
        reason << read.moveCount_ << " moves, more than the " << kCells << " cells of the board";
        result.error = reason.str();
        return result;
    }

    // MakeMove counts every stone; the caller's count must not see these.
    const std::int32_t savedTotal = TotalMoves;
    std::ostringstream reason;
    for (std::size_t i = 0; i < read.moveCount_; ++i) {
        const int column = read.moves_[i] - '1';
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
    result.text.assign(read.moves_.data(), read.moveCount_);
    result.ok = true;
    return result;
}

SequenceResult ParseSequence(std::string_view line) {
    SequenceScanner scanner;
    for (const char byte : line) scanner.Feed(byte);
    return scanner.Finish();
}
