// Arrows and needles: which lines they draw, in which order, with which colours. The expected
// pixels come from the gradient lines the shapes are made of (tested on their own).
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "draw.h"
#include "pixel_recorder.h"

namespace {

const double halfPi = 1.5707963267948966;

struct Segment {
    int32_t x0, y0, x1, y1;
    FbwColour colour0, colour1;
};

std::vector<RecordedPixel> Lines(const std::vector<Segment>& segments) {
    StartRecording(200, 200);
    for (const Segment& s : segments) {
        DrawGradientLine(s.x0, s.y0, s.x1, s.y1, s.colour0, s.colour1);
    }
    return TakeRecording();
}

// The needle toward a target, recorded (base 100, 100; length 20; the demo's colours).
std::vector<RecordedPixel> Needle(int32_t targetX, int32_t targetY) {
    StartRecording(200, 200);
    DrawNeedle(100, 100, 20, targetX, targetY, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
    return TakeRecording();
}

std::vector<RecordedPixel> Prefix(std::vector<RecordedPixel> pixels, size_t count) {
    pixels.resize(count < pixels.size() ? count : pixels.size());
    return pixels;
}

const FbwColour red = 0xFF0000, blue = 0x0000FF;

struct NeedleCase {
    const char* name;
    int32_t targetX, targetY;
    std::vector<Segment> lines; // front shaft, its barbs, back shaft, its barbs
};

TEST(Needle, LinesAndColours) {
    const FbwColour tip25 = 0xFFBF00, base25 = 0xBFBF3F;   // f = 0.25
    const FbwColour tip05 = 0xFFF200, base05 = 0xF2F20C;   // f = 0.05
    const FbwColour tip005 = 0xFFFD00, base005 = 0xFDFD01; // f = 0.005
    const NeedleCase cases[] = {
        {"at the blend distance, unblended",
         300,
         100,
         {{100, 100, 120, 100, blue, red},
          {120, 100, 115, 96, red, blue},
          {120, 100, 115, 103, blue, red},
          {100, 100, 80, 100, red, blue},
          {80, 100, 84, 103, blue, red},
          {80, 100, 84, 96, red, blue}}},
        {"a quarter of the blend distance",
         150,
         100,
         {{100, 100, 120, 100, base25, tip25},
          {120, 100, 115, 96, tip25, base25},
          {120, 100, 115, 103, base25, tip25},
          {100, 100, 80, 100, tip25, base25},
          {80, 100, 84, 103, base25, tip25},
          {80, 100, 84, 96, tip25, base25}}},
        {"closer than its length: shortened",
         110,
         100,
         {{100, 100, 110, 100, base05, tip05},
          {110, 100, 107, 98, tip05, base05},
          {110, 100, 107, 101, base05, tip05},
          {100, 100, 90, 100, tip05, base05},
          {90, 100, 92, 101, base05, tip05},
          {90, 100, 92, 98, tip05, base05}}},
        {"diagonal neighbour points straight right",
         101,
         101,
         {{100, 100, 101, 100, base005, tip005},
          {101, 100, 101, 100, tip005, base005},
          {101, 100, 101, 100, base005, tip005},
          {100, 100, 99, 100, tip005, base005},
          {99, 100, 99, 100, base005, tip005},
          {99, 100, 99, 100, tip005, base005}}},
        {"far beyond the 32-bit squared distance",
         50100,
         100,
         {{100, 100, 120, 100, blue, red},
          {120, 100, 115, 96, red, blue},
          {120, 100, 115, 103, blue, red},
          {100, 100, 80, 100, red, blue},
          {80, 100, 84, 103, blue, red},
          {80, 100, 84, 96, red, blue}}},
    };
    for (const NeedleCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Needle(c.targetX, c.targetY), Lines(c.lines));
    }
}

TEST(Needle, StraightBelowLeansOnePixelLeft) {
    std::vector<RecordedPixel> shaft = Lines({{100, 100, 99, 120, blue, red}});
    EXPECT_EQ(Prefix(Needle(100, 300), shaft.size()), shaft);
}

TEST(Needle, StraightAbove) {
    const FbwColour tip = 0xFFBF00, base = 0xBFBF3F; // 50 away: f = 0.25
    std::vector<RecordedPixel> head = Lines({{100, 100, 100, 80, base, tip},
                                             {100, 80, 96, 84, tip, base},
                                             {100, 80, 103, 84, base, tip}});
    EXPECT_EQ(Prefix(Needle(100, 50), head.size()), head);
}

// The same direction at any distance beyond the blend distance draws the same needle, also
// where the squared distance no longer fits 32 bits (3-4-5 triangles).
TEST(Needle, SameDirectionFarAway) {
    EXPECT_EQ(Needle(100 + 30000, 100 + 40000), Needle(100 + 120, 100 + 160));
    EXPECT_EQ(Needle(100 - 1200000, 100 - 1600000), Needle(100 - 120, 100 - 160));
}

// A target on the base has no direction: only the blend is defined, and nothing is drawn.
TEST(Needle, TargetOnTheBaseDrawsNothing) {
    EXPECT_TRUE(Needle(100, 100).empty());
}

TEST(Needle, ZeroBlendDistanceBlendsNothing) {
    StartRecording(200, 200);
    DrawNeedle(100, 100, 20, 300, 100, 0xFFFF00, 0xFF0000, 0x0000FF, 0.0);
    std::vector<RecordedPixel> drawn = TakeRecording();
    EXPECT_EQ(drawn, Needle(300, 100));
    StartRecording(200, 200);
    DrawNeedle(100, 100, 20, 100, 100, 0xFFFF00, 0xFF0000, 0x0000FF, 0.0);
    EXPECT_TRUE(TakeRecording().empty());
}

// Extreme arguments: no overflow, no NaN converted, no time in proportion to the distances
// (the sanitizer build traps undefined behaviour).
TEST(Needle, ExtremeArgumentsAreSafe) {
    const int32_t values[] = {INT32_MIN, -46341, -1, 0, 1, 46341, INT32_MAX};
    for (int32_t length : values) {
        for (int32_t tx : values) {
            for (int32_t ty : values) {
                StartRecording(200, 200);
                DrawNeedle(100, 100, length, tx, ty, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
                DrawNeedle(tx, ty, length, 100, 100, 0xFFFF00, 0xFF0000, 0x0000FF, -1e300);
                DrawArrowTo(100, 100, tx, ty, length, 0.6, 0x123456);
                DrawArrowTo(tx, ty, ty, tx, length, 0.6, 0x123456);
                DrawArrow(tx, ty, length, length, 0.0, 0.5, 0x10, 0x20);
                TakeRecording();
            }
        }
    }
    const double angles[] = {0.0, 1e300, -1e300, std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
    for (double angle : angles) {
        StartRecording(200, 200);
        DrawArrow(100, 100, 30, 10, angle, angle, 0x10, 0x20);
        TakeRecording();
    }
}

struct ArrowCase {
    const char* name;
    int32_t x, y, length, headLength;
    double angle, headAngle;
    std::vector<Segment> lines;
};

TEST(Arrow, ShaftThenBothBarbs) {
    const FbwColour c0 = 0x102030, c1 = 0x405060;
    const ArrowCase cases[] = {
        {"up, lopsided head",
         50,
         50,
         30,
         10,
         halfPi,
         0.5,
         {{50, 50, 50, 20, c0, c1}, {50, 20, 45, 28, c1, c0}, {50, 20, 54, 28, c0, c1}}},
        {"negative length and head point the other way",
         50,
         50,
         -30,
         -10,
         0.0,
         0.5,
         {{50, 50, 20, 50, c0, c1}, {20, 50, 28, 54, c1, c0}, {20, 50, 28, 45, c0, c1}}},
    };
    for (const ArrowCase& c : cases) {
        SCOPED_TRACE(c.name);
        StartRecording(200, 200);
        DrawArrow(c.x, c.y, c.length, c.headLength, c.angle, c.headAngle, c0, c1);
        std::vector<RecordedPixel> drawn = TakeRecording();
        EXPECT_EQ(drawn, Lines(c.lines));
    }
}

TEST(ArrowTo, HeadCutToTheLengthAndOneColour) {
    const FbwColour c = 0xFF00FF00;
    StartRecording(200, 200);
    DrawArrowTo(0, 0, 10, 0, 20, 0.6, c);
    std::vector<RecordedPixel> drawn = TakeRecording();
    EXPECT_EQ(drawn, Lines({{0, 0, 10, 0, c, c}, {10, 0, 1, -5, c, c}, {10, 0, 1, 5, c, c}}));
}

TEST(ArrowTo, EqualPointsDrawNothing) {
    StartRecording(200, 200);
    DrawArrowTo(7, 7, 7, 7, 5, 0.6, 0xFFFFFF);
    EXPECT_TRUE(TakeRecording().empty());
}

TEST(ArrowTo, FarTargetDrawsTheVisibleShaft) {
    StartRecording(200, 200);
    DrawArrowTo(100, 199, 2000000000, 199, 20, 0.6, 0x00FF00);
    std::vector<RecordedPixel> drawn = TakeRecording();
    EXPECT_EQ(drawn, Lines({{100, 199, 300, 199, 0x00FF00, 0x00FF00}}));
}

} // namespace
