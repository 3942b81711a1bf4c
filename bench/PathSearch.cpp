// Route search timings: the slowest case the map's grid can give, an open field crossed
// from corner to corner (about 3,500 squares expanded), and a short hop for comparison.
#include "path/GamePath.h"

#include <benchmark/benchmark.h>

namespace {

void SearchAcross(benchmark::State& state, int32_t toX, int32_t toY) {
    TPathFinding finder;
    finder.Walkable.Fill(true);
    for (auto _ : state) {
        std::unique_ptr<TPath> path;
        finder.Search(0, 0, toX, toY, path);
        benchmark::DoNotOptimize(path->Count());
    }
}

void BM_OpenFieldCornerToCorner(benchmark::State& state) {
    SearchAcross(state, kPathColumns - 1, kPathRows - 1);
}
void BM_OpenFieldShortHop(benchmark::State& state) {
    SearchAcross(state, 6, 4);
}

} // namespace

BENCHMARK(BM_OpenFieldCornerToCorner)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenFieldShortHop)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
