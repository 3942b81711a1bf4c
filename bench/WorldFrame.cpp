// The world's share of a match frame: TBaseMap::Draw and Update with two walking, striking
// fighters, buildings, pickups and about ten missiles in flight, at the item count of a
// shipped map (about 90) and at 500 items; and rendering the 12 by 12 ground tiles. Every
// allocation made during the frames is counted and reported per frame next to the missiles
// launched per frame, which are the only allocations a frame should make.
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskLibrary.h"
#include "platform/Clock.h"
#include "world/GameTypes.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <new>
#include <random>

namespace {

std::atomic<uint64_t> Allocations{0};

} // namespace

void* operator new(std::size_t size) {
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {


constexpr uint32_t kFrameMs = 16;
constexpr uint32_t kStrikeMs = 200; // each fighter: five missiles a second, so ten in flight

// Walks to and fro across the middle of the field and strikes at a fixed rate, the way a
// fighter's update moves, strikes and re-marks its square.
class TBenchFighter : public TMoveItem {
public:
    TBenchFighter(TWeapon& weapon, int32_t direction) : Weapon(weapon) {
        SetOffsetX(48);
        SetOffsetY(70);
        SetDirection(direction);
    }
    void Move() override {
        const uint32_t now = SystemTicks();
        const float elapsedMs = static_cast<float>(now - ActionTick);
        const auto d = static_cast<size_t>(Direction());
        SetX(X() + kDirectionX[d] * Speed() * elapsedMs);
        if (X() < 600 || X() > 1200) SetDirection(Direction() == 2 ? 6 : 2);
        ActionTick = now;
        if (now - LastStrike >= kStrikeMs) {
            LastStrike = now;
            TWeapon::Fire(Weapon, *this, *Map());
            ++Launched;
        }
    }
    void Hurt(int32_t amount) override { SetHealth(Health() - static_cast<float>(amount)); }

    TWeapon& Weapon;
    uint32_t LastStrike = 0;
    uint64_t Launched = 0;
};

// The media library over the game folder (linked into a temporary program folder), with the
// pictures the game loads at start and a manual clock stepped one frame at a time.
class TWorldBench {
public:
    explicit TWorldBench(int32_t pickups) : Setting("duelmark_bench_world") {
        const std::tuple<const char*, int32_t, int32_t> pictures[] = {
            {"WaterGround", 64, 48}, {"BrownGround", 64, 48}, {"PlainGround", 64, 48}, {"Trees", 128, 128},
            {"Ruins2", 196, 196},    {"Items", 32, 32},       {"Armor", 64, 64}};
        for (const auto& [name, width, height] : pictures) {
            ImageList->LoadImage(name, std::string("images\\") + name + ".png");
            ImageList->Find(name)->FrameWidth = width;
            ImageList->Find(name)->FrameHeight = height;
        }
        Map = std::make_unique<TBaseMap>();
        Map->LoadFromFile("Lake");
        // Keep the shipped map's ground, but place this benchmark's items.
        while (!Map->Items().empty())
            Map->Remove(*Map->Items().back());
        Bow = Map->CreateWeapon("Bow", 0, 0);
        std::mt19937 random(7);
        std::uniform_int_distribution<int32_t> x(0, 1900);
        std::uniform_int_distribution<int32_t> y(0, 1500);
        for (int32_t i = 0; i < 20; ++i)
            Map->CreateObstruction(i % 2 == 0 ? "Trees" : "Ruins2", x(random), i % 4, y(random));
        const char* colours[] = {"Brown", "Green", "Blue", "Red", "White"};
        for (int32_t i = 0; i < pickups; ++i) {
            switch (i % 4) {
            case 0:
                Map->Add(Map->CreateEquipment("Boot", colours[i % 5], x(random), y(random)));
                break;
            case 1:
                Map->Add(Map->CreateEquipment("Armor", colours[i % 5], x(random), y(random)));
                break;
            case 2:
                Map->Add(Map->CreatePotion("Speed", x(random), y(random)));
                break;
            default:
                Map->Add(Map->CreateWeapon("Knife", x(random), y(random)));
                break;
            }
        }
        Fighters[0] = &AddFighter(700, 700, 2);
        Fighters[1] = &AddFighter(1100, 760, 6);
        Map->SetFollowed(Fighters[0]);
        // Fill the sky with missiles before measuring.
        for (uint32_t ms = 0; ms < 1200; ms += kFrameMs)
            Frame();
    }
    ~TWorldBench() {
        Map.reset();
        Bow.reset();
    }

    void Frame() {
        Setting.Clock.Advance(kFrameMs);
        Map->Draw();
        Map->Update();
    }
    [[nodiscard]] uint64_t Launched() const { return Fighters[0]->Launched + Fighters[1]->Launched; }

    TBenchGameFolder Setting;
    std::unique_ptr<TBaseMap> Map;
    std::unique_ptr<TWeapon> Bow;
    std::array<TBenchFighter*, 2> Fighters{};

private:
    TBenchFighter& AddFighter(float x, float y, int32_t direction) {
        auto fighter = std::make_unique<TBenchFighter>(*Bow, direction);
        fighter->SetImage(ImageList->Find("Armor"));
        fighter->SetX(x);
        fighter->SetY(y);
        return Map->Add(std::move(fighter));
    }
};

void RunFrames(benchmark::State& state, int32_t pickups) {
    TWorldBench bench(pickups);
    const uint64_t launchedBefore = bench.Launched();
    const uint64_t allocationsBefore = Allocations.load();
    size_t items = 0;
    for (auto _ : state) {
        bench.Frame();
        items += bench.Map->Items().size();
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["items"] = static_cast<double>(items) / frames;
    state.counters["allocs/frame"] = static_cast<double>(Allocations.load() - allocationsBefore) / frames;
    state.counters["missiles/frame"] = static_cast<double>(bench.Launched() - launchedBefore) / frames;
}

// 20 buildings, 2 fighters and about 10 missiles, plus the pickups.
void BM_UpdateAndDraw90Items(benchmark::State& state) {
    RunFrames(state, 60);
}
void BM_UpdateAndDraw500Items(benchmark::State& state) {
    RunFrames(state, 468);
}

void BM_DrawGround12By12Tiles(benchmark::State& state) {
    TWorldBench bench(0);
    TBriskImage buffer;
    buffer.CreateSurface(768, 624, 24);
    const uint64_t allocationsBefore = Allocations.load();
    for (auto _ : state)
        bench.Map->DrawGround(buffer);
    state.counters["allocs/frame"] =
        static_cast<double>(Allocations.load() - allocationsBefore) / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_UpdateAndDraw90Items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateAndDraw500Items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawGround12By12Tiles)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
