// A desktop for the demo under test: the demo cannot move the pointer, so its needles turn
// toward wherever the test parked it, and it draws one frame per line on standard input. After
// each frame it prints a checksum of the framebuffer's colours, which the test compares with a
// screenshot of the window: the same frame on both builds gives the same line. Uses nothing
// of the platform, so both builds run the same code.
#include <cinttypes>
#include <cstdio>

#include "desktop.h"

namespace {

int frames;

// FNV-1a, 64 bits, over red, green and blue of every pixel, top row first.
uint64_t FrameChecksum() {
    uint64_t hash = 14695981039346656037ull;
    const uint64_t prime = 1099511628211ull;
    for (int64_t i = 0; i < static_cast<int64_t>(fbWidth) * fbHeight; ++i) {
        FbwColour colour = surface.pixels[i];
        const unsigned channels[3] = {(colour >> 16) & 0xFFu, (colour >> 8) & 0xFFu,
                                      colour & 0xFFu};
        for (unsigned channel : channels) {
            hash = (hash ^ channel) * prime;
        }
    }
    return hash;
}

} // namespace

// The size Windows reports for the standard cursor, so both builds aim at the same point.
int32_t DesktopCursorWidth() {
    return 32;
}
int32_t DesktopCursorHeight() {
    return 32;
}

void DesktopSetCursor(int32_t, int32_t) {}

void DesktopGetCursor(POINT* point) {
    point->x = 0;
    point->y = 0;
}

// Asked at the start of every frame: after a frame, report it and wait for the next line;
// the end of the input ends the demo.
bool DesktopEscapePressed() {
    if (frames++ > 0) {
        std::printf("frame %d %dx%d %016" PRIx64 "\n", frames - 1, fbWidth, fbHeight,
                    FrameChecksum());
        std::fflush(stdout);
        int c;
        while ((c = std::getchar()) != '\n') {
            if (c == EOF) {
                return true;
            }
        }
    }
    return false;
}

void DesktopSleep(int32_t) {}
