#include "game/game_flow.h"

#include "engine/evaluate.h"
#include "engine/search.h"
#include "game/computer_move.h"

namespace {

// Clears a flag when the scope ends, also if a view call throws.
class RunningFlag {
  public:
    explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~RunningFlag() { flag_ = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;

  private:
    bool& flag_;
};

// A history slot as an index; the counts are 0..42 by the game's invariants.
std::size_t Slot(std::int32_t count) { return static_cast<std::size_t>(count); }

}  // namespace

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

void TGame::PlayColumn(int column) {
    if (computer_move_running_) return;
    if (column < 0 || column >= kColumns) return;
    if (GameState != kInPlay) return;
    // Input made while the computer was thinking is delivered after the
    // search, usually within the tick in which the search ended.
    if (clock_.GetTickCount() == LastThinkTick) return;

    const TPosition before = Position;
    const bool dropped = MakeMove(Position, column) == 1;
    if (dropped) {
        History[Slot(HistoryCount)] = before;
        ++HistoryCount;
    }
    Repaint();
    // Also after the user's winning stone: ComputerMove then only stores the
    // tick count and repaints.
    if (dropped) ComputerMove();
}

void TGame::StartNewGame() {
    if (computer_move_running_) return;
    NewGame();
    if (view_.ColourIndex() == Blue) ComputerMove();
}

void TGame::TakeBack() {
    if (computer_move_running_) return;
    if (HistoryCount <= 0) return;
    // After the user's own win only the winning move goes; otherwise the
    // computer's reply goes with the user's move before it.
    HistoryCount -= view_.ColourIndex() == GameState ? 1 : 2;
    if (HistoryCount < 0) HistoryCount = 0;
    Position = History[Slot(HistoryCount)];
    GameState = kInPlay;
    Repaint();
}

void TGame::ColourPicked() {
    if (computer_move_running_) return;
    if (view_.ColourIndex() == 1 - Position.SideToMove) ComputerMove();
}

void TGame::ThinkOutputPicked() {
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

int TGame::Level() const { return LevelFromText(view_.LevelText()); }

void TGame::ComputerMove() {
    if (computer_move_running_) return;
    // The user's operations reached through ProcessMessagesOnce see this and
    // ignore their input; see game_flow.h.
    RunningFlag running(computer_move_running_);
    bool searched = false;
    if (GameState == kInPlay) {
        ComputerSide = Position.SideToMove;
        view_.SetTurnText(kThinkingText);
        // Let the label reach the screen; no events are handled during
        // the search itself.
        view_.ProcessMessagesOnce();
        // A paint handled just now may have found the end of the game.
        if (GameState == kInPlay && HistoryCount < kHistorySlots) {
            History[Slot(HistoryCount)] = Position;
            ++HistoryCount;
            TotalMoves = 0;
            const std::uint32_t t0 = clock_.GetTickCount();
            const int level = Level();
            int score;
            {
                TSearchRandomScope scope(random_);
                score = Search(Position, level);
            }
            searched = true;
            const std::uint32_t t1 = clock_.GetTickCount();
            view_.SetTurnText(kYourMoveText);
            if (view_.ThinkOutputIndex() != 0) {
                WriteSearchInfo(score, t0, t1);
            } else {
                WriteChatter(score);
            }
        }
    }
    LastThinkTick = clock_.GetTickCount();
    Repaint();
    if (searched) view_.DropInputMadeDuringSearch();
}

void TGame::WriteSearchInfo(int score, std::uint32_t t0, std::uint32_t t1) {
    view_.ClearThink();
    view_.AddThinkLine("");
    view_.AddThinkLine(ScoreLine(score));
    view_.AddThinkLine("Moves/second: " + std::to_string(SearchSpeed(t0, t1, TotalMoves)) + "k");
    view_.AddThinkLine("Total Moves: " + std::to_string(TotalMoves));
}

void TGame::WriteChatter(int score) {
    // r1 is drawn on every chatter move, whatever the score.
    const int r1 = random_.Draw();
    if (!MakesRemark(r1, score)) return;
    view_.ClearThink();
    view_.AddThinkLine("");
    const int r2 = random_.Draw();
    view_.AddThinkLine(std::string(RemarkFor(score, r2)));
}
