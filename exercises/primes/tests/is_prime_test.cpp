#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "is_prime.h"

namespace {

struct Case {
    int32_t n;
    int32_t prime;
};

TEST(IsPrime, TellingValues) {
    const Case cases[] = {
        {INT_MIN, 1}, {-5, 1},         {-1, 1},         {0, 1},          {1, 1},
        {2, 1},       {3, 1},          {4, 0},          {6, 0},          {8, 0},
        {100, 0},     {5, 1},          {7, 1},          {9, 0},          {15, 0},
        {21, 0},      {25, 0},         {49, 0},         {97, 1},         {3 * 3 * 3, 0},
        {2047, 0},    {1373653, 0},    {25326001, 0},   {1194649, 0},    {46337, 1},
        {46349, 1},   {2147395600, 0}, {2147483629, 1}, {2147483647, 1}, {2147483645, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPrime(c.n), c.prime) << "n = " << c.n;
        EXPECT_EQ(IsPrimeByTrialDivision(c.n), c.prime) << "n = " << c.n;
    }
}

void ExpectSameAsTrialDivision(int32_t n) {
    ASSERT_EQ(IsPrime(n), IsPrimeByTrialDivision(n)) << "n = " << n;
}

TEST(IsPrime, AgreesWithTrialDivisionUpToAMillion) {
    for (int32_t n = -1000; n <= 1000000; n++) {
        ExpectSameAsTrialDivision(n);
    }
}

TEST(IsPrime, AgreesWithTrialDivisionAtTheEndsOfTheRange) {
    for (int32_t k = 0; k < 3000; k++) {
        ExpectSameAsTrialDivision(INT_MAX - k);
        ExpectSameAsTrialDivision(INT_MIN + k);
    }
}

// Products of two primes near the square root of the range, squares among them: the numbers
// whose smallest divisor trial division reaches last.
TEST(IsPrime, AgreesWithTrialDivisionOnProductsOfPrimesNearTheSquareRoot) {
    std::vector<int64_t> primes;
    for (int32_t p = 45000; p <= 47000; p++) {
        if (IsPrimeByTrialDivision(p)) {
            primes.push_back(p);
        }
    }
    for (size_t i = 0; i < primes.size(); i++) {
        for (size_t j = i; j < primes.size(); j++) {
            const int64_t product = primes[i] * primes[j];
            if (product <= INT_MAX) {
                ExpectSameAsTrialDivision(static_cast<int32_t>(product));
                ExpectSameAsTrialDivision(static_cast<int32_t>(product + 2));
            }
        }
    }
}

TEST(IsPrime, AgreesWithTrialDivisionOnRandomValues) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int32_t> any(INT_MIN, INT_MAX);
    for (int k = 0; k < 20000; k++) {
        ExpectSameAsTrialDivision(any(random));
    }
}

} // namespace
