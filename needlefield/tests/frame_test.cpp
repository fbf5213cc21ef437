#include "frame.h"

#include <gtest/gtest.h>

namespace {

POINT At(int32_t x, int32_t y) {
    POINT point;
    point.x = x;
    point.y = y;
    return point;
}

// One frame in which the user leaves the mouse alone: the cursor is where it was put.
void Untouched(FrameState* state) {
    FrameStep(state, At(state->lastX, state->lastY));
}

TEST(NeedleFieldFrame, FirstFrameWithTheMouseUntouchedPlacesTheCursorAt364) {
    FrameState state;
    FrameStart(&state);
    EXPECT_EQ(350, state.lastX);
    EXPECT_EQ(350, state.lastY);
    Untouched(&state);
    EXPECT_EQ(350, state.centreX);
    EXPECT_EQ(350, state.centreY);
    EXPECT_DOUBLE_EQ(0.05, state.phase);
    // 364.975... and 364.993..., truncated.
    EXPECT_EQ(364, state.lastX);
    EXPECT_EQ(364, state.lastY);
}

// A move of (dx, dy) between two frames shifts the centre and every later cursor position by
// exactly that much, compared with the same run left alone. (Exactly while the figure stays at
// non-negative coordinates, as it does on the screen: truncation is toward zero.)
TEST(NeedleFieldFrame, UserMoveShiftsTheWholeFigure) {
    const struct {
        int32_t afterFrames;
        int32_t dx;
        int32_t dy;
    } cases[] = {{1, 40, 25}, {1, -17, 3}, {30, 0, -45}, {95, 250, 250}, {200, -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "move (" << c.dx << ", " << c.dy << ") after "
                                        << c.afterFrames << " frames");
        FrameState alone;
        FrameState moved;
        FrameStart(&alone);
        FrameStart(&moved);
        for (int32_t i = 0; i < c.afterFrames; ++i) {
            Untouched(&alone);
            Untouched(&moved);
        }
        Untouched(&alone);
        FrameStep(&moved, At(moved.lastX + c.dx, moved.lastY + c.dy));
        EXPECT_EQ(alone.centreX + c.dx, moved.centreX);
        EXPECT_EQ(alone.centreY + c.dy, moved.centreY);
        for (int32_t i = 0; i < 130; ++i) {
            ASSERT_EQ(alone.lastX + c.dx, moved.lastX) << "frame " << i;
            ASSERT_EQ(alone.lastY + c.dy, moved.lastY) << "frame " << i;
            Untouched(&alone);
            Untouched(&moved);
        }
    }
}

// Offsets are truncated toward zero after adding the centre: near a centre of 0 a negative
// -105.2 becomes -105, not -106. A cursor the system kept on the screen counts as user motion
// and pulls the centre back by the difference.
TEST(NeedleFieldFrame, TruncatesTowardZeroAndTakesAClampedCursorAsMotion) {
    FrameState state;
    FrameStart(&state);
    state.centreX = 0;
    state.centreY = 0;
    state.lastX = 0;
    state.lastY = 0;
    state.phase = 3.45; // next phase 3.5: sin -0.3508, cos -0.9365
    Untouched(&state);
    EXPECT_EQ(98, state.lastX);   // +98.55
    EXPECT_EQ(-105, state.lastY); // -105.23

    // The system kept the cursor at y = 0 instead of -105.
    FrameStep(&state, At(state.lastX, 0));
    EXPECT_EQ(0, state.centreX);
    EXPECT_EQ(105, state.centreY);
}

TEST(NeedleFieldFrame, TargetIsTheMiddleOfTheCursorImage) {
    const struct {
        int32_t x, y, width, height, targetX, targetY;
    } cases[] = {
        {100, 200, 32, 32, 116, 216}, // Win32's usual cursor size
        {0, 0, 33, 31, 16, 15},       // odd sizes: halves truncated
        {-5, -7, 32, 32, 11, 9},      // cursor left of and above the client area
        {700, 700, 0, 0, 700, 700},   // no cursor image: the hot spot itself
    };
    for (const auto& c : cases) {
        int32_t targetX = -1;
        int32_t targetY = -1;
        FrameTarget(At(c.x, c.y), c.width, c.height, &targetX, &targetY);
        EXPECT_EQ(c.targetX, targetX) << "cursor (" << c.x << ", " << c.y << ")";
        EXPECT_EQ(c.targetY, targetY) << "cursor (" << c.x << ", " << c.y << ")";
    }
}

TEST(NeedleFieldFrame, GridIs15By15From20To650) {
    ASSERT_EQ(15, gridCount);
    for (int32_t i = 0; i < gridCount; ++i) {
        EXPECT_EQ(20 + 45 * i, GridPosition(i));
    }
    EXPECT_EQ(650, GridPosition(gridCount - 1));
    EXPECT_GT(GridPosition(gridCount), gridBound);
}

} // namespace
