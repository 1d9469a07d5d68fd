// The main window: the board on the left, the side panel with the turn
// label, the level, colour and think-output boxes, the New Game and Take Back
// buttons and the think memo on the right, and File > Exit, Help > About.
//
// The window decides little itself. It implements GameView on its controls,
// turns its events into the game object's operations and draws the board
// from the bitmaps of ui/board_view.h:
//
// clang-format off
//   event                          handler                        goes to
//   ----------------------------   ----------------------------   ---------------------------
//   first show                     FormShow                       images, TGame::NewGame,
//                                                                 defaults
//   size change                    FormResize                     minimum size, ScaleTiles
//   board paint                    pboxMainPaint                  PaintBoard
//   mouse release on the board     pboxMainMouseUp                ColumnAt, TGame::PlayColumn
//   "New Game"                     suitempBitBtn1Click            TGame::StartNewGame
//   "Take Back"                    suitempBitBtn2Click            TGame::TakeBack
//   the user picks a colour        suitempcboxColourChange        TGame::ColourPicked
//   the user picks a think output  suitempcboxThinkOutputChange   TGame::ThinkOutputPicked
//   Timer1, every 1000 ms          Timer1Timer                    FlashWinningLine after the
//                                                                 game
//   File > Exit                    Exit1Click                     closes the window
//   Help > About                   About1Click                    the About box, modally
//   a key of ui/key_bindings.h     KeyIntention                   one of the handlers above,
//                                                                 or the chosen column
// clang-format on
//
// The combo boxes' handlers run only for the user's picks, never for a
// selection made by code, and the wheel changes a box only while it has the
// focus. Input that reaches the window while the computer searches is
// dropped once the computer has moved (see ui/input_gate.h).
//
// Keyboard play: the digits play a column; on the board (which Tab reaches)
// Left and Right choose a column and Down, Enter or Space drop a stone
// there. Once such a key has been used, a marker above the board shows the
// chosen column, until the next mouse button or wheel in the window.
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
class TColumnMarker;
class TInputGate;
struct TKeyBinding;
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
    // A key of the window's key table.
    void KeyIntention(const TKeyBinding& binding);

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
    void DropInputMadeDuringSearch() override;

    // Width in pixels of the composed board bitmap, and of the paint box.
    int BoardWidth() const;
    int PaintBoxWidth() const;

    // The column the board keys act on, 0..6, and its marker: shown only
    // while the keyboard is in use.
    int ChosenColumn() const { return chosenColumn_; }
    bool KeyboardInUse() const { return keyboardInUse_; }
    TColumnMarker* ColumnMarker() const { return marker_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void CreateMenu();
    void LayOutPanels();
    void CreateKeyBindings();
    void ShowBoard();
    // Keyboard play: the chosen column and whether its marker shows.
    void UseKeyboard(int column);
    void LeaveKeyboard();
    void PlaceColumnMarker();
    bool IsForThisWindow(QObject* watched) const;

    TColumnMarker* marker_ = nullptr;
    int chosenColumn_ = kColumns / 2;
    bool keyboardInUse_ = false;
    std::unique_ptr<TInputGate> inputGate_;
    bool shown_ = false;
};

extern TfrmFourfall* frmFourfall;
