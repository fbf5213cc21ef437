// trisketch: draws the outlines of the triangles listed in a text file straight onto the
// screen, over a white area at its top-left corner, waits for one key at the console and has
// every window repaint, which removes the drawing.
//
// Usage: trisketch FILE
//
// FILE holds decimal integers separated by any white space: the number of triangles, then
// x1 y1 x2 y2 x3 y3 for each, in pixels. Every vertex is drawn 100 pixels right of and below
// its position in the file.
//
// Exit status: 0 after the key and the repaint; -1 when the screen cannot be drawn on; 1 when
// the list has more triangles than the program can hold; the abort path, after one report on
// standard error, when no file was named or it cannot be opened.

#include "check.h"
#include "screen.h"
#include "triangles.h"

#include <cstdio>

int main(int argc, char** argv) {
    // The list replaces standard input, so that the key is taken from the console only.
    TRISKETCH_CHECK(argc >= 2 && freopen(argv[1], "rt", stdin));

    if (!ReadTriangles(stdin)) {
        // Refused before anything is drawn: the tables have room for no more.
        fprintf(stderr, "trisketch: the list has %ld triangles, at most %d can be drawn\n",
                long(triangleCount), int(triangleCapacity));
        return 1;
    }

    if (!ScreenOpen()) {
        return -1;
    }
    ScreenSelectWhiteBrush();
    ScreenRectangle(0, 0, 1024, 768);

    // Every vertex is moved before the first line is drawn.
    OffsetTriangles();
    static OutlineStep steps[maxOutlineSteps];
    int n = PlanOutlines(steps);
    for (int k = 0; k < n; ++k) {
        if (steps[k].lineTo) {
            ScreenLineTo(steps[k].x, steps[k].y);
        } else {
            ScreenMoveTo(steps[k].x, steps[k].y);
        }
    }
    // Given back before the wait: the drawing stays on the screen without it.
    ScreenRelease();

    ScreenWaitKey();
    ScreenRepaint(0, 0, 1024, 768);
    return 0;
}
