// The drawing primitives: gradient line, arrows and needles. Every pixel goes where FbwPutPixel
// would put it; steps outside the framebuffer are skipped.
//
// Coordinates are carried as 64-bit integers inside this file, so the tips and barbs of arrows
// whose end points lie far outside the framebuffer never overflow, and only the steps of a line
// that can land inside the framebuffer are visited.
#include <cmath>
#include <cstring>

#include "draw.h"
#include "fbw_math.h"

namespace {

// Slightly less than two pi; the needles' pixels depend on exactly this value.
const double fullTurn = 6.28318530717958;

// Far beyond any framebuffer, yet small enough that differences of two such coordinates and
// step counts stay within 64 bits.
const int64_t farCoordinate = int64_t(1) << 60;

// Truncates toward zero. Values beyond farCoordinate are pinned to it (they lie off the
// framebuffer either way); NaN has no integer and reports false.
bool Truncate(double value, int64_t* result) {
    if (value != value) {
        return false;
    }
    if (value >= static_cast<double>(farCoordinate)) {
        *result = farCoordinate;
    } else if (value <= -static_cast<double>(farCoordinate)) {
        *result = -farCoordinate;
    } else {
        *result = static_cast<int64_t>(value);
    }
    return true;
}

// The low eight bits of trunc(value), two's complement, for doubles beyond 32 bits (0 for NaN
// and the infinities, which have no integer).
uint32_t LowByteOfLarge(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    double rest = std::fmod(std::trunc(value), 256.0); // exact
    if (rest < 0.0) {
        rest += 256.0;
    }
    return static_cast<uint32_t>(rest) & 0xFFu;
}

// The low eight bits of trunc(value), two's complement, for any double.
inline uint32_t LowByte(double value) {
    if (value > -2147483648.0 && value < 2147483648.0) {
        return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFu;
    }
    return LowByteOfLarge(value);
}

uint32_t Channel(FbwColour colour, int k) {
    return (colour >> (8 * k)) & 0xFFu;
}

// 2^power for -1022 <= power <= 1023, built from its bits.
double PowerOfTwo(int power) {
    const uint64_t bits = static_cast<uint64_t>(power + 1023) << 52;
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The largest integer not above value, for |value| < 2^62.
int64_t Floor(double value) {
    int64_t whole = static_cast<int64_t>(value);
    if (static_cast<double>(whole) > value) {
        --whole;
    }
    return whole;
}

// One addition, the way the line does it. Reports whether it left the accumulator unchanged:
// then every further addition does the same.
bool RealStep(double* accumulator, double step, int64_t* count) {
    const double sum = *accumulator + step;
    const bool fixed = sum == *accumulator;
    *accumulator = sum;
    --*count;
    return fixed;
}

// The value of accumulator after count repetitions of accumulator += step, bit for bit, in time
// that grows with the number of binades crossed rather than with count.
//
// Why a jump is exact: take a positive accumulator v in the binade [2^e, 2^(e+1)), where every
// double is a multiple of u = 2^(e-52). While the exact sum v + step stays within the closed
// binade, the rounded sum is v plus step rounded to a multiple of u; that increment is the same
// for every such v unless step is an odd multiple of u/2 (a tie), and even then it is the same
// for every v that is an even multiple of u, which every tie-rounded sum is. A sum moves away
// from v in the direction of step only, and its rounding moves it by at most u/2, so the exact
// sums stay within the binade while the rounded ones stay at least u inside its end in that
// direction. So m further additions equal one addition of m times the increment, a multiple of u
// below 2^(e+1), which is exact. Negative accumulators are the mirror image. Zero, subnormal and
// huge accumulators, and steps as large as half the binade, take real steps.
double Advance(double accumulator, double step, int64_t count) {
    if (count > 0 && (step == 0.0 || !std::isfinite(accumulator))) {
        return accumulator + step;
    }
    while (count > 0) {
        uint64_t bits = 0;
        std::memcpy(&bits, &accumulator, sizeof bits);
        const int e = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
        const double magnitude = accumulator < 0.0 ? -accumulator : accumulator;
        const double along = accumulator < 0.0 ? -step : step; // seen from the positive mirror
        if (e - 52 < -1022 || e + 1 > 1023 || std::fabs(along) >= PowerOfTwo(e - 1)) {
            if (RealStep(&accumulator, step, &count)) {
                return accumulator;
            }
            continue;
        }
        const double u = PowerOfTwo(e - 52);
        const double units = along * PowerOfTwo(52 - e); // exact: along / u, below 2^51
        const int64_t whole = Floor(units);
        const double fraction = units - static_cast<double>(whole); // exact
        int64_t increments = fraction < 0.5 ? whole : whole + 1;
        if (fraction == 0.5) {
            if ((static_cast<int64_t>(magnitude * PowerOfTwo(52 - e)) & 1) != 0) {
                // An odd multiple of u: one real step makes it even.
                if (RealStep(&accumulator, step, &count)) {
                    return accumulator;
                }
                continue;
            }
            increments = (whole & 1) == 0 ? whole : whole + 1;
        }
        const double limit = along > 0.0 ? PowerOfTwo(e + 1) - u : PowerOfTwo(e) + u;
        if (increments == 0) {
            if (along > 0.0 || magnitude >= limit) {
                return accumulator; // every further addition rounds back to the same value
            }
            if (RealStep(&accumulator, step, &count)) {
                return accumulator;
            }
            continue;
        }
        const double increment = static_cast<double>(increments) * u;
        const double most = (limit - magnitude) / increment; // below 2^52
        int64_t jump = most < static_cast<double>(count) ? static_cast<int64_t>(most) : count;
        while (jump > 0) {
            const double landed = magnitude + static_cast<double>(jump) * increment;
            if (along > 0.0 ? landed <= limit : landed >= limit) {
                break;
            }
            --jump;
        }
        if (jump <= 0) {
            if (RealStep(&accumulator, step, &count)) {
                return accumulator;
            }
            continue;
        }
        const double landed = magnitude + static_cast<double>(jump) * increment;
        accumulator = accumulator < 0.0 ? -landed : landed;
        count -= jump;
        // The next sum may leave the binade: a real step.
        if (count > 0 && RealStep(&accumulator, step, &count)) {
            return accumulator;
        }
    }
    return accumulator;
}

enum Axis { vertical, horizontal, flat, steep };

// Stores one pixel of a step already known to lie inside the framebuffer. It is FbwPutPixel
// without the checks and without a call per pixel, which would cost about half a line's time.
// The drawing tests build this file with FBW_STORE_THROUGH_PUT_PIXEL, so that a recording
// FbwPutPixel sees every store in order.
inline void Store(int32_t x, int32_t y, FbwColour colour) {
#ifdef FBW_STORE_THROUGH_PUT_PIXEL
    FbwPutPixel(x, y, colour);
#else
    surface.pixels[static_cast<size_t>(y) * static_cast<size_t>(fbWidth) + static_cast<size_t>(x)] =
        colour;
#endif
}

// Whether there is pixel memory to store into.
inline bool HavePixels() {
#ifdef FBW_STORE_THROUGH_PUT_PIXEL
    return true;
#else
    return surface.pixels != nullptr;
#endif
}

// Steps begin..end of the stepping axis, all inside the framebuffer on that axis; fixed is the
// other coordinate of vertical and horizontal lines. Bounded says that every accumulator stays
// within 32-bit range throughout, so its channel needs no range check.
template <Axis axis, bool gradient, bool bounded>
void Walk(int64_t begin, int64_t end, int64_t fixed, double m, double b, FbwColour colour,
          const double* accumulator, const double* step) {
    const bool alongY = axis == vertical || axis == steep;
    const double across = static_cast<double>(alongY ? fbWidth : fbHeight);
    double a0 = accumulator[0], a1 = accumulator[1], a2 = accumulator[2];
    const double s0 = step[0], s1 = step[1], s2 = step[2];
    for (int64_t p = begin; p <= end; ++p) {
        double other;
        if (axis == flat) {
            other = m * static_cast<double>(p) + b;
        } else if (axis == steep) {
            other = (static_cast<double>(p) - b) / m;
        } else {
            other = static_cast<double>(fixed);
        }
        // trunc(other) lies in [0, across) exactly when other lies in (-1, across).
        if (other > -1.0 && other < across) {
            const int32_t q = static_cast<int32_t>(other);
            const int32_t s = static_cast<int32_t>(p);
            if (gradient) {
                if (bounded) {
                    colour = (static_cast<uint32_t>(static_cast<int32_t>(a0)) & 0xFFu) |
                             (static_cast<uint32_t>(static_cast<int32_t>(a1)) & 0xFFu) << 8 |
                             (static_cast<uint32_t>(static_cast<int32_t>(a2)) & 0xFFu) << 16;
                } else {
                    colour = LowByte(a0) | LowByte(a1) << 8 | LowByte(a2) << 16;
                }
            }
            if (alongY) {
                Store(q, s, colour);
            } else {
                Store(s, q, colour);
            }
        }
        if (gradient) {
            a0 += s0;
            a1 += s1;
            a2 += s2;
        }
    }
}

template <Axis axis>
void WalkAny(int64_t begin, int64_t end, int64_t fixed, double m, double b, bool gradient,
             FbwColour colour, const double* accumulator, const double* step) {
    if (!gradient) {
        Walk<axis, false, true>(begin, end, fixed, m, b, colour, accumulator, step);
        return;
    }
    // Within 2^20 steps of at most 255 each, accumulators that start below 2^29 stay below 2^30.
    const bool bounded = end - begin < 1048576 && std::fabs(accumulator[0]) < 536870912.0 &&
                         std::fabs(accumulator[1]) < 536870912.0 &&
                         std::fabs(accumulator[2]) < 536870912.0;
    if (bounded) {
        Walk<axis, true, true>(begin, end, fixed, m, b, colour, accumulator, step);
    } else {
        Walk<axis, true, false>(begin, end, fixed, m, b, colour, accumulator, step);
    }
}

void Line(int64_t x0, int64_t y0, int64_t x1, int64_t y1, FbwColour colour0, FbwColour colour1) {
    Axis axis;
    double m = 0.0;
    double b = 0.0;
    int64_t first = 0;
    int64_t last = 0;
    if (x0 == x1) {
        axis = vertical;
        first = y0 < y1 ? y0 : y1;
        last = y0 < y1 ? y1 : y0;
    } else if (y0 == y1) {
        axis = horizontal;
        first = x0 < x1 ? x0 : x1;
        last = x0 < x1 ? x1 : x0;
    } else {
        // Slope and intercept come from the end points in the order given, before any exchange.
        m = static_cast<double>(y1 - y0) / static_cast<double>(x1 - x0);
        b = static_cast<double>(y0) - m * static_cast<double>(x0);
        if (std::fabs(m) < 1.0) {
            axis = flat;
            first = x0 < x1 ? x0 : x1;
            last = x0 < x1 ? x1 : x0;
        } else {
            axis = steep;
            first = y0 < y1 ? y0 : y1;
            last = y0 < y1 ? y1 : y0;
        }
    }
    const int64_t steps = last - first + 1;

    // Only steps whose position on the stepping axis lies inside the framebuffer can show.
    const bool alongY = axis == vertical || axis == steep;
    const int64_t axisEnd = alongY ? fbHeight : fbWidth;
    int64_t begin = first > 0 ? first : 0;
    int64_t end = last < axisEnd - 1 ? last : axisEnd - 1;
    if (begin > end || !HavePixels()) {
        return;
    }
    if ((axis == vertical && (x0 < 0 || x0 >= fbWidth)) ||
        (axis == horizontal && (y0 < 0 || y0 >= fbHeight))) {
        return;
    }

    const bool gradient = colour0 != colour1;
    double accumulator[3] = {0.0, 0.0, 0.0};
    double step[3] = {0.0, 0.0, 0.0};
    if (gradient) {
        for (int k = 0; k < 3; ++k) {
            step[k] = (static_cast<double>(Channel(colour1, k)) -
                       static_cast<double>(Channel(colour0, k))) /
                      static_cast<double>(steps);
            accumulator[k] =
                Advance(static_cast<double>(Channel(colour0, k)), step[k], begin - first);
        }
    }

    switch (axis) {
    case vertical:
        WalkAny<vertical>(begin, end, x0, m, b, gradient, colour0, accumulator, step);
        break;
    case horizontal:
        WalkAny<horizontal>(begin, end, y0, m, b, gradient, colour0, accumulator, step);
        break;
    case flat:
        WalkAny<flat>(begin, end, 0, m, b, gradient, colour0, accumulator, step);
        break;
    case steep:
        WalkAny<steep>(begin, end, 0, m, b, gradient, colour0, accumulator, step);
        break;
    }
}

// The sines and cosines an arrow of direction angle and head angle h needs: cos(a), sin(-a) for
// the tip, and those of a' + h and a' - h, a' = fullTurn - a, for the barbs. A needle's two
// arrows share them.
struct Turn {
    double cosine;       // cos(a)
    double sineBelow;    // sin(-a)
    double cosineFirst;  // cos(a' + h)
    double sineFirst;    // sin(a' + h)
    double cosineSecond; // cos(a' - h)
    double sineSecond;   // sin(a' - h)
};

Turn TurnOf(double angle, double headAngle) {
    Turn t;
    FbwSinCos(-angle, &t.sineBelow, &t.cosine); // cos(-a) = cos(a), bit for bit
    const double turned = fullTurn - angle;
    FbwSinCos(turned + headAngle, &t.sineFirst, &t.cosineFirst);
    FbwSinCos(turned - headAngle, &t.sineSecond, &t.cosineSecond);
    return t;
}

void Arrow(int64_t x, int64_t y, double length, double headLength, const Turn& t, FbwColour colour0,
           FbwColour colour1) {
    int64_t tipX = 0;
    int64_t tipY = 0;
    if (!Truncate(t.cosine * length + static_cast<double>(x), &tipX) ||
        !Truncate(t.sineBelow * length + static_cast<double>(y), &tipY)) {
        return;
    }
    Line(x, y, tipX, tipY, colour0, colour1);

    int64_t endX = 0;
    int64_t endY = 0;
    if (Truncate(static_cast<double>(tipX) - headLength * t.cosineFirst, &endX) &&
        Truncate(static_cast<double>(tipY) - headLength * t.sineFirst, &endY)) {
        Line(tipX, tipY, endX, endY, colour1, colour0);
    }
    if (Truncate(static_cast<double>(tipX) - headLength * t.cosineSecond, &endX) &&
        Truncate(static_cast<double>(tipY) - headLength * t.sineSecond, &endY)) {
        Line(tipX, tipY, endX, endY, colour0, colour1);
    }
}

// floor(sqrt(n)), exact for every n.
int64_t IntegerSquareRoot(uint64_t n) {
    uint64_t root = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (root > 0 && root * root > n) {
        --root;
    }
    while ((root + 1) * (root + 1) <= n) {
        ++root;
    }
    return static_cast<int64_t>(root);
}

// trunc(sqrt(dx*dx + dy*dy)). Within 46,340 pixels a correctly rounded sqrt of the integer sum
// truncates to the integer square root; the integer root stays exact further out, where the sum
// no longer fits 32 bits.
int64_t Distance(int64_t dx, int64_t dy) {
    const uint64_t ax = static_cast<uint64_t>(dx < 0 ? -dx : dx);
    const uint64_t ay = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    const uint64_t limit = uint64_t(1) << 31;
    if (ax < limit && ay < limit) {
        return IntegerSquareRoot(ax * ax + ay * ay); // below 2^63
    }
    // Points more than 2^31 apart on an axis: far off any framebuffer, so the nearest double
    // will do.
    const double x = static_cast<double>(ax);
    const double y = static_cast<double>(ay);
    return static_cast<int64_t>(std::sqrt(x * x + y * y));
}

// Direction of (dx, dy) for a distance of d > 0: acos(dx / d), turned the other way round
// when the point lies below (screen y grows downward).
double Direction(int64_t dx, int64_t dy, int64_t d) {
    double a = FbwAcos(static_cast<double>(dx) / static_cast<double>(d));
    if (dy > 0) {
        a = fullTurn - a;
    }
    return a;
}

} // namespace

void DrawGradientLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, FbwColour colour0,
                      FbwColour colour1) {
    Line(x0, y0, x1, y1, colour0, colour1);
}

