// A stand-in for the framebuffer core that records every pixel the drawing primitives store
// inside the framebuffer, in the order they store them.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "fbw.h"

struct RecordedPixel {
    int32_t x;
    int32_t y;
    FbwColour colour;
};

inline bool operator==(const RecordedPixel& a, const RecordedPixel& b) {
    return a.x == b.x && a.y == b.y && a.colour == b.colour;
}

inline std::ostream& operator<<(std::ostream& out, const RecordedPixel& p) {
    return out << "(" << p.x << "," << p.y << ")=0x" << std::hex << p.colour << std::dec;
}

// Starts a new recording on a framebuffer of width x height.
void StartRecording(int32_t width, int32_t height);
// What was stored since StartRecording (and clears it).
std::vector<RecordedPixel> TakeRecording();
