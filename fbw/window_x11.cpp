// The window side on X11. Each thread has a connection of its own, so neither waits for the
// other's lock: the window thread owns one and blocks in XNextEvent on it; the caller's thread
// presents and asks for the cursor on the other. The pixel memory is an image on the caller's
// connection (shared memory where the server offers MIT-SHM, a plain client-side image
// otherwise); a present puts it into a server-side copy and that onto the window. The window
// thread repaints from the server-side copy, so it never reads the pixels the caller is writing,
// and a repaint shows the last presented frame whole.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "fbw_core.h"
#include "x11_escape.h"

namespace {

// Win32 message numbers the hook sees for the X events that stand nearest to them.
const UINT kWmPaint = 0x000F;
const UINT kWmClose = 0x0010;
const UINT kWmKeyDown = 0x0100;
const UINT kWmKeyUp = 0x0101;
const UINT kWmMouseMove = 0x0200;
const UINT kWmLButtonDown = 0x0201;
const UINT kWmLButtonUp = 0x0202;

// Where the window's client area goes on the screen, as on Win32.
const int kLeft = 10;
const int kTop = 30;
// X coordinates and sizes are 16-bit signed quantities on the wire.
const int32_t kMaxSide = 32767;

// One thread's connection; only the caller's has the image.
struct Connection {
    Display* display;
    GC gc;
    XImage* image;
    XShmSegmentInfo shm;
    bool shared;
};

Connection caller; // the caller's thread only (FbwOpen waits while the window thread fills it)
Connection events; // the window thread only
Window xwindow;    // written before start-up is signalled, read-only afterwards
Pixmap copy;       // the last presented frame, on the server
Atom wmProtocols;
Atom wmDeleteWindow;
Atom netWmName;
Atom utf8String;
std::atomic<bool> escapeLatch{false};

// Start-up hand-shake between FbwOpen and the window thread: 0 pending, 1 open, -1 failed.
std::mutex startupLock;
std::condition_variable startupEvent;
int startupState;

// Catches the errors of one request on one connection instead of ending the process.
Display* trapDisplay;
bool trapped;
int (*previousErrorHandler)(Display*, XErrorEvent*);

int TrapError(Display* display, XErrorEvent* error) {
    if (display == trapDisplay) {
        trapped = true;
        return 0;
    }
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

bool HostIsLsbFirst() {
    const uint32_t one = 1;
    unsigned char first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

// A TrueColor visual whose pixels are 0x00RRGGBB words, 32 bits each: the framebuffer's own
// layout, so the pixel memory goes to the server as it is. The default visual first.
bool PickVisual(Display* display, Visual** visual, int* depth) {
    int formatCount = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &formatCount);
    bool wordPixels = false;
    for (int i = 0; i < formatCount; ++i) {
        if (formats[i].depth == 24 && formats[i].bits_per_pixel == 32) {
            wordPixels = true;
        }
    }
    if (formats) {
        XFree(formats);
    }
    if (!wordPixels) {
        return false;
    }
    XVisualInfo want;
    std::memset(&want, 0, sizeof want);
    want.screen = DefaultScreen(display);
    want.depth = 24;
    want.c_class = TrueColor;
    want.red_mask = 0xFF0000;
    want.green_mask = 0x00FF00;
    want.blue_mask = 0x0000FF;
    int count = 0;
    XVisualInfo* found =
        XGetVisualInfo(display,
                       VisualScreenMask | VisualDepthMask | VisualClassMask | VisualRedMaskMask |
                           VisualGreenMaskMask | VisualBlueMaskMask,
                       &want, &count);
    if (!found) {
        return false;
    }
    *visual = found[0].visual;
    for (int i = 0; i < count; ++i) {
        if (found[i].visual == DefaultVisual(display, want.screen)) {
            *visual = found[i].visual;
        }
    }
    *depth = 24;
    XFree(found);
    return true;
}

bool ImageFits(const XImage* image, int32_t width) {
    return image && image->bits_per_pixel == 32 && image->bytes_per_line == width * 4;
}

// A shared-memory image. The segment is marked for removal as soon as the server has attached
// it, so it goes with the process however that ends.
FbwColour* MakeSharedImage(Visual* visual, int depth, int32_t width, int32_t height, size_t bytes) {
    if (!XShmQueryExtension(caller.display) ||
        ImageByteOrder(caller.display) != (HostIsLsbFirst() ? LSBFirst : MSBFirst)) {
        return nullptr;
    }
    int id = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) {
        return nullptr;
    }
    void* address = shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        shmctl(id, IPC_RMID, nullptr);
        return nullptr;
    }
    caller.shm.shmid = id;
    caller.shm.shmaddr = static_cast<char*>(address);
    caller.shm.readOnly = True;
    caller.image = XShmCreateImage(caller.display, visual, depth, ZPixmap, caller.shm.shmaddr,
                                   &caller.shm, width, height);
    if (ImageFits(caller.image, width)) {
        // A server on another machine refuses the attach with an error, not a result.
        previousErrorHandler = XSetErrorHandler(TrapError);
        trapDisplay = caller.display;
        trapped = false;
        caller.shared = XShmAttach(caller.display, &caller.shm) != 0;
        XSync(caller.display, False);
        caller.shared = caller.shared && !trapped;
        trapDisplay = nullptr;
        XSetErrorHandler(previousErrorHandler);
    }
    shmctl(id, IPC_RMID, nullptr);
    if (caller.shared) {
        return static_cast<FbwColour*>(address);
    }
    if (caller.image) {
        caller.image->data = nullptr;
        XDestroyImage(caller.image);
        caller.image = nullptr;
    }
    shmdt(address);
    return nullptr;
}

