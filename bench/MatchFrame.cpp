// One whole match frame (the ground, every item, both fighters walking and striking, both
// status displays, the update and the present) on the Default map at window scale 1 and 2,
// the same frame without its present, a bare frame that only blits the ground buffer and
// presents, and the present alone at both scales. All run in one process; the ratios are
// printed at the end.
#include "app/GameUnit.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskDraws.h"
#include "media/BriskLibrary.h"
#include "media/SurfaceUtils.h"
#include "platform/Clock.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

namespace {

constexpr uint32_t kFrameMs = 20;
// Each fighter walks towards the other for a while, then strikes, then walks back.
constexpr int kPhaseFrames = 60;

// The game with its data, a local match started on the Default map, and the clock stepped
// 20 ms per frame. The program's folder is a temporary one holding links to the game's
// folders, so the benchmark leaves no log or settings in the game folder.
class TMatchBench {
public:
    TMatchBench() : Setting("duelmark_bench_match") {
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 0;
        Game->MapNames = {"Default"};
        Game->MapIndex = 0;
        Game->GameInitialization();
        // Player 2 starts far across the field; bring it into the camera's view.
        TBasePlayer& second = *Game->Players[1];
        auto held = Game->Map->Remove(second);
        second.SetX(Game->Players[0]->X() + 200);
        second.SetY(Game->Players[0]->Y());
        Game->Map->Add(std::move(held));
    }
    ~TMatchBench() { Game.reset(); }

    // Keys for the frame: walk towards each other, strike, walk apart; health topped up so
    // nobody dies.
    void Steer() {
        const int phase = Frames++ / kPhaseFrames % 3;
        ClearKeyState();
        SetKeyState(phase == 0 ? 275 : phase == 2 ? 276 : 32, true); // player 1: right, left, Space
        SetKeyState(phase == 0 ? 97 : phase == 2 ? 100 : 306, true); // player 2: a, d, left Ctrl
        for (TBasePlayer* fighter : Game->Players)
            fighter->SetHealth(fighter->MaxHealth());
    }
    void MatchFrame() {
        Steer();
        Game->RunFrame(TGameState::Game, Game->GameHooks());
        Setting.Clock.Advance(kFrameMs);
    }
    // The match frame as RunFrame runs it, all but the present and its wait.
    void FrameWithoutPresent() {
        Steer();
        const TFrameHooks hooks = Game->GameHooks();
        SDL_Event event;
        while (Screen->PollEvent(event)) {
        }
        hooks.Render();
        Game->Messaging();
        hooks.PerFrame();
        Setting.Clock.Advance(kFrameMs);
    }
    void BareFrame() {
        Game->GroundBuffer->Draw(-32, -24);
        Screen->Flip();
        Setting.Clock.Advance(kFrameMs);
    }

    TBenchGameFolder Setting;
    std::unique_ptr<TBriskGame> Game;
    int Frames = 0;
};

// One game for both benchmarks: SDL's X11 driver cannot be started a second time in one
// process.
TMatchBench& Bench() {
    static TMatchBench bench;
    return bench;
}

// The argument is the window's scale; the picture the frame draws is the same at every scale.
void BM_MatchFrame(benchmark::State& state) {
    TMatchBench& bench = Bench();
    Screen->SetScale(static_cast<int32_t>(state.range(0)));
    for (auto _ : state)
        bench.MatchFrame();
    Screen->SetScale(1);
}
BENCHMARK(BM_MatchFrame)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_FrameWithoutPresent(benchmark::State& state) {
    TMatchBench& bench = Bench();
    for (auto _ : state)
        bench.FrameWithoutPresent();
}
BENCHMARK(BM_FrameWithoutPresent)->Unit(benchmark::kMicrosecond);

void BM_BareFrame(benchmark::State& state) {
    TMatchBench& bench = Bench();
    for (auto _ : state)
        bench.BareFrame();
}
BENCHMARK(BM_BareFrame)->Unit(benchmark::kMicrosecond);

// Showing a finished picture whose every pixel changed since the last present, as when the
// camera moved: the enlargement (and widening) of the whole picture into the window. The
// picture is repainted outside the timing; the present compares what it shows, so changing
// less of the picture would time less work.
void BM_Present(benchmark::State& state) {
    Bench();
    Screen->SetScale(static_cast<int32_t>(state.range(0)));
    Uint32 shade = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SDL_FillRect(Screen->Surface, nullptr, ++shade & 0xFF);
        state.ResumeTiming();
        Screen->Present();
    }
    Screen->SetScale(1);
}
BENCHMARK(BM_Present)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// What SDL adds to an unscaled present on a 32-bit desktop, which the dummy driver leaves
// out: the 24-bit picture converted into its 32-bit shadow of the window. A scaled window is
// 32 bits itself and skips this.
void BM_UnscaledDesktopConversion(benchmark::State& state) {
    Bench();
    const TSurfacePtr shadow(
        SDL_CreateRGBSurface(SDL_SWSURFACE, kPictureWidth, kPictureHeight, 32, 0xFF0000, 0xFF00, 0xFF, 0));
    for (auto _ : state)
        SDL_BlitSurface(Screen->Surface, nullptr, shadow.get(), nullptr);
}
BENCHMARK(BM_UnscaledDesktopConversion)->Unit(benchmark::kMicrosecond);

// Prints the whole frame's cost as a multiple of the bare frame's after the table.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With --benchmark_repetitions the median, reported after the runs, is the figure.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median) continue;
            RealTimes[run.run_name.str()] = run.GetAdjustedRealTime();
            CpuTimes[run.run_name.str()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (Has("BM_MatchFrame/1") && Has("BM_BareFrame"))
            std::cout << "match frame / bare frame: "
                      << RealTimes["BM_MatchFrame/1"] / RealTimes["BM_BareFrame"] << " (real time), "
                      << CpuTimes["BM_MatchFrame/1"] / CpuTimes["BM_BareFrame"] << " (CPU time)\n";
        // The present within a match frame is what the whole frame costs beyond the frame
        // without it; under the dummy driver SDL itself shows nothing.
        if (Has("BM_FrameWithoutPresent")) {
            const double rest = CpuTimes["BM_FrameWithoutPresent"];
            for (const char* scale : {"1", "2"}) {
                const std::string frame = std::string("BM_MatchFrame/") + scale;
                if (!Has(frame)) continue;
                const double present = CpuTimes[frame] - rest;
                std::cout << "scale " << scale << ": present in a match frame " << present
                          << " us, rest of the frame " << rest << " us (CPU time), present / rest "
                          << present / rest << "\n";
            }
            if (Has("BM_Present/2"))
                std::cout << "scale 2: present of a wholly changed picture / rest of the frame "
                          << CpuTimes["BM_Present/2"] / rest << "\n";
        }
    }

private:
    [[nodiscard]] bool Has(const std::string& name) const { return CpuTimes.count(name) != 0; }

    std::map<std::string, double> RealTimes;
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
