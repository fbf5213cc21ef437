// The Win32 window side as a program sees it: one window, placed and sized exactly, its
// caption, its pixels on the screen and its messages. The tests share the process's one
// window, so they run in the order written.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fbw.h"

namespace {

std::vector<UINT> hookedMessages;
DWORD hookThread;

void RecordMessage(HWND, UINT message, WPARAM, LPARAM) {
    hookedMessages.push_back(message);
    hookThread = GetCurrentThreadId();
}

bool Hooked(UINT message) {
    for (UINT m : hookedMessages) {
        if (m == message) {
            return true;
        }
    }
    return false;
}

std::string Caption() {
    char text[20000] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// A size the window side cannot make a DIB section for is refused: FbwOpen returns 0 at once
// instead of waiting for a window that never comes, and hands out no pixels.
TEST(FbwWindowWin32, RefusesSizesWithoutPixelMemory) {
    const struct {
        int32_t width;
        int32_t height;
    } sizes[] = {{0, 0}, {0, 700}, {-1, 10}, {10, -1}, {10, INT32_MIN}, {100000, 100000}};
    for (const auto& size : sizes) {
        EXPECT_EQ(0, FbwOpen("Refused", size.width, size.height, 150))
            << size.width << " x " << size.height;
        EXPECT_EQ(nullptr, window.load());
        EXPECT_EQ(nullptr, surface.pixels);
        EXPECT_EQ(0, fbWidth);
        EXPECT_EQ(0, fbHeight);
    }
}

TEST(FbwWindowWin32, OpensTheWindowWithAClientAreaOfExactlyTheFramebuffer) {
    FbwSetMessageHook(RecordMessage);
    ASSERT_EQ(1, FbwOpen("Probe", 700, 700, 150));
    HWND hwnd = window;
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(700, fbWidth);
    EXPECT_EQ(700, fbHeight);
    ASSERT_NE(nullptr, surface.pixels);
    EXPECT_EQ(-700, surface.header.biHeight); // top-down
    EXPECT_EQ(32, surface.header.biBitCount);

    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(700, client.right - client.left);
    EXPECT_EQ(700, client.bottom - client.top);
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    EXPECT_EQ(10, origin.x);
    EXPECT_EQ(30, origin.y);

    char className[64] = "";
    GetClassNameA(hwnd, className, sizeof className);
    EXPECT_STREQ("FBW Window", className);
    EXPECT_EQ("Probe", Caption());
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(hwnd, nullptr));
}

// The hook sees the messages of the window's creation, on the window's thread, but never the
// three the window side handles itself.
TEST(FbwWindowWin32, HookSeesEveryMessageButCreateEraseAndDestroy) {
    EXPECT_TRUE(Hooked(WM_NCCREATE));
    EXPECT_TRUE(Hooked(WM_SHOWWINDOW));
    EXPECT_FALSE(Hooked(WM_CREATE));
    EXPECT_FALSE(Hooked(WM_ERASEBKGND));
    EXPECT_FALSE(Hooked(WM_DESTROY));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), hookThread);
    FbwSetMessageHook(nullptr);
}

TEST(FbwWindowWin32, SecondOpenKeepsTheWindowAndTheCaptionUntilTheNextSuffix) {
    HWND first = window;
    EXPECT_EQ(0, FbwOpen("Second", 300, 200, 0));
    EXPECT_EQ(first, window.load());
    EXPECT_EQ(700, fbWidth);
    EXPECT_EQ("Probe", Caption());
    FbwSetTitleSuffix("frame 7");
    EXPECT_EQ("Second frame 7", Caption());
    FbwSetTitleSuffix("");
    EXPECT_EQ("Second ", Caption());
}

TEST(FbwWindowWin32, OverlongTitleAndSuffixAreCut) {
    std::string title(150, 't');
    EXPECT_EQ(0, FbwOpen(title.c_str(), 700, 700, 150));
    std::string suffix(20000, 's');
    FbwSetTitleSuffix(suffix.c_str());
    std::string expected = std::string(99, 't') + " " + std::string(9999 - 100, 's');
    EXPECT_EQ(expected, Caption());
}

// What FbwPresent copies is what the window shows, unscaled at the client's top-left corner,
// with 0x00RRGGBB read as red, green, blue.
TEST(FbwWindowWin32, PresentShowsTheFramebufferInTheClientArea) {
    const struct {
        int32_t x;
        int32_t y;
        FbwColour colour;
    } marks[] = {{0, 0, 0xFF0000},
                 {699, 0, 0x00FF00},
                 {0, 699, 0x0000FF},
                 {699, 699, 0x123456},
                 {350, 20, 0xFFFF00}};
    FbwClear();
    for (const auto& mark : marks) {
        FbwPutPixel(mark.x, mark.y, mark.colour);
    }
    FbwPresent();
    HDC dc = GetDC(window);
    for (const auto& mark : marks) {
        COLORREF shown = GetPixel(dc, mark.x, mark.y);
        FbwColour expected = mark.colour;
        EXPECT_EQ(RGB((expected >> 16) & 0xFF, (expected >> 8) & 0xFF, expected & 0xFF), shown)
            << "at (" << mark.x << ", " << mark.y << ")";
    }
    EXPECT_EQ(RGB(150, 150, 150), GetPixel(dc, 1, 1));
    ReleaseDC(window, dc);
}

TEST(FbwWindowWin32, CursorIsReportedInClientCoordinates) {
    const POINT places[] = {{110, 230}, {10, 30}, {5, 20}, {900, 800}};
    for (const POINT& place : places) {
        // Under Wine the window's thread may still apply a pointer event from before the move,
        // which puts the cursor back: place it until the system reports it there.
        POINT screen = {-1, -1};
        for (int attempt = 0; attempt < 30; ++attempt) {
            SetCursorPos(place.x, place.y);
            Sleep(100);
            GetCursorPos(&screen);
            if (screen.x == place.x && screen.y == place.y) {
                break;
            }
        }
        ASSERT_EQ(place.x, screen.x);
        ASSERT_EQ(place.y, screen.y);
        POINT point = {-1, -1};
        FbwGetCursor(&point);
        EXPECT_EQ(place.x - 10, point.x);
        EXPECT_EQ(place.y - 30, point.y);
    }
}

} // namespace
