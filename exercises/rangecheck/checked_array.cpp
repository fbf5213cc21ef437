#include "checked_array.h"

#include <cstdio>
#include <cstdlib>

CheckedArray::CheckedArray(int32_t n, int32_t allocationLine)
    // A negative n throws std::bad_array_new_length, like any failed allocation.
    : elements(new int32_t[n]()), n(n), allocationLine(allocationLine) {}

CheckedArray::~CheckedArray() {
    delete[] elements;
}

int32_t& CheckedArray::operator[](int32_t i) {
    // One unsigned comparison covers both ends: a negative i becomes huge.
    if (static_cast<uint32_t>(i) >= static_cast<uint32_t>(n)) {
        std::fprintf(stderr, "RANGE CHECK ERROR: n=%d i=%d (array was allocated at line %d)\n",
                     static_cast<int>(n), static_cast<int>(i), static_cast<int>(allocationLine));
        std::fflush(stderr);
        // The normal exit: standard output is flushed; the storage is left to the process end.
        std::exit(1);
    }
    return elements[i];
}
