#include "game/game_flow.h"

#include "engine/evaluate.h"
#include "engine/search.h"
#include "game/board_geometry.h"

TGame::TGame(GameView& view, TickClock& clock, RandomGenerator& random)
    : Search(&SearchRoot), view_(view), clock_(clock), random_(random) {
    ClearPosition(Position);
    for (TPosition& slot : History) ClearPosition(slot);
}

void TGame::ShowGreeting() {
    view_.ClearThink();
    view_.AddThinkLine("");
    view_.AddThinkLine(kGreetingText);
}

void TGame::Repaint() {
    // Every change of Position passes through here, so the end of the game is
    // found before anything else can look at GameState.
    DetectGameEnd();
    view_.RepaintBoard();
}

void TGame::NewGame() {
    GameState = kInPlay;
    HistoryCount = 0;
    ClearPosition(Position);
    view_.SetTurnText(kYourMoveText);
    ShowGreeting();
    Repaint();
}

void TGame::pboxMainMouseUp(int X) {
    if (computer_move_running_) return;
    if (GameState != kInPlay) return;
    // A click made while the computer was thinking is delivered after the
    // search, usually within the tick in which the search ended.
    if (clock_.GetTickCount() == LastThinkTick) return;

    const int column = ColumnAt(X, view_.PaintBoxWidth(), view_.BoardWidth());
    const TPosition before = Position;
    const bool dropped = MakeMove(Position, column) == 1;
    if (dropped) {
        History[HistoryCount] = before;
        ++HistoryCount;
    }
    Repaint();
    // Also after the user's winning stone: ComputerMove then only stores the
    // tick count and repaints.
    if (dropped) ComputerMove();
}

void TGame::suitempBitBtn1Click() {
    if (computer_move_running_) return;
    NewGame();
    if (view_.ColourIndex() == Blue) ComputerMove();
}

void TGame::suitempBitBtn2Click() {
    if (computer_move_running_) return;
    if (HistoryCount <= 0) return;
    // After the user's own win only the winning move goes; otherwise the
    // computer's reply goes with the user's move before it.
    HistoryCount -= view_.ColourIndex() == GameState ? 1 : 2;
    if (HistoryCount < 0) HistoryCount = 0;
    Position = History[HistoryCount];
    GameState = kInPlay;
    Repaint();
}

void TGame::suitempcboxColourChange() {
    if (computer_move_running_) return;
    if (view_.ColourIndex() == 1 - Position.SideToMove) ComputerMove();
}

void TGame::suitempcboxThinkOutputChange() {
    if (computer_move_running_) return;
    if (view_.ThinkOutputIndex() != 0) {
        view_.ClearThink();
    } else {
        ShowGreeting();
    }
}

void TGame::DetectGameEnd() {
    if (GameState != kInPlay) return;
    const int mover = 1 - Position.SideToMove;
    if (HasFour(Position, mover)) {
        GameState = mover;
        view_.SetTurnText(mover == ComputerSide ? kYouLostText : kYouWonText);
    }
    // Checked after the four as well: a four made with the 42nd stone leaves
    // the board full with the win or loss text on the label.
    bool full = true;
    for (int c = 0; c < kColumns; ++c) full = full && Position.NextBit[c] == kFullColumn;
    if (full) GameState = kBoardFull;
}
