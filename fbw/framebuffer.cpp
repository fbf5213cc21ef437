// The framebuffer core: library state, pixel memory, clear, put pixel, captions and the hook.
// It needs no platform; the window side installs its pixel memory through FbwAttachPixels.
#include <cstddef>
#include <cstring>

#include "fbw_core.h"

int32_t fbWidth = 0;
int32_t fbHeight = 0;
std::atomic<HWND> window{nullptr};
std::atomic<FbwMessageHook> messageHook{nullptr};
uint8_t clearByte = 0;
FbwSurface surface = {};
char baseTitle[100] = {};
char composedTitle[10000] = {};

// Copies at most capacity - 1 characters of text to destination[at...] and terminates it;
// returns the index of the terminating NUL. Texts that do not fit are cut, never overrun.
static size_t CopyCut(char* destination, size_t capacity, size_t at, const char* text) {
    if (text != nullptr) {
        while (at + 1 < capacity && *text != '\0') {
            destination[at++] = *text++;
        }
    }
    destination[at] = '\0';
    return at;
}

void FbwAttachPixels(FbwColour* pixels, int32_t width, int32_t height) {
    if (pixels == nullptr || width <= 0 || height <= 0) {
        FbwDetachPixels();
        return;
    }
    surface.pixels = pixels;
    fbWidth = width;
    fbHeight = height;
}

void FbwDetachPixels() {
    surface.pixels = nullptr;
    fbWidth = 0;
    fbHeight = 0;
}

void FbwClear() {
    if (surface.pixels == nullptr || fbWidth <= 0 || fbHeight <= 0) {
        return;
    }
    std::memset(surface.pixels, clearByte,
                static_cast<size_t>(fbWidth) * static_cast<size_t>(fbHeight) * sizeof(FbwColour));
}

void FbwPutPixel(int32_t x, int32_t y, FbwColour colour) {
    if (x < 0 || y < 0 || x >= fbWidth || y >= fbHeight || surface.pixels == nullptr) {
        return;
    }
    surface.pixels[static_cast<size_t>(y) * static_cast<size_t>(fbWidth) + static_cast<size_t>(x)] =
        colour;
}

void FbwSetMessageHook(FbwMessageHook hook) {
    messageHook.store(hook);
}

void FbwKeepOpenSettings(const char* title, int32_t clear) {
    clearByte = static_cast<uint8_t>(static_cast<uint32_t>(clear) & 0xFFu);
    CopyCut(baseTitle, sizeof baseTitle, 0, title);
}

const char* FbwComposeTitle(const char* suffix) {
    size_t at = CopyCut(composedTitle, sizeof composedTitle, 0, baseTitle);
    at = CopyCut(composedTitle, sizeof composedTitle, at, " ");
    CopyCut(composedTitle, sizeof composedTitle, at, suffix);
    return composedTitle;
}

void FbwDispatchHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FbwMessageHook hook = messageHook.load();
    if (hook != nullptr) {
        hook(hwnd, message, wParam, lParam);
    }
}
