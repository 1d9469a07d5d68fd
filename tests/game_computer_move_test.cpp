// The computer's turn: search info, speed, chatter, the think-output switch,
// and what happens to input that arrives while the computer is thinking.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/search.h"
#include "game/computer_move.h"
#include "game/game_flow.h"
#include "game/phrases.h"
#include "game_test_support.h"

namespace {

using game_test::GameFixture;
using game_test::Played;
using game_test::SamePosition;

using Lines = std::vector<std::string>;

// ---- Search info --------------------------------------------------------

struct ScoreCase {
    int score;
    const char* line;
};

void PrintTo(const ScoreCase& c, std::ostream* os) { *os << "score " << c.score; }

class SearchInfoTest : public GameFixture, public ::testing::WithParamInterface<ScoreCase> {};

TEST_P(SearchInfoTest, WritesScoreSpeedAndTotal) {
    view.think_output = 1;
    game.NewGame();
    const int score = GetParam().score;
    game.Search = [score](TPosition& position, int) {
        MakeMove(position, 3);
        TotalMoves = 12345;
        return score;
    };
    clock.queued = {1000, 100, 104};  // the user's move, t0, t1
    game.PlayColumn(0);
    // 12345 moves in 104 - 100 + 1 ms: 2469 thousand per second.
    EXPECT_EQ(view.memo, (Lines{"", GetParam().line, "Moves/second: 2469k", "Total Moves: 12345"}));
}

INSTANTIATE_TEST_SUITE_P(
    ScoreBands, SearchInfoTest,
    ::testing::Values(ScoreCase{15000, "Score: 15000"}, ScoreCase{15001, "Score: Win in 15000"},
                      ScoreCase{-15000, "Score: -15000"}, ScoreCase{-15001, "Score: Lose in 15000"},
                      ScoreCase{30000, "Score: Win in 1"}, ScoreCase{29998, "Score: Win in 3"},
                      ScoreCase{-29999, "Score: Lose in 2"}, ScoreCase{-7, "Score: -7"},
                      ScoreCase{0, "Score: 0"}));

using ComputerMoveTest = GameFixture;

TEST_F(ComputerMoveTest, SearchInfoForARealWinningMove) {
    // Red to move with three in row 0 of columns 1..3: the computer, taking
    // Red over, completes four in column 0 with one move.
    view.think_output = 1;
    game.NewGame();
    game.Position = Played({1, 1, 2, 2, 3, 3});
    clock.step = 0;  // the search takes no time
    view.colour = Blue;
    game.ColourPicked();
    EXPECT_EQ(view.memo, (Lines{"", "Score: Win in 1", "Moves/second: 1k", "Total Moves: 1"}));
    EXPECT_EQ(game.GameState, Red);
    EXPECT_EQ(view.turn_text, "You`ve Lost");
}

struct SpeedCase {
    std::uint32_t t0, t1;
    std::int32_t total;
    std::int64_t n;
};

TEST(SearchSpeedTest, ThousandsOfMovesPerSecond) {
    const SpeedCase cases[] = {
        {100, 100, 4321, 4321},           // shorter than one tick
        {100, 104, 12345, 2469},          // 12345 / 5
        {0, 999, 1000, 1},                //
        {0, 999, 999, 0},                 //
        {7, 7, 0, 0},                     // nothing searched
        {4294967290u, 5, 100000, 0},      // the counter wrapped
        {5, 4, 100000, 0},                // wrapped all the way round: no division by zero
        {0, 4294967295u, 2147483647, 0},  // the longest measurable search
    };
    for (const SpeedCase& c : cases) {
        EXPECT_EQ(SearchSpeed(c.t0, c.t1, c.total), c.n) << c.t0 << ".." << c.t1 << " " << c.total;
    }
}

TEST(SearchSpeedTest, EqualsIntegerQuotientForAnyElapsedTime) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<std::int32_t> total(0, INT32_MAX);
    std::uniform_int_distribution<std::uint32_t> small(0, 2000), any(0, UINT32_MAX);
    for (int i = 0; i < 200000; ++i) {
        const std::int32_t moves = i % 2 ? total(rng) : static_cast<std::int32_t>(small(rng) * 7);
        const std::uint32_t t0 = any(rng);
        const std::uint32_t span = i % 3 ? small(rng) : any(rng) % (UINT32_MAX - t0 + 1u);
        const std::int64_t expected = static_cast<std::int64_t>(moves) / (std::int64_t{span} + 1);
        ASSERT_EQ(SearchSpeed(t0, t0 + span, moves), expected) << moves << " in " << span;
    }
}

