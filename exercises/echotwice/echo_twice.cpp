#include "echo_twice.h"

#include <cstring>

namespace {

const size_t kBlock = 64 * 1024;

// "....", its line feed and the byte twice.
const size_t kPerByte = 7;

} // namespace

void EchoTwiceByCharacter(std::FILE* in, std::FILE* out) {
    for (int c = std::getc(in); c != EOF; c = std::getc(in)) {
        std::fputs("....\n", out);
        std::putc(c, out);
        std::putc(c, out);
    }
}

void EchoTwiceByBlock(std::FILE* in, std::FILE* out) {
    // Static: 512 KiB would crowd a small thread stack, and the program is single-threaded.
    static unsigned char input[kBlock];
    static unsigned char output[kBlock * kPerByte];
    for (;;) {
        const size_t got = std::fread(input, 1, kBlock, in);
        unsigned char* o = output;
        for (size_t i = 0; i < got; i++) {
            std::memcpy(o, "....\n", 5);
            o[5] = input[i];
            o[6] = input[i];
            o += kPerByte;
        }
        std::fwrite(output, 1, static_cast<size_t>(o - output), out);
        // fread comes back short only at the end of input or on a read error; either ends
        // the copy, as the end-of-file indication of a single-character read would.
        if (got < kBlock) {
            return;
        }
    }
}
