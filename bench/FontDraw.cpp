// Drawing one 40-character line of menu text with a bitmap font onto the screen surface.
#include "media/BriskDraws.h"
#include "media/BriskLibrary.h"
#include "media/BriskText.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A font picture like the game's: 94 glyphs of 12 by 24 pixels between 2-pixel marker runs,
// each glyph a filled box so every blit moves real pixels.
TSurfacePtr PaintFont() {
    constexpr int kGlyphs = 94, kGlyphWidth = 12, kRunWidth = 2, kHeight = 25;
    const int width = kRunWidth + kGlyphs * (kGlyphWidth + kRunWidth);
    TSurfacePtr picture = NewSurface(width, kHeight, 24);
    for (int run = 0; run <= kGlyphs; ++run) {
        const int x = run * (kGlyphWidth + kRunWidth);
        for (int i = 0; i < kRunWidth; ++i)
            WritePixel(picture.get(), x + i, 0, 255, 0, 255);
        if (run == kGlyphs) break;
        for (int y = 3; y < kHeight - 2; ++y)
            for (int gx = 1; gx < kGlyphWidth - 1; ++gx)
                WritePixel(picture.get(), x + kRunWidth + gx, y, 255, 255, 0);
    }
    return picture;
}

std::string FontFile(const std::filesystem::path& folder) {
    const std::filesystem::path shipped =
        std::filesystem::path(DUELMARK_GAME_DIR) / "images" / "24P_Arial_NeonYellow.png";
    if (std::filesystem::exists(shipped)) return shipped.string();
    const std::filesystem::path painted = folder / "font.bmp";
    const TSurfacePtr picture = PaintFont();
    SDL_SaveBMP(picture.get(), painted.string().c_str());
    return painted.string();
}

void BM_FontDrawLine(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "duelmark_bench_font";
    std::filesystem::create_directories(folder);
    // Debug=0: no log file, so the measurement is drawing only.
    { std::ofstream(folder / "duelmark.cfg") << "Debug=0\n"; }
    {
        const TBriskLibrary library(folder.string() + "/", "duelmark");
        TBriskFont& font = FontList->LoadFont(FontFile(folder));
        const std::string line = "Waiting for the Server to Start the Game";
        static_assert(sizeof("Waiting for the Server to Start the Game") - 1 == 40);
        for (auto _ : state) {
            font.TextOut(20, 200, line);
            benchmark::ClobberMemory();
        }
        state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(line.size()));
    }
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_FontDrawLine);
BENCHMARK_MAIN();
