// The check that stops the program when it cannot go on, in every build (NDEBUG or not).
#pragma once

// Writes "Assertion failed: <condition>, file <file>, line <line>" as one line on standard
// error and ends the process through the abort path, printing nothing further.
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// The report names the program rather than a source path: users see it, not developers.
#define TRISKETCH_CHECK(condition)                                                                 \
    ((condition) ? (void)0 : CheckFailed(#condition, "trisketch", __LINE__))
