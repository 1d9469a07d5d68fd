#pragma once
// Hands a move of a frameless window over to an X11 window manager, starting from
// the point where the user pressed rather than from where the pointer is now.
//
// A title bar waits for the pointer to travel a few pixels before it moves the window,
// so that a click or a double click stays a click. Qt's own QWindow::startSystemMove
// then tells the window manager to start at the pointer's present position, and the
// window trails the pointer by the distance already travelled. The window manager
// protocol (_NET_WM_MOVERESIZE) takes the starting point as an argument; this sends
// it with the press point, as desktop toolkits do.

class QPoint;
class QWidget;

namespace skin {

// Asks the window manager to move `window` as if the pointer had been pressed at
// `pressGlobal` (global, device-independent pixels) and is still held. Returns false
// when the display is not X11 or no window manager offers moves, so that the caller
// moves the window itself.
bool StartX11WindowMove(QWidget* window, const QPoint& pressGlobal);

}  // namespace skin
