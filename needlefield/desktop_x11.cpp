// The desktop on X11: the pointer and the keyboard of the whole screen, through a connection
// of the demo's own thread. Without a display every call is harmless and the window side's
// FbwOpen reports the failure.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "desktop.h"
#include "x11_escape.h"

namespace {

const int32_t kDefaultCursorSide = 32;

Display* desktop;
bool opened;

Display* Desktop() {
    if (!opened) {
        opened = true;
        XInitThreads();
        desktop = XOpenDisplay(nullptr);
    }
    return desktop;
}

// The pointer image's side as the server's cursor settings give it: the Xcursor.size resource
// when the user set one, else the size nearest 32 that the server can show.
int32_t CursorSide(bool wide) {
    Display* display = Desktop();
    if (!display) {
        return kDefaultCursorSide;
    }
    const char* resource = XGetDefault(display, "Xcursor", "size");
    if (resource) {
        long size = std::strtol(resource, nullptr, 10);
        if (size > 0 && size <= 1024) {
            return static_cast<int32_t>(size);
        }
    }
    unsigned int width = 0;
    unsigned int height = 0;
    if (XQueryBestCursor(display, DefaultRootWindow(display), kDefaultCursorSide,
                         kDefaultCursorSide, &width, &height) &&
        width > 0 && height > 0 && width <= 1024 && height <= 1024) {
        return static_cast<int32_t>(wide ? width : height);
    }
    return kDefaultCursorSide;
}

} // namespace

int32_t DesktopCursorWidth() {
    return CursorSide(true);
}

int32_t DesktopCursorHeight() {
    return CursorSide(false);
}

void DesktopSetCursor(int32_t x, int32_t y) {
    Display* display = Desktop();
    if (!display) {
        return;
    }
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XFlush(display);
}

void DesktopGetCursor(POINT* point) {
    Display* display = Desktop();
    if (!display) {
        return;
    }
    Window root;
    Window child;
    int x = 0;
    int y = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY,
                  &mask);
    point->x = x;
    point->y = y;
}

// Down now, system-wide (the server's keymap), or pressed while the window had the focus since
// the previous query, however short the press.
bool DesktopEscapePressed() {
    bool pressed = FbwTakeEscapePress();
    Display* display = Desktop();
    if (!display) {
        return pressed;
    }
    char keys[32];
    XQueryKeymap(display, keys);
    KeyCode code = XKeysymToKeycode(display, XK_Escape);
    if (code != 0 && (static_cast<unsigned char>(keys[code / 8]) & (1u << (code % 8))) != 0) {
        pressed = true;
    }
    return pressed;
}

void DesktopSleep(int32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
