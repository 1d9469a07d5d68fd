// Reading a position written as the columns of its moves.
//
// A sequence is the digits 1..7 of the columns played from the empty board,
// Red first ("4453" is Red in column 4, Blue in 4, Red in 5, Blue in 3).
// "-" or an empty sequence stands for the empty board. Spaces and tabs
// around the sequence and a trailing carriage return are ignored.
#pragma once

#include <string>
#include <string_view>

#include "engine/position.h"

struct SequenceResult {
    bool ok = false;
    TPosition position{};  // the position reached, valid when ok
    std::string text;      // the sequence as written, trimmed; "-" for the empty board
    std::string error;     // why the sequence was refused, when !ok
};

// Plays the sequence on an empty board. Refuses a character other than 1..7,
// more than 42 moves, a move into a full column, and any sequence in which a
// four stands at some point (the game is over there, so there is nothing
// left to analyse). Never throws for any input; does not touch TotalMoves.
SequenceResult ParseSequence(std::string_view line);
