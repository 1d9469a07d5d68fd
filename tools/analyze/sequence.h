// Reading a position written as the columns of its moves.
//
// A sequence is the digits 1..7 of the columns played from the empty board,
// Red first ("4453" is Red in column 4, Blue in 4, Red in 5, Blue in 3).
// "-" or an empty sequence stands for the empty board. Spaces and tabs
// around the sequence and carriage returns after it are ignored.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/position.h"

struct SequenceResult {
    bool ok = false;
    TPosition position{};  // the position reached, valid when ok
    std::string text;      // the sequence as written, trimmed; "-" for the empty board
    std::string error;     // why the sequence was refused, when !ok
};

// Reads one line a byte at a time and keeps only what can still matter: at
// most kCells moves, the first byte that makes the line no position, and
// counts. Its memory is fixed however long the line is. Positions in its
// messages count the bytes of the line as written, from 1.
class SequenceScanner {
  public:
    // Takes the next byte of the line (without its newline).
    void Feed(char byte);

    // Plays what was read on an empty board and judges it as ParseSequence
    // does; the scanner is then ready for the next line.
    SequenceResult Finish();

  private:
    std::array<char, kCells> moves_{};
    std::uint64_t moveCount_ = 0;  // every digit read, also those past kCells
    std::uint64_t bytes_ = 0;      // bytes of the line read so far
    std::uint64_t badAt_ = 0;      // position of the first byte that cannot stand, or 0
    char badByte_ = 0;
    std::uint64_t blankAt_ = 0;  // first blank or CR after the start of the sequence, or 0
    char blankByte_ = 0;
    std::uint64_t dashAt_ = 0;  // a leading "-", which must stand alone
    bool started_ = false;      // a byte other than a space or tab has been read
};

// Plays the sequence on an empty board. Refuses a character other than 1..7,
// more than 42 moves, a move into a full column, and any sequence in which a
// four stands at some point (the game is over there, so there is nothing
// left to analyse). Never throws for any input; does not touch TotalMoves.
SequenceResult ParseSequence(std::string_view line);
