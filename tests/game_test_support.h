// A recording view, a scripted clock and a scripted generator for driving
// TGame without a window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/position.h"
#include "engine/search.h"
#include "game/clock.h"
#include "game/game_flow.h"
#include "game/game_view.h"

namespace game_test {

// Records every call as one line ("SetTurnText Thinking...", "ClearThink",
// "AddThinkLine ...", "RepaintBoard", "ProcessMessagesOnce",
// "DropInputMadeDuringSearch") and keeps the label and memo as the window
// would show them. The combo boxes are plain fields the test sets.
class FakeView : public GameView {
  public:
    std::vector<std::string> calls;
    std::string turn_text;
    std::vector<std::string> memo;

    std::string level = "1";
    int colour = Red;
    int think_output = 0;

    // Runs inside ProcessMessagesOnce, standing in for pending events.
    std::function<void()> pending_events;

    void SetTurnText(const std::string& text) override {
        calls.push_back("SetTurnText " + text);
        turn_text = text;
    }
    void ClearThink() override {
        calls.push_back("ClearThink");
        memo.clear();
    }
    void AddThinkLine(const std::string& text) override {
        calls.push_back("AddThinkLine " + text);
        memo.push_back(text);
    }
    std::string LevelText() const override { return level; }
    int ColourIndex() const override { return colour; }
    int ThinkOutputIndex() const override { return think_output; }
    void RepaintBoard() override { calls.push_back("RepaintBoard"); }
    void ProcessMessagesOnce() override {
        calls.push_back("ProcessMessagesOnce");
        if (pending_events) pending_events();
    }
    void DropInputMadeDuringSearch() override { calls.push_back("DropInputMadeDuringSearch"); }
};

// Returns the queued values first; after that it advances by `step` on every
// reading, so consecutive readings differ unless step is 0.
class ScriptedClock : public TickClock {
  public:
    std::deque<std::uint32_t> queued;
    std::uint32_t now = 1000;
    std::uint32_t step = 1;
    int readings = 0;

    std::uint32_t GetTickCount() override {
        ++readings;
        if (!queued.empty()) {
            now = queued.front();
            queued.pop_front();
        } else {
            now += step;
        }
        return now;
    }
};

// Returns the queued draws first, then `fallback`.
class ScriptedRandom : public RandomGenerator {
  public:
    std::deque<int> queued;
    int fallback = 0;
    int draws = 0;

    int Draw() override {
        ++draws;
        if (queued.empty()) return fallback;
        const int r = queued.front();
        queued.pop_front();
        return r;
    }
};

inline TPosition Played(const std::vector<int>& columns) {
    TPosition p;
    ClearPosition(p);
    for (int c : columns) EXPECT_EQ(MakeMove(p, c), 1) << "column " << c << " is full";
    return p;
}

inline bool SamePosition(const TPosition& a, const TPosition& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// True when `after` is `before` with one more stone dropped; leaves
// TotalMoves as it was.
inline bool OnePlyAfter(const TPosition& before, const TPosition& after) {
    const std::int32_t total = TotalMoves;
    bool found = false;
    for (int c = 0; c < kColumns && !found; ++c) {
        TPosition p = before;
        found = MakeMove(p, c) == 1 && SamePosition(p, after);
    }
    TotalMoves = total;
    return found;
}

// Slot `i` of the game's Take Back history.
inline const TPosition& Snapshot(const TGame& game, int i) {
    return game.History[static_cast<std::size_t>(i)];
}

inline bool BoardFull(const TPosition& p) { return p.MoveCount == kCells; }

// The view, clock and generator with a game on them.
struct GameFixture : ::testing::Test {
    FakeView view;
    ScriptedClock clock;
    ScriptedRandom random;
    TGame game{view, clock, random};
    int searches = 0;

    GameFixture() {
        game.Search = [this](TPosition& position, int level) {
            ++searches;
            return SearchRoot(position, level);
        };
    }

    // Makes the computer play the given columns in turn, returning the score
    // of each move (0 unless given), instead of searching.
    void ScriptComputer(std::vector<int> columns, std::vector<int> scores = {}) {
        auto next = std::make_shared<std::size_t>(0);
        game.Search = [this, columns, scores, next](TPosition& position, int) {
            ++searches;
            const std::size_t i = (*next)++;
            EXPECT_LT(i, columns.size()) << "the computer moved more often than scripted";
            if (i >= columns.size()) return 0;
            EXPECT_EQ(MakeMove(position, columns[i]), 1);
            return i < scores.size() ? scores[i] : 0;
        };
    }

    void Click(int column) { game.PlayColumn(column); }
};

}  // namespace game_test
