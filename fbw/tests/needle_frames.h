// The demo's needle field drawn toward a few fixed targets, as one binary PPM image with the
// frames stacked top to bottom: the reference picture both builds must draw byte for byte.
#pragma once

#include <cstdint>
#include <string>

// Draws the frames and returns the whole PPM file.
std::string NeedleFramesPpm();
