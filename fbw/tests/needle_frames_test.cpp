// The needle field toward fixed targets must match the checked-in picture byte for byte, in
// every build. After a deliberate change of the drawing, rewrite the picture with the
// fbw_needle_frames tool of the native build (see CMakeLists.txt) and look at it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "needle_frames.h"

namespace {

std::string ReadFile(const char* path) {
    std::string content;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return content;
    }
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, got);
    }
    std::fclose(file);
    return content;
}

TEST(NeedleFrames, MatchTheReferencePicture) {
    const std::string expected = ReadFile(FBW_NEEDLE_FRAMES_PPM);
    ASSERT_FALSE(expected.empty()) << "cannot read " << FBW_NEEDLE_FRAMES_PPM;
    const std::string drawn = NeedleFramesPpm();
    ASSERT_EQ(drawn.size(), expected.size());
    size_t differing = 0;
    size_t first = drawn.size();
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i] != expected[i]) {
            ++differing;
            if (first == drawn.size()) {
                first = i;
            }
        }
    }
    EXPECT_EQ(differing, 0u) << "first differing byte at offset " << first;
}

} // namespace
