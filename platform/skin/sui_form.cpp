#include "platform/skin/sui_form.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "platform/skin/skin_pictures.h"
#include "platform/skin/skin_style.h"
#include "platform/skin/skin_theme.h"
#include "platform/skin/sui_main_menu.h"
#include "platform/skin/x11_window_manager.h"

namespace skin {
namespace {

// The span of pixels to leave out at each end of row `row` of a corner rounded by
// an ellipse `diameter` pixels across (the row counted from the outer edge).
int CornerInset(int row, int diameter) {
    const double a = diameter / 2.0;
    const double dy = a - (row + 0.5);
    if (dy <= 0) return 0;
    return static_cast<int>(std::lround(a - std::sqrt(a * a - dy * dy)));
}

// A rectangle whose corners are cut along an ellipse of `diameter` pixels.
QRegion RoundedRegion(const QRect& r, int diameter) {
    if (diameter < 2 || r.width() < diameter || r.height() < diameter) return QRegion(r);
    const int rows = (diameter + 1) / 2;
    QRegion region(r.adjusted(0, rows, 0, -rows));
    for (int i = 0; i < rows; ++i) {
        const int inset = CornerInset(i, diameter);
        const int w = r.width() - 2 * inset;
        region += QRect(r.left() + inset, r.top() + i, w, 1);
        region += QRect(r.left() + inset, r.bottom() - i, w, 1);
    }
    return region;
}

ButtonState StateOf(const QAbstractButton& b) {
    if (b.isDown()) return ButtonState::Pressed;
    if (b.underMouse()) return ButtonState::Hover;
    return ButtonState::Normal;
}

}  // namespace

// One 21 x 21 title-bar button with a normal, a mouse-over and a pressed picture.
class TsuiTitleButton : public QAbstractButton {
  public:
    TsuiTitleButton(TitleGlyph glyph, QWidget* parent) : QAbstractButton(parent), glyph_(glyph) {
        setFixedSize(kTitleButtonSize, kTitleButtonSize);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
    }
    void SetGlyph(TitleGlyph glyph) {
        glyph_ = glyph;
        update();
    }
    TitleGlyph Glyph() const { return glyph_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawPixmap(0, 0, TitleButtonPicture(glyph_, StateOf(*this)));
    }

  private:
    TitleGlyph glyph_;
};

// The window's border: a ring over the frame's edges, painted above the controls and
// catching the mouse there so that the edges and corners can resize the window.
class TsuiFrameEdge : public QWidget {
  public:
    TsuiFrameEdge(TsuiForm* form, QWidget* window) : QWidget(window), form_(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_NoSystemBackground);
    }

    // The pixels outside the rounded outline, cleared last where the window is
    // translucent, so that no control shows there.
    void SetOutside(const QRegion& outside) { outside_ = outside; }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.fillRect(event->rect(), kFrameBorder);
        if (!outside_.isEmpty()) {
            p.setCompositionMode(QPainter::CompositionMode_Clear);
            p.setClipRegion(outside_);
            p.fillRect(event->rect(), Qt::transparent);
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        const Qt::Edges edges = form_->EdgesAt(mapTo(form_->Window(), event->position().toPoint()));
        if (event->button() == Qt::LeftButton && edges) {
            form_->BeginDrag(edges, event->globalPosition().toPoint());
        }
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (form_->Dragging()) {
            form_->ContinueDrag(event->globalPosition().toPoint());
            return;
        }
        const Qt::Edges edges = form_->EdgesAt(mapTo(form_->Window(), event->position().toPoint()));
        if (edges == (Qt::LeftEdge | Qt::BottomEdge) || edges == (Qt::RightEdge | Qt::TopEdge)) {
            setCursor(Qt::SizeBDiagCursor);
        } else if (edges == (Qt::LeftEdge | Qt::TopEdge) ||
                   edges == (Qt::RightEdge | Qt::BottomEdge)) {
            setCursor(Qt::SizeFDiagCursor);
        } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
            setCursor(Qt::SizeHorCursor);
        } else if (edges) {
            setCursor(Qt::SizeVerCursor);
        } else {
            unsetCursor();
        }
    }
    void mouseReleaseEvent(QMouseEvent*) override { form_->EndDrag(); }

  private:
    TsuiForm* form_;
    QRegion outside_;
};

}  // namespace skin

