// Drawing straight onto the screen, over whatever windows are shown there, the key wait at the
// console and the repaint that removes the drawing. One port per platform implements it.
#pragma once

#include <cstdint>

// Takes the screen's drawing context: 1, or 0 when the screen cannot be had (the other
// drawing calls then do nothing). It starts with a solid black pen one pixel wide.
int ScreenOpen();
// The stock white brush fills the figures drawn after it.
void ScreenSelectWhiteBrush();
// Fills columns left..right-1 and rows top..bottom-1 with the brush, framed with the pen.
void ScreenRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
// Moves the current position.
void ScreenMoveTo(int32_t x, int32_t y);
// A line in the pen from the current position to (x, y): its start pixel is drawn, its end
// pixel is not; (x, y) becomes the current position.
void ScreenLineTo(int32_t x, int32_t y);
// Gives the drawing context back; what was drawn stays on the screen.
void ScreenRelease();
// Waits for one key at the console (not standard input) without echo; modifier and lock keys
// alone do not count. Returns at once when there is no console to read.
void ScreenWaitKey();
// Has every window in the area redraw itself with its background erased.
void ScreenRepaint(int32_t left, int32_t top, int32_t right, int32_t bottom);
