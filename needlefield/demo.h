// The needle field demo: opens its window, then moves the cursor and draws the needles frame
// by frame until ESC.
#pragma once

// Returns 0 after ESC, 1 (with one line on stderr) when the window cannot be opened. Closing
// the window ends the process from the window side with status 0 instead.
int RunNeedleField();
