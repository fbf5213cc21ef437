import unittest

import harness


class DblBits(unittest.TestCase):
    def test_prints_the_bit_patterns_of_one_and_two(self):
        r = harness.run()
        self.assertEqual(r.stdout, harness.lines("3FF0000000000000", "4000000000000000"))
        self.assertEqual(r.stderr, b"")
        self.assertEqual(r.returncode, 0)


if __name__ == "__main__":
    unittest.main()
