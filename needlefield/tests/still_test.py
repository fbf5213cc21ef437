"""The demo's frame with the pointer parked where the test put it: the window shows exactly the
framebuffer, and the frame for that pointer position is the same, pixel for pixel, in the native
and the Windows build (both must match the one checksum below)."""
import os
import subprocess
import time
import unittest

import harness
import xdesktop

# FNV-1a (64 bits) over red, green and blue of every pixel of the 700 x 700 frame whose target
# is the middle of a 32 x 32 cursor at client (300, 250). Both builds must produce it; when the
# drawing changes on purpose, the value to put here is in the failure message.
EXPECTED_FRAME = "2dee63fcc4e5bb44"
PARK = (300, 250)


def checksum(rgb):
    value = 14695981039346656037
    for byte in rgb:
        value = ((value ^ byte) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % value


class StillFrame(unittest.TestCase):
    def setUp(self):
        self.program = harness.start(stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE)
        self.addCleanup(self.stop)

    def stop(self):
        if self.program.poll() is None:
            self.program.kill()
            self.program.wait(timeout=30)
        for stream in (self.program.stdin, self.program.stdout, self.program.stderr):
            if stream and not stream.closed:
                stream.close()

    def frame(self):
        """Lets the demo draw one frame; returns its line: number, size, checksum."""
        self.program.stdin.write(b"\n")
        self.program.stdin.flush()
        return self.read_frame()

    def read_frame(self):
        line = harness.text(self.program.stdout.readline()).decode().split()
        if len(line) != 4:
            self.fail("no frame line (%r); program ended: %r"
                      % (line, self.program.stderr.read()))
        return line[1:]

    def test_frame_on_screen_matches_memory_and_the_other_build(self):
        window = xdesktop.find_window("TitleQZ", process=self.program)
        self.read_frame()  # the first frame, drawn wherever the pointer was
        x, y, width, height = xdesktop.geometry(window)
        self.assertEqual((width, height), (700, 700))
        subprocess.run(["xdotool", "mousemove", str(x + PARK[0]), str(y + PARK[1])],
                       env=harness.environment(), check=True, timeout=20)
        # Wine learns of a pointer move from the events its windows get, a moment later: draw
        # until two frames in a row agree.
        previous = None
        for _ in range(25):
            number, size, memory = self.frame()
            if memory == previous:
                break
            previous = memory
            time.sleep(0.2)
        self.assertEqual(size, "700x700")

        # The window may show the frame a moment after the present returns (Wine flushes its
        # window surfaces on its own schedule).
        deadline = time.monotonic() + 10
        while True:
            shot = xdesktop.screenshot(window)
            shown = checksum(shot.rgb)
            if shown == memory or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        artifacts = os.path.join(harness.BUILD_DIR or ".", "artifacts")
        shot.save_png(os.path.join(artifacts, "needlefield-still.png"))
        self.assertEqual(shown, memory, "the window does not show the framebuffer exactly")
        self.assertEqual(memory, EXPECTED_FRAME,
                         "frame %s differs from the reference frame (both builds must agree); "
                         "screenshot in %s" % (number, artifacts))

        self.program.stdin.close()
        self.assertEqual(self.program.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
