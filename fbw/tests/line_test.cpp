// Gradient lines: pixel positions, stepping order and colours of every stored pixel.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "draw.h"
#include "pixel_recorder.h"

namespace {

struct Point {
    int32_t x;
    int32_t y;
};

std::vector<RecordedPixel> Draw(int32_t x0, int32_t y0, int32_t x1, int32_t y1, FbwColour c0,
                                FbwColour c1) {
    StartRecording(200, 200);
    DrawGradientLine(x0, y0, x1, y1, c0, c1);
    return TakeRecording();
}

std::vector<RecordedPixel> OneColour(const std::vector<Point>& points, FbwColour colour) {
    std::vector<RecordedPixel> pixels;
    for (const Point& p : points) {
        pixels.push_back(RecordedPixel{p.x, p.y, colour});
    }
    return pixels;
}

struct ShapeCase {
    const char* name;
    int32_t x0, y0, x1, y1;
    std::vector<Point> pixels; // in stepping order, only those inside the framebuffer
};

TEST(GradientLine, PixelsInSteppingOrder) {
    const ShapeCase cases[] = {
        {"flat",
         0,
         0,
         10,
         3,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 2}, {10, 3}}},
        {"flat passed backwards",
         10,
         3,
         0,
         0,
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}, {5, 1}, {6, 1}, {7, 2}, {8, 2}, {9, 2}, {10, 3}}},
        {"slope one steps along y", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"slope one backwards", 3, 3, 0, 0, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"steep",
         0,
         0,
         1,
         10,
         {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}, {0, 9}, {1, 10}}},
        {"truncation toward zero", -3, -1, 3, 1, {{0, 0}, {1, 0}, {2, 0}, {3, 1}}},
        {"falling, negative part dropped", 0, 0, 5, -2, {{0, 0}, {1, 0}, {2, 0}}},
        {"vertical backwards", 4, 3, 4, 0, {{4, 0}, {4, 1}, {4, 2}, {4, 3}}},
        {"horizontal backwards", 3, 7, 0, 7, {{0, 7}, {1, 7}, {2, 7}, {3, 7}}},
        {"single point", 5, 6, 5, 6, {{5, 6}}},
        {"single point outside", -1, 6, -1, 6, {}},
        {"vertical left of the framebuffer", -1, 0, -1, 9, {}},
        {"horizontal below the framebuffer", 0, 200, 9, 200, {}},
        // Slope and intercept are taken before the exchange: the order of the end points can
        // move the last pixel.
        {"intercept from the first point (forward)",
         0,
         0,
         19,
         21,
         {{0, 0},   {0, 1},   {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {6, 7},
          {7, 8},   {8, 9},   {9, 10},  {9, 11},  {10, 12}, {11, 13}, {12, 14}, {13, 15},
          {14, 16}, {15, 17}, {16, 18}, {17, 19}, {18, 20}, {18, 21}}},
        {"intercept from the first point (backward)",
         19,
         21,
         0,
         0,
         {{0, 0},   {0, 1},   {1, 2},   {2, 3},   {3, 4},   {4, 5},   {5, 6},   {6, 7},
          {7, 8},   {8, 9},   {9, 10},  {9, 11},  {10, 12}, {11, 13}, {12, 14}, {13, 15},
          {14, 16}, {15, 17}, {16, 18}, {17, 19}, {18, 20}, {19, 21}}},
        {"distant end points, only the inside stepped", -2000000000, 5, 2000000000, 5, {}},
        {"right and bottom edges",
         199,
         190,
         199,
         205,
         {{199, 190},
          {199, 191},
          {199, 192},
          {199, 193},
          {199, 194},
          {199, 195},
          {199, 196},
          {199, 197},
          {199, 198},
          {199, 199}}},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Point> expected = c.pixels;
        if (std::string(c.name) == "distant end points, only the inside stepped") {
            for (int32_t x = 0; x < 200; ++x) {
                expected.push_back(Point{x, 5});
            }
        }
        EXPECT_EQ(Draw(c.x0, c.y0, c.x1, c.y1, 0xFF123456u, 0xFF123456u),
                  OneColour(expected, 0xFF123456u));
    }
}

struct ColourCase {
    const char* name;
    int32_t x0, y0, x1, y1;
    FbwColour colour0, colour1;
    std::vector<RecordedPixel> pixels;
};

