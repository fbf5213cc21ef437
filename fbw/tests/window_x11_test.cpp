// The X11 window side as a program sees it, checked through a connection of the test's own:
// one window placed and sized exactly, its captions, its pixels on the screen, the cursor, the
// messages the hook sees and the ESC latch. The tests share the process's one window, so they
// run in the order written.
// GoogleTest first: Xlib's None macro would clash with a GoogleTest name.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fbw.h"
#include "x11_escape.h"

namespace {

// The window thread outlives the tests: what it writes is never destroyed at exit.
std::mutex hookLock;
std::vector<UINT>& hookedMessages = *new std::vector<UINT>;
std::thread::id hookThread;

void RecordMessage(HWND, UINT message, WPARAM, LPARAM) {
    std::lock_guard<std::mutex> hold(hookLock);
    hookedMessages.push_back(message);
    hookThread = std::this_thread::get_id();
}

bool Hooked(UINT message) {
    std::lock_guard<std::mutex> hold(hookLock);
    for (UINT m : hookedMessages) {
        if (m == message) {
            return true;
        }
    }
    return false;
}

// Waits up to a few seconds for what the window thread does on its own time.
template <typename Condition> bool Eventually(Condition condition) {
    for (int i = 0; i < 300; ++i) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// The build's private display, as the test fixture started it.
Display* Probe() {
    static Display* probe = [] {
        const char* dir = std::getenv("SEVEN_XVFB_DIR");
        std::string number;
        if (dir) {
            std::ifstream(std::string(dir) + "/display") >> number;
        }
        if (!number.empty()) {
            setenv("DISPLAY", (":" + number).c_str(), 1);
        }
        return XOpenDisplay(nullptr);
    }();
    return probe;
}

Window Xid() {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(window.load()));
}

std::string Property(const char* name, const char* type) {
    Display* probe = Probe();
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(probe, Xid(), XInternAtom(probe, name, False), 0, 100000, False,
                           XInternAtom(probe, type, False), &actualType, &format, &count, &after,
                           &data) == Success &&
        data) {
        text.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    return text;
}

// Both captions must say the same.
std::string Caption() {
    std::string name = Property("WM_NAME", "STRING");
    EXPECT_EQ(name, Property("_NET_WM_NAME", "UTF8_STRING"));
    return name;
}

class FbwWindowX11 : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(nullptr, Probe()) << "no display for the test"; }
};

// Sizes the window side cannot make pixel memory or a window for are refused at once.
TEST_F(FbwWindowX11, RefusesSizesWithoutPixelMemory) {
    const struct {
        int32_t width;
        int32_t height;
    } sizes[] = {{0, 0}, {0, 700}, {-1, 10}, {10, -1}, {40000, 10}, {10, 40000}};
    for (const auto& size : sizes) {
        EXPECT_EQ(0, FbwOpen("Refused", size.width, size.height, 150))
            << size.width << " x " << size.height;
        EXPECT_EQ(nullptr, window.load());
        EXPECT_EQ(nullptr, surface.pixels);
        EXPECT_EQ(0, fbWidth);
        EXPECT_EQ(0, fbHeight);
    }
}

TEST_F(FbwWindowX11, OpensTheWindowWithAClientAreaOfExactlyTheFramebuffer) {
    FbwSetMessageHook(RecordMessage);
    ASSERT_EQ(1, FbwOpen("Probe", 700, 700, 150));
    ASSERT_NE(nullptr, window.load());
    EXPECT_EQ(700, fbWidth);
    EXPECT_EQ(700, fbHeight);
    ASSERT_NE(nullptr, surface.pixels);

    Display* probe = Probe();
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(probe, Xid(), &attributes));
    EXPECT_EQ(700, attributes.width);
    EXPECT_EQ(700, attributes.height);
    EXPECT_EQ(IsViewable, attributes.map_state);
    int x = 0;
    int y = 0;
    Window child;
    XTranslateCoordinates(probe, Xid(), DefaultRootWindow(probe), 0, 0, &x, &y, &child);
    EXPECT_EQ(10, x);
    EXPECT_EQ(30, y);
    EXPECT_EQ("Probe", Caption());

    XClassHint classHint;
    ASSERT_TRUE(XGetClassHint(probe, Xid(), &classHint));
    EXPECT_STREQ("FBW Window", classHint.res_class);
    XFree(classHint.res_name);
    XFree(classHint.res_class);
}

// Exposure reaches the hook as WM_PAINT, on the window's own thread.
TEST_F(FbwWindowX11, HookSeesPaintOnTheWindowThread) {
    EXPECT_TRUE(Eventually([] { return Hooked(0x000F); }));
    std::lock_guard<std::mutex> hold(hookLock);
    EXPECT_NE(std::this_thread::get_id(), hookThread);
}

