#pragma once
// TsuiForm: the skinned frame of a top-level window. It turns the window frameless
// and draws the frame itself: a blue title bar with the caption and the title-bar
// buttons, an optional menu bar under it, a coloured border and rounded corners.
//
// The frame fills its window, and the window's own coordinates include the bars:
//
//   y = 0                 +-(  caption ......... [_][#][X][v] )-+  title bar, 25 high
//   y = TitleBarHeight()  | File  Help                           |  menu bar, 22 high
//   y = ClientTop()       |  controls go here (y >= 47 with a    |
//                         |  menu bar, y >= 25 without)          |
//                         +--------------------------------------+  border, 3 wide
//
// Controls are made children of the frame (or of its window) and placed at or below
// ClientTop(). The border is painted above them, over their outermost 3 pixels.
//
// The frame moves and resizes the window through the window system when it can
// (QWindow::startSystemMove / startSystemResize) and by itself when it cannot, as on
// a display without a window manager. Maximise, restore and minimise are window
// states, so the window manager carries them out, and the frame follows every state
// change, whoever made it. A sizeable window's smallest and largest sizes are given to
// the window manager as size hints.

#include <QAbstractButton>
#include <QPointer>
#include <QSize>
#include <QString>
#include <vector>

class QMenu;
class TsuiMainMenu;

namespace skin {
class TsuiFrameEdge;
class TsuiTitleButton;
}  // namespace skin

enum class TitleButtonKind { ControlBox, Close, Maximize, Minimize };

// The largest width and height of a sizeable window, in device-independent pixels.
// The largest screens made reach 7680 x 4320, so no real screen is refused, while a
// window the size of the X protocol's limit (32767 x 32767) would need gigabytes for
// its backing store and board pictures.
inline constexpr int kMaximumWindowSide = 8192;

class TsuiForm : public QWidget {
    Q_OBJECT
  public:
    struct Options {
        QString caption;  // empty: the window's title
        // Placed from the right end of the title bar leftwards, the first outermost.
        std::vector<TitleButtonKind> buttons{TitleButtonKind::ControlBox, TitleButtonKind::Close,
                                             TitleButtonKind::Maximize, TitleButtonKind::Minimize};
        bool hasMenu = false;   // a menu bar under the title bar
        bool sizeable = false;  // edges and corners resize; maximise allowed
        // A sizeable window's smallest outer size, given to the window manager as a
        // hint; the frame never goes below what its bars and corners need.
        QSize minimumSize{};
    };

    // Makes `window` (a top-level widget) frameless and becomes its frame. The window
    // keeps ownership of the frame.
    TsuiForm(QWidget* window, Options options);

    QWidget* Window() const { return window_; }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // The menu bar, or null when the frame has none.
    TsuiMainMenu* Menu() const { return menu_; }

    int TitleBarHeight() const;
    int MenuBarHeight() const;  // 0 without a menu bar
    int ClientTop() const { return TitleBarHeight() + MenuBarHeight(); }
    int BorderWidth() const;

    // The title-bar button of a kind, or null when the frame has none.
    QAbstractButton* TitleButton(TitleButtonKind kind) const;
    // Where the caption is drawn: between the control box and the other buttons.
    QRect CaptionRect() const;
    // The window menu that the control box opens.
    QMenu* WindowMenu() const { return windowMenu_; }

    // Whether the window is maximised (or full screen), as its window state says.
    bool IsMaximized() const { return maximized_; }
    // Asks the window system to maximise or restore the window; the frame follows once
    // the state has changed.
    void ToggleMaximized();
    // Whether the title bar is drawn as the active window's: it dims otherwise.
    bool TitleActive() const;

    // Moving and sizing, as the title bar, the edges and the window menu start them.
    // `edges` empty means a move. Returns at once when the window system took over.
    void BeginDrag(Qt::Edges edges, const QPoint& globalPos);
    void ContinueDrag(const QPoint& globalPos);
    void EndDrag();
    bool Dragging() const { return drag_.active; }
    Qt::Edges EdgesAt(const QPoint& pos) const;  // in window coordinates

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Drag {
        bool active = false;
        bool grabbed = false;  // started from the window menu, so the mouse is grabbed
        bool pending = false;  // the title bar is pressed; a move starts once the mouse moves
        Qt::Edges edges;
        QPoint pressGlobal;
        QRect startGeometry;
    };

    void Relayout();
    void UpdateMask();
    void FollowWindowState();
    void SetMaximized(bool maximized);  // the button's picture, the outline, the edges
    void ToggleMaximizedByItself();
    void BuildWindowMenu();
    void UpdateWindowMenu();
    void StartMenuDrag(Qt::Edges edges);
    bool HasButton(TitleButtonKind kind) const;

    QWidget* window_;
    Options options_;
    QString caption_;
    TsuiMainMenu* menu_ = nullptr;
    skin::TsuiFrameEdge* edge_ = nullptr;
    std::vector<std::pair<TitleButtonKind, skin::TsuiTitleButton*>> buttons_;
    QMenu* windowMenu_ = nullptr;
    bool maximized_ = false;
    QRect normalGeometry_;  // what to restore when the frame maximised by itself
    Drag drag_;
};
