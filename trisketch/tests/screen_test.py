"""trisketch on the screen, run in a terminal (tmux) so that a key can be typed at it.

Native: the drawing is read back from the private X server. Windows build under Wine: drawing
on the screen's device context does not reach the X server there, so the Win32 calls the
program makes are read from Wine's relay trace instead.
"""
import os
import re
import shlex
import shutil
import struct
import subprocess
import tempfile
import time
import unittest

import harness

# Three triangles: a right triangle whose edges are all straight or at 45 degrees, so every
# pixel of its outline is known; one that reaches past the white area into a window lying
# beside it; and one shrunk to a point, whose lines all end where they start and so paint
# nothing. Text after the last triangle is never read.
LIST = "3\n0 0 100 0 0 100\n900 600 1100 600 900 800\n500 500 500 500 500 500\nnot read\n"
RED = 0xFF0000
WHITE = 0xFFFFFF
BLACK = 0x000000


def wait_for(condition, timeout=20, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(step)
    return condition()


class Terminal:
    """A private tmux server running one shell command in a pane of its own."""

    def __init__(self, directory, command, env):
        self.socket = os.path.join(directory, "tmux.sock")
        self.env = env
        self.tmux("new-session", "-d", "-x", "100", "-y", "30", command)

    def tmux(self, *args):
        return subprocess.run(["tmux", "-S", self.socket] + list(args), env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=30)

    def send(self, *keys):
        self.tmux("send-keys", *keys)

    def close(self):
        self.tmux("kill-server")


def read_statuses(path):
    try:
        with open(path) as f:
            return [int(s) for s in f.read().split()]
    except OSError:
        return []


class Screenshot:
    def __init__(self, display):
        data = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                              stdout=subprocess.PIPE, check=True, timeout=30).stdout
        header = struct.unpack(">25I", data[:100])
        header_size, self.width, self.height = header[0], header[4], header[5]
        byte_order, bits_per_pixel, self.stride, colours = (header[7], header[11],
                                                            header[12], header[19])
        assert bits_per_pixel == 32, bits_per_pixel
        self.order = "<I" if byte_order == 0 else ">I"
        self.pixels = data[header_size + colours * 12:]

    def __call__(self, x, y):
        i = y * self.stride + x * 4
        return struct.unpack(self.order, self.pixels[i:i + 4])[0] & 0xFFFFFF

    def count(self, colour, left, top, right, bottom, step=1):
        return sum(1 for y in range(top, bottom, step) for x in range(left, right, step)
                   if self(x, y) == colour)


