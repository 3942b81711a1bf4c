// The four bitmap fonts, rasterised from DejaVu through SDL_ttf into the game's marker-run
// picture format: glyphs 33..126 in one row, separated by magenta runs in the top row.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace content {

struct TFontArt {
    std::string FileName; // under images/
    TCanvas Picture;      // alpha 0 is the transparent background
};

// Throws when SDL_ttf or a DejaVu face is unavailable.
[[nodiscard]] std::vector<TFontArt> DrawFonts(const std::string& fontFolder);
// Marker pixels (255, 0, 255) in row 0, transparent pixels the bottom left pixel's colour.
void WriteFontPng(const std::string& fileName, const TCanvas& picture);

} // namespace content
