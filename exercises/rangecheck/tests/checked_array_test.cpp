#include <climits>
#include <string>

#include <gtest/gtest.h>

#include "checked_array.h"

namespace {

TEST(CheckedArray, StartsZeroedAndKeepsWhatIsStoredAtEveryValidIndex) {
    CheckedArray a(8, __LINE__);
    for (int32_t i = 0; i < 8; i++) {
        EXPECT_EQ(a[i], 0) << "index " << i;
        a[i] = 100 + i;
    }
    for (int32_t i = 0; i < 8; i++) {
        EXPECT_EQ(a[i], 100 + i);
    }
}

// gtest's portable regular expressions know no bracket groups: escape the message's
// parentheses one by one.
std::string Message(int32_t n, int32_t i, int32_t line) {
    return "^RANGE CHECK ERROR: n=" + std::to_string(n) + " i=" + std::to_string(i) +
           " \\(array was allocated at line " + std::to_string(line) + "\\)\n$";
}

struct Failing {
    int32_t n;
    int32_t i;
};

class CheckedArrayOutside : public testing::TestWithParam<Failing> {};

TEST_P(CheckedArrayOutside, StopsWithTheMessageAndStatus1) {
    const Failing f = GetParam();
    const int32_t line = 4242;
    EXPECT_EXIT(
        {
            CheckedArray a(f.n, line);
            a[f.i] = 2;
        },
        testing::ExitedWithCode(1), Message(f.n, f.i, line));
}

INSTANTIATE_TEST_SUITE_P(Indices, CheckedArrayOutside,
                         testing::Values(Failing{8, 8}, Failing{8, -1}, Failing{1, 1},
                                         Failing{0, 0}, Failing{3, INT_MAX}, Failing{3, INT_MIN}));

TEST(CheckedArray, ReportsItsOwnCreationLine) {
    const int32_t line = __LINE__ + 1;
    CheckedArray a(2, __LINE__);
    EXPECT_EXIT(a[2] = 0, testing::ExitedWithCode(1), Message(2, 2, line));
}

} // namespace
