// The course of a game through TGame's handlers: releases on the board, the
// computer's answer, the end of the game, Take Back and colour changes.

#include "game/game_flow.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "engine/evaluate.h"
#include "game_test_support.h"

namespace {

using game_test::GameFixture;
using game_test::Played;
using game_test::SamePosition;

// 42 stones with no four: a drawn game.
const std::vector<int> kDrawnGame = {5, 4, 5, 0, 6, 2, 4, 5, 5, 0, 4, 1, 1, 0, 4, 5, 6, 5, 3, 1, 1,
                                     2, 2, 6, 2, 6, 6, 3, 6, 2, 0, 3, 0, 3, 3, 4, 3, 1, 4, 2, 1, 0};
// 42 stones whose last one (Blue's, in column 4) makes the first four.
const std::vector<int> kFourWithLastStone = {1, 3, 1, 2, 6, 6, 4, 6, 5, 3, 4, 1, 6, 2,
                                             6, 0, 2, 5, 6, 1, 3, 3, 0, 0, 5, 2, 1, 1,
                                             3, 3, 2, 4, 5, 5, 5, 2, 4, 4, 0, 0, 0, 4};

// Splits a whole game into the user's columns and the computer's, for a user
// playing `colour` (Red moves first).
void SplitGame(const std::vector<int>& game, int colour, std::vector<int>& user,
               std::vector<int>& computer) {
    for (std::size_t i = 0; i < game.size(); ++i) {
        (static_cast<int>(i % 2) == colour ? user : computer).push_back(game[i]);
    }
}

using GameFlowTest = GameFixture;

TEST_F(GameFlowTest, NewGameShowsEmptyBoardGreetingAndYourMove) {
    game.ComputerSide = Blue;
    game.LastThinkTick = 77;
    game.NewGame();
    EXPECT_TRUE(SamePosition(game.Position, Played({})));
    EXPECT_EQ(game.GameState, kInPlay);
    EXPECT_EQ(game.HistoryCount, 0);
    EXPECT_EQ(game.ComputerSide, Blue);
    EXPECT_EQ(game.LastThinkTick, 77u);
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"SetTurnText Your Move", "ClearThink", "AddThinkLine ",
                                        "AddThinkLine Let the games begin!", "RepaintBoard"}));
    EXPECT_EQ(searches, 0);
}

TEST_F(GameFlowTest, PlayingAColumnDropsUserStoneThenComputerAnswers) {
    game.NewGame();
    view.calls.clear();
    // With one stone on the board the computer's reply is the random opening
    // move (draw 4: column 4); the chatter's draw 0 makes no remark.
    random.queued = {4, 0};
    game.PlayColumn(3);

    EXPECT_TRUE(SamePosition(game.Position, Played({3, 4})));
    EXPECT_EQ(random.draws, 2);
    EXPECT_EQ(game.HistoryCount, 2);
    EXPECT_TRUE(SamePosition(game.History[0], Played({})));
    EXPECT_TRUE(SamePosition(game.History[1], Played({3})));
    EXPECT_EQ(game.ComputerSide, Blue);
    EXPECT_EQ(game.LastThinkTick, clock.now);
    // The input made during the search is dropped once, after the repaint.
    EXPECT_EQ(view.calls, (std::vector<std::string>{"RepaintBoard", "SetTurnText Thinking...",
                                                    "ProcessMessagesOnce", "SetTurnText Your Move",
                                                    "RepaintBoard", "DropInputMadeDuringSearch"}));
}

TEST_F(GameFlowTest, IgnoredMovesChangeNothing) {
    game.NewGame();
    ScriptComputer({});
    const TPosition before = game.Position;

    // Same tick as the end of the computer's last move, even on a free column.
    game.LastThinkTick = 5000;
    clock.queued = {5000};
    game.PlayColumn(2);
    EXPECT_TRUE(SamePosition(game.Position, before));

    // Columns off the board, in play: not even a repaint.
    view.calls.clear();
    for (int column : {-1, 7, INT_MIN, INT_MAX}) game.PlayColumn(column);
    EXPECT_TRUE(SamePosition(game.Position, before));
    EXPECT_TRUE(view.calls.empty());

    // Game over.
    game.GameState = Red;
    game.PlayColumn(2);
    game.GameState = kBoardFull;
    game.PlayColumn(2);
    EXPECT_TRUE(SamePosition(game.Position, before));
    EXPECT_EQ(game.HistoryCount, 0);
    EXPECT_EQ(searches, 0);
}

