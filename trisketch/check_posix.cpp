#include "check.h"

#include <cstdio>
#include <cstdlib>

void CheckFailed(const char* condition, const char* file, int line) {
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
    fflush(stderr);
    abort();
}
