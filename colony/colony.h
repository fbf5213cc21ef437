// The colony's threads: the keyboard thread and one thread per bacterium.
#pragma once

// The keyboard thread: one status line per key press; ESC ends the program. Returns when the
// input can no longer be read. Its argument is ignored.
void KeyHandler(void*);

// One bacterium: its birth line, then a random step every 50 ms, without end. Its argument
// is the bacterium's record (letter, colour), which the thread owns and frees.
void Bacteria(void* record);

// The status line of a newborn bacterium, written with the clock reading at its birth.
extern const char birthLine[];
