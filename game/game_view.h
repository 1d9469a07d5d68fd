// The window as the game sees it.
//
// TGame reaches the main window only through this interface, so the game can
// run without a window (the tests drive it through a recording fake). The
// window implements every operation on its controls and forwards its event
// handlers to TGame. All calls happen on the one GUI thread.
//
// The game speaks of columns and of what the user means; which pixel or key
// that came from is the window's business.
//
// The game keeps no copy of the user's choices: it reads the level, colour
// and think-output boxes through LevelText, ColourIndex and
// ThinkOutputIndex at the moment it needs them, so a change in a box takes
// effect at its next use.
#pragma once

#include <string>

class GameView {
  public:
    virtual ~GameView() = default;

    // Caption of the turn label: "Your Move", "Thinking...", "You`ve Won!"
    // or "You`ve Lost".
    virtual void SetTurnText(const std::string& text) = 0;

    // Removes every line of the think memo.
    virtual void ClearThink() = 0;
    // Appends one line (possibly empty) to the think memo.
    virtual void AddThinkLine(const std::string& text) = 0;

    // Text of the level box: "1" to "10". Read anew for every search.
    virtual std::string LevelText() const = 0;
    // Selected index of the colour box: 0 "Red", 1 "Blue". The user plays
    // this colour.
    virtual int ColourIndex() const = 0;
    // Selected index of the think-output box: 0 "Chatterbox", anything else
    // "Search info".
    virtual int ThinkOutputIndex() const = 0;

    // Redraws the board from TGame::Position. The game has already run
    // TGame::DetectGameEnd when it asks for this; the window's paint may run
    // it again (it changes nothing the second time) but must not call any
    // other TGame operation.
    virtual void RepaintBoard() = 0;

    // Handles the pending window events once (paints, clicks, timer ticks),
    // then returns. Runs just before the computer's search so the
    // "Thinking..." label reaches the screen. Event handlers that call back
    // into TGame from here are ignored by the game, except paints.
    virtual void ProcessMessagesOnce() = 0;

    // The computer's search has ended and its turn has repainted. What the
    // user did while the search blocked the window (clicks, keys, the wheel,
    // the menu's access keys) is still waiting in the window system's queue;
    // the window discards all of it here, so that none of it acts on the
    // position the computer's move has just made. Paints and timer ticks that
    // waited go through. Called exactly once for every search, and only then.
    virtual void DropInputMadeDuringSearch() = 0;
};