// A client-side image over plain memory: XPutImage sends the pixels with each request.
FbwColour* MakePlainImage(Visual* visual, int depth, int32_t width, int32_t height, size_t bytes) {
    char* memory = static_cast<char*>(std::calloc(bytes, 1));
    if (!memory) {
        return nullptr;
    }
    caller.image = XCreateImage(caller.display, visual, depth, ZPixmap, 0, memory, width, height,
                                32, width * 4);
    if (!ImageFits(caller.image, width)) {
        if (caller.image) {
            caller.image->data = nullptr;
            XDestroyImage(caller.image);
            caller.image = nullptr;
        }
        std::free(memory);
        return nullptr;
    }
    // The words are in the host's order; Xlib swaps them if the server wants the other.
    caller.image->byte_order = HostIsLsbFirst() ? LSBFirst : MSBFirst;
    return reinterpret_cast<FbwColour*>(memory);
}

// The pixel memory into the server-side copy, on the caller's connection.
void PutImage(int32_t width, int32_t height) {
    if (caller.shared) {
        XShmPutImage(caller.display, copy, caller.gc, caller.image, 0, 0, 0, 0,
                     static_cast<unsigned>(width), static_cast<unsigned>(height), False);
    } else {
        XPutImage(caller.display, copy, caller.gc, caller.image, 0, 0, 0, 0,
                  static_cast<unsigned>(width), static_cast<unsigned>(height));
    }
}

// Copies need no GraphicsExpose or NoExpose events: the caller's connection never reads its
// events and would only pile them up.
GC MakeGc(Display* display) {
    XGCValues values;
    std::memset(&values, 0, sizeof values);
    values.graphics_exposures = False;
    return XCreateGC(display, xwindow, GCGraphicsExposures, &values);
}

void SetCaption(Display* display, const char* text) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    int length = static_cast<int>(std::strlen(text));
    XChangeProperty(display, xwindow, XA_WM_NAME, XA_STRING, 8, PropModeReplace, bytes, length);
    XChangeProperty(display, xwindow, netWmName, utf8String, 8, PropModeReplace, bytes, length);
}

Window CreateWindow(Visual* visual, int depth, int32_t width, int32_t height) {
    Display* display = events.display;
    int screen = DefaultScreen(display);
    Window root = RootWindow(display, screen);
    XSetWindowAttributes attributes;
    std::memset(&attributes, 0, sizeof attributes);
    // No background: the server leaves exposed areas alone and the Expose handler fills them,
    // so a repaint never flashes.
    attributes.background_pixmap = None;
    attributes.border_pixel = 0;
    attributes.colormap = visual == DefaultVisual(display, screen)
                              ? DefaultColormap(display, screen)
                              : XCreateColormap(display, root, visual, AllocNone);
    attributes.event_mask = ExposureMask | KeyPressMask | KeyReleaseMask | PointerMotionMask |
                            ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
    Window created =
        XCreateWindow(display, root, kLeft, kTop, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    // A fixed size at a fixed place, like the Win32 window, which cannot be resized.
    XSizeHints* size = XAllocSizeHints();
    if (size) {
        size->flags = USPosition | PPosition | PMinSize | PMaxSize;
        size->x = kLeft;
        size->y = kTop;
        size->min_width = size->max_width = width;
        size->min_height = size->max_height = height;
        XSetWMNormalHints(display, created, size);
        XFree(size);
    }
    XWMHints* hints = XAllocWMHints();
    if (hints) {
        hints->flags = InputHint | StateHint;
        hints->input = True;
        hints->initial_state = NormalState;
        XSetWMHints(display, created, hints);
        XFree(hints);
    }
    char className[] = "FBW Window";
    char instanceName[] = "fbw";
    XClassHint classHint = {instanceName, className};
    XSetClassHint(display, created, &classHint);
    XSetWMProtocols(display, created, &wmDeleteWindow, 1);
    // Lets a window manager (or xdotool) tell which process the window belongs to.
    long pid = static_cast<long>(getpid());
    XChangeProperty(display, created, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&pid), 1);
    return created;
}

