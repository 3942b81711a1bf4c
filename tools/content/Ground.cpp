// Grass, earth and water ground. Every texture is periodic in the tile size, so any tile
// joins any other; shores come from the distance to the water next door.
#include "Ground.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace content {

namespace {

// The shore sets the water ground can show, in frame order; frames 22 and 23 are open water.
const std::vector<uint8_t>& ShoreSets() {
    static const std::vector<uint8_t> sets = {
        0, // 0 plain grass
        kN,
        kE,
        kS,
        kW, // 1-4 one side
        kNE,
        kSE,
        kSW,
        kNW, // 5-8 one corner
        kN | kE,
        kE | kS,
        kS | kW,
        kW | kN, // 9-12 two sides round a corner
        kN | kS,
        kE | kW, // 13-14 a neck of land
        kN | kE | kS,
        kE | kS | kW,
        kS | kW | kN,
        kW | kN | kE,      // 15-18 a point
        kN | kE | kS | kW, // 19 an islet
        kN | kSE,
        kN | kSW, // 20-21 a side and the far corner
        kS | kNE,
        kS | kNW,
        kE | kNW,
        kE | kSW,
        kW | kNE,
        kW | kSE, // 24-29
        kNE | kNW,
        kSE | kSW, // 30-31 two corners
    };
    return sets;
}

int FrameOfSlot(int slot) {
    return slot < kOpenWater ? slot : slot + 2;
}

struct TRect {
    float X0, Y0, X1, Y1;
};

float DistanceToRect(float x, float y, const TRect& r) {
    const float dx = std::max({r.X0 - x, 0.0f, x - r.X1});
    const float dy = std::max({r.Y0 - y, 0.0f, y - r.Y1});
    return std::sqrt(dx * dx + dy * dy);
}

TColor GrassAt(float x, float y) {
    const float n = TileFbm(x / 16, y / 12, 4, 4, 11, 3);
    const float fine = TileNoise(x / 2, y / 1.5f, 32, 32, 12);
    const float blades = TileNoise(x / 1.0f, y / 3.0f, 64, 16, 13);
    TColor c = Mix(Rgb(58, 104, 38), Rgb(102, 146, 54), n);
    c = Mix(c, Rgb(128, 170, 70), std::max(0.0f, blades - 0.72f) * 2.2f);
    c = Scale(c, 0.9f + 0.2f * fine);
    return c;
}

TColor EarthAt(float x, float y) {
    const float n = TileFbm(x / 16, y / 12, 4, 4, 21, 4);
    const float fine = TileNoise(x / 1.5f, y / 1.5f, 43, 32, 22);
    TColor c = Mix(Rgb(112, 80, 48), Rgb(150, 112, 70), n);
    c = Scale(c, 0.88f + 0.22f * fine);
    // Pebbles: small bright specks where the fine noise peaks.
    const float pebble = TileNoise(x / 3.0f, y / 3.0f, 21, 16, 23);
    if (pebble > 0.82f) c = Mix(c, Rgb(178, 160, 132), (pebble - 0.82f) * 4);
    return c;
}

TColor WaterAt(float x, float y) {
    const float swell = TileFbm(x / 16, y / 12, 4, 4, 31, 3);
    const float ripple = std::sin((x / 64.0f * 2 + y / 48.0f * 3) * 3.14159f * 2 + swell * 6) * 0.5f + 0.5f;
    TColor c = Mix(Rgb(28, 70, 128), Rgb(44, 104, 160), swell);
    c = Mix(c, Rgb(110, 170, 210), std::pow(ripple, 12.0f) * 0.5f);
    return c;
}

// Decorations kept clear of the tile's border so variants join like the plain frame.
void Flowers(TCanvas& t, int seed, const TColor& petal) {
    for (int k = 0; k < 5; ++k) {
        const float cx = 10 + Hash01(seed, k, 1) * 44, cy = 8 + Hash01(seed, k, 2) * 32;
        for (int p = 0; p < 5; ++p) {
            const float a = p * 1.2566f;
            t.FillEllipse(cx + std::cos(a) * 1.6f, cy + std::sin(a) * 1.2f, 1.2f, 1.0f, petal);
        }
        t.FillEllipse(cx, cy, 0.9f, 0.8f, Rgb(240, 210, 60));
    }
}

void Stones(TCanvas& t, int seed, int count) {
    for (int k = 0; k < count; ++k) {
        const float cx = 10 + Hash01(seed, k, 3) * 44, cy = 8 + Hash01(seed, k, 4) * 32;
        const float r = 2 + Hash01(seed, k, 5) * 3;
        t.FillEllipse(cx + 0.8f, cy + 1.0f, r, r * 0.7f, Rgb(40, 50, 30, 0.6f));
        t.FillEllipse(cx, cy, r, r * 0.7f, Rgb(136, 132, 122));
        t.FillEllipse(cx - r * 0.3f, cy - r * 0.25f, r * 0.5f, r * 0.3f, Rgb(186, 182, 170));
    }
}

void Tufts(TCanvas& t, int seed, int count, const TColor& c) {
    for (int k = 0; k < count; ++k) {
        const float cx = 8 + Hash01(seed, k, 6) * 48, cy = 10 + Hash01(seed, k, 7) * 30;
        for (int b = -2; b <= 2; ++b)
            t.Line(cx, cy, cx + b * 1.6f, cy - 5 + std::abs(b), 1.0f, c);
    }
}

TCanvas Tile(TColor (*texture)(float, float)) {
    TCanvas t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x)
            t.At(x, y) = texture(x + 0.5f, y + 0.5f);
    return t;
}