TEST_F(FbwWindowX11, SecondOpenKeepsTheWindowAndTheCaptionUntilTheNextSuffix) {
    HWND first = window.load();
    EXPECT_EQ(0, FbwOpen("Second", 300, 200, 0));
    EXPECT_EQ(first, window.load());
    EXPECT_EQ(700, fbWidth);
    EXPECT_EQ("Probe", Caption());
    FbwSetTitleSuffix("frame 7");
    EXPECT_EQ("Second frame 7", Caption());
    FbwSetTitleSuffix("");
    EXPECT_EQ("Second ", Caption());
}

TEST_F(FbwWindowX11, OverlongTitleAndSuffixAreCut) {
    std::string title(150, 't');
    EXPECT_EQ(0, FbwOpen(title.c_str(), 700, 700, 150));
    std::string suffix(20000, 's');
    FbwSetTitleSuffix(suffix.c_str());
    EXPECT_EQ(std::string(99, 't') + " " + std::string(9999 - 100, 's'), Caption());
}

// What FbwPresent copies is what the window shows, unscaled at the client's top-left corner,
// with 0x00RRGGBB read as red, green, blue; a repaint after the window was covered shows the
// same.
TEST_F(FbwWindowX11, PresentAndRepaintShowTheFramebufferInTheClientArea) {
    FbwSetMessageHook(nullptr);
    const struct {
        int32_t x;
        int32_t y;
        FbwColour colour;
    } marks[] = {{0, 0, 0xFF0000},     {699, 0, 0x00FF00},  {0, 699, 0x0000FF},
                 {699, 699, 0x123456}, {350, 20, 0xFFFF00}, {1, 1, 0xAB000000 | 0x808080}};
    FbwClear();
    for (const auto& mark : marks) {
        FbwPutPixel(mark.x, mark.y, mark.colour);
    }
    FbwPresent();

    Display* probe = Probe();
    auto check = [&](const char* when) {
        XImage* shot = XGetImage(probe, Xid(), 0, 0, 700, 700, AllPlanes, ZPixmap);
        ASSERT_NE(nullptr, shot) << when;
        for (const auto& mark : marks) {
            EXPECT_EQ(mark.colour & 0xFFFFFF, XGetPixel(shot, mark.x, mark.y) & 0xFFFFFF)
                << when << " at (" << mark.x << ", " << mark.y << ")";
        }
        EXPECT_EQ(0x969696u, XGetPixel(shot, 2, 2) & 0xFFFFFF) << when;
        XDestroyImage(shot);
    };
    check("after present");

    // Cover the window with another and take it away: the window thread repaints.
    XSetWindowAttributes cover;
    std::memset(&cover, 0, sizeof cover);
    cover.override_redirect = True;
    cover.background_pixel = BlackPixel(probe, DefaultScreen(probe));
    Window lid =
        XCreateWindow(probe, DefaultRootWindow(probe), 0, 0, 800, 800, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &cover);
    XMapRaised(probe, lid);
    XSync(probe, False);
    // Drawing into the pixels without presenting must not show: the repaint shows the frame
    // last presented.
    FbwPutPixel(2, 2, 0x00FF00);
    XDestroyWindow(probe, lid);
    XSync(probe, False);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    check("after a repaint");
}

TEST_F(FbwWindowX11, CursorIsReportedInClientCoordinates) {
    Display* probe = Probe();
    const POINT places[] = {{110, 230}, {10, 30}, {5, 20}, {900, 800}};
    for (const POINT& place : places) {
        XWarpPointer(probe, None, DefaultRootWindow(probe), 0, 0, 0, 0, place.x, place.y);
        XSync(probe, False);
        POINT point = {-1, -1};
        FbwGetCursor(&point);
        EXPECT_EQ(place.x - 10, point.x);
        EXPECT_EQ(place.y - 30, point.y);
    }
}

// An ESC press that reached the window is kept until asked for, once; other keys are not.
TEST_F(FbwWindowX11, EscapePressIsLatchedUntilTaken) {
    Display* probe = Probe();
    FbwTakeEscapePress();
    auto press = [&](KeySym symbol) {
        XEvent event;
        std::memset(&event, 0, sizeof event);
        event.xkey.type = KeyPress;
        event.xkey.display = probe;
        event.xkey.window = Xid();
        event.xkey.root = DefaultRootWindow(probe);
        event.xkey.same_screen = True;
        event.xkey.keycode = XKeysymToKeycode(probe, symbol);
        XSendEvent(probe, Xid(), False, KeyPressMask, &event);
        event.xkey.type = KeyRelease;
        XSendEvent(probe, Xid(), False, KeyReleaseMask, &event);
        XSync(probe, False);
    };
    FbwSetMessageHook(RecordMessage);
    press(XK_a);
    EXPECT_TRUE(Eventually([] { return Hooked(0x0101); }));
    EXPECT_FALSE(FbwTakeEscapePress());
    press(XK_Escape);
    EXPECT_TRUE(Eventually([] { return FbwTakeEscapePress(); }));
    EXPECT_FALSE(FbwTakeEscapePress());
    FbwSetMessageHook(nullptr);
}

} // namespace