using namespace skin;

TsuiForm::TsuiForm(QWidget* window, Options options)
    : QWidget(window), window_(window), options_(std::move(options)) {
    Q_ASSERT(window && window->isWindow());
    window_->setWindowFlag(Qt::FramelessWindowHint, true);
    // A Wayland compositor takes a window's shape only as the region that gets input;
    // what it shows comes from the pixels, so the corners outside the rounded outline
    // must be transparent there.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        window_->setAttribute(Qt::WA_TranslucentBackground);
    }
    caption_ = options_.caption.isEmpty() ? window_->windowTitle() : options_.caption;
    window_->setWindowTitle(caption_);
    setFont(WindowFont());
    setMouseTracking(true);

    for (TitleButtonKind kind : options_.buttons) {
        const TitleGlyph glyph = kind == TitleButtonKind::ControlBox ? TitleGlyph::ControlBox
                                 : kind == TitleButtonKind::Close    ? TitleGlyph::Close
                                 : kind == TitleButtonKind::Maximize ? TitleGlyph::Maximize
                                                                     : TitleGlyph::Minimize;
        auto* button = new TsuiTitleButton(glyph, this);
        buttons_.emplace_back(kind, button);
        switch (kind) {
            case TitleButtonKind::ControlBox:
                connect(button, &QAbstractButton::pressed, this, [this, button] {
                    windowMenu_->popup(button->mapToGlobal(QPoint(0, button->height())));
                    button->setDown(false);
                });
                break;
            case TitleButtonKind::Close:
                connect(button, &QAbstractButton::clicked, window_, &QWidget::close);
                break;
            case TitleButtonKind::Maximize:
                connect(button, &QAbstractButton::clicked, this, &TsuiForm::ToggleMaximized);
                break;
            case TitleButtonKind::Minimize:
                connect(button, &QAbstractButton::clicked, window_, &QWidget::showMinimized);
                break;
        }
    }

    if (options_.hasMenu) menu_ = new TsuiMainMenu(this);
    BuildWindowMenu();

    if (options_.sizeable) {
        // Hints rather than snap-backs alone: a window manager that resizes the window
        // itself keeps to them, and some never let the program undo a size it chose.
        const QSize least(2 * kRoundCorner, ClientTop() + kBorderWidth);
        window_->setMinimumSize(options_.minimumSize.expandedTo(least));
        window_->setMaximumSize(kMaximumWindowSide, kMaximumWindowSide);
    }

    edge_ = new TsuiFrameEdge(this, window_);
    window_->installEventFilter(this);
    Relayout();
}

void TsuiForm::SetCaption(const QString& caption) {
    caption_ = caption;
    if (window_->windowTitle() != caption) window_->setWindowTitle(caption);
    update(CaptionRect());
}

int TsuiForm::TitleBarHeight() const { return kTitleBarHeight; }
int TsuiForm::MenuBarHeight() const { return menu_ ? kMenuBarHeight : 0; }
int TsuiForm::BorderWidth() const { return kBorderWidth; }

QAbstractButton* TsuiForm::TitleButton(TitleButtonKind kind) const {
    for (const auto& [k, button] : buttons_) {
        if (k == kind) return button;
    }
    return nullptr;
}

bool TsuiForm::HasButton(TitleButtonKind kind) const { return TitleButton(kind) != nullptr; }

void TsuiForm::Relayout() {
    const QRect r = window_->rect();
    if (geometry() != r) setGeometry(r);
    // The control box opens the window menu, so it sits at the left edge where
    // a window menu is expected; the others run from the right edge, close
    // outermost.
    int right = r.width() - kBorderWidth - 2;
    for (const auto& [kind, button] : buttons_) {
        if (kind == TitleButtonKind::ControlBox) {
            button->move(kBorderWidth + 2, kTitleButtonTop);
            continue;
        }
        right -= kTitleButtonSize;
        button->move(right, kTitleButtonTop);
        right -= kTitleButtonGap;
    }
    if (menu_) {
        menu_->setGeometry(kBorderWidth, kTitleBarHeight, r.width() - 2 * kBorderWidth,
                           kMenuBarHeight);
    }
    edge_->setGeometry(r);
    UpdateMask();
    edge_->raise();
}

