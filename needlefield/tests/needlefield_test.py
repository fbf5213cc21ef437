"""needlefield as a user runs it: its window, what it draws, the cursor it moves, and the two
ways to end it. Runs on the build's private display, under Wine in the Windows build."""
import math
import os
import subprocess
import time
import unittest

import harness
import xdesktop

TITLE = "TitleQZ"
SIZE = 700
POSITION = (10, 30)
GREY = (150, 150, 150)
GRID = [20 + 45 * i for i in range(15)]
NEEDLE_REACH = 22  # a needle (20 long), its heads and their truncation stay this close to its base
ARTIFACT = os.path.join(harness.BUILD_DIR or ".", "artifacts", "needlefield.png")


def needle_colour(r, g, b):
    """Red, blue, the gradients between them, and both blended toward yellow.

    Blending toward yellow by the same factor gives the tip (255, g, 0) and the base
    (g, g, 255 - g), so along every line green stays at g, red + blue stays 255 and red never
    drops below green; the truncations cost at most a few units.
    """
    return abs(r + b - 255) <= 3 and g <= r + 1 and g + b <= 257


def figure_offsets():
    """Every cursor offset from the centre the figure-eight can give, one pixel either way:
    (trunc(150 sin 2p), trunc(300 sin p)) for p over a full turn."""
    offsets = set()
    steps = 200000
    for i in range(steps):
        p = 2 * math.pi * i / steps
        x = math.trunc(math.sin(p) * (300 * math.cos(p)))
        y = math.trunc(300 * math.sin(p))
        for ex in (-1, 0, 1):
            for ey in (-1, 0, 1):
                offsets.add((x + ex, y + ey))
    return offsets


OFFSETS = figure_offsets()


def centres(samples):
    """The centres around which every sampled cursor position lies on the figure."""
    x0, y0 = samples[0]
    found = {(x0 - dx, y0 - dy) for dx, dy in OFFSETS}
    for x, y in samples[1:]:
        found = {(cx, cy) for cx, cy in found if (x - cx, y - cy) in OFFSETS}
    return found


def sample_pointer(seconds):
    samples = []
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        samples.append(xdesktop.pointer())
        time.sleep(0.02)
    return samples


def near(found, centre, slack=2):
    return any(abs(cx - centre[0]) <= slack and abs(cy - centre[1]) <= slack
               for cx, cy in found)


class NeedleField(unittest.TestCase):

    def setUp(self):
        self.program = harness.start(stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        try:
            self.window = xdesktop.find_window(TITLE, timeout=60, process=self.program)
        except Exception:
            self.stop()
            raise

    def tearDown(self):
        self.stop()

    def stop(self):
        if self.program.poll() is None:
            try:
                xdesktop.request_close(self.window)
                self.program.wait(timeout=10)
            except Exception:
                self.program.kill()
                self.program.wait()
        self.program.stdout.close()
        self.program.stderr.close()

    def wait_for_exit(self, timeout=15):
        try:
            status = self.program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.fail("still running %d s after it was asked to end" % timeout)
        stderr = self.program.stderr.read()
        return status, stderr

    def test_window_shows_the_needle_grid(self):
        self.assertEqual(TITLE, xdesktop.window_name(self.window))
        x, y, width, height = xdesktop.geometry(self.window)
        self.assertEqual((SIZE, SIZE), (width, height))
        self.assertEqual(POSITION, (x, y))

        # A frame can be caught half drawn; colours are checked on every shot, the complete
        # grid on the best of a few.
        missing = None
        for _ in range(3):
            shot = xdesktop.screenshot(self.window)
            shot.save_png(ARTIFACT)
            self.assertEqual((SIZE, SIZE), (shot.width, shot.height))
            self.check_colours_and_places(shot)
            missing = [(gx, gy) for gy in GRID for gx in GRID
                       if shot.pixel(gx, gy) == GREY]
            # The needle whose base the target hits exactly has no direction and may draw
            # nothing.
            if len(missing) <= 1:
                break
            time.sleep(0.1)
        self.assertLessEqual(len(missing), 1, "no needle at %s" % missing[:20])

    def check_colours_and_places(self, shot):
        counts = {"grey": 0, "pure": 0, "blended": 0, "red end": 0, "blue end": 0}
        for y in range(SIZE):
            nearest_y = min(GRID, key=lambda g: abs(g - y))
            for x in range(SIZE):
                colour = shot.pixel(x, y)
                if colour == GREY:
                    counts["grey"] += 1
                    continue
                r, g, b = colour
                if not needle_colour(r, g, b):
                    self.fail("colour %s at (%d, %d) is neither the grey background nor a "
                              "needle's" % (colour, x, y))
                nearest_x = min(GRID, key=lambda g: abs(g - x))
                if max(abs(nearest_x - x), abs(nearest_y - y)) > NEEDLE_REACH:
                    self.fail("needle pixel at (%d, %d) is off the grid" % (x, y))
                counts["pure" if g == 0 else "blended"] += 1
                if r >= 250 and b <= 5:
                    counts["red end"] += 1
                if b >= 250 and r <= 5:
                    counts["blue end"] += 1
        # Most of the area is background; needles far from the cursor are pure red and blue,
        # the ones near it blended toward yellow.
        self.assertGreater(counts["grey"], SIZE * SIZE * 8 // 10)
        for kind in ("pure", "blended", "red end", "blue end"):
            self.assertGreater(counts[kind], 0, "no %s needle pixels" % kind)

    def test_cursor_runs_the_figure_eight_and_a_user_move_shifts_it(self):
        time.sleep(1.0)  # the first frames settle where the pointer was when the window came
        samples = sample_pointer(2.0)
        self.assertGreater(len(set(samples)), 10, "the cursor hardly moved: %s" % samples)
        before = centres(samples)
        self.assertTrue(before, "cursor left the figure-eight: %s" % samples)
        # With the mouse untouched the figure stays around where the program started it.
        self.assertTrue(near(before, (350, 350), slack=60), "figure centred at %s" % before)

        # The move lands between two frames unless it races the program's own cursor move;
        # then the figure shifts by some other amount and the test moves again from there.
        move = (40, 25)
        shifts = []
        for _ in range(3):
            xdesktop.move_pointer_by(*move)
            time.sleep(0.3)
            samples = sample_pointer(2.0)
            after = centres(samples)
            self.assertTrue(after, "cursor left the figure-eight after the move: %s" % samples)
            expected = {(cx + move[0], cy + move[1]) for cx, cy in before}
            if expected & after:
                return
            shifts.append((sorted(before)[:3], sorted(after)[:3]))
            before = after
        self.fail("the figure did not shift by %s: %s" % (move, shifts))

    def test_escape_ends_the_program(self):
        # Keys reach the program while one of its windows has the focus (under Wine at least).
        xdesktop.focus(self.window)
        xdesktop.key("Escape")
        status, stderr = self.wait_for_exit()
        self.assertEqual(0, status, stderr)
        self.assertEqual(b"", stderr)

    def test_closing_the_window_while_it_draws_ends_with_status_0(self):
        time.sleep(0.5)
        xdesktop.request_close(self.window)
        status, stderr = self.wait_for_exit()
        self.assertEqual(0, status, stderr)


if __name__ == "__main__":
    unittest.main()
