// The match frame with the camera moving every frame against the same frame with the camera
// still, on the Default map as a local match of two at one keyboard, the fighters far apart.
// In the moving run player 1 walks to and fro, so the view follows it every frame and crosses
// ground tiles (moving the ground buffer and rendering the uncovered tiles) as walking does; in
// the still run player 2 walks the same way out of view, so the frame does the same work but
// for the camera. The ratio is printed at the end; the target is at most 1.2.
#include "app/GameUnit.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskDraws.h"
#include "platform/Clock.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFrameMs = 20;
// Player 1 walks this many frames one way, then as many back.
constexpr int kLegFrames = 120;
// Player 1's keys (arrows) and player 2's (a, d).
constexpr int kKeyRight = 275;
constexpr int kKeyLeft = 276;
constexpr int kKeyD = 100;
constexpr int kKeyA = 97;

class TCameraBench {
public:
    TCameraBench() : Setting("duelmark_bench_camera") {
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 0;
        Game->MapNames = {"Default"};
        Game->MapIndex = 0;
        Game->GameInitialization();
        for (const TBasePlayer* fighter : Game->Players)
            Starts.push_back({fighter->X(), fighter->Y()});
    }
    ~TCameraBench() { Game.reset(); }

    // Every run starts with both fighters on their start squares and an outward leg. Player 1
    // starts near the field's left edge: a run begun on an inward leg walked the view into the
    // edge, where it stopped moving, and each run began where the one before had stopped, so the
    // share of frames that moved the view drifted from run to run.
    void Restart() {
        for (size_t i = 0; i < Starts.size(); ++i) {
            TBasePlayer& fighter = *Game->Players[i];
            auto held = Game->Map->Remove(fighter);
            fighter.SetX(Starts[i].X);
            fighter.SetY(Starts[i].Y);
            Game->Map->Add(std::move(held));
        }
        Frames = 0;
        Game->Map->CenterOnFollowed();
        if (Game->Map->GroundDirty()) Game->Map->ScrollGround(*Game->GroundBuffer);
        Frame(false);
    }

    // The match frame as RunFrame runs it, with or without its present.
    void Frame(bool moving, bool present = true) {
        ClearKeyState();
        const bool outward = Frames++ / kLegFrames % 2 == 0;
        if (moving)
            SetKeyState(outward ? kKeyRight : kKeyLeft, true);
        else
            SetKeyState(outward ? kKeyD : kKeyA, true);
        for (TBasePlayer* fighter : Game->Players)
            fighter->SetHealth(fighter->MaxHealth());
        if (present) {
            Game->RunFrame(TGameState::Game, Game->GameHooks());
        } else {
            const TFrameHooks hooks = Game->GameHooks();
            SDL_Event event;
            while (Screen->PollEvent(event)) {
            }
            hooks.Render();
            Game->Messaging();
            hooks.PerFrame();
        }
        Setting.Clock.Advance(kFrameMs);
    }

    TBenchGameFolder Setting;
    std::unique_ptr<TBriskGame> Game;
    int Frames = 0;
    struct TStart {
        float X = 0;
        float Y = 0;
    };
    std::vector<TStart> Starts;
};

TCameraBench& Bench() {
    static TCameraBench bench;
    return bench;
}

// The argument is the window's scale. Scaled, a present enlarges only the rows that changed
// since the last one, and a moving view changes them all.
void BM_CameraStill(benchmark::State& state) {
    TCameraBench& bench = Bench();
    Screen->SetScale(static_cast<int32_t>(state.range(0)));
    bench.Restart();
    int moved = 0;
    int frames = 0;
    for (auto _ : state) {
        const int32_t before = bench.Game->Map->ViewX();
        bench.Frame(false);
        moved += bench.Game->Map->ViewX() != before ? 1 : 0;
        ++frames;
    }
    state.counters["moved_share"] = frames > 0 ? static_cast<double>(moved) / frames : 0.0;
}
BENCHMARK(BM_CameraStill)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_CameraMoving(benchmark::State& state) {
    TCameraBench& bench = Bench();
    Screen->SetScale(static_cast<int32_t>(state.range(0)));
    bench.Restart();
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
BENCHMARK(BM_CameraMoving)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same frames without their present: what the camera costs the game's own work (the
// ground moved at each tile crossing, the view's aim, the pointer).
void BM_CameraStillWithoutPresent(benchmark::State& state) {
    TCameraBench& bench = Bench();
    bench.Restart();
    for (auto _ : state)
        bench.Frame(false, false);
}
BENCHMARK(BM_CameraStillWithoutPresent)->Unit(benchmark::kMicrosecond);

void BM_CameraMovingWithoutPresent(benchmark::State& state) {
    TCameraBench& bench = Bench();
    bench.Restart();
    for (auto _ : state)
        bench.Frame(true, false);
}
BENCHMARK(BM_CameraMovingWithoutPresent)->Unit(benchmark::kMicrosecond);

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
        for (const char* scale : {"1", "2"}) {
            const std::string moving = std::string("BM_CameraMoving/") + scale;
            const std::string still = std::string("BM_CameraStill/") + scale;
            if (CpuTimes.count(moving) != 0 && CpuTimes.count(still) != 0)
                std::cout << "scale " << scale
                          << ": camera moving / camera still: " << CpuTimes[moving] / CpuTimes[still]
                          << " (CPU time, target at most 1.2)\n";
        }
        if (CpuTimes.count("BM_CameraMovingWithoutPresent") != 0 &&
            CpuTimes.count("BM_CameraStillWithoutPresent") != 0)
            std::cout << "without the present: camera moving / camera still: "
                      << CpuTimes["BM_CameraMovingWithoutPresent"] / CpuTimes["BM_CameraStillWithoutPresent"]
                      << " (CPU time)\n";
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
