// Threads, lock, pause and clock on Win32, through the runtime as the program has always
// used them: _beginthread with the executable's default stack, a critical section, Sleep, and
// the runtime's clock, which counts wall time since the process started.
#include <windows.h>

#include <cstdlib>
#include <ctime>
#include <process.h>

#include "threads.h"

static CRITICAL_SECTION section;

void InitSection() {
    InitializeCriticalSection(&section);
}
void EnterSection() {
    EnterCriticalSection(&section);
}
void LeaveSection() {
    LeaveCriticalSection(&section);
}

int StartThread(void (*body)(void*), void* arg) {
    // Stack size 0: the default that the executable's header sets for every thread.
    return _beginthread(body, 0, arg) != static_cast<uintptr_t>(-1);
}

unsigned long ThreadStackSize() {
    return 0;
}

void SleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

long Clock() {
    return static_cast<long>(clock());
}

void EndProgram() {
    std::exit(0);
}
