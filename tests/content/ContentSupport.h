// Helpers of the content checks: the built game folder as the working directory, its
// pictures as plain pixels, and the keys each data file format must carry.
#pragma once

#include "support/MediaFixture.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The media library up with the built game folder as working directory, as the game runs.
class ContentTest : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override;
};

struct TPixels {
    int W = 0, H = 0;
    std::vector<uint32_t> Rgb; // r | g << 8 | b << 16
    [[nodiscard]] uint32_t At(int x, int y) const { return Rgb[static_cast<size_t>(y) * W + x]; }
};

[[nodiscard]] constexpr uint32_t Pack(int r, int g, int b) {
    return static_cast<uint32_t>((r & 255) | (g & 255) << 8 | (b & 255) << 16);
}

// Loads a game path ("images\Knight.png") with the game's own picture loader; W = 0 when it
// does not load.
[[nodiscard]] TPixels LoadPixels(std::string_view gamePath);
[[nodiscard]] bool GameFileExists(std::string_view gamePath);

// Cells of cellW by cellH as the game cuts a sheet: whole cells along each row, whole rows.
[[nodiscard]] int CellCount(const TPixels& sheet, int cellW, int cellH);
// True when the cell shows at least `minimum` pixels that are not the key colour.
[[nodiscard]] bool CellHasInk(const TPixels& sheet, int cellW, int cellH, int frame, uint32_t key,
                              int minimum = 12);

// Character names, weapon names and map names as the game lists them from the folder.
[[nodiscard]] std::vector<std::string> GameNames(std::string_view pattern);
