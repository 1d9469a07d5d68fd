// The computer's remarks in chatter mode, one list for each way the game can
// stand from its side. A remark is picked by slot number: a draw modulo the
// list's size (see computer_move.h).
#pragma once

#include <array>
#include <string_view>

// Remarks while the game is undecided (score -100..100). All 55 slots hold text.
extern const std::array<std::string_view, 55> NeutralPhrases;
// Remarks while the computer is losing (score below -100). Slot 13 is empty
// on purpose: one losing pick in 14 leaves the computer speechless.
extern const std::array<std::string_view, 14> LosingPhrases;
// Remarks while the computer is winning (score above 100).
extern const std::array<std::string_view, 14> WinningPhrases;
