// The course of a game: new game, the user's moves, Take Back, colour
// changes, the end of the game and the computer's turn.
//
// TGame owns the game's state and offers the user's intentions as
// operations: play a column, start a new game, take back, a colour or a
// think output picked. The window owns one TGame, implements GameView for it
// and turns its events into these operations (a mouse release becomes a
// column in the window, a key becomes one through the window's key table).
// Everything runs on the GUI thread.
//
// State:
//   Position      the current position
//   History       Take Back snapshots: slot i holds the position before ply
//                 i + 1 of the current line of play; slots from HistoryCount
//                 on are stale
//   HistoryCount  valid snapshots, 0..42; always equals Position.MoveCount,
//                 because every ply played stores exactly one snapshot and
//                 Take Back restores the snapshot at the new count
//   GameState     kInPlay (-1), Red (0) or Blue (1) when that side has four,
//                 kBoardFull (-2) when all 42 cells are filled (also when the
//                 42nd stone made a four)
//   ComputerSide  the side the computer last searched for; NewGame keeps it
//   LastThinkTick the tick count at the end of the last ComputerMove
//
// The user's colour, the level and the think-output mode are not stored:
// they are read from the view when needed. The computer always plays for the
// side to move when its turn starts.
//
// Input during the computer's turn: ComputerMove lets the window handle
// pending events once before it searches. The user's operations that arrive
// then are ignored, and if the game is no longer in play when the window
// returns, ComputerMove neither stores a snapshot nor searches. So no search
// ever runs on an ended game and HistoryCount never exceeds 42. After every
// search ComputerMove has the view drop the input made while it searched
// (GameView::DropInputMadeDuringSearch), so that input never becomes a move
// either, whichever control or key it came from.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/position.h"
#include "game/clock.h"
#include "game/game_view.h"

constexpr std::int32_t kInPlay = -1;
constexpr std::int32_t kBoardFull = -2;
constexpr int kHistorySlots = kCells;

// Turn-label texts. The character after "You" is a grave accent.
inline constexpr const char* kYourMoveText = "Your Move";
inline constexpr const char* kThinkingText = "Thinking...";
inline constexpr const char* kYouWonText = "You`ve Won!";
inline constexpr const char* kYouLostText = "You`ve Lost";
inline constexpr const char* kGreetingText = "Let the games begin!";

class TGame {
  public:
    // The search the computer's turn runs: plays a move on the position for
    // its side to move at the given level and returns the score from the
    // mover's side. SearchRoot unless replaced; the window leaves it alone,
    // tests wrap it to watch or script the computer. Must not be empty.
    using SearchFunction = std::function<int(TPosition&, int)>;

    // Keeps references to all three; they must outlive the game. Sets up an
    // empty board in play but calls nothing on the view: the window calls
    // NewGame once it can show it.
    TGame(GameView& view, TickClock& clock, RandomGenerator& random);
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    TPosition Position;
    std::array<TPosition, kHistorySlots> History{};
    std::int32_t HistoryCount = 0;
    std::int32_t GameState = kInPlay;
    std::int32_t ComputerSide = 0;
    std::uint32_t LastThinkTick = 0;

    SearchFunction Search;

    // Empty board, game in play, no snapshots, "Your Move", the greeting in
    // the memo, repaint. Never starts the computer.
    void NewGame();

    // The user drops a stone into `column`, 0..6 from the left. Plays it for
    // the side to move and lets the computer answer. A column off the board
    // is ignored. Ignored while the game is over, when the tick count
    // still equals LastThinkTick (input made while the computer was
    // thinking), and while the computer's turn is running. A full column is
    // repainted and nothing else happens.
    void PlayColumn(int column);

    // New Game: NewGame, and the computer opens as Red when the user plays
    // Blue. Ignored while the computer's turn is running.
    void StartNewGame();

    // Take Back: removes the user's last move and the computer's reply (or
    // only the winning move after the user has won with the colour now
    // selected), puts the game back in play and repaints. Never starts the
    // computer; does nothing with no snapshots or while the computer's turn
    // is running.
    void TakeBack();

    // The user picked a colour: when they now play the side that is not to
    // move, the computer moves at once for the side to move.
    void ColourPicked();

    // The user picked a think output: empties the memo for search info, or
    // shows the greeting again for chatter. Does not touch the game.
    void ThinkOutputPicked();

    // Ends the game if the side that has just moved has four (and sets the
    // win or loss text), and marks a full board. Acts only while in play, so
    // running it again on the same position changes nothing. The window's
    // board paint may call it too.
    void DetectGameEnd();

    // The computer's turn: while in play, searches for the side to move at
    // the level of the level box, plays the move, stores its snapshot and
    // writes the think output. Always stores LastThinkTick and repaints.
    void ComputerMove();

    // True while ComputerMove is running (including its pass over the
    // window's pending events).
    bool ComputerMoveRunning() const { return computer_move_running_; }

  private:
    void Repaint();
    void WriteSearchInfo(int score, std::uint32_t t0, std::uint32_t t1);
    void WriteChatter(int score);
    void ShowGreeting();
    int Level() const;

    GameView& view_;
    TickClock& clock_;
    RandomGenerator& random_;
    bool computer_move_running_ = false;
};
