// The screen on Win32: the screen's own device context, the console keyboard through the
// runtime's _getch, and the repaint request for all windows.
#include "screen.h"

#include <windows.h>
#include <conio.h>

static HDC dc;

int ScreenOpen() {
    dc = GetDC(NULL);
    return dc != NULL;
}

void ScreenSelectWhiteBrush() {
    if (dc) {
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
    }
}

void ScreenRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (dc) {
        Rectangle(dc, left, top, right, bottom);
    }
}

void ScreenMoveTo(int32_t x, int32_t y) {
    if (dc) {
        MoveToEx(dc, x, y, NULL);
    }
}

void ScreenLineTo(int32_t x, int32_t y) {
    if (dc) {
        LineTo(dc, x, y);
    }
}

void ScreenRelease() {
    if (dc) {
        ReleaseDC(NULL, dc);
        dc = NULL;
    }
}

void ScreenWaitKey() {
    _getch();
}

void ScreenRepaint(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    RECT area = {left, top, right, bottom};
    InvalidateRect(NULL, &area, TRUE);
}