// ---- Chatter ------------------------------------------------------------

struct ChatterCase {
    int score;
    int r1, r2;
    bool remark;
    std::string_view phrase;
};

void PrintTo(const ChatterCase& c, std::ostream* os) {
    *os << "score " << c.score << ", r1 " << c.r1 << ", r2 " << c.r2;
}

class ChatterTest : public GameFixture, public ::testing::WithParamInterface<ChatterCase> {};

TEST_P(ChatterTest, RemarksByDrawAndScore) {
    const ChatterCase& c = GetParam();
    game.NewGame();
    ScriptComputer({3}, {c.score});
    random.queued = {c.r1, c.r2};
    Click(0);
    if (c.remark) {
        EXPECT_EQ(view.memo, (Lines{"", std::string(c.phrase)}));
        EXPECT_EQ(random.draws, 2);
    } else {
        EXPECT_EQ(view.memo, (Lines{"", "Let the games begin!"}));  // untouched
        EXPECT_EQ(random.draws, 1);                                 // r1 is drawn all the same
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scores, ChatterTest,
    ::testing::Values(ChatterCase{0, 800, 0, false, ""}, ChatterCase{0, 1800, 0, false, ""},
                      ChatterCase{29999, 0, 0, false, ""}, ChatterCase{-30000 + 2, 5, 0, false, ""},
                      ChatterCase{0, 801, 5, true, NeutralPhrases[5]},
                      ChatterCase{-100, 999, 54, true, NeutralPhrases[54]},
                      ChatterCase{100, 1801, 55, true, NeutralPhrases[0]},
                      ChatterCase{-101, 801, 1, true, LosingPhrases[1]},
                      ChatterCase{101, 801, 12, true, WinningPhrases[12]},
                      // A four now or for the user next move always gets a remark.
                      ChatterCase{30000, 0, 17, true, WinningPhrases[3]},
                      ChatterCase{-29999, 800, 0, true, LosingPhrases[0]},
                      // The empty slot: the memo shows two empty lines.
                      ChatterCase{-29999, 3, 13, true, ""}));

TEST(PhrasesTest, ListsHaveTheirSizesAndSpecialSlots) {
    EXPECT_EQ(NeutralPhrases.size(), 55u);
    EXPECT_EQ(LosingPhrases.size(), 14u);
    EXPECT_EQ(WinningPhrases.size(), 14u);
    for (auto p : NeutralPhrases) EXPECT_FALSE(p.empty());
    for (auto p : WinningPhrases) EXPECT_FALSE(p.empty());
    EXPECT_EQ(LosingPhrases[1], "Please don't kill me, I'm just an innocent, household PC! ");
    EXPECT_EQ(LosingPhrases[13], "");
    EXPECT_EQ(NeutralPhrases[54], "Careful, it's slippery out here!");
    EXPECT_EQ(WinningPhrases[13], "The Fourfall is coming to get you!");
}

TEST_F(ComputerMoveTest, OpeningMoveDrawComesBeforeTheChatterDraws) {
    view.colour = Blue;
    random.queued = {3, 900, 5};  // first move column 3 at level 1, r1, r2
    const RandomSource engine_random = FirstMoveRandom;
    game.StartNewGame();
    EXPECT_TRUE(SamePosition(game.Position, Played({3})));
    EXPECT_EQ(view.memo, (Lines{"", "So how's the weather down there?"}));
    EXPECT_EQ(FirstMoveRandom, engine_random);
}

TEST_F(ComputerMoveTest, LevelIsReadForEverySearch) {
    std::vector<int> levels;
    game.Search = [&levels](TPosition& position, int level) {
        levels.push_back(level);
        return SearchRoot(position, level);
    };
    game.NewGame();
    random.queued = {2};
    view.level = "3";
    Click(3);
    view.level = "1";
    Click(3);
    view.level = "2";
    Click(0);
    EXPECT_EQ(levels, (std::vector<int>{3, 1, 2}));
}

TEST(LevelFromTextTest, KeepsTheSearchDepthWithinTheBoxRange) {
    const std::pair<const char*, int> cases[] = {{"1", 1},
                                                 {"4", 4},
                                                 {"10", 10},
                                                 {"0", 1},
                                                 {"11", 10},
                                                 {"-3", 1},
                                                 {"", 1},
                                                 {"abc", 1},
                                                 {"4x", 1},
                                                 {"99999999999999999999999", 10},
                                                 {"-99999999999999999999", 1}};
    for (const auto& [text, level] : cases) EXPECT_EQ(LevelFromText(text), level) << text;
}

TEST_F(ComputerMoveTest, ThinkOutputChangeResetsTheMemoForTheNewMode) {
    game.NewGame();
    view.calls.clear();
    view.think_output = 1;
    game.ThinkOutputPicked();
    EXPECT_TRUE(view.memo.empty());
    view.think_output = 0;
    game.ThinkOutputPicked();
    EXPECT_EQ(view.memo, (Lines{"", "Let the games begin!"}));
    EXPECT_EQ(view.calls, (Lines{"ClearThink", "ClearThink", "AddThinkLine ",
                                 "AddThinkLine Let the games begin!"}));
    EXPECT_EQ(searches, 0);
}

TEST_F(ComputerMoveTest, GameOverLeavesEverythingButTheTick) {
    game.NewGame();
    for (int c : {0, 1, 0, 1, 0, 1, 0}) MakeMove(game.Position, c);
    game.DetectGameEnd();
    ASSERT_EQ(game.GameState, Red);
    view.calls.clear();
    clock.queued = {4242};
    game.ComputerMove();
    EXPECT_EQ(game.LastThinkTick, 4242u);
    EXPECT_EQ(view.calls, Lines{"RepaintBoard"});
    EXPECT_EQ(game.HistoryCount, 0);
    EXPECT_EQ(searches, 0);
    EXPECT_EQ(random.draws, 0);
}

// ---- Input that arrives while the computer thinks ------------------------

struct PendingCase {
    const char* name;
    void (*deliver)(TGame&, game_test::FakeView&);
};

void PrintTo(const PendingCase& c, std::ostream* os) { *os << c.name; }

class PendingInputTest : public GameFixture, public ::testing::WithParamInterface<PendingCase> {};

TEST_P(PendingInputTest, IsIgnored) {
    game.NewGame();
    ScriptComputer({5, 6});
    bool delivered = false;
    view.pending_events = [&] {
        if (delivered) return;
        delivered = true;
        GetParam().deliver(game, view);
        EXPECT_TRUE(game.ComputerMoveRunning());
    };
    view.calls.clear();
    Click(2);
    EXPECT_TRUE(delivered);
    EXPECT_EQ(game.HistoryCount, 2);
    EXPECT_EQ(game.GameState, kInPlay);
    EXPECT_TRUE(SamePosition(game.Position, Played({2, 5})));
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(view.calls,
              (Lines{"RepaintBoard", "SetTurnText Thinking...", "ProcessMessagesOnce",
                     "SetTurnText Your Move", "RepaintBoard", "DropInputMadeDuringSearch"}));
    EXPECT_FALSE(game.ComputerMoveRunning());
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, PendingInputTest,
    ::testing::Values(
        PendingCase{"PlayColumn", [](TGame& g, game_test::FakeView&) { g.PlayColumn(4); }},
        PendingCase{"TakeBack", [](TGame& g, game_test::FakeView&) { g.TakeBack(); }},
        PendingCase{"NewGame", [](TGame& g, game_test::FakeView&) { g.StartNewGame(); }},
        PendingCase{"NewGameAsBlue",
                    [](TGame& g, game_test::FakeView& v) {
                        v.colour = Blue;
                        g.StartNewGame();
                    }},
        PendingCase{"ColourChange",
                    [](TGame& g, game_test::FakeView& v) {
                        v.colour = Blue;
                        g.ColourPicked();
                    }},
        PendingCase{"ThinkOutputChange",
                    [](TGame& g, game_test::FakeView& v) {
                        v.think_output = 1;
                        g.ThinkOutputPicked();
                        v.think_output = 0;
                    }},
        PendingCase{"Paint", [](TGame& g, game_test::FakeView&) { g.DetectGameEnd(); }}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(ComputerMoveTest, NoSnapshotNoSearchWhenTheGameEndedWhileEventsWereHandled) {
    game.NewGame();
    ScriptComputer({});
    view.pending_events = [this] { game.GameState = Red; };
    Click(2);
    EXPECT_EQ(game.HistoryCount, 1);
    EXPECT_EQ(searches, 0);
    EXPECT_EQ(game.LastThinkTick, clock.now);
    EXPECT_EQ(view.calls.back(), "RepaintBoard");
}

}  // namespace
