#include "demo.h"

#include <cstdio>

#include "desktop.h"
#include "draw.h"
#include "fbw.h"
#include "frame.h"

static const char title[] = "TitleQZ";
static const int32_t framebufferWidth = 700;
static const int32_t framebufferHeight = 700;
static const int32_t clearValue = 150; // mid grey
static const int32_t needleLength = 20;
static const FbwColour nearColour = 0xFFFF00; // yellow
static const FbwColour tipColour = 0xFF0000;  // red
static const FbwColour baseColour = 0x0000FF; // blue
static const double blendDistance = 200.0;
static const int32_t framePause = 30; // milliseconds, after the drawing

int RunNeedleField() {
    int32_t cursorWidth = DesktopCursorWidth();
    int32_t cursorHeight = DesktopCursorHeight();
    FrameState frame;
    FrameStart(&frame);
    DesktopSetCursor(frame.lastX, frame.lastY);
    if (!FbwOpen(title, framebufferWidth, framebufferHeight, clearValue)) {
        std::fputs("needlefield: cannot open the window\n", stderr);
        return 1;
    }

    // ESC at the start of a frame ends the demo; the frame being drawn is still presented.
    while (!DesktopEscapePressed()) {
        FbwClear();
        POINT cursor;
        DesktopGetCursor(&cursor);
        FrameStep(&frame, cursor);
        DesktopSetCursor(frame.lastX, frame.lastY);
        FbwGetCursor(&cursor);
        int32_t targetX;
        int32_t targetY;
        FrameTarget(cursor, cursorWidth, cursorHeight, &targetX, &targetY);
        for (int32_t row = 0; row < gridCount; ++row) {
            for (int32_t column = 0; column < gridCount; ++column) {
                DrawNeedle(GridPosition(column), GridPosition(row), needleLength, targetX, targetY,
                           nearColour, tipColour, baseColour, blendDistance);
            }
        }
        FbwPresent();
        DesktopSleep(framePause);
    }
    return 0;
}
