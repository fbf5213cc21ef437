"""needlefield where there is no display to open its window on: one line on standard error and
status 1, instead of drawing forever into nothing."""
import os
import subprocess
import unittest

import harness


# A display nobody serves and no display name at all; natively also none set (Wine's wrapper
# would put the build's private display in its place).
DISPLAYS = [":64999", "no display here"] + ([] if harness.WIN32 else [None])


class NoDisplay(unittest.TestCase):
    def test_one_line_on_stderr_and_status_1(self):
        for display in DISPLAYS:
            with self.subTest(display=display):
                env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
                if display is not None:
                    env["DISPLAY"] = display
                result = subprocess.run(harness.command(), env=env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        timeout=30)
                self.assertEqual(1, result.returncode, result.stderr)
                self.assertEqual(b"", result.stdout)
                lines = harness.text(result.stderr).split(b"\n")
                self.assertEqual(2, len(lines), result.stderr)  # one line and its end
                self.assertEqual(b"", lines[1])
                self.assertIn(b"needlefield", lines[0])


if __name__ == "__main__":
    unittest.main()
