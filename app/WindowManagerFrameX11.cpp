#include "WindowManagerFrame.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* Connection()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The property's bytes, or none when it is missing or of another type.
std::string Property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
{
    // A window manager that has gone leaves its check window's id behind:
    // the error is taken here rather than left to the toolkit to report.
    xcb_generic_error_t* error = nullptr;
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, name, type, 0, 1024), &error));
    std::free(error);
    if (!reply || reply->type != type)
        return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

// The name the running window manager gives itself (EWMH), or none.
std::string WindowManagerName(xcb_connection_t* connection)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return {};
    const std::string check =
        Property(connection, screen->root, Atom(connection, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW);
    if (check.size() < sizeof(xcb_window_t))
        return {};
    xcb_window_t manager;
    std::memcpy(&manager, check.data(), sizeof manager);
    return Property(connection, manager, Atom(connection, "_NET_WM_NAME"), Atom(connection, "UTF8_STRING"));
}

}  // namespace

bool WindowManagerDrawsMaximizeOnFixedWindows()
{
    xcb_connection_t* connection = Connection();
    return connection && WindowManagerName(connection) == "Openbox";
}

void AskWindowManagerForBorderOnly(QWindow& window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return;
    // Motif hints: functions and decorations are given (flags 1 | 2); the
    // window may be moved, minimised and closed; the decoration is a border.
    enum : uint32_t { FunctionsGiven = 1, DecorationsGiven = 2 };
    enum : uint32_t { Move = 4, Minimize = 8, Close = 32 };
    enum : uint32_t { Border = 2 };
    const uint32_t hints[5] = {FunctionsGiven | DecorationsGiven, Move | Minimize | Close, Border, 0, 0};
    const xcb_atom_t motif = Atom(connection, "_MOTIF_WM_HINTS");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window.winId()), motif, motif,
                        32, 5, hints);
    xcb_flush(connection);
}
