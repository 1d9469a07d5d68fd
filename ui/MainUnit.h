// The main window: the board on the left, the side panel with the turn
// label, the level, colour and think-output boxes, the New Game and Take Back
// buttons and the think memo on the right, and File > Exit, Help > About.
//
// The window decides little itself. It implements GameView on its controls,
// forwards its events to the game object and draws the board from the
// bitmaps of ui/board_view.h:
//
//   event                              handler                        goes to
//   first show                         FormShow                       images, TGame::NewGame,
//   defaults size change                        FormResize                     minimum size,
//   ScaleTiles board paint                        pboxMainPaint                  PaintBoard mouse
//   release on the board         pboxMainMouseUp                TGame::pboxMainMouseUp "New Game"
//   suitempBitBtn1Click            TGame::suitempBitBtn1Click "Take Back" suitempBitBtn2Click
//   TGame::suitempBitBtn2Click the user picks a colour            suitempcboxColourChange
//   TGame::suitempcboxColourChange the user picks a think output      suitempcboxThinkOutputChange
//   TGame::suitempcboxThinkOutputChange Timer1, every 1000 ms              Timer1Timer
//   FlashWinningLine after the game File > Exit                        Exit1Click closes the window
//   Help > About                       About1Click                    the About box, modally
//
// The combo boxes' handlers run only for the user's picks, never for a
// selection made by code. Input that reaches the window while the computer
// searches is dropped once the computer has moved (see ui/input_gate.h).
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "game/clock.h"
#include "game/game_flow.h"
#include "game/game_view.h"
#include "ui/board_view.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class TInputGate;
class TPaintBox;
class TsuiButton;
class TsuiComboBox;
class TsuiForm;
class TsuiGroupBox;
class TsuiMainMenu;
class TsuiMemo;

// The message shown when a board image cannot be loaded.
inline constexpr const char* kReinstallText = "Please re-install Fourfall!";

// Where the main window's game gets its time and chance. Null members mean
// the program's own: the steady tick clock and the runtime generator.
struct TGameServices {
    TickClock* clock = nullptr;
    RandomGenerator* random = nullptr;
};

class TfrmFourfall : public QWidget, public GameView {
    Q_OBJECT

  public:
    explicit TfrmFourfall(TGameServices services = {});
    ~TfrmFourfall() override;

    // Controls, named as in the window's layout.
    QTimer* Timer1 = nullptr;
    QMenu* File1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Exit1 = nullptr;
    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* lblTurn = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* Shape1 = nullptr;
    TsuiForm* suiForm1 = nullptr;
    TsuiMainMenu* MainMenu1 = nullptr;
    TsuiGroupBox* GroupBox1 = nullptr;
    TsuiGroupBox* GroupBox2 = nullptr;
    TsuiMemo* memoThink = nullptr;
    TsuiGroupBox* GroupBox3 = nullptr;
    TsuiComboBox* cboxLevel = nullptr;
    TsuiButton* BitBtn1 = nullptr;
    TsuiComboBox* cboxColour = nullptr;
    TsuiButton* BitBtn2 = nullptr;
    TsuiComboBox* cboxThinkOutput = nullptr;
    QWidget* Panel4 = nullptr;
    TPaintBox* pboxMain = nullptr;

  private:
    TSteadyTickClock steadyClock_;
    TRuntimeRandom runtimeRandom_;

  public:
    // The game: position, history, game state, the computer's side and the
    // tick of its last move.
    TGame Game;

    // The 17 board bitmaps; null until FormShow.
    TBoardBitmaps Bitmaps;

    // The blocking wait of the winning line's blank phase; Sleep unless a test
    // wants to look at the board meanwhile.
    std::function<void(std::uint32_t milliseconds)> FlashWait;

    // Event handlers.
    void FormShow();
    void FormResize();
    void pboxMainPaint();
    void pboxMainMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int X, int Y);
    void suitempBitBtn1Click();
    void suitempBitBtn2Click();
    void suitempcboxColourChange();
    void suitempcboxThinkOutputChange();
    void Timer1Timer();
    void Exit1Click();
    void About1Click();

    // The board view.
    void ScaleTiles();
    void PaintBoard();
    void DrawCell(int column, int row, int kind);
    void FlashWinningLine();

    // GameView.
    void SetTurnText(const std::string& text) override;
    void ClearThink() override;
    void AddThinkLine(const std::string& text) override;
    std::string LevelText() const override;
    int ColourIndex() const override;
    int ThinkOutputIndex() const override;
    void RepaintBoard() override;
    void ProcessMessagesOnce() override;
    int BoardWidth() const override;
    int PaintBoxWidth() const override;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void CreateControls();
    void CreateMenu();
    void LayOutPanels();
    void ShowBoard();
    // Runs a game handler that may let the computer move, then drops the
    // input that queued up while the computer searched.
    void RunGameHandler(const std::function<void()>& handler);

    std::unique_ptr<TInputGate> inputGate_;
    bool shown_ = false;
    int searches_ = 0;  // computer searches started, counted at their event pass
};

extern TfrmFourfall* frmFourfall;
