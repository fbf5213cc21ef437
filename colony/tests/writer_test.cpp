// The locked writer, the status rows and the two thread bodies, against a console that
// records each Write's cell and attribute in the stream.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "colony.h"
#include "fake_console.h"
#include "on_threads.h"
#include "rules.h"
#include "threads.h"
#include "writer.h"

namespace {

class Environment : public ::testing::Environment {
  public:
    void SetUp() override {
        InitSection();
        CaptureOutput();
    }
};
::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new Environment);

// Must stay the first test: it checks the rows from program start.
TEST(NextY, GivesRowsTwoToTwentyThenOneAndAround) {
    for (int call = 1; call <= 19; ++call)
        EXPECT_EQ(nextY(), call + 1) << "call " << call;
    EXPECT_EQ(nextY(), 1) << "call 20";
    EXPECT_EQ(nextY(), 2) << "call 21";
    for (int call = 22; call <= 40; ++call)
        nextY(); // back to the state of program start
}

std::atomic<int> rowCounts[21];
const int callsPerThread = 2000;

void TakeRows(int) {
    for (int i = 0; i < callsPerThread; ++i)
        rowCounts[nextY()].fetch_add(1);
}

TEST(NextY, ManyThreadsAtOnceGetEveryRowEquallyOften) {
    const int threads = 16; // 32000 calls: a whole number of rounds of 20
    ASSERT_TRUE(OnThreads(threads, TakeRows));
    EXPECT_EQ(rowCounts[0].load(), 0);
    for (int row = 1; row <= 20; ++row)
        EXPECT_EQ(rowCounts[row].load(), threads * callsPerThread / 20) << "row " << row;
    EXPECT_EQ(nextY(), 2) << "the counter moved on by whole rounds";
    for (int call = 2; call <= 20; ++call)
        nextY();
}

// Each writer thread writes texts whose content names their own cell and attribute.
const int writesPerThread = 300;

void WriteOwnCells(int t) {
    for (int i = 0; i < writesPerThread; ++i) {
        int x = 1 + (t * 7 + i) % 60, y = 1 + (t + i) % 25, attr = 1 + (t + i) % 15;
        if (i % 2)
            Write(x, y, attr, "<%d:%d %d,%d,%d>", t, i, x, y, attr);
        else
            Write(x, y, attr, static_cast<char>('A' + t));
    }
}

TEST(Write, TextsFromManyThreadsStayWholeAtTheirCellInTheirAttribute) {
    size_t before = Pieces(Captured()).size();
    const int threads = 12;
    ASSERT_TRUE(OnThreads(threads, WriteOwnCells));
    std::vector<Piece> pieces = Pieces(Captured());
    ASSERT_EQ(pieces.size() - before, static_cast<size_t>(threads * writesPerThread));
    std::vector<int> seen(threads * writesPerThread, 0);
    for (size_t k = before; k < pieces.size(); ++k) {
        const Piece& p = pieces[k];
        if (p.text.size() == 1) {
            int t = p.text[0] - 'A';
            ASSERT_TRUE(t >= 0 && t < threads) << p.text;
            continue;
        }
        int t, i, x, y, attr;
        char end = 0;
        ASSERT_EQ(std::sscanf(p.text.c_str(), "<%d:%d %d,%d,%d%c", &t, &i, &x, &y, &attr, &end), 6)
            << p.text;
        EXPECT_EQ(end, '>');
        EXPECT_EQ(x, p.x);
        EXPECT_EQ(y, p.y);
        EXPECT_EQ(attr, p.attr);
        ++seen[t * writesPerThread + i];
    }
    for (int t = 0; t < threads; ++t)
        for (int i = 1; i < writesPerThread; i += 2)
            EXPECT_EQ(seen[t * writesPerThread + i], 1) << t << ":" << i;
}

TEST(Write, CharacterAndFormattedTextsKeepTheirBytes) {
    size_t before = Pieces(Captured()).size();
    Write(0, 0, 10, "Press ESC to save your mind [ EXIT ]");
    Write(60, 25, 7, 'Z');
    Write(0, 3, 15, "clock = %ld\n", 123456L);
    std::vector<Piece> pieces = Pieces(Captured());
    ASSERT_EQ(pieces.size(), before + 3);
    EXPECT_EQ(pieces[before].text, "Press ESC to save your mind [ EXIT ]");
    EXPECT_EQ(pieces[before].attr, 10);
    EXPECT_EQ(pieces[before + 1].text, "Z");
    EXPECT_EQ(pieces[before + 1].x, 60);
    EXPECT_EQ(pieces[before + 1].y, 25);
    EXPECT_EQ(pieces[before + 2].text, "clock = 123456\n");
}

KeyEvent Key(int down, int ch) {
    return KeyEvent{1, down, ch};
}

TEST(KeyHandler, OneBrightRedLinePerPressOnTheNextStatusRow) {
    size_t before = Pieces(Captured()).size();
    ScriptKeys({
        KeyEvent{0, 0, 0}, // a mouse or focus event
        Key(1, 97),
        Key(0, 97),
        Key(1, 0),   // a key without a character
        Key(1, -23), // é
        Key(1, 97),  // a held key, repeated
        Key(0, 0),
    });
    int firstRow = nextY();
    KeyHandler(nullptr); // returns at the end of the script, as at the end of the input
    std::vector<Piece> pieces = Pieces(Captured());
    ASSERT_EQ(pieces.size(), before + 4);
    const char* lines[] = {"Key 97 is pressed", "Key 0 is pressed", "Key -23 is pressed",
                           "Key 97 is pressed"};
    for (int k = 0; k < 4; ++k) {
        const Piece& p = pieces[before + k];
        EXPECT_EQ(p.text, lines[k]);
        EXPECT_EQ(p.x, 0);
        EXPECT_EQ(p.y, (firstRow + k) % 20 + 1);
        EXPECT_EQ(p.attr, 12);
    }
}

TEST(Bacteria, BirthLineFirstThenOneLetterPerStepInTheField) {
    size_t before = Pieces(Captured()).size();
    char* record = new char[2]{'Q', 9};
    ASSERT_TRUE(StartThread(Bacteria, record)); // the thread frees the record
    SleepMs(400);
    std::vector<Piece> pieces = Pieces(Captured());
    ASSERT_GE(pieces.size(), before + 4);
    const Piece& birth = pieces[before];
    EXPECT_EQ(birth.x, 0);
    EXPECT_EQ(birth.attr, 15);
    long t = -1;
    EXPECT_EQ(std::sscanf(birth.text.c_str(), "clock = %ld", &t), 1) << birth.text;
    EXPECT_GE(t, 0);
    EXPECT_EQ(birth.text.back(), '\n');
    const Piece* last = nullptr;
    for (size_t k = before + 1; k < pieces.size(); ++k) {
        const Piece& p = pieces[k];
        EXPECT_EQ(p.text, "Q");
        EXPECT_EQ(p.attr, 9);
        EXPECT_TRUE(p.x >= 1 && p.x <= 60 && p.y >= 1 && p.y <= 25) << p.x << "," << p.y;
        if (last) { // one cell in one direction, or none when the step was refused
            EXPECT_LE(std::abs(p.x - last->x) + std::abs(p.y - last->y), 1);
        }
        last = &p;
    }
}

} // namespace