TEST_F(GameFlowTest, FullColumnRecordsNothingAndTakeBackStillRemovesTwoPlies) {
    game.NewGame();
    ScriptComputer({0, 0, 0, 1});
    for (int i = 0; i < 3; ++i) Click(0);  // column 0 now full, no four
    Click(2);
    const TPosition before = game.Position;
    const int count = game.HistoryCount;
    ASSERT_EQ(count, 8);
    view.calls.clear();

    Click(0);
    EXPECT_TRUE(SamePosition(game.Position, before));
    EXPECT_EQ(game.HistoryCount, count);
    EXPECT_EQ(view.calls, std::vector<std::string>{"RepaintBoard"});
    EXPECT_EQ(searches, 4);

    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 6);
    EXPECT_TRUE(SamePosition(game.Position, Played({0, 0, 0, 0, 0, 0})));
}

TEST_F(GameFlowTest, UserWinShowsWonAndComputerDoesNotSearch) {
    game.NewGame();
    ScriptComputer({1, 1, 1});
    for (int i = 0; i < 4; ++i) Click(0);
    EXPECT_EQ(game.GameState, Red);
    EXPECT_EQ(view.turn_text, "You`ve Won!");
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(game.HistoryCount, 7);
    // ComputerMove still ran: it stored the tick and repainted.
    EXPECT_EQ(game.LastThinkTick, clock.now);
    EXPECT_EQ(view.calls.back(), "RepaintBoard");
}

TEST_F(GameFlowTest, ComputerWinShowsLost) {
    game.NewGame();
    ScriptComputer({6, 6, 6, 6});
    for (int c : {0, 1, 0, 1}) Click(c);
    EXPECT_EQ(game.GameState, Blue);
    EXPECT_EQ(view.turn_text, "You`ve Lost");
    EXPECT_EQ(game.HistoryCount, 8);

    // The game is over: further moves are dropped.
    Click(3);
    EXPECT_EQ(game.HistoryCount, 8);
}

struct FullBoardCase {
    const char* name;
    const std::vector<int>* moves;
    int user_colour;
    std::int32_t state;
    const char* label;
};

void PrintTo(const FullBoardCase& c, std::ostream* os) { *os << c.name; }

class FullBoardTest : public GameFixture, public ::testing::WithParamInterface<FullBoardCase> {};

TEST_P(FullBoardTest, LastStoneEndsTheGameAndTakeBackRemovesTwoPlies) {
    const FullBoardCase& param = GetParam();
    view.colour = param.user_colour;
    std::vector<int> user, computer;
    SplitGame(*param.moves, param.user_colour, user, computer);
    ScriptComputer(computer);
    game.StartNewGame();  // the computer opens when the user is Blue
    for (int c : user) Click(c);

    EXPECT_EQ(game.Position.MoveCount, 42);
    EXPECT_EQ(game.HistoryCount, 42);
    EXPECT_EQ(game.GameState, param.state);
    EXPECT_EQ(view.turn_text, param.label);

    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 40);
    EXPECT_EQ(game.GameState, kInPlay);
    EXPECT_EQ(view.turn_text, param.label);  // Take Back leaves the label alone
    std::vector<int> first40(param.moves->begin(), param.moves->begin() + 40);
    EXPECT_TRUE(SamePosition(game.Position, Played(first40)));
}

INSTANTIATE_TEST_SUITE_P(
    Games, FullBoardTest,
    ::testing::Values(FullBoardCase{"DrawnUserRed", &kDrawnGame, Red, kBoardFull, "Your Move"},
                      FullBoardCase{"DrawnUserBlue", &kDrawnGame, Blue, kBoardFull, "Your Move"},
                      FullBoardCase{"ComputerFourWithLastStone", &kFourWithLastStone, Red,
                                    kBoardFull, "You`ve Lost"},
                      FullBoardCase{"UserFourWithLastStone", &kFourWithLastStone, Blue, kBoardFull,
                                    "You`ve Won!"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(GameFlowTest, TakeBackInPlayRemovesUserMoveAndReply) {
    game.NewGame();
    ScriptComputer({4, 4});
    Click(2);
    Click(2);
    view.calls.clear();
    const int draws = random.draws;
    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 2);
    EXPECT_TRUE(SamePosition(game.Position, Played({2, 4})));
    EXPECT_EQ(view.calls, std::vector<std::string>{"RepaintBoard"});
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(random.draws, draws);
}

TEST_F(GameFlowTest, TakeBackAfterUserWinRemovesOnlyTheWinningMove) {
    game.NewGame();
    ScriptComputer({1, 1, 1});
    for (int i = 0; i < 4; ++i) Click(0);
    ASSERT_EQ(game.GameState, Red);
    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 6);
    EXPECT_EQ(game.GameState, kInPlay);
    EXPECT_TRUE(SamePosition(game.Position, Played({0, 1, 0, 1, 0, 1})));
    EXPECT_EQ(view.turn_text, "You`ve Won!");  // until the next move changes it
}

TEST_F(GameFlowTest, TakeBackAfterWinWithTheOtherColourNowSelectedRemovesTwo) {
    game.NewGame();
    ScriptComputer({1, 1, 1});
    for (int i = 0; i < 4; ++i) Click(0);
    view.colour = Blue;  // changed in the box, without the handler
    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 5);
}

