// What the demo asks of the desktop besides its window: the system cursor, the escape key and
// a pause. The Win32 port is the plain system calls; other ports stand in for them.
#pragma once

#include <cstdint>

#include "fbw.h"

int32_t DesktopCursorWidth();                // GetSystemMetrics(SM_CXCURSOR)
int32_t DesktopCursorHeight();               // GetSystemMetrics(SM_CYCURSOR)
void DesktopSetCursor(int32_t x, int32_t y); // SetCursorPos, screen coordinates
void DesktopGetCursor(POINT* point);         // GetCursorPos, screen coordinates
// GetAsyncKeyState(VK_ESCAPE) != 0: ESC is down now or was pressed since the previous query.
bool DesktopEscapePressed();
void DesktopSleep(int32_t milliseconds);
