// Asks an X window to close the way a window manager does: a WM_PROTOCOLS
// client message carrying WM_DELETE_WINDOW.
// Usage: vk_close_window WINDOW_ID (on the display DISPLAY names).

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    char *p_end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &p_end, 0);
    if (!p_end || *p_end != '\0' || window == 0) {
        std::fprintf(stderr, "%s: bad window id '%s'\n", argv[0], argv[1]);
        return 2;
    }
    Display *p_display = XOpenDisplay(nullptr);
    if (!p_display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(p_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(p_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(p_display, window, False, NoEventMask, &event);
    XSync(p_display, False);
    XCloseDisplay(p_display);
    return sent ? 0 : 1;
}
