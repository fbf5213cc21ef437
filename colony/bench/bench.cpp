// How many bacteria the colony holds at their full pace, 20 steps a second each, with standard
// output going to /dev/null. Starts bacteria in batches, much faster than the program's one
// every 500 ms, through the program's own spawner, threads and writer; after each batch it
// measures the steps done per second against 20 per bacterium and the memory in use, and stops
// once the pace falls under 90%.
//   colony_bench [largest count]        (reports on standard error)
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "colony.h"
#include "rules.h"
#include "threads.h"
#include "writer.h"

// Resident and virtual memory of the process in KiB, from the kernel's status file.
static void Memory(long* resident, long* size) {
    *resident = *size = 0;
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return;
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
        std::sscanf(line, "VmRSS: %ld", resident);
        std::sscanf(line, "VmSize: %ld", size);
    }
    std::fclose(f);
}

// CPU time the whole process has used, in milliseconds.
static double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv) {
    const long largest = argc > 1 ? std::atol(argv[1]) : 40000;
    if (!std::freopen("/dev/null", "w", stdout))
        return 1;
    InitSection();
    std::fprintf(stderr, "thread stack %lu bytes; pace = steps done / (20 x bacteria)\n",
                 ThreadStackSize());
    std::fprintf(stderr, "%9s %8s %10s %8s %9s %8s\n", "bacteria", "pace", "steps/s", "CPU",
                 "RSS MiB", "VM MiB");
    long count = 0;
    long step = 500;
    for (;;) {
        long target = count + step;
        while (count < target) {
            if (!SpawnBacterium(StartThread, Bacteria)) {
                std::fprintf(stderr, "thread %ld could not be started\n", count + 1);
                return 0;
            }
            ++count;
        }
        // Let the newborn settle into their rhythm, then count the steps of a whole window.
        // Each bacterium writes one letter a step; birth lines are all done by then.
        SleepMs(1500);
        long before = WriteCount();
        long started = Clock();
        double cpu = CpuMs();
        SleepMs(3000);
        long done = WriteCount() - before;
        long elapsed = Clock() - started;
        cpu = CpuMs() - cpu;
        double perSecond = done * 1000.0 / elapsed;
        double pace = perSecond / (20.0 * count);
        long resident, size;
        Memory(&resident, &size);
        // CPU over wall time: 200% is both cores of this machine busy with the colony.
        std::fprintf(stderr, "%9ld %7.1f%% %10.0f %7.0f%% %9.1f %8.1f\n", count, pace * 100,
                     perSecond, cpu * 100.0 / elapsed, resident / 1024.0, size / 1024.0);
        if (pace < 0.9) {
            std::fprintf(stderr, "pace under 90%% at %ld bacteria\n", count);
            break;
        }
        if (count >= largest)
            break;
        if (count >= 2000)
            step = 1000;
    }
    // The bacteria never end: leave without waiting for them.
    std::fflush(stderr);
    _exit(0);
}
