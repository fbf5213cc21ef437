#include "check.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <process.h>

void CheckFailed(const char* condition, const char* file, int line) {
    fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
    fflush(stderr);
    // The runtime's abort() adds a message of its own ("abnormal program termination" on the
    // console, or a dialog box) that cannot be switched off in every runtime the program is
    // built against. abort() without that message is the abort signal, whose default action
    // ends the process with status 3; a handler that returns falls through to the same end.
    raise(SIGABRT);
    _exit(3);
}
