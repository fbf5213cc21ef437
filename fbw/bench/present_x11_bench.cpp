// One FbwPresent of a 700 x 700 framebuffer on the X11 window side, next to a plain copy of the
// same bytes in memory as the reference of the same run. Needs a display ($DISPLAY).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fbw.h"

namespace {

const int32_t kSide = 700;

void Present700(benchmark::State& state) {
    static const int opened = FbwOpen("Present benchmark", kSide, kSide, 150);
    if (!opened) {
        state.SkipWithError("no display");
        return;
    }
    FbwClear();
    for (int32_t i = 0; i < kSide; ++i) {
        FbwPutPixel(i, i, 0xFF0000);
    }
    for (auto _ : state) {
        FbwPresent();
    }
}
BENCHMARK(Present700)->Unit(benchmark::kMicrosecond);

void CopyFramebufferInMemory(benchmark::State& state) {
    std::vector<FbwColour> from(static_cast<size_t>(kSide) * kSide, 0x969696);
    std::vector<FbwColour> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(FbwColour));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(CopyFramebufferInMemory)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
