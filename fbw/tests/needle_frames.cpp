#include "needle_frames.h"

#include <vector>

#include "draw.h"
#include "fbw_core.h"

namespace {

const int32_t side = 700;

struct Target {
    int32_t x;
    int32_t y;
};

// Anywhere in the window; exactly on a grid point; three pixels from a grid point (a needle
// shortened to the distance); far outside, beyond 32-bit squared distances; eight pixels up and
// left of the first needle, which then ends exactly on the target, x = 20 + 11 cos(acos(-8/11)):
// one ulp of acos or cos decides whether the tip truncates to 12 or to 11, and the Linux and
// Windows math libraries round those two ulps apart.
const Target targets[] = {{412, 287}, {335, 335}, {203, 198}, {60000, -45000}, {12, 12}};

} // namespace

std::string NeedleFramesPpm() {
    const int32_t frames = static_cast<int32_t>(sizeof targets / sizeof targets[0]);
    std::string ppm =
        "P6\n" + std::to_string(side) + " " + std::to_string(side * frames) + "\n255\n";
    std::vector<FbwColour> pixels(static_cast<size_t>(side) * side);
    FbwAttachPixels(pixels.data(), side, side);
    FbwKeepOpenSettings("TitleQZ", 150);
    for (const Target& target : targets) {
        FbwClear();
        for (int32_t y = 20; y <= 680; y += 45) {
            for (int32_t x = 20; x <= 680; x += 45) {
                DrawNeedle(x, y, 20, target.x, target.y, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
            }
        }
        for (FbwColour colour : pixels) {
            ppm += static_cast<char>((colour >> 16) & 0xFF);
            ppm += static_cast<char>((colour >> 8) & 0xFF);
            ppm += static_cast<char>(colour & 0xFF);
        }
    }
    FbwDetachPixels();
    return ppm;
}
