#!/usr/bin/env python3
"""Times the console filters against a reference tool on the same input, in one run.

  primes    vs factor (coreutils): the same 200,000 random integers in 1 .. 2^31 - 1.
            Goal: primes takes at most half of factor's time.
  echotwice vs cat of its expected output: 50 MB of random bytes in, 350 MB out, both to
            /dev/null. Goal: at most 2x cat's time.

Usage: bench/exercises.py [build dir, default build/native]. Prints each time (best of
several runs) and the ratio; the machines are noisy, so read the ratios, not the seconds.
"""
import os
import random
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "native")
RUNS = 5


def best_time(cmd, stdin_path):
    best = float("inf")
    for _ in range(RUNS):
        with open(stdin_path, "rb") as stdin, open(os.devnull, "wb") as out:
            start = time.perf_counter()
            subprocess.run(cmd, stdin=stdin, stdout=out, check=True)
            best = min(best, time.perf_counter() - start)
    return best


def report(name, ours, reference, reference_name, goal):
    ratio = ours / reference
    verdict = "meets" if ratio <= goal else "misses"
    print(f"{name:10} {ours * 1000:8.1f} ms   {reference_name:10} {reference * 1000:8.1f} ms   "
          f"ratio {ratio:5.2f}  ({verdict} the goal of {goal})")


def main():
    primes = os.path.join(BUILD, "exercises", "primes", "primes")
    echotwice = os.path.join(BUILD, "exercises", "echotwice", "echotwice")
    rng = random.Random(2026)
    with tempfile.TemporaryDirectory() as tmp:
        numbers = os.path.join(tmp, "numbers.txt")
        with open(numbers, "w") as f:
            f.write("\n".join(str(rng.randint(1, 2**31 - 1)) for _ in range(200_000)) + "\n")
        report("primes", best_time([primes], numbers), best_time(["factor"], numbers),
               "factor", 0.5)

        data = os.path.join(tmp, "data.bin")
        with open(data, "wb") as f:
            f.write(rng.randbytes(50 * 1024 * 1024))
        expected = os.path.join(tmp, "expected.bin")
        with open(expected, "wb") as out:
            subprocess.run([echotwice], stdin=open(data, "rb"), stdout=out, check=True)
        print(f"(echotwice output: {os.path.getsize(expected) / 1e6:.0f} MB)")
        report("echotwice", best_time([echotwice], data), best_time(["cat"], expected), "cat",
               2.0)


if __name__ == "__main__":
    main()
