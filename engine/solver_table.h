// The exact solver's transposition table: bounds on solved positions.
//
// A fixed array of 64-bit entries, allocated once, zero-filled pages taken
// from the system only as they are written. One entry per slot, chosen by
// a hash of the position's key; a new position simply replaces an old one.
//
//   bits  0..48  the key (TBitBoard::Key), stored whole, so a hit is exact
//   bits 49..54  lower bound on the score + kBoundBias, 0 when none is known
//   bits 55..60  upper bound on the score + kBoundBias, 0 when none is known
//   bits 61..63  column of the best move known + 1, 0 when none is known
//
// Scores are the solver's internal scores, -21..21 (see solver.h). An all-
// zero slot reads as "nothing known", also for key 0, the empty board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

struct TTableEntry {
    bool found = false;
    int lower = -64;  // below every score when unknown
    int upper = 64;   // above every score when unknown
    int move = -1;    // column 0..6, or -1
};

class TTranspositionTable {
  public:
    static constexpr int kBoundBias = 22;

    // A table of `bytes` bytes, at least one entry. Throws std::bad_alloc
    // when the system refuses the memory.
    explicit TTranspositionTable(std::size_t bytes);

    std::size_t Entries() const { return size_; }

    TTableEntry Probe(std::uint64_t key) const {
        const std::uint64_t word = slots_.get()[Slot(key)];
        TTableEntry entry;
        if ((word & kKeyMask) != key) return entry;
        entry.found = true;
        const int lower = static_cast<int>((word >> kLowerShift) & kBoundMask);
        const int upper = static_cast<int>((word >> kUpperShift) & kBoundMask);
        if (lower != 0) entry.lower = lower - kBoundBias;
        if (upper != 0) entry.upper = upper - kBoundBias;
        entry.move = static_cast<int>(word >> kMoveShift) - 1;
        return entry;
    }

    // Records a bound on `key`'s score (lower, upper, or both equal for an
    // exact score) and the move that gave it, keeping what the slot already
    // knows about the same key.
    void StoreLower(std::uint64_t key, int score, int move) {
        Store(key, kLowerShift, score, move);
    }
    void StoreUpper(std::uint64_t key, int score, int move) {
        Store(key, kUpperShift, score, move);
    }

    // Forgets everything: cheap after a small solve, which wrote few slots.
    void Clear();

  private:
    static constexpr int kLowerShift = 49;
    static constexpr int kUpperShift = 55;
    static constexpr int kMoveShift = 61;
    static constexpr std::uint64_t kKeyMask = (1ull << kLowerShift) - 1;
    static constexpr std::uint64_t kBoundMask = 0x3F;

    // Slots written since the last Clear, remembered up to this many so that
    // a small solve does not have to wipe a large table.
    static constexpr std::size_t kDirtyLog = 4096;

    std::size_t Slot(std::uint64_t key) const {
        // Multiplying by an odd constant spreads the key's bits into the high
        // half; the high word of hash * size is then uniform in 0..size-1.
        const std::uint64_t hash = key * 0x9E37'79B9'7F4A'7C15ull;
        return static_cast<std::size_t>((static_cast<unsigned __int128>(hash) * size_) >> 64);
    }

    void Store(std::uint64_t key, int shift, int score, int move) {
        const std::size_t slot = Slot(key);
        std::uint64_t word = slots_.get()[slot];
        // A zero word is an empty slot even where the key is 0.
        if ((word & kKeyMask) != key || word == 0) {
            word = key;
            if (dirty_ < kDirtyLog) dirtySlots_[dirty_] = slot;
            ++dirty_;
        }
        word &= ~(kBoundMask << shift);
        word |= static_cast<std::uint64_t>(score + kBoundBias) << shift;
        if (move >= 0) {
            word &= ~(7ull << kMoveShift);
            word |= static_cast<std::uint64_t>(move + 1) << kMoveShift;
        }
        slots_.get()[slot] = word;
    }

    struct FreeDeleter {
        void operator()(std::uint64_t* p) const;
    };

    std::size_t size_;
    std::unique_ptr<std::uint64_t, FreeDeleter> slots_;
    std::size_t dirty_ = 0;
    std::size_t dirtySlots_[kDirtyLog];
};
