// Whole-frame benchmarks: what one tick of the game costs.
#include <benchmark/benchmark.h>

#include "engine/Surface.h"

namespace quillon {
namespace {

void BM_FillBackSurface(benchmark::State& state) {
    TDirectDrawSurface surface(800, 600);
    for (auto _ : state) {
        surface.Fill(0);
        benchmark::DoNotOptimize(surface.Row(0));
    }
}
BENCHMARK(BM_FillBackSurface);

}  // namespace
}  // namespace quillon
