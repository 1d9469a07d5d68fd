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
    // When the computer's turn was itself started from a posted event (a
    // queued call, or a click that waited in the queue), processEvents()
    // runs nested inside that event's delivery and skips the events posted
    // before it, unless something new has been posted since: the second of
    // two queued New Game clicks would survive the search and start the
    // computer again. Sending the posted events by hand reaches them too.
    QCoreApplication::sendPostedEvents();
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
