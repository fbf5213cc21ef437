// The desktop on Win32: the plain system calls.
#include "desktop.h"

int32_t DesktopCursorWidth() {
    return GetSystemMetrics(SM_CXCURSOR);
}

int32_t DesktopCursorHeight() {
    return GetSystemMetrics(SM_CYCURSOR);
}

void DesktopSetCursor(int32_t x, int32_t y) {
    SetCursorPos(x, y);
}

void DesktopGetCursor(POINT* point) {
    GetCursorPos(point);
}

bool DesktopEscapePressed() {
    return GetAsyncKeyState(VK_ESCAPE) != 0;
}

void DesktopSleep(int32_t milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}
