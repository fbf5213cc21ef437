// A frame of the needle field against a bare clear, and a gradient line reaching far outside
// the framebuffer against a line of the framebuffer's width. Goals: a frame costs at most four
// clears; the far line costs no more than the width line.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "draw.h"
#include "fbw_core.h"

namespace {

const int32_t side = 700;
std::vector<FbwColour> memory(static_cast<size_t>(side) * side);

void Attach() {
    FbwAttachPixels(memory.data(), side, side);
    FbwKeepOpenSettings("bench", 150);
}

void BareClear(benchmark::State& state) {
    Attach();
    for (auto _ : state) {
        FbwClear();
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BareClear);

// A clear and the demo's 225 needles toward a target that moves along a figure-eight.
void NeedleFrame(benchmark::State& state) {
    Attach();
    int frame = 0;
    for (auto _ : state) {
        const double t = 0.05 * frame++;
        const int32_t targetX = 350 + static_cast<int32_t>(250.0 * std::sin(t));
        const int32_t targetY = 350 + static_cast<int32_t>(150.0 * std::sin(2.0 * t));
        FbwClear();
        for (int32_t y = 20; y <= 680; y += 45) {
            for (int32_t x = 20; x <= 680; x += 45) {
                DrawNeedle(x, y, 20, targetX, targetY, 0xFFFF00, 0xFF0000, 0x0000FF, 200.0);
            }
        }
        benchmark::DoNotOptimize(memory.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(NeedleFrame);

void WidthLine(benchmark::State& state) {
    Attach();
    for (auto _ : state) {
        DrawGradientLine(0, 100, side - 1, 600, 0xFF0000, 0x0000FF);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(WidthLine);

// From -reach to +reach on the x axis; the part inside the framebuffer is as wide as the width
// line whatever the reach, so the time should not grow with it.
void FarLine(benchmark::State& state) {
    Attach();
    const int32_t reach = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        DrawGradientLine(-reach, 100, reach, 600, 0xFF0000, 0x0000FF);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(FarLine)->Arg(10000)->Arg(1000000)->Arg(1000000000);

// Keeps every run's time per iteration so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> seconds; // CPU time per iteration (the median if repeated)
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median)) {
                continue;
            }
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) {
                name += "/" + run.run_name.args;
            }
            seconds[name] =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* a, const char* b) {
        if (reporter.seconds.count(a) == 0 || reporter.seconds.count(b) == 0) {
            return;
        }
        std::printf("%s / %s = %.2f (CPU %.1f us / %.1f us)\n", a, b,
                    reporter.seconds[a] / reporter.seconds[b], reporter.seconds[a] * 1e6,
                    reporter.seconds[b] * 1e6);
    };
    ratio("NeedleFrame", "BareClear");        // goal: at most 4
    ratio("FarLine/1000000000", "WidthLine"); // goal: at most 1
    ratio("FarLine/1000000000", "FarLine/10000");
    benchmark::Shutdown();
    return 0;
}
