import random
import unittest

import harness

BEGIN, END = "primes : begin", "primes : end"


def is_prime(n):
    """The program's predicate: every n <= 3 counts, even numbers above do not."""
    if n <= 3:
        return 1
    if n % 2 == 0:
        return 0
    d = 3
    while d * d <= n:
        if n % d == 0:
            return 0
        d += 1
    return 1


class Primes(unittest.TestCase):
    def test_reads_until_the_end_the_first_non_number_or_zero(self):
        cases = [
            (b"", []),
            (b"7 0 9", [7]),
            (b"-5\n1\t4  25\n", [-5, 1, 4, 25]),
            (b"  +13 -2\r\n\v\f97", [13, -2, 97]),
            (b"12abc 5", [12]),
            (b"abc 5", []),
            (b"2147483647 -2147483648", [2147483647, -2147483648]),
            # Beyond the 32-bit range a numeral keeps its low 32 bits.
            (b"2147483648 4294967297", [-2147483648, 1]),
        ]
        for stdin, numbers in cases:
            with self.subTest(stdin=stdin):
                r = harness.run(stdin=stdin)
                expected = [BEGIN] + [f"n={n} : {is_prime(n)}" for n in numbers] + [END]
                self.assertEqual(r.stdout, harness.lines(*expected))
                self.assertEqual(r.stderr, b"")
                self.assertEqual(r.returncode, 0)

    def test_many_numbers(self):
        rng = random.Random(11)
        numbers = [rng.randint(1, 2_000_000) for _ in range(3000)]
        stdin = " ".join(map(str, numbers)).encode()
        r = harness.run(stdin=stdin)
        expected = [BEGIN] + [f"n={n} : {is_prime(n)}" for n in numbers] + [END]
        self.assertEqual(r.stdout, harness.lines(*expected))
        self.assertEqual(r.returncode, 0)


if __name__ == "__main__":
    unittest.main()
