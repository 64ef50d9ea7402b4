#include "widget-host/x11hints.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace heliora::host {

namespace {

    xcb_atom_t internAtom(xcb_connection_t* connection, const char* name)
    {
        const xcb_intern_atom_cookie_t cookie
            = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        if (!reply)
            return XCB_ATOM_NONE;
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }

} // namespace

bool markAsDesktopWidget(QWidget* window)
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection() || !window)
        return false;
    xcb_connection_t* connection = x11->connection();
    const auto id = static_cast<xcb_window_t>(window->winId());

    const xcb_atom_t stateAtom = internAtom(connection, "_NET_WM_STATE");
    const xcb_atom_t desktopAtom = internAtom(connection, "_NET_WM_DESKTOP");
    const std::array<xcb_atom_t, 3> states { internAtom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
        internAtom(connection, "_NET_WM_STATE_SKIP_PAGER"), internAtom(connection, "_NET_WM_STATE_STICKY") };
    if (stateAtom == XCB_ATOM_NONE || desktopAtom == XCB_ATOM_NONE)
        return false;

    // Before mapping a client sets these properties itself; the window manager reads them when it maps the
    // window. (On a mapped window the state would have to be asked for with client messages to the root.)
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, id, stateAtom, XCB_ATOM_ATOM, 32,
        static_cast<std::uint32_t>(states.size()), states.data());
    const std::uint32_t allDesktops = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, desktopAtom, XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
    xcb_flush(connection);
    return true;
}

} // namespace heliora::host
