// What the framebuffer core offers the window sides (and the tests), never the programs.
// The core never calls a window side; a window side calls these.
#pragma once

#include "fbw.h"

// Installs the pixel memory the window side created: sets surface.pixels, fbWidth, fbHeight.
// Tests install a plain buffer the same way.
void FbwAttachPixels(FbwColour* pixels, int32_t width, int32_t height);
// Back to no pixel memory: 0 x 0, pixels null.
void FbwDetachPixels();

// FbwOpen's first steps, which take effect even when a window already exists: the low byte of
// clear becomes clearByte and title (cut to 99 characters) becomes baseTitle.
void FbwKeepOpenSettings(const char* title, int32_t clear);

// composedTitle := baseTitle, one blank, suffix, cut to 9,999 characters; returns composedTitle.
const char* FbwComposeTitle(const char* suffix);

// Hands one message to the hook, if one is installed.
void FbwDispatchHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
