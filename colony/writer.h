// The locked cell writer: the only way output reaches the console.
#pragma once
#include <cstdio>

// Where Write puts its text: standard output in the program.
extern std::FILE* out;

// Writes the formatted text starting at cell (x, y) in attribute attr: select, text and
// flush as one unit under the lock.
void Write(int x, int y, int attr, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;

// Writes the single character ch at cell (x, y) in attribute attr, under the lock.
void Write(int x, int y, int attr, char ch);

// The row for the next status line: 2, 3, ..., 20, 1, 2, ... from program start.
int nextY();

// How many Writes have completed since the program started.
long WriteCount();
