#include "pixel_recorder.h"

int32_t fbWidth = 0;
int32_t fbHeight = 0;

static std::vector<RecordedPixel> recorded;

void StartRecording(int32_t width, int32_t height) {
    fbWidth = width;
    fbHeight = height;
    recorded.clear();
}

std::vector<RecordedPixel> TakeRecording() {
    std::vector<RecordedPixel> taken;
    taken.swap(recorded);
    return taken;
}

void FbwPutPixel(int32_t x, int32_t y, FbwColour colour) {
    if (x < 0 || y < 0 || x >= fbWidth || y >= fbHeight) {
        return;
    }
    recorded.push_back(RecordedPixel{x, y, colour});
}