void Put(TCanvas& sheet, int frame, const TCanvas& tile) {
    const int perRow = sheet.Width() / kTileW;
    sheet.Paste(tile, (frame % perRow) * kTileW, (frame / perRow) * kTileH);
}

// Grass with earth reaching in from its earth neighbours, which show bare earth to their
// own edges; the boundary wanders like the shoreline and is softened by grass tufts.
TCanvas VergeTile(uint8_t set) {
    std::vector<TRect> bare;
    const int sides[8][3] = {{kN, 0, -1},  {kE, 1, 0},  {kS, 0, 1},   {kW, -1, 0},
                             {kNE, 1, -1}, {kSE, 1, 1}, {kSW, -1, 1}, {kNW, -1, -1}};
    for (const auto& s : sides)
        if (set & s[0]) bare.push_back({64.0f * s[1], 48.0f * s[2], 64.0f * s[1] + 64, 48.0f * s[2] + 48});
    TCanvas t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            float d = 1e9f;
            for (const TRect& r : bare)
                d = std::min(d, DistanceToRect(px, py, r));
            const float reach = 4 + 9 * TileFbm(px / 16, py / 12, 4, 4, 51, 3);
            const float blades = TileNoise(px / 1.0f, py / 3.0f, 64, 16, 13);
            const float edge = reach + (blades - 0.5f) * 5;
            TColor c = d < edge ? EarthAt(px, py) : GrassAt(px, py);
            // A dark rim where the turf is cut back.
            if (d >= edge && d < edge + 1.2f) c = Scale(c, 0.8f);
            t.At(x, y) = c;
        }
    return t;
}

TCanvas ShoreTile(uint8_t set) {
    // Water reaches from each wet neighbour's picture half a tile further right and down,
    // because a tile's water squares lie half a tile right of and below its picture; the
    // shore shows all of that so no dry-looking ground drowns a fighter.
    std::vector<TRect> wet;
    auto add = [&wet](int dc, int dr) {
        wet.push_back({64.0f * dc, 48.0f * dr, 64.0f * dc + 96, 48.0f * dr + 72});
    };
    if (set & kN) add(0, -1);
    if (set & kE) add(1, 0);
    if (set & kS) add(0, 1);
    if (set & kW) add(-1, 0);
    if (set & kNE) add(1, -1);
    if (set & kSE) add(1, 1);
    if (set & kSW) add(-1, 1);
    if (set & kNW) add(-1, -1);
    TCanvas t(kTileW, kTileH);
    for (int y = 0; y < kTileH; ++y)
        for (int x = 0; x < kTileW; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            float d = 1e9f;
            for (const TRect& r : wet)
                d = std::min(d, DistanceToRect(px, py, r));
            // The shoreline wanders 3..8 pixels out from the water's edge.
            const float reach = 3 + 5 * TileFbm(px / 16, py / 12, 4, 4, 41, 2);
            const float beach = reach + 4 + 3 * TileNoise(px / 8, py / 6, 8, 8, 42);
            TColor c;
            if (d < reach) {
                c = WaterAt(px, py);
                const float foam = 1 - SmoothStep(0, 1.6f, reach - d);
                c = Mix(c, Rgb(200, 226, 236), foam * 0.75f);
                const float shallow = 1 - SmoothStep(0, 5, reach - d);
                c = Mix(c, Rgb(70, 140, 170), shallow * 0.35f * (d > 0.01f));
            } else if (d < beach) {
                const float wetSand = 1 - SmoothStep(0, 2.5f, d - reach);
                c = Mix(Rgb(196, 176, 120), Rgb(150, 128, 88), wetSand);
                c = Scale(c, 0.92f + 0.12f * TileNoise(px / 1.3f, py / 1.3f, 49, 37, 43));
            } else {
                c = Mix(Rgb(196, 176, 120), GrassAt(px, py), SmoothStep(0, 2.5f, d - beach));
            }
            t.At(x, y) = c;
        }
    return t;
}

} // namespace

