// Time and chance as the game layer receives them.
//
// The game never reads a clock or a random generator directly: the window
// hands it a TickClock and a RandomGenerator, and the tests hand it scripted
// ones, so every game the tests play is deterministic.
#pragma once

#include <cstdint>

// A 32-bit millisecond counter that wraps at 2^32, like a system tick count.
class TickClock {
  public:
    virtual ~TickClock() = default;
    virtual std::uint32_t GetTickCount() = 0;
};

// Non-negative pseudo-random integers. Each call is one draw.
//
// This is the game's only source of chance. The engine takes the random
// opening move from its plain function pointer FirstMoveRandom; for the
// length of each search TGame::ComputerMove points that at the generator the
// game was given, and restores it afterwards. So one scripted generator
// decides both the computer's opening column and its chatter, in the order of
// the draws: the opening move (when fewer than two stones lie on the board),
// then the draw that decides whether to remark, then the one that picks the
// remark.
class RandomGenerator {
  public:
    virtual ~RandomGenerator() = default;
    virtual int Draw() = 0;
};

// The program's tick count: milliseconds of the monotonic clock, cut to 32
// bits so that it wraps every 49.7 days. Its start value is arbitrary.
class TSteadyTickClock final : public TickClock {
  public:
    std::uint32_t GetTickCount() override;
};

// The program's generator: the C runtime's std::rand. The window seeds it
// once at start-up (std::srand from the calendar time); nothing here seeds it.
class TRuntimeRandom final : public RandomGenerator {
  public:
    int Draw() override;
};
