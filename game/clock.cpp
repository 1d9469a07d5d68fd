#include "game/clock.h"

#include <chrono>
#include <cstdlib>

std::uint32_t TSteadyTickClock::GetTickCount() {
    const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count();
    // Unsigned conversion keeps the low 32 bits: the counter wraps.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

int TRuntimeRandom::Draw() { return std::rand(); }
