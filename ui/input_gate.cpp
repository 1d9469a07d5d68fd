#include "ui/input_gate.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

TInputGate::TInputGate(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

TInputGate::~TInputGate() {
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeEventFilter(this);
}

void TInputGate::DropPendingInput() {
    closed_ = true;
    struct Reopen {
        bool& closed;
        ~Reopen() { closed = false; }
    } reopen{closed_};
    // The window system's input is read on its own thread, so what arrived
    // during the search is already queued; a second pass catches what the
    // first one turned into further events (a press that became a click).
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

bool TInputGate::IsForWindow(QObject* watched) const {
    if (window_ == nullptr) return false;
    // A shortcut goes to the action or shortcut object that owns it, which
    // belongs to a widget further up.
    for (QObject* o = watched; o != nullptr; o = o->parent()) {
        if (o->isWidgetType()) return static_cast<QWidget*>(o)->window() == window_;
        if (o->isWindowType()) return o == window_->windowHandle();
    }
    return false;
}

bool TInputGate::eventFilter(QObject* watched, QEvent* event) {
    if (!closed_) return false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
            return IsForWindow(watched);
        case QEvent::ShortcutOverride:
            // Accepted, the key counts as taken by the focused control: no
            // shortcut is looked for, and the key press that follows is
            // swallowed above.
            if (!IsForWindow(watched)) return false;
            event->accept();
            return true;
        default:
            return false;
    }
}