void TsuiForm::UpdateMask() {
    const QRect r = window_->rect();
    const int corner = maximized_ ? 0 : kRoundCorner;
    const QRegion outline = RoundedRegion(r, corner);
    if (maximized_) {
        window_->clearMask();
    } else {
        window_->setMask(outline);
    }
    // The ring runs down both sides under the title bar and along the bottom; its
    // inner edge is rounded too, so the border keeps its width around the corners.
    const int inner = std::max(corner - 2 * kBorderWidth, 0);
    const QRect innerRect = r.adjusted(kBorderWidth, -kBorderWidth, -kBorderWidth, -kBorderWidth);
    QRegion ring = outline - RoundedRegion(innerRect, inner);
    ring &= QRect(0, kTitleBarHeight, r.width(), r.height());
    // A translucent window (Wayland) shows every pixel it paints, so the edge also
    // covers the corners outside the outline and clears them.
    QRegion outside;
    if (window_->testAttribute(Qt::WA_TranslucentBackground) && !maximized_)
        outside = QRegion(r) - outline;
    edge_->SetOutside(outside);
    edge_->setMask(ring + outside);
}

QRect TsuiForm::CaptionRect() const {
    int left = 8;
    int right = width() - kBorderWidth;
    for (const auto& [kind, button] : buttons_) {
        if (kind == TitleButtonKind::ControlBox)
            left = std::max(left, button->x() + button->width() + 6);
        else
            right = std::min(right, button->x());
    }
    return QRect(left, 0, std::max(right - 6 - left, 0), kTitleBarHeight);
}

bool TsuiForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::Resize: {
                // Without a window manager nothing keeps another program from sizing
                // the window past its largest size, so it is put back, as the smallest
                // size is.
                const QSize bounded = window_->size().boundedTo(window_->maximumSize());
                if (options_.sizeable && bounded != window_->size()) {
                    window_->resize(bounded);
                    break;
                }
                Relayout();
                break;
            }
            case QEvent::ChildAdded:
            case QEvent::Show:
                // Controls added to the window later must not cover the border.
                if (edge_) edge_->raise();
                break;
            case QEvent::WindowStateChange:
                FollowWindowState();
                break;
            case QEvent::ActivationChange:
                update(0, 0, width(), kTitleBarHeight);
                break;
            case QEvent::WindowTitleChange:
                if (window_->windowTitle() != caption_) SetCaption(window_->windowTitle());
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TsuiForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width();
    // Where the corners are transparent (Wayland), nothing may be painted outside
    // the rounded outline.
    if (!window_->mask().isEmpty()) p.setClipRegion(window_->mask());
    p.fillRect(rect(), kFrameColor);

    // Title bar: the left and right pictures at their own size, the middle stretched.
    const QPixmap left = TitleSectionPicture(TitleSection::Left);
    const QPixmap middle = TitleSectionPicture(TitleSection::Middle);
    const QPixmap right = TitleSectionPicture(TitleSection::Right);
    p.drawPixmap(
        QRect(left.width(), 0, std::max(w - left.width() - right.width(), 0), kTitleBarHeight),
        middle);
    p.drawPixmap(0, 0, left);
    p.drawPixmap(w - right.width(), 0, right);
    // An inactive window's title bar is washed out, so the active one stands out.
    const bool active = TitleActive();
    if (!active) p.fillRect(QRect(0, 0, w, kTitleBarHeight), kTitleInactiveWash);

    // The caption, bold and white over a soft shadow, cut short when it does not fit.
    const QRect textRect = CaptionRect();
    p.setFont(TitleFont());
    const QString text = p.fontMetrics().elidedText(caption_, Qt::ElideRight, textRect.width());
    if (active) {
        p.setPen(kTitleTextShadow);
        p.drawText(textRect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    p.setPen(active ? kTitleText : kTitleTextInactive);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);

    if (menu_) {
        p.fillRect(QRect(0, kTitleBarHeight, w, kMenuBarHeight), kMenuBarColor);
    }
}

