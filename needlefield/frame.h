// The needle field's frame logic, apart from any window or desktop: where the cursor goes next
// on the figure-eight, which point the needles turn toward, and where the needles stand.
#pragma once

#include <cstdint>

#include "fbw.h"

// Screen positions of the figure's centre and of the cursor as last placed by the program.
struct FrameState {
    int32_t centreX;
    int32_t centreY;
    int32_t lastX;
    int32_t lastY;
    double phase; // radians; grows without bound
};

const int32_t startX = 350; // centre and cursor start here, on the screen
const int32_t startY = 350;
const double phaseStep = 0.05;
const int32_t figureAmplitude = 300;
const int32_t gridFirst = 20; // needle rows and columns: 20, 65, ..., 650
const int32_t gridStep = 45;
const int32_t gridBound = 680; // inclusive
const int32_t gridCount = (gridBound - gridFirst) / gridStep + 1;

// Centre and cursor at the start position, phase 0.
void FrameStart(FrameState* state);

// One frame's cursor move: the centre follows whatever the user moved the cursor since the
// program last placed it (cursor is its screen position now), the phase advances, and
// lastX/lastY become the next point of the figure-eight around the centre, where the caller
// puts the cursor.
void FrameStep(FrameState* state, POINT cursor);

// The needles turn toward the middle of the cursor image, not its hot spot; cursor is in client
// coordinates.
void FrameTarget(POINT cursor, int32_t cursorWidth, int32_t cursorHeight, int32_t* targetX,
                 int32_t* targetY);

// Row or column position number index (0 .. gridCount - 1).
int32_t GridPosition(int32_t index);
