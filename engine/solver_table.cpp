#include "engine/solver_table.h"

#include <sys/mman.h>

#include <cstring>
#include <new>

namespace {

// A solve touches the table at random, one slot per position visited, so a
// miss in the address translation costs as much as the read itself. Huge
// pages cover the table with few translations.
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t MappedBytes(std::size_t tableBytes) {
    return (tableBytes + 2 * kHugePage - 1) / kHugePage * kHugePage;
}

}  // namespace

void TTranspositionTable::Unmap::operator()(std::uint64_t*) const { munmap(mapping, bytes); }

TTranspositionTable::TTranspositionTable(std::size_t bytes) : bits_(kMinBits) {
    while (bits_ < kKeyBits - 1 && (std::size_t{2} << bits_) * sizeof(std::uint64_t) <= bytes)
        ++bits_;
    // One bit fewer chooses a bucket of two slots, so one more is kept.
    checkBits_ = kKeyBits - bits_ + 1;
    checkMask_ = (1ull << checkBits_) - 1;

    // Anonymous pages start zeroed and are taken from the system only as they
    // are written, so a large table costs memory only where a solve goes.
    const std::size_t tableBytes = Entries() * sizeof(std::uint64_t);
    const std::size_t mapped = MappedBytes(tableBytes);
    void* mapping =
        mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED) throw std::bad_alloc();
    // Start the table on a huge-page boundary inside the mapping.
    const auto address = reinterpret_cast<std::uintptr_t>(mapping);
    const std::uintptr_t aligned = (address + kHugePage - 1) & ~(std::uintptr_t{kHugePage} - 1);
    auto* slots = reinterpret_cast<std::uint64_t*>(aligned);
    // Only a hint: without huge pages the table works the same, more slowly.
    madvise(slots, tableBytes, MADV_HUGEPAGE);
    slots_ = std::unique_ptr<std::uint64_t, Unmap>(slots, Unmap{mapping, mapped});
}

void TTranspositionTable::Clear() {
    if (++generation_ <= 0xFF) return;
    std::memset(slots_.get(), 0, Entries() * sizeof(std::uint64_t));
    generation_ = 1;
}