TEST_F(GameFlowTest, TakeBackAfterComputerWinRemovesTwo) {
    game.NewGame();
    ScriptComputer({6, 6, 6, 6});
    for (int c : {0, 1, 0, 1}) Click(c);
    ASSERT_EQ(game.GameState, Blue);
    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 6);
    EXPECT_EQ(game.GameState, kInPlay);
    EXPECT_TRUE(SamePosition(game.Position, Played({0, 6, 1, 6, 0, 6})));
}

TEST_F(GameFlowTest, TakeBackWithoutHistoryDoesNothing) {
    game.NewGame();
    view.calls.clear();
    game.TakeBack();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(game.HistoryCount, 0);
}

TEST_F(GameFlowTest, TakeBackAfterComputerOpenedClearsBoardAndNextMovePlaysRed) {
    view.colour = Blue;
    ScriptComputer({3, 5});
    game.StartNewGame();
    ASSERT_EQ(game.HistoryCount, 1);
    game.TakeBack();
    EXPECT_EQ(game.HistoryCount, 0);
    EXPECT_TRUE(SamePosition(game.Position, Played({})));
    EXPECT_EQ(searches, 1);

    // The user's next move plays for the side to move, Red, whatever the
    // colour box says; the computer answers as Blue.
    Click(2);
    EXPECT_TRUE(SamePosition(game.Position, Played({2, 5})));
    EXPECT_EQ(game.ComputerSide, Blue);
}

TEST_F(GameFlowTest, NewGameAsRedWaitsAndAsBlueLetsComputerOpen) {
    ScriptComputer({4});
    game.StartNewGame();
    EXPECT_EQ(searches, 0);
    view.colour = Blue;
    game.StartNewGame();
    EXPECT_EQ(searches, 1);
    EXPECT_TRUE(SamePosition(game.Position, Played({4})));
    EXPECT_EQ(game.ComputerSide, Red);
}

TEST_F(GameFlowTest, ColourChangeToSideNotToMoveHandsItToTheComputer) {
    game.NewGame();
    ScriptComputer({1, 5, 6});
    Click(0);  // Red 0, Blue 1; Red to move

    view.colour = Red;  // the side to move: nothing happens
    view.calls.clear();
    game.ColourPicked();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(searches, 1);

    view.colour = Blue;  // mid-game: the computer takes Red over at once
    game.ColourPicked();
    EXPECT_EQ(searches, 2);
    EXPECT_EQ(game.ComputerSide, Red);
    EXPECT_TRUE(SamePosition(game.Position, Played({0, 1, 5})));

    view.colour = Red;  // and back again
    game.ColourPicked();
    EXPECT_EQ(game.ComputerSide, Blue);
    EXPECT_TRUE(SamePosition(game.Position, Played({0, 1, 5, 6})));
}

TEST_F(GameFlowTest, ColourChangeAfterGameOverOnlyStoresTickAndRepaints) {
    game.NewGame();
    ScriptComputer({1, 1, 1});
    for (int i = 0; i < 4; ++i) Click(0);
    const int count = game.HistoryCount;
    const std::vector<std::string> memo = view.memo;
    view.calls.clear();
    view.colour = Red;  // picked again: Blue is to move after Red's win
    game.ColourPicked();
    EXPECT_EQ(game.LastThinkTick, clock.now);
    EXPECT_EQ(view.calls, std::vector<std::string>{"RepaintBoard"});
    EXPECT_EQ(game.HistoryCount, count);
    EXPECT_EQ(view.memo, memo);
    EXPECT_EQ(searches, 3);
}

TEST_F(GameFlowTest, NewGameKeepsComputerSideForJudgingTheNextFour) {
    // The computer last played Blue; in a new game with the user switched to
    // Blue, a Blue four still reads as the computer's until it searches again.
    game.NewGame();
    game.ComputerSide = Blue;
    game.NewGame();
    for (int c : {0, 6, 1, 6, 2, 6, 0}) MakeMove(game.Position, c);
    MakeMove(game.Position, 6);
    game.DetectGameEnd();
    EXPECT_EQ(game.GameState, Blue);
    EXPECT_EQ(view.turn_text, "You`ve Lost");
}

TEST_F(GameFlowTest, DetectGameEndActsOnlyOnce) {
    game.NewGame();
    for (int c : {0, 1, 0, 1, 0, 1, 0}) MakeMove(game.Position, c);
    game.DetectGameEnd();
    ASSERT_EQ(game.GameState, Red);
    view.calls.clear();
    game.DetectGameEnd();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(game.GameState, Red);
}

}  // namespace
