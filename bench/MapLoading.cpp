// Loading maps of many entries and INI files of many lines: a map of 1,000 to 20,000 potions
// (the most a map places of one kind), 20,000 entries of every kind, a map at the 16 MB size
// cap filled with junk keys, and a 50 MB map, which is refused. Each load reads the game's own
// data files for the items it places, as a match does.
#include "bench/BenchGameFolder.h"
#include "platform/IniFile.h"
#include "world/DataRanges.h"
#include "world/GameTypes.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Maps are written under a folder of their own: "maps" is the game folder's, and a name that
// holds "MAPS\" is loaded as given.
const std::string kMapFolder = "bench\\MAPS\\";

void WriteMap(const std::string& name, const std::string& text) {
    fs::create_directories("bench/MAPS");
    std::ofstream("bench/MAPS/" + name, std::ios::binary) << text;
}

std::string PotionMap(int32_t count) {
    std::string text = "[Potions]\nPotionCount=" + std::to_string(count) + "\n";
    const char* kinds[] = {"Speed", "Health", "BigHealth", "Dexterity", "Strength", "Invisibility"};
    for (int32_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        text += "Potion" + n + "=" + kinds[i % 6] + "\nPotionX" + n + "=" + std::to_string(i * 7 % 1900) +
                "\nPotionY" + n + "=" + std::to_string(i * 13 % 1500) + "\n";
    }
    return text;
}

// Every kind of entry a map holds, count of each.
std::string MixedMap(int32_t count) {
    std::string text;
    const auto section = [&](const std::string& name, const std::string& countKey, const std::string& key,
                             const std::string& value, const std::vector<std::string>& extra) {
        text += "[" + name + "]\n" + countKey + "=" + std::to_string(count) + "\n";
        for (int32_t i = 0; i < count; ++i) {
            const std::string n = std::to_string(i);
            text += key + n + "=" + value + "\n";
            for (const std::string& more : extra)
                text += more + n + "=" + std::to_string(i * 11 % 1400) + "\n";
        }
    };
    section("Objects", "ObjectCount", "Object", "Red,Boot", {"ObjectX", "ObjectY"});
    section("MagicItems", "ItemCount", "Item", "Fire,Scroll", {"ItemX", "ItemY"});
    section("Weapons", "WeaponCount", "Weapon", "Sword", {"WeaponX", "WeaponY"});
    section("Potions", "PotionCount", "Potion", "Speed", {"PotionX", "PotionY"});
    section("Obstructions", "ObstructionCount", "Obstruction", "Trees", {"ObstructionX", "ObstructionY"});
    return text;
}

// A [Map] section of junk keys up to about bytes long, after the real tiles.
std::string JunkMap(size_t bytes) {
    std::string text = "[Map]\nTile0-0=0-1\n";
    for (size_t i = 0; text.size() < bytes - 64; ++i)
        text += "Junk" + std::to_string(i) + "=some value or other\n";
    return text;
}

void LoadMap(benchmark::State& state, const std::string& name, const std::string& text) {
    TBenchGameFolder folder("duelmark_bench_maploading");
    WriteMap(name, text);
    size_t items = 0;
    for (auto _ : state) {
        TBaseMap map;
        map.LoadFromFile(kMapFolder + name);
        items = map.Items().size();
        benchmark::DoNotOptimize(items);
    }
    state.counters["items"] = static_cast<double>(items);
    state.counters["file_MB"] = static_cast<double>(text.size()) / (1024.0 * 1024.0);
}

void BM_LoadPotionMap(benchmark::State& state) {
    LoadMap(state, "potions.map", PotionMap(static_cast<int32_t>(state.range(0))));
}
BENCHMARK(BM_LoadPotionMap)->Arg(1000)->Arg(5000)->Arg(kMaxMapEntries)->Unit(benchmark::kMillisecond);

void BM_LoadMixedMap(benchmark::State& state) {
    LoadMap(state, "mixed.map", MixedMap(static_cast<int32_t>(state.range(0))));
}
BENCHMARK(BM_LoadMixedMap)->Arg(4000)->Arg(kMaxMapEntries)->Unit(benchmark::kMillisecond);

void BM_LoadJunkMapAtTheCap(benchmark::State& state) {
    LoadMap(state, "junk.map", JunkMap(static_cast<size_t>(kMaxIniFileBytes)));
}
BENCHMARK(BM_LoadJunkMapAtTheCap)->Unit(benchmark::kMillisecond);

void BM_Refuse50MBMap(benchmark::State& state) {
    LoadMap(state, "huge.map", JunkMap(50 * 1024 * 1024));
}
BENCHMARK(BM_Refuse50MBMap)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
