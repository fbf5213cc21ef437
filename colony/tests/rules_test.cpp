// The colony's rules: the step, the per-thread generator, the spawner's draws, the keys.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "on_threads.h"
#include "rules.h"

namespace {

TEST(Step, RefusesTheDirectionThatLeavesTheFieldAndNoOther) {
    struct Case {
        int x, y, d;
        int moved, toX, toY;
    } cases[] = {
        {30, 12, 2, 1, 30, 13},
        {30, 12, 0, 1, 31, 12},
        {30, 12, 1, 1, 29, 12},
        {30, 12, 3, 1, 30, 11},
        // Edges: the one direction out of the field is refused.
        {60, 12, 0, 0, 60, 12},
        {60, 12, 1, 1, 59, 12},
        {1, 12, 1, 0, 1, 12},
        {1, 12, 0, 1, 2, 12},
        {30, 25, 2, 0, 30, 25},
        {30, 25, 3, 1, 30, 24},
        {30, 1, 3, 0, 30, 1},
        {30, 1, 2, 1, 30, 2},
        // Corners: two directions refused, two allowed.
        {1, 1, 1, 0, 1, 1},
        {1, 1, 3, 0, 1, 1},
        {1, 1, 0, 1, 2, 1},
        {1, 1, 2, 1, 1, 2},
        {60, 1, 0, 0, 60, 1},
        {60, 1, 3, 0, 60, 1},
        {60, 1, 1, 1, 59, 1},
        {60, 1, 2, 1, 60, 2},
        {1, 25, 1, 0, 1, 25},
        {1, 25, 2, 0, 1, 25},
        {1, 25, 0, 1, 2, 25},
        {1, 25, 3, 1, 1, 24},
        {60, 25, 0, 0, 60, 25},
        {60, 25, 2, 0, 60, 25},
        {60, 25, 1, 1, 59, 25},
        {60, 25, 3, 1, 60, 24},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        EXPECT_EQ(Step(&x, &y, c.d), c.moved) << c.x << "," << c.y << " d" << c.d;
        EXPECT_EQ(x, c.toX) << c.x << "," << c.y << " d" << c.d;
        EXPECT_EQ(y, c.toY) << c.x << "," << c.y << " d" << c.d;
    }
}

TEST(Step, AWalkNeverLeavesTheField) {
    Srand(12345);
    int x = 1, y = 1;
    for (int i = 0; i < 100000; ++i) {
        Step(&x, &y, Rand() % 4);
        ASSERT_TRUE(x >= 1 && x <= 60 && y >= 1 && y <= 25) << x << "," << y;
    }
}

// The Windows runtime's generator, written out independently.
unsigned Lcg(unsigned* state) {
    *state = *state * 214013u + 2531011u;
    return (*state >> 16) & 0x7FFF;
}

TEST(Rand, FollowsTheRuntimeRuleFromStateOneUnseeded) {
    OnNewThread([] {
        // The runtime's first numbers from an unseeded thread.
        const int first[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
        for (int n : first)
            EXPECT_EQ(Rand(), n);
    });
}

TEST(Rand, SeedingOneThreadLeavesTheOthersAlone) {
    std::vector<int> alone, besideSeeding;
    OnNewThread([&] {
        for (int i = 0; i < 100; ++i)
            alone.push_back(Rand());
    });
    // One thread keeps seeding its own generator while the other draws.
    OnThreads(2, [&](int i) {
        for (int k = 0; k < 100; ++k) {
            if (i == 0) {
                Srand(static_cast<unsigned>(k));
                Rand();
            } else {
                besideSeeding.push_back(Rand());
            }
        }
    });
    EXPECT_EQ(alone, besideSeeding);
}

TEST(Rand, SrandRestartsTheSequence) {
    for (unsigned seed : {0u, 1u, 504u, 4294967295u}) {
        unsigned state = seed;
        Srand(seed);
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(static_cast<unsigned>(Rand()), Lcg(&state)) << "seed " << seed;
    }
}

TEST(Spawner, LettersAndColoursFollowTheUnseededSequence) {
    OnNewThread([] {
        unsigned state = 1;
        std::set<char> letters;
        std::set<int> colours;
        for (int i = 0; i < 2000; ++i) {
            char record[2];
            DrawBacterium(record);
            char letter = static_cast<char>('A' + Lcg(&state) % 26);
            int colour = static_cast<int>(1 + Lcg(&state) % 15);
            ASSERT_EQ(record[0], letter) << "bacterium " << i;
            ASSERT_EQ(record[1], colour) << "bacterium " << i;
            letters.insert(record[0]);
            colours.insert(record[1]);
        }
        EXPECT_EQ(letters.size(), 26u);
        EXPECT_EQ(*letters.begin(), 'A');
        EXPECT_EQ(*letters.rbegin(), 'Z');
        EXPECT_EQ(colours.size(), 15u);
        EXPECT_EQ(*colours.begin(), 1);
        EXPECT_EQ(*colours.rbegin(), 15);
    });
}

TEST(Spawner, FirstBacteriaOfEveryRun) {
    OnNewThread([] {
        // Letter and colour of the first five bacteria.
        const char expected[][2] = {{'P', 3}, {'Q', 11}, {'H', 5}, {'M', 4}, {'A', 15}};
        for (const auto& e : expected) {
            char record[2];
            DrawBacterium(record);
            EXPECT_EQ(record[0], e[0]);
            EXPECT_EQ(record[1], e[1]);
        }
    });
}

TEST(Spawner, StartCellsLieInTheField) {
    Srand(7);
    for (int i = 0; i < 10000; ++i) {
        int x, y;
        StartCell(&x, &y);
        ASSERT_TRUE(x >= 1 && x <= 60 && y >= 1 && y <= 25) << x << "," << y;
    }
    Srand(99);
    unsigned state = 99;
    int x, y;
    StartCell(&x, &y);
    EXPECT_EQ(x, static_cast<int>(1 + Lcg(&state) % 60)) << "column is the first draw";
    EXPECT_EQ(y, static_cast<int>(1 + Lcg(&state) % 25)) << "row is the second draw";
}

void* startedRecord;
int StartFine(void (*)(void*), void* record) {
    startedRecord = record;
    return 1;
}
int StartFails(void (*)(void*), void*) {
    return 0;
}
void Body(void*) {}

TEST(Spawner, HandsTheRecordToItsThreadOrFreesIt) {
    OnNewThread([] {
        EXPECT_EQ(SpawnBacterium(StartFine, Body), 1);
        const char* record = static_cast<const char*>(startedRecord);
        EXPECT_EQ(record[0], 'P');
        EXPECT_EQ(record[1], 3);
        delete[] record;
        // A thread that can't start leaves no record behind (the leak checker of the
        // sanitizer build watches this) and the spawner carries on with its sequence.
        EXPECT_EQ(SpawnBacterium(StartFails, Body), 0);
        EXPECT_EQ(SpawnBacterium(StartFine, Body), 1);
        record = static_cast<const char*>(startedRecord);
        EXPECT_EQ(record[0], 'H');
        EXPECT_EQ(record[1], 5);
        delete[] record;
    });
}

TEST(KeyAction, EscEndsPressesGiveLinesTheRestIsIgnored) {
    struct Case {
        KeyEvent ev;
        KeyAction action;
    } cases[] = {
        {{1, 1, 97}, keyLine},  {{1, 0, 97}, keyIgnore}, {{1, 1, 0}, keyLine},
        {{1, 1, -23}, keyLine}, {{1, 1, 27}, keyEnd},    {{1, 0, 27}, keyEnd},
        {{0, 0, 0}, keyIgnore}, {{0, 1, 27}, keyIgnore},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyActionOf(c.ev), c.action)
            << "key " << c.ev.isKey << " down " << c.ev.down << " ch " << c.ev.ch;
}

} // namespace