TEST(GradientLine, ColoursInSteppingOrder) {
    const ColourCase cases[] = {
        {"black to white",
         0,
         0,
         3,
         0,
         0x000000,
         0xFFFFFF,
         {{0, 0, 0x000000}, {1, 0, 0x3F3F3F}, {2, 0, 0x7F7F7F}, {3, 0, 0xBFBFBF}}},
        {"two steps", 0, 0, 1, 0, 0x000000, 0x0000FF, {{0, 0, 0x000000}, {1, 0, 0x00007F}}},
        {"colour0 at the smaller x whichever end comes first",
         10,
         0,
         0,
         0,
         0xFF0000,
         0x0000FF,
         {{0, 0, 0xFF0000},
          {1, 0, 0xE70017},
          {2, 0, 0xD0002E},
          {3, 0, 0xB90045},
          {4, 0, 0xA2005C},
          {5, 0, 0x8B0073},
          {6, 0, 0x73008B},
          {7, 0, 0x5C00A2},
          {8, 0, 0x4500B9},
          {9, 0, 0x2E00D0},
          {10, 0, 0x1700E7}}},
        {"steep, colour0 at the smaller y",
         0,
         5,
         4,
         0,
         0xFF0000,
         0x00FF00,
         {{4, 0, 0xFF0000},
          {3, 1, 0xD42A00},
          {2, 2, 0xAA5500},
          {1, 3, 0x7F7F00},
          {0, 4, 0x55AA00},
          {0, 5, 0x2AD400}}},
        {"vertical, colour0 at the smaller y",
         2,
         3,
         2,
         0,
         0x000010,
         0x000000,
         {{2, 0, 0x000010}, {2, 1, 0x00000C}, {2, 2, 0x000008}, {2, 3, 0x000004}}},
        {"equal words keep the top byte", 5, 5, 5, 5, 0xFF000005, 0xFF000005, {{5, 5, 0xFF000005}}},
        {"one-step gradient clears the top byte",
         5,
         5,
         5,
         5,
         0xFF000005,
         0x00000007,
         {{5, 5, 0x00000005}}},
        {"words differing only in the top byte",
         0,
         0,
         2,
         0,
         0xAB123456,
         0x00123456,
         {{0, 0, 0x123456}, {1, 0, 0x123456}, {2, 0, 0x123456}}},
        {"gradient entering from the left keeps the colours of the skipped steps",
         -7,
         1,
         2,
         1,
         0x000000,
         0x0000FF,
         // step 255/10: steps 7, 8, 9 of 10
         {{0, 1, 0x0000B2}, {1, 1, 0x0000CC}, {2, 1, 0x0000E5}}},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Draw(c.x0, c.y0, c.x1, c.y1, c.colour0, c.colour1), c.pixels);
    }
}

