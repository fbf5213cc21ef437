// An array of 32-bit integers that checks every element access against its size and stops the
// program at the first index outside it, naming the line that created the array.
#pragma once

#include <cstdint>

class CheckedArray {
  public:
    // allocationLine is the creating statement's own line: pass __LINE__.
    CheckedArray(int32_t n, int32_t allocationLine);
    ~CheckedArray();
    CheckedArray(const CheckedArray&) = delete;
    CheckedArray& operator=(const CheckedArray&) = delete;

    // Checks i first; an index outside 0 .. n - 1 does not return.
    int32_t& operator[](int32_t i);

    int32_t size() const { return n; }

  private:
    int32_t* elements;
    int32_t n;
    int32_t allocationLine;
};
