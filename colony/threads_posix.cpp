// Threads, lock, pause and clock with POSIX threads. Each thread gets a small explicit stack
// (the colony holds thousands of threads); the clock is wall time since the process started,
// not the CPU time the C library's clock() would count.
#include <pthread.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>

#include "threads.h"

// Held for a fraction of a microsecond at a time: a waiter spins briefly before it sleeps,
// which spares thousands of threads a trip through the scheduler per contended Write.
#if defined(PTHREAD_ADAPTIVE_MUTEX_INITIALIZER_NP)
static pthread_mutex_t section = PTHREAD_ADAPTIVE_MUTEX_INITIALIZER_NP;
#else
static pthread_mutex_t section = PTHREAD_MUTEX_INITIALIZER;
#endif

void InitSection() {}
void EnterSection() {
    pthread_mutex_lock(&section);
}
void LeaveSection() {
    pthread_mutex_unlock(&section);
}

// A bacterium's thread touches about 8 KiB of stack, most of it the C library's formatted
// output; 16 KiB, the smallest stack this platform allows, leaves it twice that. Sanitizers
// add their own frames and shadow work on top, so those builds get more room.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
static const size_t threadStack = 256 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
static const size_t threadStack = 256 * 1024;
#else
static const size_t threadStack = 16 * 1024;
#endif
#else
static const size_t threadStack = 16 * 1024;
#endif

unsigned long ThreadStackSize() {
    long least = sysconf(_SC_THREAD_STACK_MIN);
    if (least > 0 && static_cast<size_t>(least) > threadStack)
        return static_cast<unsigned long>(least);
    return threadStack;
}

// A pause may run over by up to this much, as Windows' Sleep does by its timer tick; the
// kernel then wakes the many pausing threads in shared timer interrupts instead of one each.
static const unsigned long timerSlackNs = 1000000;

static void SetTimerSlack() {
#if defined(PR_SET_TIMERSLACK)
    prctl(PR_SET_TIMERSLACK, timerSlackNs, 0, 0, 0);
#endif
}

int StartThread(void (*body)(void*), void* arg) {
    struct Start {
        void (*body)(void*);
        void* arg;
    };
    Start* start = new Start{body, arg};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_attr_setstacksize(&attr, ThreadStackSize());
    pthread_t thread;
    int failed = pthread_create(
        &thread, &attr,
        [](void* p) -> void* {
            Start s = *static_cast<Start*>(p);
            delete static_cast<Start*>(p);
            SetTimerSlack();
            s.body(s.arg);
            return nullptr;
        },
        start);
    pthread_attr_destroy(&attr);
    if (failed) {
        delete start;
        return 0;
    }
    return 1;
}

void SleepMs(int ms) {
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

static timespec Now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

static const timespec started = Now();

long Clock() {
    timespec t = Now();
    long long ns = (static_cast<long long>(t.tv_sec) - started.tv_sec) * 1000000000LL +
                   (t.tv_nsec - started.tv_nsec);
    return static_cast<long>(ns / 1000000);
}

// Holds the lock while the process ends, so that no Write is cut off half-way and the
// terminal is handed back after the last complete one. A writer stuck on a blocked terminal
// must not keep ESC from working, hence the time limit.
void EndProgram() {
    timespec limit;
    clock_gettime(CLOCK_REALTIME, &limit);
    limit.tv_sec += 1;
    pthread_mutex_timedlock(&section, &limit);
    std::exit(0);
}
