// The terminal port: cells and colours as escape sequences in the output stream, and key
// presses decoded from the bytes a terminal sends.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console.h"
#include "threads.h"
#include "writer.h"

namespace {

std::string WrittenBy(void (*write)()) {
    std::FILE* saved = out;
    out = std::tmpfile();
    write();
    std::fflush(out);
    std::rewind(out);
    std::string text;
    for (int c; (c = std::fgetc(out)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(out);
    out = saved;
    return text;
}

int attr;

TEST(TerminalCells, EachAttributeShowsInItsColourAtItsCell) {
    // Console colour bits: 1 blue, 2 green, 4 red, 8 bright.
    const int colour[16] = {30, 34, 32, 36, 31, 35, 33, 37, 90, 94, 92, 96, 91, 95, 93, 97};
    for (attr = 1; attr <= 15; ++attr) {
        std::string text = WrittenBy([] { Write(59, 24, attr, 'Q'); });
        EXPECT_EQ(text, "\x1b[25;60H\x1b[" + std::to_string(colour[attr]) + ";49mQ")
            << "attribute " << attr;
    }
    EXPECT_EQ(WrittenBy([] { Write(0, 0, 10, "Press %s", "ESC"); }),
              "\x1b[1;1H\x1b[92;49mPress ESC");
    EXPECT_EQ(WrittenBy([] { Write(0, 3, 0x1F, 'x'); }), "\x1b[4;1H\x1b[97;44mx")
        << "a background colour";
    EXPECT_EQ(WrittenBy([] { Write(-1, 3, 12, 'x'); }), "\x1b[91;49mx")
        << "a cell the console can't address leaves the cursor where it was";
    EXPECT_EQ(WrittenBy([] { Write(3, 0x10002, 12, 'x'); }), "\x1b[3;4H\x1b[91;49mx")
        << "rows are narrowed to 16 bits as the console takes them";
    EXPECT_EQ(WrittenBy(ClearConsole), "\x1b[H\x1b[2J");
}

// Puts bytes in front of the key reader as its standard input, then ends the input.
class Keys : public ::testing::Test {
  protected:
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        savedIn = dup(STDIN_FILENO);
        dup2(fds[0], STDIN_FILENO);
        close(fds[0]);
        writeEnd = fds[1];
    }
    void TearDown() override {
        if (writeEnd >= 0)
            close(writeEnd);
        dup2(savedIn, STDIN_FILENO);
        close(savedIn);
    }
    void Type(const std::string& bytes) {
        ASSERT_EQ(write(writeEnd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void End() {
        close(writeEnd);
        writeEnd = -1;
    }
    // The characters of the key events until the input ends.
    std::vector<int> Pressed() {
        std::vector<int> chars;
        KeyEvent ev;
        while (ReadKeyEvent(&ev)) {
            EXPECT_EQ(ev.isKey, 1);
            EXPECT_EQ(ev.down, 1);
            chars.push_back(ev.ch);
        }
        return chars;
    }
    int savedIn = -1, writeEnd = -1;
};

TEST_F(Keys, BytesAndSequencesGiveOnePressEach) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<int> chars;
    } cases[] = {
        {"letters", "aZ", {97, 90}},
        {"Enter, Tab, Ctrl-Z", "\r\t\x1a", {13, 9, 26}},
        {"e acute", "\xc3\xa9", {-23}},
        {"y diaeresis, the last code below 256", "\xc3\xbf", {-1}},
        {"no-break space", "\xc2\xa0", {-96}},
        {"euro sign", "\xe2\x82\xac", {'?'}},
        {"a four-byte character", "\xf0\x9f\x99\x82", {'?'}},
        {"a stray continuation byte", "\x80z", {'?', 'z'}},
        {"a cut character", "\xc3", {'?'}},
        {"arrow up", "\x1b[A", {0}},
        {"arrow keys among letters", "a\x1b[Bb\x1b[1;5Cc", {97, 0, 98, 0, 99}},
        {"F1", "\x1bOP", {0}},
        {"F5", "\x1b[15~", {0}},
        {"Alt and a letter", "\x1bx", {120}},
        {"ESC at the end of the input", "\x1b", {27}},
        {"ESC twice", "\x1b\x1b", {27}},
    };
    for (const Case& c : cases) {
        TearDown();
        SetUp();
        Type(c.bytes);
        End();
        EXPECT_EQ(Pressed(), c.chars) << c.name;
    }
}

TEST_F(Keys, LoneEscIsAPressOfItsOwnWhenNothingFollowsSoon) {
    Type("\x1b");
    KeyEvent ev;
    ASSERT_TRUE(ReadKeyEvent(&ev));
    EXPECT_EQ(ev.ch, 27);
    Type("[A"); // typed later: keys of their own
    End();
    EXPECT_EQ(Pressed(), (std::vector<int>{'[', 'A'}));
}

TEST_F(Keys, EndOfInputEndsTheReading) {
    End();
    KeyEvent ev;
    EXPECT_EQ(ReadKeyEvent(&ev), 0);
}

} // namespace
