// The triangle list: reading it from a stream, moving it to its drawing positions, and the
// outline calls that draw it. Nothing here needs a screen.
#pragma once

#include <cstdint>
#include <cstdio>

// The tables hold this many triangles; a longer list is refused before anything is drawn.
enum { triangleCapacity = 100 };
// Every coordinate is shifted right and down by this many pixels before drawing.
enum { triangleOffset = 100 };

extern int32_t triangleCount;
extern int32_t vertexX[triangleCapacity][3];
extern int32_t vertexY[triangleCapacity][3];

// One decimal conversion as "%d" makes it: white space skipped, an optional sign, the digits up
// to the first character that is not one. Returns 1 and stores the number, or returns 0 and
// leaves the slot alone when no digit follows (the sign, if any, is consumed; the character
// that failed is not). A number outside the 32-bit range is stored clamped to it.
int ScanNumber(FILE* in, int32_t* slot);

// Reads the count, then for each triangle its three vertices, each vertex as one "%d%d" call:
// the first failed conversion ends its call, and every later one then fails as well, so the
// values after it stay as they were (0 at start). Nothing after the count is read when it is 0
// or less, nor past the last triangle it asks for. Returns 0, having read only the count, when
// the count is above the capacity; 1 otherwise.
int ReadTriangles(FILE* in);

// Shifts every vertex of the triangles read to its drawing position; a coordinate near the
// top of the 32-bit range stops at its largest value instead of wrapping.
void OffsetTriangles();

// One call of the outline drawing: a move of the current position or a line from it.
struct OutlineStep {
    int lineTo; // 0: move to (x, y); 1: line to (x, y), the end point excluded
    int32_t x;
    int32_t y;
};
enum { maxOutlineSteps = 4 * triangleCapacity };

// Each triangle in file order as a closed outline: move to its third vertex, then lines to the
// first, the second and back to the third. Returns the number of steps written.
int PlanOutlines(OutlineStep steps[maxOutlineSteps]);
