// Asks an X window to close the way a window manager does: a WM_DELETE_WINDOW client message.
//
// Without a window manager nothing turns alt+F4 into a close request, and destroying the window
// (xdotool windowkill) cuts the program off before it saves its settings. Qt answers this message
// with a close event on the window, as it does on a desktop, so the program shuts down normally.
//
// Usage: e2e_closewindow <window id>   (the display comes from DISPLAY)

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <window id>\n", argv[0]);
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        xcb_disconnect(connection);
        return 1;
    }

    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom(connection, "WM_PROTOCOLS");
    event.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_void_cookie_t sent = xcb_send_event_checked(
        connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    const std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
        xcb_request_check(connection, sent), &std::free);
    xcb_disconnect(connection);
    if (error) {
        std::fprintf(stderr, "%s: no window %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
