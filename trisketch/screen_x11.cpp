// The screen on X11: the root window drawn with a GC that includes inferior windows, so the
// drawing lies over the windows shown as it would on the screen's own device context; the key
// from the controlling terminal; the repaint by a window mapped over the area and taken away.
#include "screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

static Display* display;
static Window root;
static GC gc;
static unsigned long penPixel;
static unsigned long brushPixel;
static int32_t currentX;
static int32_t currentY;

int ScreenOpen() {
    display = XOpenDisplay(NULL);
    if (!display) {
        return 0;
    }
    int screen = DefaultScreen(display);
    root = RootWindow(display, screen);
    penPixel = BlackPixel(display, screen);
    brushPixel = WhitePixel(display, screen);
    XGCValues values;
    values.subwindow_mode = IncludeInferiors;
    values.foreground = penPixel;
    values.line_width = 0;
    // A thin line without its last pixel: the end point belongs to the next line.
    values.cap_style = CapNotLast;
    gc = XCreateGC(display, root, GCSubwindowMode | GCForeground | GCLineWidth | GCCapStyle,
                   &values);
    currentX = 0;
    currentY = 0;
    return 1;
}

void ScreenSelectWhiteBrush() {
    if (display) {
        brushPixel = WhitePixel(display, DefaultScreen(display));
    }
}

// X coordinates are 16 bits wide; pixels further out than this are never on a screen.
static const int32_t farthest = 16383;

static short ClampCoordinate(int64_t v) {
    return short(v < -farthest ? -farthest : v > farthest ? farthest : v);
}

static unsigned short ClampLength(int64_t v) {
    return (unsigned short)(v > 2 * farthest ? 2 * farthest : v);
}

static void FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom) {
    if (right <= left || bottom <= top || right < -farthest || bottom < -farthest ||
        left > farthest || top > farthest) {
        return;
    }
    short x = ClampCoordinate(left);
    short y = ClampCoordinate(top);
    XFillRectangle(display, root, gc, x, y, ClampLength(right - x), ClampLength(bottom - y));
}

void ScreenRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!display) {
        return;
    }
    int64_t l = left < right ? left : right;
    int64_t r = left < right ? right : left;
    int64_t t = top < bottom ? top : bottom;
    int64_t b = top < bottom ? bottom : top;
    if (r - l < 1 || b - t < 1) {
        return;
    }
    // The inside in the brush, then the one-pixel frame in the pen on the outermost columns
    // and rows of the figure (right - 1 and bottom - 1: the right and bottom edges are out).
    XSetForeground(display, gc, brushPixel);
    FillBox(l, t, r, b);
    XSetForeground(display, gc, penPixel);
    FillBox(l, t, r, t + 1);
    FillBox(l, b - 1, r, b);
    FillBox(l, t, l + 1, b);
    FillBox(r - 1, t, r, b);
}

void ScreenMoveTo(int32_t x, int32_t y) {
    currentX = x;
    currentY = y;
}

static int Fits(int64_t v) {
    return v >= -farthest && v <= farthest;
}

// Cuts the line from (x0, y0) to (x1, y1) to the part within the coordinate range X can
// carry. Returns 0 when no part of it is in that range. Only lines that reach beyond it,
// thousands of pixels off any screen, are moved, and then by less than a pixel.
static int ClipToRange(double* x0, double* y0, double* x1, double* y1) {
    double t0 = 0;
    double t1 = 1;
    const double dx = *x1 - *x0;
    const double dy = *y1 - *y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {*x0 + farthest, farthest - *x0, *y0 + farthest, farthest - *y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) {
                return 0;
            }
            continue;
        }
        double r = q[k] / p[k];
        if (p[k] < 0) {
            if (r > t1) {
                return 0;
            }
            if (r > t0) {
                t0 = r;
            }
        } else {
            if (r < t0) {
                return 0;
            }
            if (r < t1) {
                t1 = r;
            }
        }
    }
    const double sx = *x0;
    const double sy = *y0;
    *x0 = sx + t0 * dx;
    *y0 = sy + t0 * dy;
    *x1 = sx + t1 * dx;
    *y1 = sy + t1 * dy;
    return 1;
}

static short Nearest(double v) {
    return short(v < 0 ? v - 0.5 : v + 0.5);
}