// Opens the window thread's connection, the pixel memory and the window; on failure undoes
// what it made on the window thread's connection and reports false.
bool MakeWindow(int32_t width, int32_t height) {
    events.display = XOpenDisplay(DisplayString(caller.display));
    if (!events.display) {
        return false;
    }
    Visual* visual = nullptr;
    int depth = 0;
    size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    FbwColour* pixels = nullptr;
    if (PickVisual(events.display, &visual, &depth)) {
        pixels = MakeSharedImage(visual, depth, width, height, bytes);
        if (!pixels) {
            pixels = MakePlainImage(visual, depth, width, height, bytes);
        }
    }
    if (!pixels) {
        XCloseDisplay(events.display);
        events.display = nullptr;
        return false;
    }
    wmProtocols = XInternAtom(events.display, "WM_PROTOCOLS", False);
    wmDeleteWindow = XInternAtom(events.display, "WM_DELETE_WINDOW", False);
    netWmName = XInternAtom(events.display, "_NET_WM_NAME", False);
    utf8String = XInternAtom(events.display, "UTF8_STRING", False);
    xwindow = CreateWindow(visual, depth, width, height);
    SetCaption(events.display, baseTitle);
    events.gc = MakeGc(events.display);
    copy = XCreatePixmap(events.display, xwindow, static_cast<unsigned>(width),
                         static_cast<unsigned>(height), static_cast<unsigned>(depth));
    // The caller's connection names the window and the copy only once the server knows them.
    XSync(events.display, False);
    caller.gc = MakeGc(caller.display);
    // The copy starts as the pixel memory does (zero, black), not as whatever the server had.
    PutImage(width, height);
    XSync(caller.display, False);
    FbwAttachPixels(pixels, width, height);
    return true;
}

// Key symbols to Win32 virtual-key codes: letters, digits and the few keys with a name here.
WPARAM VirtualKey(XKeyEvent* key) {
    struct Named {
        KeySym symbol;
        WPARAM code;
    };
    static const Named named[] = {
        {XK_BackSpace, 0x08}, {XK_Tab, 0x09},   {XK_Return, 0x0D},
        {XK_Escape, 0x1B},    {XK_space, 0x20}, {XK_Left, 0x25},
        {XK_Up, 0x26},        {XK_Right, 0x27}, {XK_Down, 0x28},
    };
    KeySym symbol = XLookupKeysym(key, 0);
    for (const Named& entry : named) {
        if (entry.symbol == symbol) {
            return entry.code;
        }
    }
    if (symbol >= XK_a && symbol <= XK_z) {
        return 'A' + static_cast<WPARAM>(symbol - XK_a);
    }
    if (symbol >= XK_0 && symbol <= XK_9) {
        return '0' + static_cast<WPARAM>(symbol - XK_0);
    }
    return 0;
}

// Client coordinates packed as Win32 does: x in the low word, y in the high word.
LPARAM PackPoint(int x, int y) {
    uint32_t low = static_cast<uint32_t>(x) & 0xFFFFu;
    uint32_t high = static_cast<uint32_t>(y) & 0xFFFFu;
    return static_cast<LPARAM>(low | (high << 16));
}

WPARAM MouseKeys(unsigned int state) {
    WPARAM keys = 0;
    keys |= (state & Button1Mask) ? 0x0001 : 0;
    keys |= (state & Button3Mask) ? 0x0002 : 0;
    keys |= (state & ShiftMask) ? 0x0004 : 0;
    keys |= (state & ControlMask) ? 0x0008 : 0;
    keys |= (state & Button2Mask) ? 0x0010 : 0;
    return keys;
}

// The window is closed: the process ends with status 0, whatever the caller's thread is doing.
// Nothing is released first, so a caller still writing pixels writes into valid memory until
// the process is gone; the caller's connection is never touched from here.
[[noreturn]] void EndProcess() {
    std::exit(0);
}