uint8_t CanonicalShore(uint8_t n) {
    if (n & (kN | kE)) n &= ~kNE;
    if (n & (kS | kE)) n &= ~kSE;
    if (n & (kS | kW)) n &= ~kSW;
    if (n & (kN | kW)) n &= ~kNW;
    return n;
}

namespace {

int SlotOf(uint8_t neighbours) {
    const uint8_t set = CanonicalShore(neighbours);
    const auto& sets = ShoreSets();
    for (size_t i = 0; i < sets.size(); ++i)
        if (sets[i] == set) return static_cast<int>(i);
    return -1;
}

} // namespace

int ShoreFrame(uint8_t neighbours) {
    const int slot = SlotOf(neighbours);
    return slot < 0 ? -1 : FrameOfSlot(slot);
}

int VergeFrame(uint8_t neighbours) {
    const int slot = SlotOf(neighbours);
    return slot <= 0 ? -1 : kBrownFrames + slot - 1;
}

TCanvas DrawPlainGround() {
    TCanvas sheet(kTileW * 4, kTileH * 2);
    for (int f = 0; f < kPlainFrames; ++f) {
        TCanvas t = Tile(GrassAt);
        switch (f) {
        case 2:
            Flowers(t, 2, Rgb(236, 236, 250));
            break;
        case 3:
            Stones(t, 3, 3);
            break;
        case 4:
            Tufts(t, 4, 6, Rgb(70, 120, 40));
            break;
        case 5:
            Flowers(t, 5, Rgb(200, 60, 70));
            break;
        case 6:
            Flowers(t, 6, Rgb(140, 120, 230));
            Tufts(t, 7, 3, Rgb(76, 128, 44));
            break;
        case 7:
            Stones(t, 8, 1);
            Tufts(t, 9, 4, Rgb(84, 136, 46));
            break;
        default:
            break;
        }
        Put(sheet, f, t);
    }
    return sheet;
}

TCanvas DrawBrownGround() {
    TCanvas sheet(kTileW * 8, kTileH * 5);
    for (int f = 0; f < kBrownFrames; ++f) {
        TCanvas t = Tile(EarthAt);
        if (f == 1 || f == 5) Stones(t, 20 + f, 2 + f % 3);
        if (f == 2) {
            // Cart ruts running across the tile, joining left and right.
            for (int x = 0; x < kTileW; ++x)
                for (float ry : {16.0f, 32.0f})
                    for (int dy = -1; dy <= 1; ++dy) {
                        const int y = static_cast<int>(ry + std::sin(x / 64.0f * 6.2832f) * 1.5f) + dy;
                        t.At(x, y) = Scale(t.At(x, y), dy == 0 ? 0.72f : 0.86f);
                    }
        }
        if (f == 3) Tufts(t, 30, 4, Rgb(96, 120, 50));
        if (f == 4) {
            for (int k = 0; k < 8; ++k) {
                const float cx = 8 + Hash01(40, k) * 48, cy = 8 + Hash01(41, k) * 32;
                t.FillEllipse(cx, cy, 1.8f, 1.2f, Rgb(90, 64, 40));
            }
        }
        if (f == 6) Stones(t, 60, 5);
        if (f == 7) Tufts(t, 70, 7, Rgb(88, 118, 48));
        Put(sheet, f, t);
    }
    const auto& sets = ShoreSets();
    for (size_t i = 1; i < sets.size(); ++i)
        Put(sheet, kBrownFrames + static_cast<int>(i) - 1, VergeTile(sets[i]));
    // The cells after the last verge are never named; bare earth keeps them from being holes.
    for (int f = kBrownFrames + static_cast<int>(sets.size()) - 1; f < 40; ++f)
        Put(sheet, f, Tile(EarthAt));
    return sheet;
}

TCanvas DrawWaterGround() {
    TCanvas sheet(kTileW * 8, kTileH * 4);
    const auto& sets = ShoreSets();
    for (size_t i = 0; i < sets.size(); ++i)
        Put(sheet, FrameOfSlot(static_cast<int>(i)), ShoreTile(sets[i]));
    TCanvas water = Tile(WaterAt);
    Put(sheet, kOpenWater, water);
    // The second open-water frame carries a few lily pads away from the border.
    for (int k = 0; k < 3; ++k) {
        const float cx = 14 + Hash01(90, k) * 36, cy = 10 + Hash01(91, k) * 28;
        water.FillEllipse(cx, cy, 4, 2.8f, Rgb(56, 120, 50));
        water.FillPolygon({cx, cy, cx + 4.5f, cy - 1.2f, cx + 4.5f, cy + 0.8f}, WaterAt(cx + 3, cy));
        if (k == 1) water.FillEllipse(cx - 1, cy - 1, 1.4f, 1.1f, Rgb(240, 190, 220));
    }
    Put(sheet, kOpenWaterAlt, water);
    return sheet;
}

} // namespace content
