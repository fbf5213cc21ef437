// Runs test code on threads started the way the program starts its own, and waits for them.
#pragma once

#include <atomic>

#include "threads.h"

template <class F> struct OnThreadsRun {
    F* f;
    std::atomic<int> next{0};
    std::atomic<int> done{0};
};

// Runs f(i) for i in 0..n-1, each on a thread of its own, all at once; returns when all ended.
template <class F> bool OnThreads(int n, F f) {
    OnThreadsRun<F> run;
    run.f = &f;
    int started = 0;
    for (int i = 0; i < n; ++i)
        started += StartThread(
            [](void* p) {
                OnThreadsRun<F>* r = static_cast<OnThreadsRun<F>*>(p);
                (*r->f)(r->next.fetch_add(1));
                r->done.fetch_add(1);
            },
            &run);
    while (run.done.load() < started)
        SleepMs(1);
    return started == n;
}

// Runs f() on a fresh thread, whose random generator is still unseeded.
template <class F> void OnNewThread(F f) {
    OnThreads(1, [&](int) { f(); });
}
