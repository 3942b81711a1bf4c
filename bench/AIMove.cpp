// The computer opponent's cost per update: one TAIPlayer::Move (the shipped script's "Execute",
// which asks for a route to the foe) on the Default map, the same in close combat, and the route search alone between the
// map's two start squares. Run with --benchmark_repetitions=10 for the median.
#include "app/GameUnit.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskLibrary.h"
#include "path/GamePath.h"
#include "platform/Clock.h"
#include "world/AIPlayers.h"
#include "world/KeyState.h"
#include "world/Map.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

namespace {


constexpr uint32_t kFrameMs = 16;

// A local match against the computer on the Default map, started as the game starts one, in a
// temporary program folder that links to the game's data.
class TAIBench {
public:
    explicit TAIBench(int32_t character) : Setting("duelmark_bench_ai") {
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 1;
        Game->Player2Char = character;
        Game->MapNames = {"Default"};
        Game->MapIndex = 0;
        Game->GameInitialization();
        AI = dynamic_cast<TAIPlayer*>(Game->Players[1]);
        StartX = AI->X();
        StartY = AI->Y();
    }
    ~TAIBench() {
        Game.reset();
    }

    // One update of the computer's fighter as the map makes it: its square cleared, Move, its
    // square marked again.
    void Move() {
        Setting.Clock.Advance(kFrameMs);
        Game->Map->RemoveFromDrawList(*AI);
        AI->Move();
        Game->Map->InsertSorted(*AI);
    }
    [[nodiscard]] bool NearFoe() const {
        const TBasePlayer& foe = *Game->Players[0];
        return std::abs(AI->FootX() - foe.FootX()) + std::abs(AI->FootY() - foe.FootY()) < 200;
    }
    // Back to the start, with the script's own idea of where it stood left as it is.
    void Restart() {
        Game->Map->RemoveFromDrawList(*AI);
        AI->SetX(StartX);
        AI->SetY(StartY);
        AI->SetHealth(AI->MaxHealth());
        Game->Map->InsertSorted(*AI);
    }

    TBenchGameFolder Setting;
    std::unique_ptr<TBriskGame> Game;
    TAIPlayer* AI = nullptr;

private:
    float StartX = 0;
    float StartY = 0;
};

// Characters by their place in the setup list: Barbar, Elf, Knight, Ninja, Orc.
void BM_AIMove(benchmark::State& state) {
    TAIBench bench(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        bench.Move();
        // Back to the start before it reaches the foe, so every update walks a route.
        if (bench.NearFoe()) {
            state.PauseTiming();
            bench.Restart();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_AIMove)->ArgName("character")->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// Close combat, the costly case: the foe a blow's reach away and shifting a pixel on every
// update, so the script plans its place around the foe again each time (the Knight's file; the
// Elf's wider reach tries as many places). With moving at 0 the foe stands and the plan is kept.
void BM_AIMoveCloseCombat(benchmark::State& state) {
    TAIBench bench(static_cast<int32_t>(state.range(0)));
    TBasePlayer& foe = *bench.Game->Players[0];
    TBaseMap& map = *bench.Game->Map;
    const float foeX = bench.AI->X() - 40;
    const float foeY = bench.AI->Y() + 10;
    map.RemoveFromDrawList(foe);
    foe.SetX(foeX);
    foe.SetY(foeY);
    map.InsertSorted(foe);
    int64_t updates = 0;
    for (auto _ : state) {
        if (state.range(1) != 0) {
            map.RemoveFromDrawList(foe);
            foe.SetX(foeX + static_cast<float>(updates % 2));
            map.InsertSorted(foe);
        }
        bench.Move();
        ++updates;
    }
}
BENCHMARK(BM_AIMoveCloseCombat)
    ->ArgNames({"character", "moving"})
    ->ArgsProduct({{1, 2}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// The search the map runs for GetPath, grid copy included, from one start square to the other.
void BM_PathBetweenDefaultStarts(benchmark::State& state) {
    TAIBench bench(2);
    TBaseMap& map = *bench.Game->Map;
    const TBasePlayer& first = *bench.Game->Players[0];
    const TBasePlayer& second = *bench.Game->Players[1];
    std::unique_ptr<TPath> path = std::make_unique<TPath>();
    for (auto _ : state) {
        path->Clear();
        map.FindPath(second.FootX() / kSquareWidth, second.FootY() / kSquareHeight,
                     first.FootX() / kSquareWidth, first.FootY() / kSquareHeight, path);
        benchmark::DoNotOptimize(path->Count());
    }
    state.counters["steps"] = path->Count();
}
BENCHMARK(BM_PathBetweenDefaultStarts)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