void HandleEvent(XEvent* event) {
    HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(xwindow));
    switch (event->type) {
    case Expose: {
        XExposeEvent& expose = event->xexpose;
        XCopyArea(events.display, copy, xwindow, events.gc, expose.x, expose.y,
                  static_cast<unsigned>(expose.width), static_cast<unsigned>(expose.height),
                  expose.x, expose.y);
        if (expose.count == 0) {
            FbwDispatchHook(hwnd, kWmPaint, 0, 0);
        }
        break;
    }
    case KeyPress:
    case KeyRelease: {
        WPARAM code = VirtualKey(&event->xkey);
        bool down = event->type == KeyPress;
        if (down && code == 0x1B) {
            escapeLatch.store(true);
        }
        uint32_t scan = static_cast<uint32_t>(event->xkey.keycode - 8) & 0xFFu;
        uint32_t flags = 1u | (scan << 16) | (down ? 0u : 0xC0000000u);
        FbwDispatchHook(hwnd, down ? kWmKeyDown : kWmKeyUp, code, static_cast<LPARAM>(flags));
        break;
    }
    case MotionNotify:
        FbwDispatchHook(hwnd, kWmMouseMove, MouseKeys(event->xmotion.state),
                        PackPoint(event->xmotion.x, event->xmotion.y));
        break;
    case ButtonPress:
    case ButtonRelease:
        if (event->xbutton.button == Button1) {
            bool down = event->type == ButtonPress;
            WPARAM keys = MouseKeys(event->xbutton.state);
            keys = down ? (keys | 0x0001) : (keys & ~static_cast<WPARAM>(0x0001));
            FbwDispatchHook(hwnd, down ? kWmLButtonDown : kWmLButtonUp, keys,
                            PackPoint(event->xbutton.x, event->xbutton.y));
        }
        break;
    case ClientMessage:
        if (event->xclient.message_type == wmProtocols && event->xclient.format == 32 &&
            static_cast<Atom>(event->xclient.data.l[0]) == wmDeleteWindow) {
            FbwDispatchHook(hwnd, kWmClose, 0, 0);
            EndProcess();
        }
        break;
    case DestroyNotify:
        if (event->xdestroywindow.window == xwindow) {
            EndProcess();
        }
        break;
    default:
        break;
    }
}

void SignalStartup(int state) {
    std::lock_guard<std::mutex> hold(startupLock);
    startupState = state;
    startupEvent.notify_all();
}

void FbwWindowThread(const FbwCreateParams* params) {
    // The parameters live in FbwOpen's frame: read them before signalling.
    int32_t width = params->width;
    int32_t height = params->height;
    if (!MakeWindow(width, height)) {
        SignalStartup(-1);
        return;
    }
    // Shown before FbwOpen returns: wait for the server (or the window manager) to map it.
    XMapWindow(events.display, xwindow);
    XEvent event;
    do {
        XNextEvent(events.display, &event);
        HandleEvent(&event);
    } while (event.type != MapNotify);
    window.store(reinterpret_cast<HWND>(static_cast<uintptr_t>(xwindow)));
    SignalStartup(1);
    // Blocks in the connection's read until an event comes: no polling.
    for (;;) {
        XNextEvent(events.display, &event);
        HandleEvent(&event);
    }
}

} // namespace

bool FbwTakeEscapePress() {
    return escapeLatch.exchange(false);
}

int FbwOpen(const char* title, int32_t width, int32_t height, int32_t clear) {
    FbwKeepOpenSettings(title, clear);
    if (window.load() != nullptr || caller.display) {
        return 0;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4 > SIZE_MAX) {
        return 0;
    }
    XInitThreads();
    caller.display = XOpenDisplay(nullptr);
    if (!caller.display) {
        return 0;
    }
    FbwCreateParams params = {width, height};
    startupState = 0;
    try {
        std::thread(FbwWindowThread, &params).detach();
    } catch (const std::system_error&) {
        startupState = -1;
    }
    int state;
    {
        std::unique_lock<std::mutex> hold(startupLock);
        startupEvent.wait(hold, [] { return startupState != 0; });
        state = startupState;
    }
    if (state < 0) {
        XCloseDisplay(caller.display);
        caller.display = nullptr;
        return 0;
    }
    return 1;
}

void FbwPresent() {
    if (window.load() == nullptr) {
        return;
    }
    PutImage(fbWidth, fbHeight);
    XCopyArea(caller.display, copy, xwindow, caller.gc, 0, 0, static_cast<unsigned>(fbWidth),
              static_cast<unsigned>(fbHeight), 0, 0);
    // Returns once the server has copied the frame, as a blit would: the caller may clear the
    // pixels for the next frame at once.
    XSync(caller.display, False);
}

void FbwSetTitleSuffix(const char* suffix) {
    const char* caption = FbwComposeTitle(suffix);
    if (window.load() == nullptr) {
        return;
    }
    SetCaption(caller.display, caption);
    // Changed on return, as SetWindowText's is: anyone who reads the caption next sees it.
    XSync(caller.display, False);
}

void FbwGetCursor(POINT* point) {
    if (window.load() == nullptr) {
        return;
    }
    Window root;
    Window child;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(caller.display, xwindow, &root, &child, &rootX, &rootY, &x, &y, &mask);
    point->x = x;
    point->y = y;
}
