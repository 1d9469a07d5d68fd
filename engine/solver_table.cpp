#include "engine/solver_table.h"

#include <cstdlib>
#include <cstring>
#include <new>

void TTranspositionTable::FreeDeleter::operator()(std::uint64_t* p) const { std::free(p); }

TTranspositionTable::TTranspositionTable(std::size_t bytes) : bits_(kMinBits) {
    while (bits_ < kKeyBits - 1 && (std::size_t{2} << bits_) * sizeof(std::uint64_t) <= bytes)
        ++bits_;
    checkBits_ = kKeyBits - bits_;
    checkMask_ = (1ull << checkBits_) - 1;
    // calloc rather than new[]: the system hands out zero pages lazily, so a
    // large table costs memory only where a solve actually writes.
    slots_.reset(static_cast<std::uint64_t*>(std::calloc(Entries(), sizeof(std::uint64_t))));
    if (!slots_) throw std::bad_alloc();
}

void TTranspositionTable::Clear() {
    if (++generation_ <= 0xFF) return;
    std::memset(slots_.get(), 0, Entries() * sizeof(std::uint64_t));
    generation_ = 1;
}