@unittest.skipIf(harness.WIN32, "the X11 screen")
class NativeScreen(unittest.TestCase):
    def setUp(self):
        self.display = harness.display()
        self.assertIsNotNone(self.display, "the private X server is not up")
        self.dir = tempfile.mkdtemp(prefix="trisketch-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.list = os.path.join(self.dir, "list.txt")
        with open(self.list, "w") as f:
            f.write(LIST)
        self.status = os.path.join(self.dir, "status")
        self.env = harness.environment()
        self.windows = []

    def window(self, geometry):
        """A red window of another client at the given place: it redraws when exposed."""
        logo = subprocess.Popen(["xlogo", "-bg", "red", "-fg", "red", "-geometry", geometry],
                                env=self.env, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        self.addCleanup(logo.wait, 10)
        self.addCleanup(logo.kill)
        x, y = (int(v) for v in geometry.split("+")[1:])
        self.assertTrue(wait_for(lambda: Screenshot(self.display)(x + 2, y + 2) == RED),
                        "the red window did not show")

    def terminal(self, runs):
        """Runs the program on the list the given number of times, one after another, and
        keeps the terminal's mode from before and after in mode.before and mode.after."""
        run = "%s %s; echo $? >>%s" % (shlex.quote(harness.EXE), shlex.quote(self.list),
                                       shlex.quote(self.status))
        mode = "stty -g >%s" % shlex.quote(os.path.join(self.dir, "mode."))
        terminal = Terminal(self.dir, "; ".join([mode + "before"] + [run] * runs +
                                                [mode + "after", "sleep 60"]), self.env)
        self.addCleanup(terminal.close)
        return terminal

    def test_outlines_over_the_white_area_until_a_key_has_all_windows_repaint(self):
        self.window("200x200+300+300")  # inside the area
        self.window("200x200+1050+650")  # beside it, crossed by the second triangle
        terminal = self.terminal(1)
        shot = wait_for(lambda: (lambda s: s if s(1, 1) == WHITE and s(150, 150) == BLACK
                                 else None)(Screenshot(self.display)))
        self.assertIsNotNone(shot, "nothing was drawn")

        # The white area: columns 0..1023 and rows 0..767, inside a one-pixel black frame,
        # drawn over the window that lies in it.
        for x, y in ((0, 0), (512, 0), (1023, 0), (0, 400), (1023, 400), (0, 767), (512, 767),
                     (1023, 767)):
            self.assertEqual(shot(x, y), BLACK, (x, y))
        for x, y in ((1, 1), (1022, 1), (1, 766), (1022, 766), (305, 305), (495, 495),
                     (600, 600)):
            self.assertEqual(shot(x, y), WHITE, (x, y))

        # The first triangle at (100, 100), (200, 100), (100, 200): every outline pixel, and
        # nothing next to the outline.
        outline = set()
        outline.update((100, y) for y in range(100, 201))
        outline.update((x, 100) for x in range(100, 201))
        outline.update((200 - k, 100 + k) for k in range(0, 101))
        for x in range(95, 206):
            for y in range(95, 206):
                expected = BLACK if (x, y) in outline else WHITE
                self.assertEqual(shot(x, y), expected, (x, y))

        # The second triangle at (1000, 700), (1200, 700), (1000, 900): inside the area and on
        # the window beyond it, where nothing clips it.
        for x, y in ((1000, 700), (1010, 700), (1000, 710), (1022, 700), (1060, 700),
                     (1199, 700), (1200, 700), (1150, 750), (1060, 840), (1000, 760)):
            self.assertEqual(shot(x, y), BLACK, (x, y))
        for x, y in ((1060, 699), (1060, 701), (1151, 750), (1149, 750), (1010, 701)):
            self.assertNotEqual(shot(x, y), BLACK, (x, y))
        self.assertEqual(read_statuses(self.status), [], "it did not wait for a key")

        terminal.send("a")
        self.assertEqual(wait_for(lambda: read_statuses(self.status)), [0])
        # The area is redrawn by what lies under it: the root's background and the window in
        # it; the drawing outside the area is left.
        after = wait_for(lambda: (lambda s: s if s(305, 305) == RED else None)(
            Screenshot(self.display)))
        self.assertIsNotNone(after, "the window in the area was not redrawn")
        self.assertEqual(after.count(WHITE, 0, 0, 1024, 768, 3), 0)
        self.assertEqual(after(495, 495), RED)
        self.assertEqual(after(1060, 700), BLACK)
        self.assertEqual(after(1060, 701), RED)

    def test_an_arrow_key_is_one_key(self):
        # Two runs in a row on the same terminal: the rest of the arrow's escape sequence must
        # not end the second run's wait.
        terminal = self.terminal(2)
        self.assertTrue(wait_for(lambda: Screenshot(self.display)(150, 150) == BLACK))
        terminal.send("Up")
        self.assertEqual(wait_for(lambda: read_statuses(self.status)), [0])
        time.sleep(1)
        self.assertEqual(read_statuses(self.status), [0], "the arrow counted as several keys")
        terminal.send("F5")
        self.assertEqual(wait_for(lambda: len(read_statuses(self.status)) == 2 and
                                  read_statuses(self.status)), [0, 0])
        # The terminal is back in the mode it had before.
        after = os.path.join(self.dir, "mode.after")
        self.assertTrue(wait_for(lambda: os.path.exists(after) and os.path.getsize(after)))
        with open(os.path.join(self.dir, "mode.before")) as f, open(after) as g:
            self.assertEqual(f.read(), g.read())

    def test_without_a_terminal_the_wait_ends_at_once(self):
        result = subprocess.run(harness.command([self.list]), stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=self.env, timeout=60, start_new_session=True)
        self.assertEqual((result.returncode, result.stdout, result.stderr), (0, b"", b""))


# The calls whose sequence is the drawing; the relay trace is narrowed to them.
RELAYED = ("user32.GetDC", "gdi32.GetStockObject", "gdi32.SelectObject", "gdi32.Rectangle",
           "gdi32.MoveToEx", "gdi32.LineTo", "user32.ReleaseDC", "user32.InvalidateRect")
RELAY_KEY = r"HKCU\Software\Wine\Debug"
CALL = re.compile(r"^[0-9a-f]+:Call (\w+)\.(\w+)\(([^)]*)\) ret=([0-9a-f]+)")
RET = re.compile(r"^[0-9a-f]+:Ret  (\w+)\.(\w+)\(\) retval=([0-9a-f]+) ret=([0-9a-f]+)")


def program_calls(trace):
    """The relayed calls the program itself made (not those between system libraries), each
    as (function, arguments, result), arguments and result as integers."""
    calls = []
    pending = []
    for line in trace.splitlines():
        call = CALL.match(line)
        if call:
            name, args, caller = call.group(2), call.group(3), int(call.group(4), 16)
            values = tuple(int(a, 16) for a in args.split(",")) if args else ()
            pending.append((name, values, caller))
            continue
        ret = RET.match(line)
        if ret and pending:
            name, values, caller = pending.pop()
            # The program's image sits at its preferred base; system libraries lie far above.
            if caller < 0x01000000:
                calls.append((name, values, int(ret.group(3), 16)))
    return calls


@unittest.skipUnless(harness.WIN32, "the Win32 screen")
class Win32Screen(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="trisketch-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.env = harness.environment()
        self.prefix = self.env.get("SEVEN_WINE_PREFIX", "")

    def reg(self, *args):
        env = dict(self.env, WINEPREFIX=self.prefix, WINEDEBUG="-all")
        return subprocess.run(["wine", "reg"] + list(args), env=env, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=120)

    def narrow_relay(self):
        """Narrows Wine's relay trace to the drawing calls, for the length of the test; the
        setting is only read by programs traced with +relay, and is put back after."""
        before = self.reg("query", RELAY_KEY, "/v", "RelayInclude")
        old = re.search(r"RelayInclude\s+REG_SZ\s+(.*)", before.stdout.decode(errors="replace"))
        if old:
            self.addCleanup(self.reg, "add", RELAY_KEY, "/v", "RelayInclude", "/t", "REG_SZ",
                            "/d", old.group(1).strip(), "/f")
        else:
            self.addCleanup(self.reg, "delete", RELAY_KEY, "/v", "RelayInclude", "/f")
        result = self.reg("add", RELAY_KEY, "/v", "RelayInclude", "/t", "REG_SZ", "/d",
                          ";".join(RELAYED), "/f")
        self.assertEqual(result.returncode, 0, result.stderr)

    def run_traced(self, text):
        path = os.path.join(self.dir, "list.txt")
        with open(path, "w") as f:
            f.write(text)
        trace = os.path.join(self.dir, "relay.txt")
        status = os.path.join(self.dir, "status")
        run = "WINEDEBUG=+relay %s %s %s 2>%s; echo $? >%s" % (
            shlex.quote(harness.RUNNER), shlex.quote(harness.EXE), shlex.quote(path),
            shlex.quote(trace), shlex.quote(status))
        terminal = Terminal(self.dir, run + "; sleep 60", self.env)
        self.addCleanup(terminal.close)

        def read_trace():
            try:
                with open(trace, errors="replace") as f:
                    return f.read()
            except OSError:
                return ""

        # The DC is given back before the wait; the key must not end the wait before that.
        self.assertTrue(wait_for(lambda: "ReleaseDC" in read_trace(), timeout=60),
                        "no ReleaseDC in the trace:\n" + read_trace()[-2000:])
        time.sleep(0.5)
        before_key = program_calls(read_trace())
        self.assertEqual(read_statuses(status), [], "it did not wait for a key")
        terminal.send("a")
        self.assertEqual(wait_for(lambda: read_statuses(status), timeout=60), [0])
        return before_key, program_calls(read_trace())

    def test_draws_with_the_screen_dc_then_repaints_after_a_key(self):
        self.narrow_relay()
        before_key, calls = self.run_traced(LIST)
        names = [c[0] for c in calls]
        self.assertEqual(names[0], "GetDC", calls)
        dc = calls[0][2]
        self.assertEqual(calls[0][1], (0,))
        self.assertNotEqual(dc, 0)
        self.assertEqual(calls[1][:2], ("GetStockObject", (0,)))  # WHITE_BRUSH
        brush = calls[1][2]
        self.assertEqual(calls[2][:2], ("SelectObject", (dc, brush)))
        self.assertEqual(calls[3][:2], ("Rectangle", (dc, 0, 0, 1024, 768)))
        outlines = [
            ("MoveToEx", 100, 200), ("LineTo", 100, 100), ("LineTo", 200, 100),
            ("LineTo", 100, 200),
            ("MoveToEx", 1000, 900), ("LineTo", 1000, 700), ("LineTo", 1200, 700),
            ("LineTo", 1000, 900),
            ("MoveToEx", 600, 600), ("LineTo", 600, 600), ("LineTo", 600, 600),
            ("LineTo", 600, 600),
        ]
        expected = [(n, (dc, x, y, 0)) if n == "MoveToEx" else (n, (dc, x, y))
                    for n, x, y in outlines]
        self.assertEqual([c[:2] for c in calls[4:16]], expected)
        self.assertEqual(calls[16][:2], ("ReleaseDC", (0, dc)))
        # Nothing more until the key; then the repaint of all windows, erasing.
        self.assertEqual(before_key, calls[:17])
        self.assertEqual(len(calls), 18, calls)
        self.assertEqual(calls[17][0], "InvalidateRect")
        window, area, erase = calls[17][1]
        self.assertEqual((window, erase), (0, 1))
        self.assertNotEqual(area, 0)

    def test_an_empty_list_draws_only_the_area(self):
        self.narrow_relay()
        _, calls = self.run_traced("-5\n1 2 3 4 5 6\n")
        self.assertEqual([c[0] for c in calls],
                         ["GetDC", "GetStockObject", "SelectObject", "Rectangle", "ReleaseDC",
                          "InvalidateRect"])


if __name__ == "__main__":
    unittest.main()
