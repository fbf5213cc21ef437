// The drawing primitives: gradient line, arrows and needles, all written through FbwPutPixel.
//
// Coordinates are carried as 64-bit integers inside this file, so the tips and barbs of arrows
// whose end points lie far outside the framebuffer never overflow, and only the steps of a line
// that can land inside the framebuffer are visited.
#include <cfloat>
#include <cmath>

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

// The low eight bits of trunc(value), two's complement, for any double (0 for NaN and the
// infinities, which have no integer).
uint32_t LowByte(double value) {
    if (value > -2147483648.0 && value < 2147483648.0) {
        return static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFu;
    }
    if (!std::isfinite(value)) {
        return 0;
    }
    double rest = std::fmod(std::trunc(value), 256.0); // exact
    if (rest < 0.0) {
        rest += 256.0;
    }
    return static_cast<uint32_t>(rest) & 0xFFu;
}

uint32_t Channel(FbwColour colour, int k) {
    return (colour >> (8 * k)) & 0xFFu;
}

// The value of accumulator after count repetitions of accumulator += step, bit for bit, in time
// that grows with the number of binades crossed rather than with count.
//
// Why a jump is exact: take a positive accumulator v in the binade [2^(e-1), 2^e), where every
// double is a multiple of u = 2^(e-53). While the exact sum v + step stays within the closed
// binade, the rounded sum is v plus step rounded to a multiple of u; that increment is the same
// for every such v unless step is an odd multiple of u/2 (a tie), and even then it is the same
// for every v that is an even multiple of u, which every tie-rounded sum is. Keeping v at least u
// inside both ends of the binade keeps v + step within it (rounding moves a sum by at most u).
// So inside that margin m further additions equal one addition of m times the increment, a
// multiple of u below 2^e, which is exact. Negative accumulators are the mirror image.
double Advance(double accumulator, double step, int64_t count) {
    while (count > 0) {
        if (step == 0.0) {
            return accumulator + step;
        }
        double magnitude = std::fabs(accumulator);
        double sign = accumulator < 0.0 ? -1.0 : 1.0;
        double along = step * sign; // the step as seen from the mirrored, positive accumulator
        int exponent = 0;
        if (!(magnitude >= DBL_MIN) || !std::isfinite(magnitude)) {
            accumulator += step;
            --count;
            continue;
        }
        std::frexp(magnitude, &exponent); // magnitude in [2^(exponent-1), 2^exponent)
        double u = std::ldexp(1.0, exponent - 53);
        double low = std::ldexp(1.0, exponent - 1) + u;
        double high = std::ldexp(1.0, exponent) - u;
        if (magnitude < low || magnitude > high || std::fabs(along) >= low * 0.5) {
            accumulator += step;
            --count;
            continue;
        }
        double units = along / u; // exact: a power-of-two scaling of a normal number
        double whole = std::floor(units);
        double fraction = units - whole;
        double increment;
        if (fraction == 0.5) {
            if (std::fmod(magnitude / u, 2.0) != 0.0) {
                // An odd multiple of u: one real step makes it even.
                accumulator += step;
                --count;
                continue;
            }
            increment = (std::fmod(whole, 2.0) == 0.0 ? whole : whole + 1.0) * u;
        } else {
            increment = (fraction < 0.5 ? whole : whole + 1.0) * u;
        }
        if (increment == 0.0) {
            return accumulator; // every further addition rounds back to the same value
        }
        double limit = increment > 0.0 ? high : low;
        double most = std::floor((limit - magnitude) / increment);
        int64_t jump = most >= static_cast<double>(count) ? count : static_cast<int64_t>(most);
        while (jump > 0) {
            double landed = magnitude + static_cast<double>(jump) * increment;
            if (landed >= low && landed <= high) {
                break;
            }
            --jump;
        }
        if (jump <= 0) {
            accumulator += step;
            --count;
            continue;
        }
        accumulator = sign * (magnitude + static_cast<double>(jump) * increment);
        count -= jump;
    }
    return accumulator;
}

void Line(int64_t x0, int64_t y0, int64_t x1, int64_t y1, FbwColour colour0, FbwColour colour1) {
    enum { vertical, horizontal, flat, steep } axis;
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
    const int32_t across = alongY ? fbWidth : fbHeight;
    int64_t begin = first > 0 ? first : 0;
    int64_t end = last < axisEnd - 1 ? last : axisEnd - 1;
    if (begin > end) {
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

    for (int64_t p = begin; p <= end; ++p) {
        double other = 0.0;
        switch (axis) {
        case vertical:
            other = static_cast<double>(x0);
            break;
        case horizontal:
            other = static_cast<double>(y0);
            break;
        case flat:
            other = m * static_cast<double>(p) + b;
            break;
        case steep:
            other = (static_cast<double>(p) - b) / m;
            break;
        }
        // trunc(other) lies in [0, across) exactly when other lies in (-1, across).
        if (other > -1.0 && other < static_cast<double>(across)) {
            int32_t q = static_cast<int32_t>(other);
            int32_t s = static_cast<int32_t>(p);
            FbwColour colour = colour0;
            if (gradient) {
                colour = LowByte(accumulator[0]) | LowByte(accumulator[1]) << 8 |
                         LowByte(accumulator[2]) << 16;
            }
            if (alongY) {
                FbwPutPixel(q, s, colour);
            } else {
                FbwPutPixel(s, q, colour);
            }
        }
        if (gradient) {
            accumulator[0] += step[0];
            accumulator[1] += step[1];
            accumulator[2] += step[2];
        }
    }
}

void Arrow(int64_t x, int64_t y, double length, double headLength, double angle, double headAngle,
           FbwColour colour0, FbwColour colour1) {
    int64_t tipX = 0;
    int64_t tipY = 0;
    if (!Truncate(FbwCos(angle) * length + static_cast<double>(x), &tipX) ||
        !Truncate(FbwSin(-angle) * length + static_cast<double>(y), &tipY)) {
        return;
    }
    Line(x, y, tipX, tipY, colour0, colour1);

    const double turned = fullTurn - angle;
    int64_t endX = 0;
    int64_t endY = 0;
    if (Truncate(static_cast<double>(tipX) - headLength * FbwCos(turned + headAngle), &endX) &&
        Truncate(static_cast<double>(tipY) - headLength * FbwSin(turned + headAngle), &endY)) {
        Line(tipX, tipY, endX, endY, colour1, colour0);
    }
    if (Truncate(static_cast<double>(tipX) - headLength * FbwCos(turned - headAngle), &endX) &&
        Truncate(static_cast<double>(tipY) - headLength * FbwSin(turned - headAngle), &endY)) {
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
    Arrow(x, y, static_cast<double>(length), static_cast<double>(headLength), angle, headAngle,
          colour0, colour1);
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
    Arrow(x0, y0, static_cast<double>(length), static_cast<double>(head), angle, headAngle, colour,
          colour);
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
    Arrow(x, y, static_cast<double>(needle), static_cast<double>(needle / 3), angle, 0.6, base,
          tip);
    Arrow(x, y, static_cast<double>(-needle), static_cast<double>((-needle) / 3), angle, 0.6, tip,
          base);
}
