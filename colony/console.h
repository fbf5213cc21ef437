// The console as the colony sees it: cells, attributes, a clear screen and key events.
// One port per platform (console_win32.cpp, console_posix.cpp) implements these.
#pragma once

// One console input event; only key events carry a character.
struct KeyEvent {
    int isKey; // 1 for a key press or release, 0 for any other event (mouse, focus, size)
    int down;  // 1 for a press, 0 for a release
    int ch;    // the character as a signed 8-bit value; 0 for keys that give no character
};

// Takes hold of the console: sets the output and input handles `h` and `in`, and readies
// the input for single key presses. Called once by main before any other thread exists.
void OpenConsole();

// Blanks the console and puts the cursor at cell (0, 0).
void ClearConsole();

// Moves the cursor to column x, row y (both from 0) and sets the text attribute; the text
// written next to standard output lands there. Callers hold the lock.
void Select(int x, int y, int attr);

// Waits for the next console input event. Returns 0 when no more input can be read (the
// input is not a console, or it has ended): the caller stops reading.
int ReadKeyEvent(KeyEvent* ev);
