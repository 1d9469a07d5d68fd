#pragma once
// What the skinned frame asks of an X11 window manager beyond what Qt offers.
//
// Moves: a frameless window's move is handed over starting from the point where
// the user pressed rather than from where the pointer is now.
//
// A title bar waits for the pointer to travel a few pixels before it moves the window,
// so that a click or a double click stays a click. Qt's own QWindow::startSystemMove
// then tells the window manager to start at the pointer's present position, and the
// window trails the pointer by the distance already travelled. The window manager
// protocol (_NET_WM_MOVERESIZE) takes the starting point as an argument; this sends
// it with the press point, as desktop toolkits do.
//
// Maximising: without a window manager nobody acts on a window state, so the frame
// needs to know when to size the window itself.

class QPoint;
class QWidget;

namespace skin {

// Asks the window manager to move `window` as if the pointer had been pressed at
// `pressGlobal` (global, device-independent pixels) and is still held. Returns false
// when the display is not X11 or no window manager offers moves, so that the caller
// moves the window itself.
bool StartX11WindowMove(QWidget* window, const QPoint& pressGlobal);

// True on an X11 display where no window manager carries out maximise requests
// (a bare X server, as under Xvfb), so that the frame maximises by itself.
bool X11WithoutMaximisingWindowManager();

}  // namespace skin
