// Marker-run scanning and glyph placement for bitmap fonts.
#include "media/BitmapFont.h"

#include <SDL.h>
#include <algorithm>

namespace {

// The marker colour: magenta, which no glyph uses.
constexpr uint8_t kMarkerRed = 255, kMarkerGreen = 0, kMarkerBlue = 255;
constexpr uint8_t kFirstGlyphCode = 33; // "!"; the space has no glyph of its own

} // namespace

TMarkerTable ScanMarkers(SDL_Surface* picture) {
    TMarkerTable table;
    if (picture == nullptr) return table;
    table.Height = picture->h;
    const uint32_t marker = MapColor(picture, kMarkerRed, kMarkerGreen, kMarkerBlue);
    bool inRun = false;
    for (int32_t x = 0; x < picture->w && table.Runs < kMaxMarkerRuns; ++x) {
        const bool isMarker = ReadPixel(picture, x, 0) == marker;
        if (isMarker && !inRun) {
            table.CharPos[static_cast<size_t>(2 * table.Runs)] = x;
            inRun = true;
        } else if (!isMarker && inRun) {
            table.CharPos[static_cast<size_t>(2 * table.Runs + 1)] = x;
            ++table.Runs;
            inRun = false;
        }
    }
    if (inRun) {
        // A run that reaches the right edge ends on the last column.
        table.CharPos[static_cast<size_t>(2 * table.Runs + 1)] = picture->w - 1;
        ++table.Runs;
    }
    return table;
}

std::optional<TGlyphPlacement> GlyphFor(const TMarkerTable& table, uint8_t code) {
    if (code < kFirstGlyphCode) return std::nullopt;
    // Code c lies between runs c - 33 and c - 32; both must have been seen in the picture.
    const int32_t glyph = code - kFirstGlyphCode;
    if (glyph + 1 >= table.Runs) return std::nullopt;
    const auto at = [&](int32_t i) { return table.CharPos[static_cast<size_t>(i)]; };
    const int32_t k = glyph * 2 + 1;
    const int32_t leftMiddle = (at(k) + at(k - 1)) / 2;
    const int32_t rightMiddle = (at(k + 2) + at(k + 1)) / 2;
    TGlyphPlacement placement;
    placement.Source = MakeRect(leftMiddle, 1, rightMiddle - leftMiddle, std::max(0, table.Height - 1));
    placement.OffsetX = (at(k) - at(k - 1)) / 2;
    placement.Advance = at(k + 1) - at(k);
    return placement;
}

int32_t SpaceAdvance(const TMarkerTable& table) {
    if (table.Runs < 2) return 0;
    return table.CharPos[2] - table.CharPos[1];
}

int32_t DrawBitmapText(SDL_Surface* picture, const TMarkerTable& table, SDL_Surface* target, int32_t x,
                       int32_t y, std::string_view text) {
    if (picture == nullptr) return x;
    int32_t pen = x;
    for (const char c : text) {
        const auto code = static_cast<uint8_t>(c);
        if (code == ' ') {
            pen += SpaceAdvance(table);
            continue;
        }
        const auto glyph = GlyphFor(table, code);
        if (!glyph) continue;
        if (glyph->Source.W > 0 && glyph->Source.H > 0)
            BlitRect(picture, glyph->Source, target, pen - glyph->OffsetX, y);
        pen += glyph->Advance;
    }
    return pen;
}
