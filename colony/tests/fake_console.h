// A console for the tests: Select leaves a marker "\x01x,y,attr\x02" in the output stream,
// so a captured stream shows where and in what attribute each text was written, and key
// events come from a script.
#pragma once

#include <string>
#include <vector>

#include "console.h"

// The events ReadKeyEvent hands out, in order; after the last it reports the end of input.
void ScriptKeys(const std::vector<KeyEvent>& events);

// One Write as seen in the stream: its cell, its attribute and its text.
struct Piece {
    int x, y, attr;
    std::string text;
};

// Splits a captured stream at the markers. Text before the first marker is dropped.
std::vector<Piece> Pieces(const std::string& stream);

// Points the writer at a fresh temporary file; call before any thread writes.
void CaptureOutput();
// Everything written so far, read while holding the lock so that no Write is half-way.
std::string Captured();
