// Drawing primitives on the framebuffer: every pixel lands where FbwPutPixel would put it, so
// everything is clipped to the framebuffer, and steps outside it cost nothing however far the
// end points lie. Angles are radians counter-clockwise from +x with y up. Coordinates and
// distances never overflow, and a shape with no direction (a target on its base) draws no arrows.
#pragma once

#include <cstdint>

#include "fbw.h"

// A one-pixel line including both end points; one colour when colour0 == colour1 (all 32 bits),
// otherwise a per-channel gradient from colour0 at the first step (smaller x for flat lines,
// smaller y for steep ones), top byte cleared.
void DrawGradientLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, FbwColour colour0,
                      FbwColour colour1);

// An arrow from (x, y) of the given length and angle: shaft, then two barbs of headLength
// turned by headAngle to either side.
void DrawArrow(int32_t x, int32_t y, int32_t length, int32_t headLength, double angle,
               double headAngle, FbwColour colour0, FbwColour colour1);

// A one-colour arrow from (x0, y0) toward (x1, y1).
void DrawArrowTo(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t headLength,
                 double headAngle, FbwColour colour);

// A two-headed needle centred on (x, y), turned toward the target, its colours blended toward
// nearColour as the target comes within blendDistance.
void DrawNeedle(int32_t x, int32_t y, int32_t length, int32_t targetX, int32_t targetY,
                FbwColour nearColour, FbwColour tipColour, FbwColour baseColour,
                double blendDistance);
