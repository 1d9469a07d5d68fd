#include "game/computer_move.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "engine/evaluate.h"
#include "game/phrases.h"

namespace {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 10;
// Scores beyond these bands are wins or losses found by the search.
constexpr int kForcedFourBand = 15000;
// Scores within these bands count as an undecided game for the chatter.
constexpr int kEvenBand = 100;

// A draw as a non-negative number. The generators in use only return such
// numbers; a negative one is folded over rather than allowed to index
// outside a phrase list or the board.
unsigned NonNegativeDraw(int r) {
    return static_cast<unsigned>(r) & static_cast<unsigned>(INT_MAX);
}

// The engine takes its random first move from a plain function pointer.
// While a search runs, that pointer is pointed at the game's generator, so
// the first-move draw and the chatter draws come from one source, in order:
// first move (if any), then r1, then r2.
RandomGenerator* search_random = nullptr;

int DrawForSearch() { return static_cast<int>(NonNegativeDraw(search_random->Draw())); }

}  // namespace

int LevelFromText(std::string_view text) {
    long long level = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    if (error == std::errc::result_out_of_range)
        return text.starts_with('-') ? kMinLevel : kMaxLevel;
    if (error != std::errc() || end != text.data() + text.size()) return kMinLevel;
    return static_cast<int>(std::clamp<long long>(level, kMinLevel, kMaxLevel));
}

std::string ScoreLine(int s) {
    if (s > kForcedFourBand) return "Score: Win in " + std::to_string(WinScore + 1 - s);
    if (s < -kForcedFourBand) return "Score: Lose in " + std::to_string(s + WinScore + 1);
    return "Score: " + std::to_string(s);
}

std::int64_t SearchSpeed(std::uint32_t t0, std::uint32_t t1, std::int32_t totalMoves) {
    // The ticks are taken as non-negative numbers, so a wrap during the search
    // makes the difference negative. Such a search reports no speed (which
    // also keeps the division below away from zero).
    const long double elapsed = static_cast<long double>(t1) - static_cast<long double>(t0);
    if (elapsed < 0) return 0;
    // Formed in extended precision, then held as a double.
    const double rate =
        static_cast<double>(static_cast<long double>(totalMoves) / (elapsed + 1) * 1000);
    return static_cast<std::int64_t>(static_cast<long double>(rate) * 0.001);
}

bool MakesRemark(int r1, int s) {
    return NonNegativeDraw(r1) % 1000 > 800 || s == WinScore || s == -(WinScore - 1);
}

std::string_view RemarkFor(int s, int r2) {
    const unsigned r = NonNegativeDraw(r2);
    if (s < -kEvenBand) return LosingPhrases[r % LosingPhrases.size()];
    if (s > kEvenBand) return WinningPhrases[r % WinningPhrases.size()];
    return NeutralPhrases[r % NeutralPhrases.size()];
}

TSearchRandomScope::TSearchRandomScope(RandomGenerator& random)
    : saved_pointer_(FirstMoveRandom), saved_random_(search_random) {
    search_random = &random;
    FirstMoveRandom = &DrawForSearch;
}

TSearchRandomScope::~TSearchRandomScope() {
    FirstMoveRandom = saved_pointer_;
    search_random = saved_random_;
}
