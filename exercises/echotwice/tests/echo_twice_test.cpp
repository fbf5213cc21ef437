#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "echo_twice.h"

namespace {

typedef void (*Loop)(std::FILE*, std::FILE*);

// Runs one loop over the bytes through binary temporary files and returns what it wrote.
std::string Echo(Loop loop, const std::string& input) {
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    loop(in, out);
    std::rewind(out);
    std::string written;
    char block[4096];
    for (size_t got; (got = std::fread(block, 1, sizeof block, out)) > 0;) {
        written.append(block, got);
    }
    std::fclose(in);
    std::fclose(out);
    return written;
}

std::string Expected(const std::string& input) {
    std::string out;
    for (char c : input) {
        out += "....\n";
        out += c;
        out += c;
    }
    return out;
}

TEST(EchoTwice, BothLoopsWriteEveryByteTwiceAfterADotsLine) {
    std::string random(3 * 64 * 1024 + 17, '\0'); // spans block boundaries
    std::mt19937 generator(7);
    for (char& c : random) {
        c = static_cast<char>(generator());
    }
    const std::string inputs[] = {
        "", "X", "XY\n", std::string("\xff"), std::string("a\0b", 3), "\n\n", random,
    };
    for (const std::string& input : inputs) {
        const std::string expected = Expected(input);
        EXPECT_EQ(Echo(EchoTwiceByCharacter, input), expected) << "input size " << input.size();
        EXPECT_EQ(Echo(EchoTwiceByBlock, input), expected) << "input size " << input.size();
    }
}

} // namespace
