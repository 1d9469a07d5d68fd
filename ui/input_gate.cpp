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
    if (window_ == nullptr || watched == nullptr) return false;
    if (watched->isWidgetType()) return static_cast<QWidget*>(watched)->window() == window_;
    if (watched->isWindowType()) return watched == window_->windowHandle();
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
        case QEvent::ShortcutOverride:
            return IsForWindow(watched);
        default:
            return false;
    }
}