Qt::Edges TsuiForm::EdgesAt(const QPoint& pos) const {
    if (!options_.sizeable || maximized_) return {};
    // A corner grip reaches a little along both edges, as on other windows.
    const int grip = kBorderWidth + 1;
    const int corner = kRoundCorner + 4;
    const QRect r = window_->rect();
    Qt::Edges edges;
    const bool nearLeft = pos.x() < grip, nearRight = pos.x() >= r.width() - grip;
    const bool nearTop = pos.y() < grip, nearBottom = pos.y() >= r.height() - grip;
    if (nearLeft || (pos.x() < corner && (nearTop || nearBottom))) edges |= Qt::LeftEdge;
    if (nearRight || (pos.x() >= r.width() - corner && (nearTop || nearBottom)))
        edges |= Qt::RightEdge;
    if (nearTop || (pos.y() < corner && (nearLeft || nearRight))) edges |= Qt::TopEdge;
    if (nearBottom || (pos.y() >= r.height() - corner && (nearLeft || nearRight)))
        edges |= Qt::BottomEdge;
    return edges;
}

void TsuiForm::BeginDrag(Qt::Edges edges, const QPoint& globalPos) {
    if (maximized_ || (edges && !options_.sizeable)) return;
    if (QWindow* handle = window_->windowHandle(); handle && !drag_.grabbed) {
        const bool taken = edges ? handle->startSystemResize(edges) : handle->startSystemMove();
        if (taken) return;
    }
    drag_.active = true;
    drag_.edges = edges;
    drag_.pressGlobal = globalPos;
    drag_.startGeometry = window_->geometry();
}

void TsuiForm::ContinueDrag(const QPoint& globalPos) {
    if (!drag_.active) return;
    const QPoint delta = globalPos - drag_.pressGlobal;
    QRect g = drag_.startGeometry;
    if (!drag_.edges) {
        window_->move(g.topLeft() + delta);
        return;
    }
    const QSize minimum = window_->minimumSize().expandedTo(QSize(2 * kRoundCorner, ClientTop()));
    const QSize maximum = window_->maximumSize();
    // Each moving edge stays between the smallest and the largest size, measured from
    // the edge that stays put.
    if (drag_.edges & Qt::LeftEdge)
        g.setLeft(std::clamp(g.left() + delta.x(), g.right() - maximum.width() + 1,
                             g.right() - minimum.width() + 1));
    if (drag_.edges & Qt::RightEdge)
        g.setRight(std::clamp(g.right() + delta.x(), g.left() + minimum.width() - 1,
                              g.left() + maximum.width() - 1));
    if (drag_.edges & Qt::TopEdge)
        g.setTop(std::clamp(g.top() + delta.y(), g.bottom() - maximum.height() + 1,
                            g.bottom() - minimum.height() + 1));
    if (drag_.edges & Qt::BottomEdge)
        g.setBottom(std::clamp(g.bottom() + delta.y(), g.top() + minimum.height() - 1,
                               g.top() + maximum.height() - 1));
    window_->setGeometry(g);
}

void TsuiForm::EndDrag() {
    if (drag_.grabbed) {
        releaseMouse();
        releaseKeyboard();
        unsetCursor();
    }
    drag_ = Drag{};
}

void TsuiForm::ToggleMaximized() {
    if (!options_.sizeable) return;
    // Without a window manager (a bare X server) nobody would act on the state, so
    // the frame sizes the window itself, as it moves and sizes it there.
    if (X11WithoutMaximisingWindowManager()) {
        ToggleMaximizedByItself();
        return;
    }
    // The window manager keeps the size to restore, and a taskbar or a shortcut that
    // restores the window later finds the same state as the skin's button.
    if (maximized_) {
        window_->showNormal();
    } else {
        window_->showMaximized();
    }
}

void TsuiForm::ToggleMaximizedByItself() {
    if (maximized_) {
        window_->setGeometry(normalGeometry_);
    } else {
        normalGeometry_ = window_->geometry();
        QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
        window_->setGeometry(screen->availableGeometry());
    }
    SetMaximized(!maximized_);
}