void ScreenLineTo(int32_t x, int32_t y) {
    const int32_t fromX = currentX;
    const int32_t fromY = currentY;
    currentX = x;
    currentY = y;
    // A line to where it starts paints nothing: its only pixel is its excluded end.
    if (!display || (fromX == x && fromY == y)) {
        return;
    }
    if (Fits(fromX) && Fits(fromY) && Fits(x) && Fits(y)) {
        XDrawLine(display, root, gc, fromX, fromY, x, y);
        return;
    }
    double x0 = fromX;
    double y0 = fromY;
    double x1 = x;
    double y1 = y;
    if (ClipToRange(&x0, &y0, &x1, &y1)) {
        XDrawLine(display, root, gc, Nearest(x0), Nearest(y0), Nearest(x1), Nearest(y1));
    }
}

void ScreenRelease() {
    if (!display) {
        return;
    }
    XFreeGC(display, gc);
    gc = NULL;
    // The drawing reaches the screen now, before the wait.
    XSync(display, False);
}

// The key wait: the terminal in raw mode while it lasts, put back however the wait ends.
static int tty = -1;
static struct termios savedMode;
static const int endingSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
static struct sigaction savedActions[4];

static void RestoreTerminal() {
    tcsetattr(tty, TCSANOW, &savedMode);
}

static void EndBySignal(int signal) {
    RestoreTerminal();
    // The default action of the signal ends the process as it would have without the wait.
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, NULL);
    raise(signal);
}

// Reads one byte, waiting at most the given time (-1: without limit). Returns 1 when read.
static int ReadByte(unsigned char* byte, int milliseconds) {
    for (;;) {
        struct pollfd ready = {tty, POLLIN, 0};
        int n = poll(&ready, 1, milliseconds);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return 0;
        }
        ssize_t got = read(tty, byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got == 1;
    }
}

// The bytes of an escape sequence arrive together; a lone ESC is followed by nothing.
static const int sequenceGap = 50;

// Takes the rest of a key that began with ESC, so that an arrow or function key is one key and
// leaves nothing behind for whoever reads the terminal next.
static void ReadRestOfSequence() {
    unsigned char c;
    if (!ReadByte(&c, sequenceGap)) {
        return; // ESC alone
    }
    if (c == 'O') {
        ReadByte(&c, sequenceGap); // ESC O P: keypad and function keys
        return;
    }
    if (c != '[') {
        return; // Alt with a key
    }
    // ESC [ parameters and intermediates, ended by a final byte; the Linux console's function
    // keys (ESC [ [ A) carry one more byte after a second '['.
    if (!ReadByte(&c, sequenceGap)) {
        return;
    }
    if (c == '[') {
        ReadByte(&c, sequenceGap);
        return;
    }
    while (!(c >= 0x40 && c <= 0x7e)) {
        if (!ReadByte(&c, sequenceGap)) {
            return;
        }
    }
}

void ScreenWaitKey() {
    tty = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (tty < 0) {
        return;
    }
    if (tcgetattr(tty, &savedMode) != 0) {
        close(tty);
        tty = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = EndBySignal;
    for (int k = 0; k < 4; ++k) {
        sigaction(endingSignals[k], &action, &savedActions[k]);
    }
    // Raw: each key as it is typed, not echoed; Ctrl+C is a key like any other.
    struct termios raw = savedMode;
    raw.c_lflag &= ~(tcflag_t)(ICANON | ECHO | ISIG | IEXTEN);
    raw.c_iflag &= ~(tcflag_t)(IXON | ICRNL | INLCR | IGNCR);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    tcsetattr(tty, TCSANOW, &raw);

    unsigned char c;
    if (ReadByte(&c, -1) && c == 0x1b) {
        ReadRestOfSequence();
    }

    RestoreTerminal();
    for (int k = 0; k < 4; ++k) {
        sigaction(endingSignals[k], &savedActions[k], NULL);
    }
    close(tty);
    tty = -1;
}

void ScreenRepaint(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (!display) {
        return;
    }
    // A window without a background of its own, mapped over the area and taken away again:
    // the server then has every window under it, the root included, redraw that part.
    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    attributes.background_pixmap = None;
    attributes.backing_store = NotUseful;
    attributes.save_under = False;
    const int32_t width = right - left;
    const int32_t height = bottom - top;
    if (width > 0 && height > 0) {
        Window cover = XCreateWindow(
            display, root, left, top, (unsigned)width, (unsigned)height, 0, CopyFromParent,
            InputOutput, CopyFromParent,
            CWOverrideRedirect | CWBackPixmap | CWBackingStore | CWSaveUnder, &attributes);
        XMapRaised(display, cover);
        XUnmapWindow(display, cover);
        XDestroyWindow(display, cover);
    }
    XCloseDisplay(display);
    display = NULL;
}
