// Long random sessions of mixed user actions, with the game's invariants
// checked after every step and at every search.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/evaluate.h"
#include "engine/search.h"
#include "game/game_flow.h"
#include "game_test_support.h"

namespace {

using game_test::BoardFull;
using game_test::FakeView;
using game_test::OnePlyAfter;
using game_test::Played;
using game_test::SamePosition;
using game_test::ScriptedClock;
using game_test::ScriptedRandom;
using game_test::Snapshot;

class Session {
  public:
    explicit Session(unsigned seed) : rng_(seed) {
        game_.Search = [this](TPosition& position, int level) {
            // A search runs only on a game in play, right after the
            // computer's snapshot was stored.
            EXPECT_EQ(game_.GameState, kInPlay);
            EXPECT_TRUE(IsValidPosition(position));
            EXPECT_FALSE(HasFour(position, Red) || HasFour(position, Blue));
            EXPECT_FALSE(BoardFull(position));
            EXPECT_GE(game_.HistoryCount, 1);
            EXPECT_TRUE(SamePosition(Snapshot(game_, game_.HistoryCount - 1), position));
            EXPECT_GE(level, 1);
            EXPECT_LE(level, 3);
            ++searches_;
            return SearchRoot(position, level);
        };
        game_.NewGame();
    }

    void Run(int steps) {
        for (int step = 0; step < steps; ++step) {
            random_.queued = {Next(1 << 30), Next(1 << 30), Next(1 << 30)};
            if (Next(10) == 0) ArmPendingEvent();
            Act(Next(100));
            view_.pending_events = nullptr;
            Check(step);
            if (HasFatalFailure() || ::testing::Test::HasFailure()) return;
        }
        // The sessions must actually play: many searches, some ended games.
        EXPECT_GT(searches_, steps / 4);
        EXPECT_GT(ended_games_, 10);
    }

  private:
    static bool HasFatalFailure() { return ::testing::Test::HasFatalFailure(); }

    int Next(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    void Act(int roll) {
        if (roll < 50) {
            // A column, now and then one off the board, and now and then in
            // the very tick the computer finished.
            if (Next(10) == 0) clock_.queued = {game_.LastThinkTick};
            game_.PlayColumn(Next(9) - 1);
        } else if (roll < 60) {
            game_.TakeBack();
        } else if (roll < 66) {
            view_.colour = Next(2);
            game_.StartNewGame();
        } else if (roll < 76) {
            view_.colour = Next(2);
            game_.ColourPicked();
        } else if (roll < 81) {
            view_.think_output = Next(2);
            game_.ThinkOutputPicked();
        } else if (roll < 88) {
            view_.level = std::to_string(1 + Next(3));
        } else if (roll < 94) {
            game_.DetectGameEnd();  // a paint of the board
        } else {
            game_.ComputerMove();
        }
        if (game_.GameState != kInPlay) ++ended_games_;
    }

    // One event of the kind a user can cause while the computer thinks.
    void ArmPendingEvent() {
        const int kind = Next(5);
        const int column = Next(kColumns);
        view_.pending_events = [this, kind, column] {
            view_.pending_events = nullptr;
            switch (kind) {
                case 0:
                    game_.PlayColumn(column);
                    break;
                case 1:
                    game_.TakeBack();
                    break;
                case 2:
                    game_.StartNewGame();
                    break;
                case 3:
                    view_.colour ^= 1;
                    game_.ColourPicked();
                    break;
                default:
                    game_.DetectGameEnd();
                    break;
            }
        };
    }

    void Check(int step) {
        SCOPED_TRACE(::testing::Message() << "step " << step);
        const TPosition& p = game_.Position;
        ASSERT_TRUE(IsValidPosition(p));
        ASSERT_GE(game_.HistoryCount, 0);
        ASSERT_LE(game_.HistoryCount, kHistorySlots);
        // One snapshot per ply of the current line.
        ASSERT_EQ(game_.HistoryCount, p.MoveCount);
        if (game_.HistoryCount > 0) {
            ASSERT_TRUE(SamePosition(game_.History[0], Played({})));
            for (int i = 0; i + 1 < game_.HistoryCount; ++i) {
                ASSERT_TRUE(OnePlyAfter(Snapshot(game_, i), Snapshot(game_, i + 1)))
                    << "slot " << i;
            }
            ASSERT_TRUE(OnePlyAfter(Snapshot(game_, game_.HistoryCount - 1), p));
        }
        switch (game_.GameState) {
            case kInPlay:
                ASSERT_FALSE(HasFour(p, Red) || HasFour(p, Blue));
                ASSERT_FALSE(BoardFull(p));
                break;
            case Red:
            case Blue:
                ASSERT_TRUE(HasFour(p, game_.GameState));
                break;
            case kBoardFull:
                ASSERT_TRUE(BoardFull(p));
                break;
            default:
                FAIL() << "GameState " << game_.GameState;
        }
        ASSERT_FALSE(game_.ComputerMoveRunning());
        const std::string& label = view_.turn_text;
        ASSERT_TRUE(label == "Your Move" || label == "You`ve Won!" || label == "You`ve Lost")
            << label;
    }

    std::mt19937 rng_;
    FakeView view_;
    ScriptedClock clock_;
    ScriptedRandom random_;
    TGame game_{view_, clock_, random_};
    int searches_ = 0;
    int ended_games_ = 0;
};

class GameSessionTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(GameSessionTest, InvariantsHoldAfterEveryStep) { Session(GetParam()).Run(3000); }

INSTANTIATE_TEST_SUITE_P(Seeds, GameSessionTest, ::testing::Values(1u, 2u, 3u, 20240611u));

}  // namespace
