// Prints every startup-notification message sent on the X display, one line each, as a launcher reads them:
// the pieces that one window sends to the root window, from the piece marked as the beginning to the NUL. Prints
// "listening" once it listens. Runs until it is ended.
//
// usage: startup_watch      (DISPLAY names the display)

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

// The two message atoms, asked for together: one round trip to the server.
std::pair<xcb_atom_t, xcb_atom_t> startupAtoms(xcb_connection_t* connection)
{
    xcb_atom_t atoms[2] = { XCB_ATOM_NONE, XCB_ATOM_NONE };
    const char* const names[2] = { "_NET_STARTUP_INFO_BEGIN", "_NET_STARTUP_INFO" };
    xcb_intern_atom_cookie_t cookies[2];
    for (int i = 0; i < 2; ++i)
        cookies[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(names[i])), names[i]);
    for (int i = 0; i < 2; ++i) {
        if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            std::free(reply);
        }
    }
    return { atoms[0], atoms[1] };
}

} // namespace

int main()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("startup_watch: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto [begin, more] = startupAtoms(connection);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    std::puts("listening");
    std::fflush(stdout);

    std::map<xcb_window_t, std::string> pending;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> owned(event, &std::free);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            continue;
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (message->format != 8 || (message->type != begin && message->type != more))
            continue;
        if (message->type == begin)
            pending[message->window].clear();
        else if (!pending.contains(message->window))
            continue;
        std::string& text = pending[message->window];
        const char* data = reinterpret_cast<const char*>(message->data.data8);
        const size_t length = strnlen(data, 20);
        text.append(data, length);
        if (length < 20) {
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
            pending.erase(message->window);
        }
    }
    return 0;
}
