// The triangle list reader, the offsets and the outline calls, on files read in text mode as
// the program reads them.
#include "triangles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string inputPath = ::testing::TempDir() + "trisketch_unit_input.txt";

// Takes the input file away once all tests are done.
class InputFile : public ::testing::Environment {
  public:
    void TearDown() override { remove(inputPath.c_str()); }
};
::testing::Environment* const inputFile = ::testing::AddGlobalTestEnvironment(new InputFile);

// Opens a file holding the text for reading as the program does ("rt").
FILE* OpenText(const std::string& text) {
    FILE* out = fopen(inputPath.c_str(), "wb");
    if (!out) {
        return nullptr;
    }
    fwrite(text.data(), 1, text.size(), out);
    fclose(out);
    return fopen(inputPath.c_str(), "rt");
}

std::string Rest(FILE* in) {
    std::string rest;
    for (int c = getc(in); c != EOF; c = getc(in)) {
        rest += char(c);
    }
    return rest;
}

void ClearTables() {
    triangleCount = 0;
    memset(vertexX, 0, sizeof vertexX);
    memset(vertexY, 0, sizeof vertexY);
}

struct Loaded {
    int accepted;
    std::string rest; // what the reader left in the file
};

// Reads the text into fresh tables.
Loaded Load(const std::string& text) {
    ClearTables();
    FILE* in = OpenText(text);
    EXPECT_NE(in, nullptr);
    if (!in) {
        return {-1, ""};
    }
    Loaded loaded;
    loaded.accepted = ReadTriangles(in);
    loaded.rest = Rest(in);
    fclose(in);
    return loaded;
}

// Row i of the tables as x0 y0 x1 y1 x2 y2.
std::vector<int32_t> Row(int i) {
    std::vector<int32_t> row;
    for (int j = 0; j < 3; ++j) {
        row.push_back(vertexX[i][j]);
        row.push_back(vertexY[i][j]);
    }
    return row;
}

