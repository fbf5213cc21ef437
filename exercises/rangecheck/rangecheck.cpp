// rangecheck: runs an index from 0 to 10 over a range-checked array of 8 elements, storing 2
// into each element and printing each index. The check stops the program at index 8, the
// first past the end, with a message on standard error naming the array's size, the index and
// the line that created the array, and exit status 1.
//
// Output of a complete run:
//   stdout: the lines 0 to 7
//   stderr: RANGE CHECK ERROR: n=8 i=8 (array was allocated at line 39)
//   status: 1
//
// The creating statement in main passes its own line (__LINE__), so the message points at it
// wherever this file is edited. The process tests hold it to line 39, the line users of this
// program have been shown; keep it there when editing above it.
//
// The loop bound runs past the end on purpose: the program exists to show the check firing.
// The release after the loop therefore never runs. The check ends the program through the
// runtime's normal exit, which flushes standard output, so the eight index lines reach a file
// or a pipe as surely as a console.
//
// Nothing is read from the outside: no arguments, no input.
#include <cstdio>

#include "checked_array.h"

namespace {

// Elements of the demo array.
const int kElements = 8;

// Indices the loop runs over: 0 to 10, three past the last element.
const int kIndices = 11;

// Value stored into every element the loop reaches.
const int kStored = 2;

} // namespace

int main() {
    CheckedArray a(kElements, __LINE__);
    for (int i = 0; i < kIndices; i++) {
        a[i] = kStored;
        std::printf("%d\n", i);
    }
    return 0;
}
