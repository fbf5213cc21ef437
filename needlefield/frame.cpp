#include "frame.h"

#include "fbw_math.h"

// The centre can only drift as far as the user moves the cursor off the figure, and the
// cursor stays on the screen, so these bounds are never reached by a real desktop; they keep
// the integer and truncating arithmetic defined for any values a port may report.
static const int64_t centreLimit = 1 << 30;

static int32_t ClampCentre(int64_t value) {
    if (value > centreLimit) {
        return static_cast<int32_t>(centreLimit);
    }
    if (value < -centreLimit) {
        return static_cast<int32_t>(-centreLimit);
    }
    return static_cast<int32_t>(value);
}

void FrameStart(FrameState* state) {
    state->centreX = startX;
    state->centreY = startY;
    state->lastX = startX;
    state->lastY = startY;
    state->phase = 0.0;
}

void FrameStep(FrameState* state, POINT cursor) {
    state->centreX =
        ClampCentre(int64_t{state->centreX} + int64_t{cursor.x} - int64_t{state->lastX});
    state->centreY =
        ClampCentre(int64_t{state->centreY} + int64_t{cursor.y} - int64_t{state->lastY});
    state->phase += phaseStep;
    // 150 sin 2p across and 300 sin p down: a figure-eight, truncated toward zero. The
    // library's sine and cosine give the same bits on every target, so the cursor runs the
    // same path on both.
    double sinPhase = FbwSin(state->phase);
    state->lastX =
        static_cast<int32_t>(sinPhase * (figureAmplitude * FbwCos(state->phase)) + state->centreX);
    state->lastY = static_cast<int32_t>(figureAmplitude * sinPhase + state->centreY);
}

void FrameTarget(POINT cursor, int32_t cursorWidth, int32_t cursorHeight, int32_t* targetX,
                 int32_t* targetY) {
    *targetX = cursorWidth / 2 + cursor.x;
    *targetY = cursorHeight / 2 + cursor.y;
}

int32_t GridPosition(int32_t index) {
    return gridFirst + index * gridStep;
}
