// The drawing's own sine, cosine and arc cosine: accurate, and the same bits on every target.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fbw_math.h"

namespace {

int64_t UlpsApart(double a, double b) {
    int64_t ia = 0, ib = 0;
    std::memcpy(&ia, &a, sizeof a);
    std::memcpy(&ib, &b, sizeof b);
    if (ia < 0) {
        ia = INT64_MIN - ia;
    }
    if (ib < 0) {
        ib = INT64_MIN - ib;
    }
    return ia > ib ? ia - ib : ib - ia;
}

uint64_t Mix(uint64_t hash, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return (hash ^ bits) * 1099511628211ull;
}

const double fullTurn = 6.28318530717958;
const double halfPi = 1.5707963267948966; // the double nearest pi/2

TEST(Math, ExactValuesTheDrawingDependsOn) {
    EXPECT_EQ(FbwAcos(0.0), halfPi);
    EXPECT_EQ(FbwAcos(1.0), 0.0);
    EXPECT_EQ(FbwAcos(-1.0), 2.0 * halfPi);
    EXPECT_EQ(FbwSin(0.0), 0.0);
    EXPECT_EQ(FbwCos(0.0), 1.0);
    // Straight below: the cosine of fullTurn - pi/2 is a tiny negative number, so a needle
    // pointing down truncates one pixel to the left.
    EXPECT_LT(FbwCos(fullTurn - halfPi), 0.0);
    EXPECT_GT(FbwCos(fullTurn - halfPi), -1e-14);
    EXPECT_TRUE(std::isnan(FbwAcos(1.5)));
    EXPECT_TRUE(std::isnan(FbwAcos(std::nan(""))));
}

// Apart by at most two ulps, or by less than 2^-55 near zero, where a platform library that
// reduces the argument less carefully is off by a few ulps of a tiny result (Wine's is, near
// multiples of pi/2).
bool Close(double own, double library) {
    return UlpsApart(own, library) <= 2 || std::fabs(own - library) < 0x1p-55;
}

// Within about an ulp of the true values, so close to any platform library.
TEST(Math, CloseToThePlatformLibrary) {
    for (int i = -200000; i <= 200000; ++i) {
        const double x = i * 4.0e-5; // -8 .. 8
        double s = 0.0, c = 0.0;
        FbwSinCos(x, &s, &c);
        ASSERT_EQ(s, FbwSin(x));
        ASSERT_EQ(c, FbwCos(x));
        ASSERT_TRUE(Close(s, std::sin(x))) << std::hexfloat << x << " " << s;
        ASSERT_TRUE(Close(c, std::cos(x))) << std::hexfloat << x << " " << c;
        // sin(-x) = -sin(x) and cos(-x) = cos(x), bit for bit
        ASSERT_EQ(FbwSin(-x), -s);
        ASSERT_EQ(FbwCos(-x), c);
        const double y = i / 200000.0; // -1 .. 1
        ASSERT_TRUE(Close(FbwAcos(y), std::acos(y))) << std::hexfloat << y;
    }
}

// The bits over the directions a needle can take toward any target within 300 pixels. The
// value was computed by the native build; every build must compute the same bits, which no
// platform math library promises.
TEST(Math, SameBitsOnEveryTarget) {
    uint64_t hash = 1469598103934665603ull;
    for (int dx = -300; dx <= 300; ++dx) {
        for (int dy = -300; dy <= 300; ++dy) {
            const int d = static_cast<int>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if (d == 0) {
                continue;
            }
            double a = FbwAcos(static_cast<double>(dx) / d);
            if (dy > 0) {
                a = fullTurn - a;
            }
            double s = 0.0, c = 0.0;
            hash = Mix(hash, a);
            FbwSinCos(-a, &s, &c);
            hash = Mix(Mix(hash, s), c);
            FbwSinCos(fullTurn - a + 0.6, &s, &c);
            hash = Mix(Mix(hash, s), c);
            FbwSinCos(fullTurn - a - 0.6, &s, &c);
            hash = Mix(Mix(hash, s), c);
        }
    }
    EXPECT_EQ(hash, 0xce3fddb0b2c645ceull) << std::hex << hash;
}

} // namespace
