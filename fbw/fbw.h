// The framebuffer window library: one window per process, on a thread of its own, showing a
// 32-bit top-down framebuffer that the caller writes directly.
#pragma once

#include <atomic>
#include <cstdint>

#include "fbw_platform.h"

// Colour word: 0x00RRGGBB (blue bits 0-7, green 8-15, red 16-23). FbwPutPixel stores all 32
// bits unchanged; FbwClear sets the top byte like every other byte.
typedef uint32_t FbwColour;

// Sees every window message except WM_CREATE, WM_DESTROY and WM_ERASEBKGND, before the default
// processing, which it can neither replace nor suppress.
typedef void (*FbwMessageHook)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct FbwSurface {
    HBITMAP bitmap;          // the DIB section (Win32) or the window side's image
    FbwColour* pixels;       // top-left pixel; row stride is fbWidth words
    HDC memoryDc;            // memory DC that bitmap is selected into (Win32)
    BITMAPINFOHEADER header; // 32 bits, top-down (negative height), BI_RGB
};

struct FbwCreateParams {
    int32_t width;
    int32_t height;
};

// Library state, one set per process, zero until the window is created.
extern int32_t fbWidth;
extern int32_t fbHeight;
extern std::atomic<HWND> window;                // null before creation and after the loop ends
extern std::atomic<FbwMessageHook> messageHook; // one pointer-sized store from the caller
extern uint8_t clearByte;
extern FbwSurface surface;
extern char baseTitle[100];       // at most 99 characters; longer titles are cut
extern char composedTitle[10000]; // at most 9,999 characters; longer captions are cut

// Opens the one window; returns 1 when it was opened, 0 when a window already exists (or, as a
// sound addition, when it could not be created). Keeps the clear byte and the title either way.
int FbwOpen(const char* title, int32_t width, int32_t height, int32_t clear);
void FbwClear();
void FbwPutPixel(int32_t x, int32_t y, FbwColour colour); // clipped to the framebuffer
void FbwPresent();
void FbwSetTitleSuffix(const char* suffix); // caption := base title, one blank, suffix
void FbwGetCursor(POINT* point);            // mouse cursor in client coordinates
void FbwSetMessageHook(FbwMessageHook hook);
