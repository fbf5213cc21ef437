// The platform's threads, lock, pause and clock as the colony uses them. One port per
// platform (threads_win32.cpp, threads_posix.cpp) implements these; the logic calls nothing else.
#pragma once

// The program's single lock: every piece of console output is written while holding it.
void InitSection();
void EnterSection();
void LeaveSection();

// Starts a detached thread running body(arg) on the program's small default stack.
// Returns 1 when the thread runs, 0 when it could not be started (arg is then untouched).
int StartThread(void (*body)(void*), void* arg);

// Bytes of stack each started thread gets; 0 where the executable's header sets the default.
unsigned long ThreadStackSize();

// Pauses the calling thread for ms milliseconds.
void SleepMs(int ms);

// Milliseconds of wall time since the process started.
long Clock();

// Ends the process with status 0, as the keyboard thread does on ESC.
[[noreturn]] void EndProgram();