void TsuiForm::FollowWindowState() {
    const Qt::WindowStates state = window_->windowState();
    SetMaximized((state & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0);
}

void TsuiForm::SetMaximized(bool maximized) {
    if (maximized == maximized_) return;
    maximized_ = maximized;
    if (maximized_) EndDrag();
    if (auto* button = static_cast<TsuiTitleButton*>(TitleButton(TitleButtonKind::Maximize))) {
        button->SetGlyph(maximized_ ? TitleGlyph::Restore : TitleGlyph::Maximize);
    }
    Relayout();
}

bool TsuiForm::TitleActive() const { return window_->isActiveWindow(); }

void TsuiForm::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (drag_.grabbed) {  // a click ends a move or size started from the window menu
        EndDrag();
        return;
    }
    if (pos.y() >= kTitleBarHeight) return;
    if (event->button() == Qt::RightButton) {
        windowMenu_->popup(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    if (const Qt::Edges edges = EdgesAt(mapTo(window_, pos))) {
        BeginDrag(edges, event->globalPosition().toPoint());
        return;
    }
    // The move waits for the mouse to travel, so that a double click still reaches us.
    drag_.pending = true;
    drag_.pressGlobal = event->globalPosition().toPoint();
}

void TsuiForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (drag_.pending &&
        (global - drag_.pressGlobal).manhattanLength() >= QApplication::startDragDistance()) {
        drag_.pending = false;
        // An X11 window manager is told where the press was, so the window does not
        // trail the pointer by the distance travelled so far.
        if (StartX11WindowMove(window_, drag_.pressGlobal)) return;
        BeginDrag({}, drag_.pressGlobal);
    }
    if (drag_.active) ContinueDrag(global);
}

void TsuiForm::mouseReleaseEvent(QMouseEvent*) {
    if (!drag_.grabbed) EndDrag();
}

void TsuiForm::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < kTitleBarHeight &&
        HasButton(TitleButtonKind::Maximize)) {
        EndDrag();
        ToggleMaximized();
    }
}

void TsuiForm::keyPressEvent(QKeyEvent* event) {
    if (!drag_.grabbed) {
        QWidget::keyPressEvent(event);
        return;
    }
    // While moving or sizing from the window menu: Escape puts the window back, Enter
    // keeps it where it is.
    if (event->key() == Qt::Key_Escape) {
        window_->setGeometry(drag_.startGeometry);
        EndDrag();
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        EndDrag();
    }
}

void TsuiForm::StartMenuDrag(Qt::Edges edges) {
    drag_.active = true;
    drag_.grabbed = true;
    drag_.edges = edges;
    drag_.pressGlobal = QCursor::pos();
    drag_.startGeometry = window_->geometry();
    setCursor(edges ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
    grabMouse();
    grabKeyboard();
}

void TsuiForm::BuildWindowMenu() {
    windowMenu_ = new QMenu(this);
    TsuiMainMenu::StyleMenu(windowMenu_);
    windowMenu_->addAction(tr("&Restore"), this, &TsuiForm::ToggleMaximized)
        ->setObjectName("restore");
    windowMenu_->addAction(tr("&Move"), this, [this] { StartMenuDrag({}); })->setObjectName("move");
    windowMenu_
        ->addAction(tr("&Size"), this, [this] { StartMenuDrag(Qt::RightEdge | Qt::BottomEdge); })
        ->setObjectName("size");
    windowMenu_->addAction(tr("Mi&nimise"), window_, &QWidget::showMinimized)
        ->setObjectName("minimise");
    windowMenu_->addAction(tr("Ma&ximise"), this, &TsuiForm::ToggleMaximized)
        ->setObjectName("maximise");
    windowMenu_->addSeparator();
    QAction* close = windowMenu_->addAction(tr("&Close"), window_, &QWidget::close);
    close->setObjectName("close");
    windowMenu_->setDefaultAction(close);
    connect(windowMenu_, &QMenu::aboutToShow, this, &TsuiForm::UpdateWindowMenu);
}

void TsuiForm::UpdateWindowMenu() {
    const bool canResize = options_.sizeable && HasButton(TitleButtonKind::Maximize);
    for (QAction* action : windowMenu_->actions()) {
        const QString name = action->objectName();
        if (name == "restore") action->setEnabled(maximized_);
        if (name == "move") action->setEnabled(!maximized_);
        if (name == "size") action->setEnabled(options_.sizeable && !maximized_);
        if (name == "minimise") action->setEnabled(HasButton(TitleButtonKind::Minimize));
        if (name == "maximise") action->setEnabled(canResize && !maximized_);
    }
}
