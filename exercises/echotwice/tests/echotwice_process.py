import random
import unittest

import harness


def expected(data):
    """The program's output for the bytes on its standard input, in the platform's line ends."""
    if harness.WIN32:
        data = data.replace(b"\r\n", b"\n")  # text-mode input
    out = b"echotwice : begin\n"
    out += b"".join(b"....\n" + bytes([c]) * 2 for c in data)
    out += b"echotwice : end\n"
    return out.replace(b"\n", b"\r\n") if harness.WIN32 else out


class EchoTwice(unittest.TestCase):
    def check(self, stdin):
        r = harness.run(stdin=stdin)
        self.assertEqual(r.stdout, expected(stdin))
        self.assertEqual(r.stderr, b"")
        self.assertEqual(r.returncode, 0)

    def test_copies_every_byte_twice(self):
        for stdin in [b"", b"XY\n", b"\xff", b"a\x00b", b"X", b"line one\r\nline two\r\n"]:
            with self.subTest(stdin=stdin):
                self.check(stdin)

    def test_documented_lines(self):
        r = harness.run(stdin=b"XY\n")
        self.assertEqual(harness.text(r.stdout).split(b"\n"),
                         [b"echotwice : begin", b"....", b"XX....", b"YY....", b"", b"",
                          b"echotwice : end", b""])
        r = harness.run(stdin=b"X")
        self.assertTrue(harness.text(r.stdout).endswith(b"\nXXechotwice : end\n"))

    def test_large_random_input(self):
        rng = random.Random(5)
        # Ctrl-Z is the end of a text stream on Windows: leave it out of the shared input.
        data = bytes(b for b in rng.randbytes(3_000_000) if b != 0x1A)
        self.check(data)


if __name__ == "__main__":
    unittest.main()