void DrawArrow(int32_t x, int32_t y, int32_t length, int32_t headLength, double angle,
               double headAngle, FbwColour colour0, FbwColour colour1) {
    Arrow(x, y, static_cast<double>(length), static_cast<double>(headLength),
          TurnOf(angle, headAngle), colour0, colour1);
}

void DrawArrowTo(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t headLength,
                 double headAngle, FbwColour colour) {
    const int64_t dx = static_cast<int64_t>(x1) - x0;
    const int64_t dy = static_cast<int64_t>(y1) - y0;
    const int64_t length = Distance(dx, dy);
    if (length == 0) {
        return; // no direction: acos(0 / 0) has no value
    }
    const double angle = Direction(dx, dy, length);
    const int64_t head = headLength > length ? length : headLength;
    Arrow(x0, y0, static_cast<double>(length), static_cast<double>(head), TurnOf(angle, headAngle),
          colour, colour);
}

void DrawNeedle(int32_t x, int32_t y, int32_t length, int32_t targetX, int32_t targetY,
                FbwColour nearColour, FbwColour tipColour, FbwColour baseColour,
                double blendDistance) {
    const int64_t dx = static_cast<int64_t>(targetX) - x;
    const int64_t dy = static_cast<int64_t>(targetY) - y;
    const int64_t distance = Distance(dx, dy);

    // A blend distance of 0 would make f infinite (or 0 / 0): nothing is blended.
    const double f = blendDistance != 0.0 ? static_cast<double>(distance) / blendDistance : 1.0;
    FbwColour tip = 0;
    FbwColour base = 0;
    for (int k = 0; k < 3; ++k) {
        double nearChannel = static_cast<double>(Channel(nearColour, k));
        double tipChannel = static_cast<double>(Channel(tipColour, k));
        double baseChannel = static_cast<double>(Channel(baseColour, k));
        if (f < 1.0) {
            tipChannel = static_cast<double>(LowByte(tipChannel * f + (1.0 - f) * nearChannel));
            baseChannel = static_cast<double>(LowByte(baseChannel * f + (1.0 - f) * nearChannel));
        }
        tip |= static_cast<FbwColour>(tipChannel) << (8 * k);
        base |= static_cast<FbwColour>(baseChannel) << (8 * k);
    }

    if (distance == 0) {
        return; // the target is the base: no direction to turn to
    }
    const double angle = Direction(dx, dy, distance);
    int64_t needle = length;
    if (needle != 0 && static_cast<double>(distance) / static_cast<double>(needle) < 1.0) {
        needle = distance;
    }
    // needle is now never negative, so -needle cannot overflow.
    const Turn turn = TurnOf(angle, 0.6);
    Arrow(x, y, static_cast<double>(needle), static_cast<double>(needle / 3), turn, base, tip);
    Arrow(x, y, static_cast<double>(-needle), static_cast<double>((-needle) / 3), turn, tip, base);
}
