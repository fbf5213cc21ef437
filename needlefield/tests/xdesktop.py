"""The X display as a test sees it: windows by name, screenshots, the pointer, keys and a
window manager's close request. Works for any program on the private display, native or
under Wine; needs only xdotool, xwd and libX11."""
import ctypes
import ctypes.util
import os
import struct
import subprocess
import time
import zlib

import harness


def _xdotool(*args, check=True):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, env=harness.environment(), timeout=20)
    if check and result.returncode != 0:
        raise RuntimeError("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.decode()))
    return result


def find_window(name, timeout=30.0, process=None):
    """The id of the window whose name is exactly `name`, waiting for it to appear."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if process is not None and process.poll() is not None:
            raise RuntimeError("program ended (status %s) before its window appeared"
                               % process.returncode)
        found = _xdotool("search", "--name", "^%s$" % name, check=False).stdout.split()
        if found:
            return int(found[0])
        time.sleep(0.2)
    raise RuntimeError("no window named %r after %.0f s" % (name, timeout))


def window_name(window):
    return _xdotool("getwindowname", window).stdout.decode().rstrip("\n")


def geometry(window):
    """(x, y, width, height) of the window on the screen."""
    values = {}
    for line in _xdotool("getwindowgeometry", "--shell", window).stdout.decode().split():
        key, _, value = line.partition("=")
        values[key] = int(value)
    return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]


def pointer():
    """The pointer's screen position (x, y)."""
    values = {}
    for line in _xdotool("getmouselocation", "--shell").stdout.decode().split():
        key, _, value = line.partition("=")
        values[key] = value
    return int(values["X"]), int(values["Y"])


def move_pointer_by(dx, dy):
    _xdotool("mousemove_relative", "--", dx, dy)


def focus(window):
    _xdotool("windowfocus", "--sync", window)


def key(name):
    _xdotool("key", name)


class Image:
    """An RGB screenshot: pixel(x, y) -> (r, g, b)."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = rgb  # bytes, 3 per pixel, rows top to bottom

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return self.rgb[i], self.rgb[i + 1], self.rgb[i + 2]

    def save_png(self, path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
        stride = 3 * self.width
        raw = b"".join(b"\0" + self.rgb[y * stride:(y + 1) * stride] for y in range(self.height))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            f.write(chunk(b"IEND", b""))


def screenshot(window):
    """The window's contents, read with xwd (TrueColor, 24 or 32 bits per pixel)."""
    data = subprocess.run(["xwd", "-silent", "-id", str(window)], stdout=subprocess.PIPE,
                          check=True, env=harness.environment(), timeout=20).stdout
    header = struct.unpack(">25I", data[:100])
    (header_size, _, _, _, width, height, _, byte_order, _, _, _, bits_per_pixel,
     bytes_per_line, _, red_mask, green_mask, blue_mask, _, _, ncolors) = header[:20]
    if bits_per_pixel not in (24, 32):
        raise RuntimeError("unexpected %d bits per pixel" % bits_per_pixel)
    offset = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [(mask, shift(mask)) for mask in (red_mask, green_mask, blue_mask)]
    rgb = bytearray(3 * width * height)
    i = 0
    for y in range(height):
        row = data[offset + y * bytes_per_line:offset + y * bytes_per_line + width * step]
        for x in range(0, width * step, step):
            word = int.from_bytes(row[x:x + step], order)
            for mask, s in shifts:
                rgb[i] = (word & mask) >> s
                i += 1
    return Image(width, height, bytes(rgb))


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("client", _ClientMessage), ("pad", ctypes.c_long * 24)]


def request_close(window):
    """Asks the window to close as a window manager would: a WM_DELETE_WINDOW client message
    (xdotool's windowclose destroys the window behind the program's back instead)."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(_Event)]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(harness.display().encode())
    if not display:
        raise RuntimeError("cannot open the display")
    try:
        event = _Event()
        event.client.type = 33  # ClientMessage
        event.client.window = window
        event.client.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        event.client.data[1] = 0  # CurrentTime
        x11.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        x11.XFlush(display)
    finally:
        x11.XCloseDisplay(display)
