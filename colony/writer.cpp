// The cell writer: each Write is one unit under the lock (cursor, attribute, text, flush),
// so no thread's text lands at a cell or in a colour another thread has just selected.
#include "writer.h"

#include <atomic>
#include <cstdarg>

#include "console.h"
#include "threads.h"

std::FILE* out = stdout;

static std::atomic<long> writes{0};

void Write(int x, int y, int attr, const char* format, ...) {
    EnterSection();
    Select(x, y, attr);
    va_list args;
    va_start(args, format);
    std::vfprintf(out, format, args);
    va_end(args);
    std::fflush(out);
    writes.fetch_add(1, std::memory_order_relaxed);
    LeaveSection();
}

void Write(int x, int y, int attr, char ch) {
    EnterSection();
    Select(x, y, attr);
    std::fputc(static_cast<unsigned char>(ch), out);
    std::fflush(out);
    writes.fetch_add(1, std::memory_order_relaxed);
    LeaveSection();
}

// The status rows rotate through 1..20; the counter starts at 0, so the first row given out
// is 2 and row 1 comes only with the twentieth call.
static std::atomic<int> y{0};

int nextY() {
    int old = y.load();
    int next;
    do {
        next = (old + 1) % 20;
    } while (!y.compare_exchange_weak(old, next));
    return next + 1;
}

long WriteCount() {
    return writes.load(std::memory_order_relaxed);
}
