#include "read_int.h"

#include <cctype>

int ReadInt(std::FILE* in, int32_t* value) {
    int c = std::getc(in);
    while (c != EOF && std::isspace(c)) {
        c = std::getc(in);
    }
    if (c == EOF) {
        return EOF;
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::getc(in);
    }
    if (c == EOF || !std::isdigit(c)) {
        // Like scanf, a lone sign is consumed; only the character after it goes back.
        if (c != EOF) {
            std::ungetc(c, in);
        }
        return 0;
    }
    // Unsigned arithmetic wraps by definition: the low 32 bits of the numeral.
    uint32_t magnitude = 0;
    while (c != EOF && std::isdigit(c)) {
        magnitude = magnitude * 10u + static_cast<uint32_t>(c - '0');
        c = std::getc(in);
    }
    if (c != EOF) {
        std::ungetc(c, in);
    }
    const uint32_t bits = negative ? 0u - magnitude : magnitude;
    // Two's complement reinterpretation, defined for every value.
    *value = bits <= 0x7FFFFFFFu ? static_cast<int32_t>(bits)
                                 : static_cast<int32_t>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
    return 1;
}
