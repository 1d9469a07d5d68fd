#include "platform/skin/x11_window_manager.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace skin {
namespace {

constexpr std::uint32_t kMoveDirection = 8;  // _NET_WM_MOVERESIZE_MOVE
constexpr std::uint32_t kSourceApplication = 1;
constexpr xcb_atom_t kNoAtom = XCB_ATOM_NONE;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, length, name), nullptr),
        &std::free);
    if (!reply) return kNoAtom;
    return reply->atom;
}

// Whether the running window manager lists the atom in _NET_SUPPORTED on the root.
bool WindowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t atom) {
    const xcb_atom_t supported = Atom(connection, "_NET_SUPPORTED");
    if (supported == kNoAtom || atom == kNoAtom) return false;
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32) return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i) {
        if (atoms[i] == atom) return true;
    }
    return false;
}

// Device-independent to X11 pixels. Qt keeps each screen's origin at its native
// position and scales only the distances inside the screen.
QPoint ToNative(const QWidget& window, const QPoint& global) {
    const QScreen* screen = window.screen();
    if (!screen) return global;
    const QPoint origin = screen->geometry().topLeft();
    const double ratio = window.devicePixelRatioF();
    const QPointF inside = QPointF(global - origin) * ratio;
    return origin + inside.toPoint();
}

// The X connection and its first root window, or a null connection when the
// display is not X11. Other platforms may offer the X11 interface too (offscreen
// does, for its GL), without a display behind it.
struct X11Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = 0;
};

X11Display CurrentDisplay() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) return {};
    const xcb_screen_iterator_t screens =
        xcb_setup_roots_iterator(xcb_get_setup(x11->connection()));
    if (!screens.rem) return {};
    return {x11->connection(), screens.data->root};
}

}  // namespace

bool X11WithoutMaximisingWindowManager() {
    const X11Display display = CurrentDisplay();
    if (!display.connection) return false;
    return !WindowManagerSupports(display.connection, display.root,
                                  Atom(display.connection, "_NET_WM_STATE_MAXIMIZED_VERT"));
}

bool StartX11WindowMove(QWidget* window, const QPoint& pressGlobal) {
    const X11Display display = CurrentDisplay();
    QWindow* handle = window->windowHandle();
    if (!display.connection || !handle) return false;
    xcb_connection_t* connection = display.connection;
    const xcb_window_t root = display.root;
    const xcb_atom_t moveResize = Atom(connection, "_NET_WM_MOVERESIZE");
    if (!WindowManagerSupports(connection, root, moveResize)) return false;

    const QPoint start = ToNative(*window, pressGlobal);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(handle->winId());
    message.type = moveResize;
    message.data.data32[0] = static_cast<std::uint32_t>(start.x());
    message.data.data32[1] = static_cast<std::uint32_t>(start.y());
    message.data.data32[2] = kMoveDirection;
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = kSourceApplication;
    // The window manager can only grab the pointer once this program lets it go.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    // The window manager keeps the button's release, so the widgets are told here
    // that the press is over; otherwise the next click would go to the title bar.
    const QPointF local = handle->mapFromGlobal(pressGlobal);
    QMouseEvent release(QEvent::MouseButtonRelease, local, local, QPointF(pressGlobal),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &release);
    return true;
}

}  // namespace skin
