// Drops the user's input to one window while it is closed.
//
// The computer's search blocks the GUI thread. Clicks, key presses and wheel
// turns made meanwhile wait in the window system's queue and would be
// delivered once the search is over, turning a click made while the computer
// thought into the user's next move. After every search the game asks the
// window to drop that input (GameView::DropInputMadeDuringSearch); the window
// closes this gate, lets the event loop deliver what is queued (the gate
// swallows the input, paints and timers go through), and opens it again.
//
// Keys are stopped before they can become shortcuts: the gate answers the
// shortcut query for a key itself, so neither the window's own keys nor the
// menu's access keys (Alt+F) act on input made during a search.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

class TInputGate : public QObject {
    Q_OBJECT

  public:
    // Watches every event of the application for `window` and its children.
    explicit TInputGate(QWidget* window);
    ~TInputGate() override;

    bool IsClosed() const { return closed_; }

    // Delivers the events that are pending now, swallowing mouse buttons,
    // wheel, keys and shortcuts meant for the window.
    void DropPendingInput();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsForWindow(QObject* watched) const;

    QPointer<QWidget> window_;
    bool closed_ = false;
};
