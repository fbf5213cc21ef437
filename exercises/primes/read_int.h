// Reads one integer the way the runtime's "%d" conversion does, with a defined result for
// numerals beyond the 32-bit range.
#pragma once

#include <cstdint>
#include <cstdio>

// Skips white space, takes an optional sign and decimal digits, and stops at the first
// character that is not a digit, which stays unread. Returns 1 and stores the value when at
// least one digit was read, 0 when the text does not begin with a number, and EOF at the end
// of the input before any number. A numeral beyond the 32-bit range keeps its low 32 bits
// (2147483648 gives -2147483648), as the platforms' runtimes do, but without overflow.
int ReadInt(std::FILE* in, int32_t* value);
