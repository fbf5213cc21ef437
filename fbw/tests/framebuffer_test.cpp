// The framebuffer core: clipping, clearing, captions and the hook, on a plain buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw.h"
#include "fbw_core.h"

namespace {

class Framebuffer : public ::testing::Test {
  protected:
    void TearDown() override { FbwDetachPixels(); }
};

TEST_F(Framebuffer, NothingHappensBeforeAnySurface) {
    FbwDetachPixels();
    EXPECT_EQ(fbWidth, 0);
    EXPECT_EQ(fbHeight, 0);
    FbwPutPixel(0, 0, 0x123456); // no memory to write: must not crash
    FbwClear();
}

TEST_F(Framebuffer, PutPixelClipsAtEveryEdge) {
    // A guard word on either side of the 4 x 3 framebuffer catches stray writes.
    std::vector<FbwColour> memory(4 * 3 + 2, 0xDEADBEEF);
    FbwAttachPixels(memory.data() + 1, 4, 3);
    struct Case {
        int32_t x, y;
        bool stored;
    } cases[] = {
        {0, 0, true},
        {3, 2, true},
        {3, 0, true},
        {0, 2, true},
        {4, 0, false},
        {0, 3, false},
        {-1, 0, false},
        {0, -1, false},
        {-1, -1, false},
        {4, 3, false},
        {INT32_MIN, 0, false},
        {0, INT32_MAX, false},
        {INT32_MAX, INT32_MAX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        std::fill(memory.begin(), memory.end(), 0xDEADBEEF);
        FbwPutPixel(c.x, c.y, 0xFF000001); // top byte stored too
        for (size_t i = 0; i < memory.size(); ++i) {
            bool target = c.stored && i == 1 + static_cast<size_t>(c.y) * 4 + c.x;
            EXPECT_EQ(memory[i], target ? 0xFF000001u : 0xDEADBEEFu) << "word " << i;
        }
    }
}

TEST_F(Framebuffer, ClearUsesTheLowByteOfTheClearValue) {
    struct Case {
        int32_t clear;
        FbwColour word;
    } cases[] = {{150, 0x96969696u}, {511, 0xFFFFFFFFu}, {0, 0u}, {-2, 0xFEFEFEFEu}};
    std::vector<FbwColour> memory(5 * 2 + 2, 0x12345678);
    FbwAttachPixels(memory.data() + 1, 5, 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clear);
        FbwKeepOpenSettings("t", c.clear);
        FbwClear();
        EXPECT_EQ(memory.front(), 0x12345678u);
        EXPECT_EQ(memory.back(), 0x12345678u);
        for (size_t i = 1; i + 1 < memory.size(); ++i) {
            EXPECT_EQ(memory[i], c.word);
        }
    }
}

TEST_F(Framebuffer, AttachingNoMemoryLeavesNoSurface) {
    std::vector<FbwColour> memory(4, 0);
    FbwAttachPixels(memory.data(), 2, 2);
    FbwAttachPixels(nullptr, 2, 2);
    EXPECT_EQ(fbWidth, 0);
    FbwAttachPixels(memory.data(), 0, 2);
    EXPECT_EQ(fbHeight, 0);
    FbwPutPixel(0, 0, 1);
    EXPECT_EQ(memory[0], 0u);
}

// The library's drawing stores pixels straight into the memory: every store must stay inside
// the framebuffer, whatever the shapes (guard words before and after a 7 x 5 framebuffer).
TEST_F(Framebuffer, DrawingNeverStoresOutside) {
    const int32_t width = 7, height = 5;
    const size_t guard = 64;
    std::vector<FbwColour> memory(guard + static_cast<size_t>(width) * height + guard, 0xDEADBEEF);
    FbwColour* inside = memory.data() + guard;
    FbwAttachPixels(inside, width, height);
    const int32_t points[] = {INT32_MIN, -100000, -1, 0, 3, 6, 7, 100000, INT32_MAX};
    for (int32_t a : points) {
        for (int32_t b : points) {
            for (int32_t c : points) {
                DrawGradientLine(a, b, c, a, 0x010203, 0x0A0B0C);
                DrawGradientLine(b, a, a, c, 0x123456, 0x123456);
                DrawNeedle(a, b, 20, c, 2, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
                DrawArrowTo(3, 2, a, b, 3, 0.6, 0xFFFFFF);
            }
        }
    }
    // The edges themselves are reachable: a line along the last row and column.
    DrawGradientLine(-3, height - 1, width + 3, height - 1, 0xFF000001, 0xFF000001);
    DrawGradientLine(width - 1, -3, width - 1, height + 3, 0xFF000002, 0xFF000002);
    EXPECT_EQ(inside[static_cast<size_t>(height - 1) * width], 0xFF000001u);
    EXPECT_EQ(inside[static_cast<size_t>(height) * width - 1], 0xFF000002u);
    EXPECT_EQ(inside[width - 1], 0xFF000002u);
    for (size_t i = 0; i < guard; ++i) {
        ASSERT_EQ(memory[i], 0xDEADBEEFu) << "before, word " << i;
        ASSERT_EQ(memory[memory.size() - 1 - i], 0xDEADBEEFu) << "after, word " << i;
    }
    // With the memory gone nothing is drawn at all.
    FbwDetachPixels();
    DrawGradientLine(0, 0, 5, 3, 1, 2);
    DrawNeedle(3, 2, 20, 6, 4, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
}

TEST(Caption, BaseTitleBlankAndSuffix) {
    struct Case {
        const char* title;
        const char* suffix;
        const char* caption;
    } cases[] = {
        {"TitleQZ", "12 fps", "TitleQZ 12 fps"},
        {"TitleQZ", "", "TitleQZ "}, // an empty suffix still gets its blank
        {"", "x", " x"},
    };
    for (const Case& c : cases) {
        FbwKeepOpenSettings(c.title, 150);
        EXPECT_STREQ(FbwComposeTitle(c.suffix), c.caption);
    }
}

// A second open keeps its title and clear byte even though it opens nothing: the next caption
// uses the new title.
TEST(Caption, SecondOpenTitleIsUsedByTheNextSuffix) {
    FbwKeepOpenSettings("first", 150);
    EXPECT_STREQ(FbwComposeTitle("a"), "first a");
    FbwKeepOpenSettings("second", 7);
    EXPECT_EQ(clearByte, 7);
    EXPECT_STREQ(composedTitle, "first a"); // the caption waits for the next suffix
    EXPECT_STREQ(FbwComposeTitle("b"), "second b");
    EXPECT_STREQ(FbwComposeTitle("c"), "second c");
}

TEST(Caption, OverlongTextsAreCutNeverOverrun) {
    const std::string longTitle(150, 'T');
    FbwKeepOpenSettings(longTitle.c_str(), 0);
    EXPECT_EQ(std::string(baseTitle), std::string(99, 'T'));

    const std::string longSuffix(12000, 's');
    const std::string caption = FbwComposeTitle(longSuffix.c_str());
    EXPECT_EQ(caption.size(), 9999u);
    EXPECT_EQ(caption, std::string(99, 'T') + " " + std::string(9999 - 100, 's'));

    // Exactly full: 99 + 1 + 9,899 characters fit.
    const std::string fits(9899, 'f');
    EXPECT_EQ(std::string(FbwComposeTitle(fits.c_str())), std::string(99, 'T') + " " + fits);

    FbwKeepOpenSettings(nullptr, 0);
    EXPECT_STREQ(FbwComposeTitle(nullptr), " ");
}

std::vector<UINT> seen;
void Hook(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back(message);
    EXPECT_EQ(wParam, static_cast<WPARAM>(message) + 1);
    EXPECT_EQ(lParam, static_cast<LPARAM>(message) + 2);
}

TEST(Hook, DispatchReachesTheInstalledHookOnly) {
    seen.clear();
    FbwDispatchHook(nullptr, 1, 2, 3); // none installed
    FbwSetMessageHook(Hook);
    FbwDispatchHook(nullptr, 5, 6, 7);
    FbwDispatchHook(nullptr, 9, 10, 11);
    FbwSetMessageHook(nullptr);
    FbwDispatchHook(nullptr, 13, 14, 15);
    EXPECT_EQ(seen, (std::vector<UINT>{5, 9}));
}

} // namespace
