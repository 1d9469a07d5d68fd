#include "engine/solver_table.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

void TTranspositionTable::FreeDeleter::operator()(std::uint64_t* p) const { std::free(p); }

TTranspositionTable::TTranspositionTable(std::size_t bytes)
    : size_(std::max<std::size_t>(bytes / sizeof(std::uint64_t), 1)) {
    // calloc rather than new[]: the system hands out zero pages lazily, so a
    // large table costs memory only where a solve actually writes.
    slots_.reset(static_cast<std::uint64_t*>(std::calloc(size_, sizeof(std::uint64_t))));
    if (!slots_) throw std::bad_alloc();
}

void TTranspositionTable::Clear() {
    if (dirty_ <= kDirtyLog) {
        for (std::size_t i = 0; i < dirty_; ++i) slots_.get()[dirtySlots_[i]] = 0;
    } else {
        std::memset(slots_.get(), 0, size_ * sizeof(std::uint64_t));
    }
    dirty_ = 0;
}
