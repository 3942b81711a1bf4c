// Decoding a bitmap font picture: the marker runs of its top row and where each glyph's
// pixels lie. Pure arithmetic over the scanned table, so it is tested without drawing.
#pragma once

#include "media/SurfaceUtils.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// Room for 256 runs: two entries per run, the x of its first marker pixel and the x just
// after it (the last column when the run reaches the right edge).
constexpr int32_t kMaxMarkerRuns = 256;

struct TMarkerTable {
    std::array<int32_t, 2 * kMaxMarkerRuns> CharPos{};
    int32_t Runs = 0;   // runs recorded; the font holds the Runs - 1 codes from 33
    int32_t Height = 0; // the picture's height
};

// Scans row 0 for pixels of exactly red 255, green 0, blue 255 in the picture's own format.
[[nodiscard]] TMarkerTable ScanMarkers(SDL_Surface* picture);

struct TGlyphPlacement {
    TBriskRect Source; // from the middle of the left run to the middle of the right run, rows 1..
    int32_t OffsetX;   // destination x = pen - OffsetX, so the glyph's first column lands on the pen
    int32_t Advance;   // pen movement after the glyph
};

// The glyph of a character code; nullopt for codes below 33 and codes past the last run,
// which the picture never described.
[[nodiscard]] std::optional<TGlyphPlacement> GlyphFor(const TMarkerTable& table, uint8_t code);

// The pen movement of a space: the width of the glyph of "!"; 0 when the font has no "!".
[[nodiscard]] int32_t SpaceAdvance(const TMarkerTable& table);

// Draws text with the pen starting at x; returns the pen position after the last character.
int32_t DrawBitmapText(SDL_Surface* picture, const TMarkerTable& table, SDL_Surface* target, int32_t x,
                       int32_t y, std::string_view text);
