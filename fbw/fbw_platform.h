// The few platform types the library's interface names. On Windows they are the real Win32
// types; elsewhere they are stand-ins of the same shape, so the core and the drawing code
// compile unchanged on both.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cstdint>

typedef void* HWND;
typedef void* HBITMAP;
typedef void* HDC;
typedef unsigned int UINT;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;

struct POINT {
    int32_t x;
    int32_t y;
};

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};

#ifndef BI_RGB
#define BI_RGB 0
#endif
#endif
