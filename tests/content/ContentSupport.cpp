// Pixels through the game's loader, files through its path rules.
#include "ContentSupport.h"

#include "media/BriskImage.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <filesystem>

TMediaOptions ContentTest::Options() const {
    TMediaOptions options;
    options.WorkingFolder = DUELMARK_GAME_DIR;
    return options;
}

TPixels LoadPixels(std::string_view gamePath) {
    TBriskImage image;
    image.LoadFromFile(gamePath);
    TPixels p;
    if (!image.Surface) return p;
    SDL_Surface* s = image.Surface.get();
    p.W = s->w;
    p.H = s->h;
    p.Rgb.resize(static_cast<size_t>(p.W) * p.H);
    for (int y = 0; y < p.H; ++y)
        for (int x = 0; x < p.W; ++x)
            p.Rgb[static_cast<size_t>(y) * p.W + x] = ReadColor(s, x, y);
    return p;
}

bool GameFileExists(std::string_view gamePath) {
    std::error_code error;
    return std::filesystem::is_regular_file(ResolvePath(gamePath), error);
}

int CellCount(const TPixels& sheet, int cellW, int cellH) {
    if (cellW <= 0 || cellH <= 0) return 0;
    return (sheet.W / cellW) * (sheet.H / cellH);
}

bool CellHasInk(const TPixels& sheet, int cellW, int cellH, int frame, uint32_t key, int minimum) {
    const int perRow = sheet.W / cellW;
    if (frame < 0 || frame >= CellCount(sheet, cellW, cellH)) return false;
    const int x0 = (frame % perRow) * cellW, y0 = (frame / perRow) * cellH;
    int ink = 0;
    for (int y = y0; y < y0 + cellH; ++y)
        for (int x = x0; x < x0 + cellW; ++x)
            ink += sheet.At(x, y) != key;
    return ink >= minimum;
}

std::vector<std::string> GameNames(std::string_view pattern) {
    std::vector<std::string> names;
    for (const std::string& file : ListFiles(pattern))
        names.push_back(file.substr(0, file.find('.')));
    return names;
}