TEST(ScanNumber, TakesOneConversionAsPercentD) {
    struct Case {
        const char* text;
        int converted;
        int32_t value; // the slot starts at -7, so an untouched slot shows
        const char* rest;
    } cases[] = {
        {"42 9", 1, 42, " 9"},
        {" \t\n\v\f\r\n-17x", 1, -17, "x"},
        {"+5,", 1, 5, ","},
        {"-0", 1, 0, ""},
        {"007", 1, 7, ""},
        {"12abc", 1, 12, "abc"},
        {"abc", 0, -7, "abc"},
        {",1", 0, -7, ",1"},
        // The sign belongs to the failed conversion; the next one starts after it.
        {"- 7", 0, -7, " 7"},
        {"+x", 0, -7, "x"},
        {"", 0, -7, ""},
        {"   ", 0, -7, ""},
        {"2147483647", 1, INT32_MAX, ""},
        {"-2147483648", 1, INT32_MIN, ""},
        // Outside the range: clamped, and every digit still belongs to the number.
        {"2147483648 1", 1, INT32_MAX, " 1"},
        {"-2147483649", 1, INT32_MIN, ""},
        {"99999999999999999999999999 1", 1, INT32_MAX, " 1"},
        {"-99999999999999999999999999", 1, INT32_MIN, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        FILE* in = OpenText(c.text);
        ASSERT_NE(in, nullptr);
        int32_t slot = -7;
        EXPECT_EQ(ScanNumber(in, &slot), c.converted);
        EXPECT_EQ(slot, c.value);
        EXPECT_EQ(Rest(in), c.rest);
        fclose(in);
    }
}

TEST(ReadTriangles, ReadsNothingAfterACountOfZeroOrLess) {
    for (const char* text : {"0 1 2 3 4 5 6", "-5 1 2 3 4 5 6", "-2147483648 1 2 3 4 5 6"}) {
        SCOPED_TRACE(text);
        Loaded loaded = Load(text);
        EXPECT_EQ(loaded.accepted, 1);
        EXPECT_EQ(loaded.rest, std::string(text).substr(std::string(text).find(' ')));
        EXPECT_EQ(Row(0), std::vector<int32_t>(6, 0));
    }
    Loaded empty = Load("");
    EXPECT_EQ(empty.accepted, 1);
    EXPECT_EQ(triangleCount, 0);
    Loaded blank = Load(" \n\n");
    EXPECT_EQ(blank.accepted, 1);
    EXPECT_EQ(triangleCount, 0);
}

TEST(ReadTriangles, FillsRowsInFileOrderAndLeavesWhatFollows) {
    Loaded loaded = Load("2 1 2 3 4 5 6\n-1 -2 -3 -4 -5 -6 7 8 9 trailing text");
    EXPECT_EQ(loaded.accepted, 1);
    EXPECT_EQ(triangleCount, 2);
    EXPECT_EQ(Row(0), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Row(1), (std::vector<int32_t>{-1, -2, -3, -4, -5, -6}));
    EXPECT_EQ(loaded.rest, " 7 8 9 trailing text");
}

TEST(ReadTriangles, TakesWhiteSpaceOfEveryKindAndLineEnds) {
    Loaded loaded = Load("\t1\r\n 1\v2\f3\n\n4 \t 5\r\n6\r\n");
    EXPECT_EQ(triangleCount, 1);
    EXPECT_EQ(Row(0), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(ReadTriangles, ValuesAfterAFailedConversionStayZero) {
    struct Case {
        const char* text;
        std::vector<int32_t> row0;
        std::vector<int32_t> row1;
    } cases[] = {
        {"1 0 0 50 0 0 30", {0, 0, 50, 0, 0, 30}, {0, 0, 0, 0, 0, 0}},
        // A count of 2 with one triangle's values: the second stays all zero.
        {"2 1 2 3 4 5 6", {1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 0}},
        // 12abc where a vertex's first coordinate is expected: 12, then nothing more.
        {"2 1 2 12abc 5 6 7 8 9 10 11 12", {1, 2, 12, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"1 1 2 3 x 5 6", {1, 2, 3, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"1 1, 2, 3", {1, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"1 1 2 3", {1, 2, 3, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
        {"1 -100 -100 2000 -100 -100 900", {-100, -100, 2000, -100, -100, 900}, {0, 0, 0, 0, 0, 0}},
        {"abc 1 2 3 4 5 6", {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Load(c.text).accepted, 1);
        EXPECT_EQ(Row(0), c.row0);
        EXPECT_EQ(Row(1), c.row1);
    }
}

TEST(ReadTriangles, RefusesACountAboveTheCapacityAfterReadingOnlyTheCount) {
    for (const char* text : {"101 1 2 3 4 5 6", "2147483647 1 2 3 4 5 6", "9999999999 1 2 3"}) {
        SCOPED_TRACE(text);
        Loaded loaded = Load(text);
        EXPECT_EQ(loaded.accepted, 0);
        EXPECT_GT(triangleCount, 100);
        EXPECT_EQ(loaded.rest, std::string(text).substr(std::string(text).find(' ')));
        EXPECT_EQ(Row(0), std::vector<int32_t>(6, 0));
    }
}

TEST(ReadTriangles, FillsAllOfTheCapacity) {
    std::string text = "100";
    for (int i = 0; i < 100; ++i) {
        for (int k = 0; k < 6; ++k) {
            text += " " + std::to_string(i * 6 + k);
        }
    }
    text += " 5";
    Loaded loaded = Load(text);
    EXPECT_EQ(loaded.accepted, 1);
    EXPECT_EQ(Row(0), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(Row(99), (std::vector<int32_t>{594, 595, 596, 597, 598, 599}));
    EXPECT_EQ(loaded.rest, " 5");
}

TEST(OffsetTriangles, ShiftsTheRowsReadAndSaturates) {
    Load("3 0 0 50 0 0 30\n"
         "-100 -100 2147483547 2147483548 2147483647 -2147483648\n"
         "-101 2147483546 7 8 9 10");
    vertexX[3][0] = 5; // a row past the count is not the list's and stays as it is
    OffsetTriangles();
    EXPECT_EQ(Row(0), (std::vector<int32_t>{100, 100, 150, 100, 100, 130}));
    EXPECT_EQ(Row(1),
              (std::vector<int32_t>{0, 0, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN + 100}));
    EXPECT_EQ(Row(2), (std::vector<int32_t>{-1, INT32_MAX - 1, 107, 108, 109, 110}));
    EXPECT_EQ(vertexX[3][0], 5);

    for (const char* text : {"0", "-5 1 2 3 4 5 6"}) {
        SCOPED_TRACE(text);
        Load(text);
        OffsetTriangles();
        EXPECT_EQ(Row(0), std::vector<int32_t>(6, 0));
    }
}

struct Step {
    int lineTo;
    int32_t x;
    int32_t y;
    bool operator==(const Step& o) const { return lineTo == o.lineTo && x == o.x && y == o.y; }
};

std::ostream& operator<<(std::ostream& os, const Step& s) {
    return os << (s.lineTo ? "LineTo(" : "MoveToEx(") << s.x << ", " << s.y << ")";
}

std::vector<Step> Plan(const std::string& text) {
    Load(text);
    OffsetTriangles();
    static OutlineStep steps[maxOutlineSteps];
    int n = PlanOutlines(steps);
    std::vector<Step> plan;
    for (int k = 0; k < n; ++k) {
        plan.push_back(Step{steps[k].lineTo, steps[k].x, steps[k].y});
    }
    return plan;
}

const int M = 0; // MoveToEx
const int L = 1; // LineTo

TEST(PlanOutlines, ClosesEachTriangleFromItsThirdVertex) {
    EXPECT_EQ(Plan("1 0 0 50 0 0 30"),
              (std::vector<Step>{{M, 100, 130}, {L, 100, 100}, {L, 150, 100}, {L, 100, 130}}));
    EXPECT_EQ(Plan("2 1 2 3 4 5 6 -100 -100 0 -100 -100 0"), (std::vector<Step>{{M, 105, 106},
                                                                                {L, 101, 102},
                                                                                {L, 103, 104},
                                                                                {L, 105, 106},
                                                                                {M, 0, 100},
                                                                                {L, 0, 0},
                                                                                {L, 100, 0},
                                                                                {L, 0, 100}}));
    // The second triangle of a short list is still drawn, at (100, 100).
    EXPECT_EQ(Plan("2 1 2 3 4 5 6"), (std::vector<Step>{{M, 105, 106},
                                                        {L, 101, 102},
                                                        {L, 103, 104},
                                                        {L, 105, 106},
                                                        {M, 100, 100},
                                                        {L, 100, 100},
                                                        {L, 100, 100},
                                                        {L, 100, 100}}));
}

TEST(PlanOutlines, DrawsNothingForAnEmptyList) {
    for (const char* text : {"", "0", "-5 1 2 3 4 5 6"}) {
        SCOPED_TRACE(text);
        EXPECT_TRUE(Plan(text).empty());
    }
}

TEST(PlanOutlines, CoversAFullList) {
    std::string text = "100";
    for (int i = 0; i < 100; ++i) {
        text += " " + std::to_string(i) + " 0 0 0 0 0";
    }
    std::vector<Step> plan = Plan(text);
    ASSERT_EQ(plan.size(), 400u);
    EXPECT_EQ(plan[396], (Step{M, 100, 100}));
    EXPECT_EQ(plan[397], (Step{L, 199, 100}));
}

} // namespace
