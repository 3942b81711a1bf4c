// The match frame with the camera moving every frame against the same frame with the camera
// still, on the Default map as a local match of two at one keyboard. In the moving run player 1
// walks to and fro far from player 2, so the view follows it every frame and crosses ground
// tiles (repainting the ground buffer) as walking does; in the still run nobody moves. The
// ratio is printed at the end; the target is at most 1.2.
#include "app/GameUnit.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskDraws.h"
#include "platform/Clock.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <benchmark/benchmark.h>
#include <iostream>
#include <map>
#include <string>

namespace {

constexpr uint32_t kFrameMs = 20;
// Player 1 walks this many frames one way, then as many back.
constexpr int kLegFrames = 120;
constexpr int kKeyRight = 275;
constexpr int kKeyLeft = 276;

class TCameraBench {
public:
    TCameraBench() : Setting("duelmark_bench_camera") {
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 0;
        Game->MapNames = {"Default"};
        Game->MapIndex = 0;
        Game->GameInitialization();
    }
    ~TCameraBench() { Game.reset(); }

    void Frame(bool moving) {
        ClearKeyState();
        if (moving) SetKeyState(Frames++ / kLegFrames % 2 == 0 ? kKeyRight : kKeyLeft, true);
        for (TBasePlayer* fighter : Game->Players)
            fighter->SetHealth(fighter->MaxHealth());
        Game->RunFrame(TGameState::Game, Game->GameHooks());
        Setting.Clock.Advance(kFrameMs);
    }

    TBenchGameFolder Setting;
    std::unique_ptr<TBriskGame> Game;
    int Frames = 0;
};

TCameraBench& Bench() {
    static TCameraBench bench;
    return bench;
}

void BM_CameraStill(benchmark::State& state) {
    TCameraBench& bench = Bench();
    for (auto _ : state)
        bench.Frame(false);
}
BENCHMARK(BM_CameraStill)->Unit(benchmark::kMicrosecond);

void BM_CameraMoving(benchmark::State& state) {
    TCameraBench& bench = Bench();
    int moved = 0;
    int frames = 0;
    for (auto _ : state) {
        const int32_t before = bench.Game->Map->ViewX();
        bench.Frame(true);
        moved += bench.Game->Map->ViewX() != before ? 1 : 0;
        ++frames;
    }
    // Shows that the view really moved in (nearly) every frame measured.
    state.counters["moved_share"] = frames > 0 ? static_cast<double>(moved) / frames : 0.0;
}
BENCHMARK(BM_CameraMoving)->Unit(benchmark::kMicrosecond);

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            CpuTimes[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (CpuTimes.count("BM_CameraMoving") != 0 && CpuTimes.count("BM_CameraStill") != 0)
            std::cout << "camera moving / camera still: " << CpuTimes["BM_CameraMoving"] / CpuTimes["BM_CameraStill"]
                      << " (CPU time, target at most 1.2)\n";
    }

private:
    std::map<std::string, double> CpuTimes;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
