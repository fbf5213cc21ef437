// The colony's rules, apart from any platform: the field, the step, the per-thread random
// generator, the spawner's draws and what a key event leads to.
#pragma once

#include "console.h"

// The field the bacteria walk on: columns 1..fieldWidth, rows 1..fieldHeight.
const int fieldWidth = 60;
const int fieldHeight = 25;

// Directions 0..3: right, left, down, up.
extern const int dx[4];
extern const int dy[4];

// A pseudo-random number in 0..32767 from the calling thread's own generator. A thread
// that never seeds starts from state 1, so its sequence is the same in every run.
int Rand();
// Seeds the calling thread's generator; other threads' sequences are left alone.
void Srand(unsigned seed);

// Moves (x, y) one cell in direction d when the cell there lies in the field; otherwise
// leaves both unchanged. Returns 1 when it moved.
int Step(int* x, int* y, int d);

// The start cell of a bacterium: column first, then row, each one draw.
void StartCell(int* x, int* y);

// A new bacterium's record: byte 0 the letter 'A'..'Z' (first draw), byte 1 the colour
// 1..15 (second draw).
void DrawBacterium(char record[2]);

// Creates one bacterium: draws its record and starts its thread with start(body, record).
// When the thread cannot be started the record is freed again. Returns what start returned.
int SpawnBacterium(int (*start)(void (*)(void*), void*), void (*body)(void*));

enum KeyAction { keyIgnore, keyEnd, keyLine };

// What the keyboard thread does with one input event.
KeyAction KeyActionOf(const KeyEvent& ev);
