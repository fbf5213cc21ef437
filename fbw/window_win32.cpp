// The window side on Win32: a thread of its own creates the window, whose DIB section is the
// framebuffer's pixel memory, and pumps its messages; presenting runs on the caller's thread.
#include <cstdlib>
#include <cstring>

#include "fbw_core.h"

// Only used while FbwOpen waits for the window thread.
HANDLE startupEvent;

static const char windowClassName[] = "FBW Window";

// Releases what FbwOnCreate made; safe on a partly made surface.
static void FbwReleaseSurface() {
    FbwDetachPixels();
    if (surface.memoryDc != nullptr) {
        DeleteDC(surface.memoryDc);
    }
    if (surface.bitmap != nullptr) {
        DeleteObject(surface.bitmap);
    }
    std::memset(&surface, 0, sizeof surface);
}

static int FbwOnCreate(HWND hwnd, const CREATESTRUCTA* cs) {
    const FbwCreateParams* params = static_cast<const FbwCreateParams*>(cs->lpCreateParams);
    int32_t width = params->width;
    int32_t height = params->height;

    std::memset(&surface, 0, sizeof surface);
    // A zero or negative size has no pixel memory (and the smallest height could not even be
    // negated for the header): the window is refused so that FbwOpen reports it instead of
    // handing out null pixels. So is a size too big for memory, below.
    if (width <= 0 || height <= 0) {
        return 0;
    }

    HDC screenDc = GetDC(nullptr);
    surface.memoryDc = CreateCompatibleDC(screenDc);
    ReleaseDC(nullptr, screenDc);

    surface.header.biSize = sizeof(BITMAPINFOHEADER);
    surface.header.biWidth = width;
    // Negative: the first row in memory is the top row, as the framebuffer is laid out.
    surface.header.biHeight = -height;
    surface.header.biPlanes = 1;
    surface.header.biBitCount = 32;
    surface.header.biCompression = BI_RGB;

    void* bits = nullptr;
    if (surface.memoryDc != nullptr) {
        surface.bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&surface.header),
                                          DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (surface.bitmap == nullptr || bits == nullptr) {
        FbwReleaseSurface();
        return 0;
    }
    SelectObject(surface.memoryDc, surface.bitmap);
    FbwAttachPixels(static_cast<FbwColour*>(bits), width, height);

    // The system gives an overlapped window a caption and a border whatever style it was
    // created with, so the frame is measured with the style the window really has; with the
    // creation style alone the client area comes out smaller than the framebuffer.
    RECT frame;
    frame.left = cs->x;
    frame.top = cs->y;
    frame.right = cs->x + fbWidth;
    frame.bottom = cs->y + fbHeight;
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), FALSE);
    MoveWindow(hwnd, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
               TRUE);
    return 1;
}

static LRESULT FbwOnEraseBackground(HWND, HDC dc) {
    BitBlt(dc, 0, 0, fbWidth, fbHeight, surface.memoryDc, 0, 0, SRCCOPY);
    return 1;
}

[[noreturn]] static void FbwOnDestroy(HWND) {
    DeleteDC(surface.memoryDc);
    DeleteObject(surface.bitmap);
    PostQuitMessage(0);
    // Closing the window ends the program, whatever the caller's thread is doing.
    std::exit(0);
}

static LRESULT CALLBACK FbwWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return FbwOnCreate(hwnd, reinterpret_cast<const CREATESTRUCTA*>(lParam)) ? 0 : -1;
    case WM_DESTROY:
        // A window whose creation was refused is destroyed before it ever had pixels; that
        // must not end the program.
        if (surface.bitmap == nullptr) {
            return 0;
        }
        FbwOnDestroy(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return FbwOnEraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    default:
        FbwDispatchHook(hwnd, message, wParam, lParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

static DWORD WINAPI FbwWindowThread(LPVOID params) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND hwnd = CreateWindowExA(0, windowClassName, baseTitle, WS_OVERLAPPED, 10, 30, CW_USEDEFAULT,
                                CW_USEDEFAULT, nullptr, nullptr, instance, params);
    if (hwnd == nullptr) {
        // FbwOpen sees window still null and reports the failure.
        SetEvent(startupEvent);
        return 1;
    }
    window = hwnd;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetEvent(startupEvent);

    // Polls without ever waiting: the loop keeps one processor busy while the window exists.
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            continue;
        }
        if (message.message == WM_QUIT) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    window = nullptr;
    return static_cast<DWORD>(message.wParam);
}

int FbwOpen(const char* title, int32_t width, int32_t height, int32_t clear) {
    FbwCreateParams params;
    params.width = width;
    params.height = height;
    FbwKeepOpenSettings(title, clear);
    if (window != nullptr) {
        return 0;
    }

    startupEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (startupEvent == nullptr) {
        return 0;
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass;
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = FbwWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = windowClassName;
    // Fails harmlessly when an earlier, refused FbwOpen registered the class already.
    RegisterClassExA(&windowClass);

    DWORD threadId;
    HANDLE thread = CreateThread(nullptr, 0, FbwWindowThread, &params, 0, &threadId);
    if (thread != nullptr) {
        // The thread's end counts as its answer too, so a thread that dies before it signals
        // cannot leave FbwOpen waiting for ever.
        HANDLE waitFor[2] = {startupEvent, thread};
        WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
        CloseHandle(thread);
    }
    CloseHandle(startupEvent);
    startupEvent = nullptr;
    return window != nullptr ? 1 : 0;
}

void FbwPresent() {
    HWND hwnd = window;
    if (hwnd == nullptr) {
        return; // no window: GetDC would hand out the whole screen
    }
    HDC dc = GetDC(hwnd);
    BitBlt(dc, 0, 0, fbWidth, fbHeight, surface.memoryDc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
}

void FbwSetTitleSuffix(const char* suffix) {
    SetWindowTextA(window, FbwComposeTitle(suffix));
}

void FbwGetCursor(POINT* point) {
    GetCursorPos(point);
    ScreenToClient(window, point);
}
