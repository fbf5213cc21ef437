"""trisketch as a user runs it without a screen: the check of its argument and the refused list."""
import os
import subprocess
import tempfile
import unittest

import harness

REPORT = harness.lines(
    'Assertion failed: argc >= 2 && freopen(argv[1], "rt", stdin), file trisketch, line 23')


class Arguments(unittest.TestCase):
    def test_no_file_gives_the_report_and_aborts(self):
        missing = os.path.join(tempfile.gettempdir(), "trisketch-no-such-dir", "list.txt")
        for args in ([], [missing], [""]):
            with self.subTest(args=args):
                result = harness.run(args)
                self.assertEqual(result.stderr, REPORT)
                self.assertEqual(result.stdout, b"")
                self.assertEqual(result.returncode, harness.ABORT_STATUS)

    def test_a_count_above_the_tables_is_refused_before_drawing(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "list.txt")
            with open(path, "w") as f:
                f.write("101\n" + "0 0 10 0 0 10\n" * 101)
            # Without a display the X11 side could not draw at all; the refusal comes first.
            env = harness.environment()
            env.pop("DISPLAY", None)
            result = subprocess.run(harness.command([path]), stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, env=env, timeout=60)
            self.assertEqual(harness.text(result.stderr),
                             b"trisketch: the list has 101 triangles, at most 100 can be drawn\n")
            self.assertEqual(result.stdout, b"")
            self.assertNotEqual(result.returncode, 0)
            self.assertNotEqual(result.returncode, harness.ABORT_STATUS)

    @unittest.skipIf(harness.WIN32, "the screen's device context is always there on Windows")
    def test_no_screen_returns_minus_one_without_a_word(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "list.txt")
            with open(path, "w") as f:
                f.write("1 0 0 50 0 0 30\n")
            env = harness.environment()
            env.pop("DISPLAY", None)
            result = subprocess.run(harness.command([path]), stdout=subprocess.PIPE,
                                    stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, env=env,
                                    timeout=60)
            self.assertEqual((result.returncode, result.stdout, result.stderr), (255, b"", b""))


if __name__ == "__main__":
    unittest.main()
