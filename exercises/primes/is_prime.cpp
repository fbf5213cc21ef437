#include "is_prime.h"

int32_t IsPrimeByTrialDivision(int32_t n) {
    if (n <= 3) {
        return 1;
    }
    if (n % 2 == 0) {
        return 0;
    }
    // A 64-bit square: d * d passes 2^31 - 1 near the top of the range.
    for (int64_t d = 3;; d++) {
        if (d * d > n) {
            return 1;
        }
        if (n % d == 0) {
            return 0;
        }
    }
}

namespace {

uint32_t MulMod(uint32_t a, uint32_t b, uint32_t m) {
    return static_cast<uint32_t>(static_cast<uint64_t>(a) * b % m);
}

uint32_t PowMod(uint32_t base, uint32_t exponent, uint32_t m) {
    uint32_t result = 1;
    base %= m;
    while (exponent != 0) {
        if (exponent & 1) {
            result = MulMod(result, base, m);
        }
        base = MulMod(base, base, m);
        exponent >>= 1;
    }
    return result;
}

// Whether odd n > 2 is a strong probable prime to base a (a not a multiple of n).
bool StrongProbablePrime(uint32_t n, uint32_t a) {
    uint32_t d = n - 1;
    int s = 0;
    while ((d & 1) == 0) {
        d >>= 1;
        s++;
    }
    uint32_t x = PowMod(a, d, n);
    if (x == 1 || x == n - 1) {
        return true;
    }
    for (int r = 1; r < s; r++) {
        x = MulMod(x, x, n);
        if (x == n - 1) {
            return true;
        }
    }
    return false;
}

// Below this, trial division by the small odd numbers is quicker than the modular powers.
const int32_t kTrialLimit = 1 << 16;

} // namespace

int32_t IsPrime(int32_t n) {
    if (n <= 3) {
        return 1;
    }
    if (n % 2 == 0) {
        return 0;
    }
    // Small divisors settle most composites at once, and all of the small numbers.
    for (int32_t d = 3; d <= 61; d += 2) {
        if (d * d > n) {
            return 1;
        }
        if (n % d == 0) {
            return 0;
        }
    }
    if (n < kTrialLimit) {
        return IsPrimeByTrialDivision(n);
    }
    // Bases 2, 7 and 61 decide primality exactly for every n below 4,759,123,141, which covers
    // the whole 32-bit signed range; n is past 61 here, so no base is a multiple of n.
    const uint32_t u = static_cast<uint32_t>(n);
    return StrongProbablePrime(u, 2) && StrongProbablePrime(u, 7) && StrongProbablePrime(u, 61);
}
