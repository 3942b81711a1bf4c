// What a whole headless match costs: one PlayDuel of three minutes of game time at most,
// both fighters run by their shipped scripts (Normal), on each shipped map. The counter
// cpu_s_per_3_min scales the CPU time to a match that lasts the full three minutes.
#include "bench/BenchGameFolder.h"
#include "world/Duel.h"

#include <benchmark/benchmark.h>
#include <ctime>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kMaps{"Default", "Forest", "Lake", "Ruins"};

void BM_DuelMatch(benchmark::State& state) {
    TBenchGameFolder setting("duelmark_bench_duel");
    TDuelOptions options;
    options.MapName = kMaps[static_cast<size_t>(state.range(0))];
    options.LimitMs = 3 * 60 * 1000;
    uint64_t gameMs = 0;
    double cpuS = 0;
    for (auto _ : state) {
        const std::clock_t start = std::clock();
        const TDuelResult result = PlayDuel(options, {TDuelFighter{"Knight", ""}, TDuelFighter{"Elf", ""}});
        cpuS += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        gameMs += result.GameMs;
        ++options.Seed;
    }
    state.counters["game_s"] =
        benchmark::Counter(static_cast<double>(gameMs) / 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["cpu_s_per_3_min"] = gameMs > 0 ? cpuS * 180000.0 / static_cast<double>(gameMs) : 0.0;
}
BENCHMARK(BM_DuelMatch)->ArgName("map")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
