// The exact solver's transposition table: bounds on solved positions.
//
// A fixed array of 2^n 64-bit slots in buckets of two, mapped once, on huge
// pages where the system allows, its pages taken from the system only as
// they are written. A position's 49-bit key is mixed by a multiplication
// modulo 2^49 (odd factor, so no two keys mix alike); the top n - 1 bits of
// the mix choose the bucket and the other 50 - n bits are kept in the slot,
// so that a hit is exact. Of a bucket's two slots the first keeps the
// position with the most empty cells, whose subtree is the largest and the
// dearest to search again, and the second takes whatever else comes.
//
//   bits  0..32  the low 50 - n bits of the mixed key (n >= kMinBits)
//   bits 33..38  the empty cells of the position
//   bits 41..43  column of the best move known + 1, 0 when none is known
//   bits 44..49  lower bound on the score + kBoundBias, 0 when none is known
//   bits 50..55  upper bound on the score + kBoundBias, 0 when none is known
//   bits 56..63  the generation that wrote the slot
//
// Clear starts a new generation, so slots of earlier ones read as empty;
// generation 0 is never current, so a slot never written reads as empty too.
// Scores are the solver's internal scores, -21..21 (see solver.h).
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
    static constexpr int kMinBits = 17;

    // The largest power-of-two number of slots that fits in `bytes`, and at
    // least 2^kMinBits. Throws std::bad_alloc when the system refuses.
    explicit TTranspositionTable(std::size_t bytes);

    std::size_t Entries() const { return std::size_t{1} << bits_; }

    TTableEntry Probe(std::uint64_t key) const {
        const std::uint64_t mixed = Mix(key);
        const std::uint64_t* bucket = Bucket(mixed);
        std::uint64_t word = bucket[0];
        TTableEntry entry;
        if (!Holds(word, mixed)) {
            word = bucket[1];
            if (!Holds(word, mixed)) return entry;
        }
        entry.found = true;
        const int lower = static_cast<int>((word >> kLowerShift) & kBoundMask);
        const int upper = static_cast<int>((word >> kUpperShift) & kBoundMask);
        if (lower != 0) entry.lower = lower - kBoundBias;
        if (upper != 0) entry.upper = upper - kBoundBias;
        entry.move = static_cast<int>((word >> kMoveShift) & kMoveMask) - 1;
        return entry;
    }

    // Starts fetching the slot of `key` into the cache, for a Probe soon after.
    void Prefetch(std::uint64_t key) const { __builtin_prefetch(Bucket(Mix(key))); }

    // Records a bound on the score of `key`, a position with `empty` empty
    // cells, and the move that gave it (-1 for none), keeping what the table
    // already knows about the same key.
    void StoreLower(std::uint64_t key, int empty, int score, int move) {
        Store(key, empty, kLowerShift, score, move);
    }
    void StoreUpper(std::uint64_t key, int empty, int score, int move) {
        Store(key, empty, kUpperShift, score, move);
    }

    // Forgets everything, at once except every 255th time.
    void Clear();

  private:
    static constexpr int kKeyBits = 49;
    static constexpr int kEmptyShift = 33;
    static constexpr int kMoveShift = 41;
    static constexpr int kLowerShift = 44;
    static constexpr int kUpperShift = 50;
    static constexpr int kGenerationShift = 56;
    static constexpr std::uint64_t kMoveMask = 7;
    static constexpr std::uint64_t kBoundMask = 0x3F;
    static constexpr std::uint64_t kEmptyMask = 0x3F;
    static constexpr std::uint64_t kKeyMask = (1ull << kKeyBits) - 1;
    static_assert(kKeyBits + 1 - kMinBits <= kEmptyShift, "the kept key bits fit below the fields");

    // 2^49 divided by the golden ratio, made odd: neighbouring keys spread
    // far apart in the top bits.
    static std::uint64_t Mix(std::uint64_t key) { return (key * 0x1'3C6E'F372'FE95ull) & kKeyMask; }

    std::uint64_t* Bucket(std::uint64_t mixed) const {
        return slots_.get() + ((mixed >> checkBits_) << 1);
    }
    bool Holds(std::uint64_t word, std::uint64_t mixed) const {
        return (word >> kGenerationShift) == generation_ &&
               (word & checkMask_) == (mixed & checkMask_);
    }
    static int EmptyOf(std::uint64_t word) {
        return static_cast<int>((word >> kEmptyShift) & kEmptyMask);
    }

    void Store(std::uint64_t key, int empty, int shift, int score, int move) {
        const std::uint64_t mixed = Mix(key);
        std::uint64_t* bucket = Bucket(mixed);
        std::uint64_t* slot = bucket;
        std::uint64_t word = bucket[0];
        if (!Holds(word, mixed)) {
            slot = bucket + 1;
            word = bucket[1];
            if (!Holds(word, mixed)) {
                // A new position: it takes the first slot if its subtree is
                // at least as large as the one there, which moves to the
                // second, and otherwise the second slot.
                const std::uint64_t first = bucket[0];
                if ((first >> kGenerationShift) != generation_ || EmptyOf(first) <= empty) {
                    bucket[1] = first;
                    slot = bucket;
                }
                word = (mixed & checkMask_) | (generation_ << kGenerationShift) |
                       (static_cast<std::uint64_t>(empty) << kEmptyShift);
            }
        }
        word &= ~(kBoundMask << shift);
        word |= static_cast<std::uint64_t>(score + kBoundBias) << shift;
        if (move >= 0) {
            word &= ~(kMoveMask << kMoveShift);
            word |= static_cast<std::uint64_t>(move + 1) << kMoveShift;
        }
        *slot = word;
    }

    // Gives the whole mapping back, of which the slots are an aligned part.
    struct Unmap {
        void* mapping;
        std::size_t bytes;
        void operator()(std::uint64_t* slots) const;
    };

    int bits_;
    int checkBits_;
    std::uint64_t checkMask_;
    std::uint64_t generation_ = 1;
    std::unique_ptr<std::uint64_t, Unmap> slots_;
};
