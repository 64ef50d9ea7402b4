#include "app/startupnotice.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>

namespace heliora {

namespace {

    xcb_atom_t atom(xcb_connection_t* connection, const char* name)
    {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name);
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

} // namespace

QByteArray startupRemoveMessage(const QByteArray& startupId)
{
    QByteArray quoted;
    for (const char c : startupId) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return "remove: ID=\"" + quoted + '"';
}

void endStartupNotice(const QByteArray& startupId)
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || startupId.isEmpty())
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    if (!screen || begin == XCB_ATOM_NONE || more == XCB_ATOM_NONE)
        return;

    // The message goes to the root window in pieces of 20 bytes, the first marked as the beginning, the last
    // ending with the message's NUL; listeners tell messages apart by the window that sends them, a window of
    // its own that exists for the message only.
    const xcb_window_t sender = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, sender, screen->root, -100, -100, 1, 1, 0,
        XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
    QByteArray message = startupRemoveMessage(startupId);
    message += '\0';
    for (qsizetype at = 0; at < message.size(); at += 20) {
        xcb_client_message_event_t event {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = sender;
        event.type = at == 0 ? begin : more;
        const QByteArray piece = message.mid(at, 20);
        std::memcpy(event.data.data8, piece.constData(), size_t(piece.size()));
        xcb_send_event(
            connection, 0, screen->root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char*>(&event));
    }
    xcb_destroy_window(connection, sender);
    xcb_flush(connection);
}

} // namespace heliora
