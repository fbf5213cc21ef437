#include <gtest/gtest.h>

#include "draw.h"
#include "fbw_core.h"

TEST(Smoke, Line) {
    static FbwColour pixels[100];
    FbwAttachPixels(pixels, 10, 10);
    DrawGradientLine(0, 0, 9, 9, 1, 1);
    EXPECT_EQ(pixels[99], 1u);
    DrawNeedle(5, 5, 20, 100, 100, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
    FbwDetachPixels();
}
