import os
import subprocess
import tempfile
import unittest

import harness

INDEX_LINES = harness.lines(*[str(i) for i in range(8)])
MESSAGE = harness.lines("RANGE CHECK ERROR: n=8 i=8 (array was allocated at line 39)")


class RangeCheck(unittest.TestCase):
    def test_stops_at_the_first_index_past_the_end(self):
        r = harness.run()
        self.assertEqual(r.stdout, INDEX_LINES)
        self.assertEqual(r.stderr, MESSAGE)
        self.assertEqual(r.returncode, 1)

    def test_index_lines_reach_a_file_before_the_check_ends_the_program(self):
        with tempfile.TemporaryDirectory() as d:
            path = os.path.join(d, "out.txt")
            with open(path, "wb") as out:
                r = subprocess.run(harness.command(), stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=subprocess.PIPE, env=harness.environment(), timeout=60)
            with open(path, "rb") as f:
                self.assertEqual(f.read(), INDEX_LINES)
        self.assertEqual(r.stderr, MESSAGE)
        self.assertEqual(r.returncode, 1)


if __name__ == "__main__":
    unittest.main()
