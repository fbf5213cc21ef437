#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "read_int.h"

namespace {

// Every result of ReadInt over the text until it stops giving numbers, as "value" or the
// return code in brackets, and what is left unread.
std::string ReadAll(const char* input) {
    std::FILE* f = std::tmpfile();
    std::fwrite(input, 1, std::strlen(input), f);
    std::rewind(f);
    std::string seen;
    int32_t value = 0;
    int r;
    while ((r = ReadInt(f, &value)) == 1) {
        seen += std::to_string(value) + " ";
    }
    seen += r == EOF ? "[eof]" : "[" + std::to_string(r) + "]";
    std::string rest;
    for (int c = std::getc(f); c != EOF; c = std::getc(f)) {
        rest += static_cast<char>(c);
    }
    std::fclose(f);
    return rest.empty() ? seen : seen + " rest=" + rest;
}

struct Case {
    const char* input;
    const char* seen;
};

TEST(ReadInt, ReadsLikeThePercentDConversion) {
    const Case cases[] = {
        {"", "[eof]"},
        {" \t\r\n ", "[eof]"},
        {"7 0 9", "7 0 9 [eof]"},
        {"  -5\n1\t4\r\n+25", "-5 1 4 25 [eof]"},
        {"12abc", "12 [0] rest=abc"},
        {"x1", "[0] rest=x1"},
        {"- 5", "[0] rest= 5"},
        {"+", "[0]"},
        {"3-4", "3 -4 [eof]"},
        {"007", "7 [eof]"},
        {"2147483647 -2147483648", "2147483647 -2147483648 [eof]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.input), c.seen) << "input \"" << c.input << "\"";
    }
}

// Numerals beyond the 32-bit range keep their low 32 bits, the same on every platform.
TEST(ReadInt, NumeralsBeyondTheRangeKeepTheirLow32Bits) {
    const Case cases[] = {
        {"2147483648", "-2147483648 [eof]"},
        {"-2147483649", "2147483647 [eof]"},
        {"4294967297", "1 [eof]"},
        {"99999999999999999999", "1661992959 [eof]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAll(c.input), c.seen) << "input \"" << c.input << "\"";
    }
}

// Within the range the reader and the runtime's own conversion agree.
TEST(ReadInt, AgreesWithSscanfWithinTheRange) {
    const char* numerals[] = {"0",      "-0",         "+0",          "42",      "-42",
                              "  +17x", "2147483647", "-2147483648", "\n\t 99 "};
    for (const char* numeral : numerals) {
        int expected = 0;
        ASSERT_EQ(std::sscanf(numeral, "%d", &expected), 1);
        EXPECT_EQ(ReadAll(numeral).substr(0, std::to_string(expected).size() + 1),
                  std::to_string(expected) + " ")
            << numeral;
    }
}

} // namespace
