// dblbits: prints the IEEE 754 double-precision bit patterns of 1.0 and 2.0 as hexadecimal
// integers, one per line: 3FF0000000000000 and 4000000000000000.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Upper-case hexadecimal of a 64-bit unsigned integer, no prefix, no padding. The Windows
// runtime spells the 64-bit length "I64"; elsewhere the standard macro names the same
// conversion, so the printed text is the same on both.
#if defined(_WIN32) && !defined(__USE_MINGW_ANSI_STDIO)
const char kHex64Line[] = "%I64X\n";
#else
const char kHex64Line[] = "%" PRIX64 "\n";
#endif

// The same 8 bytes, reinterpreted: no numeric conversion.
uint64_t Bits(double value) {
    uint64_t bits;
    static_assert(sizeof bits == sizeof value, "double is 64 bits");
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

int main() {
    std::printf(kHex64Line, Bits(1.0));
    std::printf(kHex64Line, Bits(2.0));
    return 0;
}