// Every step of a line, the way the line is defined, with nothing skipped: what the drawing
// code must store for the steps inside the framebuffer.
std::vector<RecordedPixel> EveryStep(int64_t x0, int64_t y0, int64_t x1, int64_t y1, FbwColour c0,
                                     FbwColour c1, int32_t width, int32_t height) {
    std::vector<RecordedPixel> out;
    auto put = [&](int64_t x, int64_t y, FbwColour colour) {
        if (x >= 0 && y >= 0 && x < width && y < height) {
            out.push_back(RecordedPixel{static_cast<int32_t>(x), static_cast<int32_t>(y), colour});
        }
    };
    bool alongY;
    double m = 0.0, b = 0.0;
    int kind; // 0 vertical, 1 horizontal, 2 flat, 3 steep
    if (x0 == x1) {
        kind = 0;
        if (y0 > y1)
            std::swap(y0, y1);
        alongY = true;
    } else if (y0 == y1) {
        kind = 1;
        if (x0 > x1)
            std::swap(x0, x1);
        alongY = false;
    } else {
        m = static_cast<double>(y1 - y0) / static_cast<double>(x1 - x0);
        b = static_cast<double>(y0) - m * static_cast<double>(x0);
        if (m < 1.0 && m > -1.0) {
            kind = 2;
            alongY = false;
            if (x0 > x1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
        } else {
            kind = 3;
            alongY = true;
            if (y0 > y1) {
                std::swap(x0, x1);
                std::swap(y0, y1);
            }
        }
    }
    const int64_t first = alongY ? y0 : x0;
    const int64_t last = alongY ? y1 : x1;
    const int64_t n = last - first + 1;
    double acc[3], step[3];
    for (int k = 0; k < 3; ++k) {
        acc[k] = static_cast<double>((c0 >> (8 * k)) & 0xFF);
        step[k] = (static_cast<double>((c1 >> (8 * k)) & 0xFF) - acc[k]) / static_cast<double>(n);
    }
    for (int64_t p = first; p <= last; ++p) {
        FbwColour colour = c0;
        if (c0 != c1) {
            colour = 0;
            for (int k = 0; k < 3; ++k) {
                colour |= (static_cast<FbwColour>(static_cast<int32_t>(acc[k])) & 0xFF) << (8 * k);
            }
        }
        switch (kind) {
        case 0:
            put(x0, p, colour);
            break;
        case 1:
            put(p, y0, colour);
            break;
        case 2:
            put(p, static_cast<int64_t>(m * static_cast<double>(p) + b), colour);
            break;
        default:
            put(static_cast<int64_t>((static_cast<double>(p) - b) / m), p, colour);
            break;
        }
        for (int k = 0; k < 3; ++k) {
            acc[k] += step[k];
        }
    }
    return out;
}

// Far-off end points: the drawing code skips the steps outside the framebuffer, which must
// leave every pixel inside, and its colour, exactly as stepping through them would. The
// colours are the sharp part: the accumulators must land bit for bit where repeated additions
// would have taken them.
TEST(GradientLine, FarEndPointsStoreWhatEveryStepWould) {
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int32_t> nearby(-40, 240);
    std::uniform_int_distribution<int32_t> distant(-300000, 300000);
    std::uniform_int_distribution<uint32_t> colour(0, 0xFFFFFF);
    std::uniform_int_distribution<int32_t> which(0, 3);
    int compared = 0;
    for (int i = 0; i < 400; ++i) {
        int32_t x0 = nearby(random), y0 = nearby(random);
        int32_t x1 = distant(random), y1 = distant(random);
        switch (which(random)) {
        case 0:
            y1 = nearby(random);
            break; // mostly flat
        case 1:
            x1 = nearby(random);
            break; // mostly steep
        case 2:
            std::swap(x0, x1);
            std::swap(y0, y1);
            break; // distant end first
        default:
            break;
        }
        FbwColour c0 = colour(random), c1 = colour(random);
        if (i % 5 == 0) {
            c1 = c0 ^ 0x000001; // a tiny step: the accumulator barely moves
        }
        std::vector<RecordedPixel> expected = EveryStep(x0, y0, x1, y1, c0, c1, 200, 200);
        compared += static_cast<int>(expected.size());
        ASSERT_EQ(Draw(x0, y0, x1, y1, c0, c1), expected)
            << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ") " << std::hex << c0 << " "
            << c1;
    }
    EXPECT_GT(compared, 10000);
}

// Step counts that make the channel steps short binary fractions (powers of two), whose
// additions can round to even on ties, entered from distant away.
TEST(GradientLine, SkippedStepsWithShortFractionSteps) {
    const int32_t lengths[] = {256, 1024, 4096, 65536, 262144, 1 << 20, 3 << 18, 1000000};
    const FbwColour pairs[][2] = {
        {0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x7F8081, 0x010203}, {0x000000, 0x000003}};
    for (int32_t n : lengths) {
        for (const auto& pair : pairs) {
            int32_t x0 = 150 - n; // n + 1 steps, the last 51 inside
            SCOPED_TRACE(n);
            ASSERT_EQ(Draw(x0, 9, 200, 9, pair[0], pair[1]),
                      EveryStep(x0, 9, 200, 9, pair[0], pair[1], 200, 200));
            ASSERT_EQ(Draw(7, x0, 7, 200, pair[0], pair[1]),
                      EveryStep(7, x0, 7, 200, pair[0], pair[1], 200, 200));
            ASSERT_EQ(Draw(x0, 3, 199, 150, pair[0], pair[1]),
                      EveryStep(x0, 3, 199, 150, pair[0], pair[1], 200, 200));
        }
    }
}

// End points at the ends of the 32-bit range: no overflow (the sanitizer build checks), no
// time in proportion to the distance, and the pixels that land inside lie on the diagonal.
TEST(GradientLine, ExtremeEndPoints) {
    std::vector<RecordedPixel> pixels =
        Draw(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0xFFFFFF);
    ASSERT_EQ(pixels.size(), 200u);
    for (const RecordedPixel& p : pixels) {
        EXPECT_EQ(p.x, p.y);
    }
    EXPECT_EQ(Draw(INT32_MAX, INT32_MIN, INT32_MIN, INT32_MAX, 0xFF, 0xFF).size(), 0u);
    EXPECT_EQ(Draw(INT32_MIN, 0, INT32_MAX, 0, 0x10, 0x20).size(), 200u);
}

} // namespace
