// The content generators' picture: RGBA floats 0..1 with anti-aliased shapes, tileable
// noise, and writers that flatten it onto the game's colour keys for PNG or JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content {

struct TColor {
    float R = 0, G = 0, B = 0, A = 1;
};

[[nodiscard]] TColor Rgb(int r, int g, int b, float a = 1.0f);
[[nodiscard]] TColor Mix(const TColor& a, const TColor& b, float t);
[[nodiscard]] TColor Scale(const TColor& c, float k);
[[nodiscard]] float Clamp01(float v);
[[nodiscard]] float SmoothStep(float edge0, float edge1, float v);

// A key colour in 0..255 components, exactly as the game's data files name it.
struct TKey {
    int R = 0, G = 0, B = 0;
};

class TCanvas {
public:
    TCanvas() = default;
    TCanvas(int width, int height, TColor fill = {0, 0, 0, 0});

    [[nodiscard]] int Width() const { return W; }
    [[nodiscard]] int Height() const { return H; }
    [[nodiscard]] TColor& At(int x, int y) { return Pixels[static_cast<size_t>(y) * W + x]; }
    [[nodiscard]] const TColor& At(int x, int y) const { return Pixels[static_cast<size_t>(y) * W + x]; }
    [[nodiscard]] bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < W && y < H; }

    // Source-over blend of colour c with coverage alpha into pixel (x, y); outside is ignored.
    void Blend(int x, int y, const TColor& c, float coverage = 1.0f);
    // Pastes src with its alpha over this canvas with src's top left at (x, y).
    void Paste(const TCanvas& src, int x, int y);

    // Anti-aliased shapes (4 by 4 samples per edge pixel), centres in pixel units.
    void FillEllipse(float cx, float cy, float rx, float ry, const TColor& c);
    void FillPolygon(const std::vector<float>& xy, const TColor& c);
    void FillRect(float x0, float y0, float x1, float y1, const TColor& c);
    // A thick line with round caps.
    void Line(float x0, float y0, float x1, float y1, float width, const TColor& c);

    // Dark rim around everything with alpha: pixels next to opaque ones get colour c.
    void Outline(const TColor& c, float threshold = 0.5f);

private:
    int W = 0, H = 0;
    std::vector<TColor> Pixels;
};

// Tileable value noise in 0..1 with period (px, py) in lattice cells; the same seed gives the
// same field, so tiles drawn from it join wherever they are laid.
[[nodiscard]] float TileNoise(float x, float y, int px, int py, uint32_t seed);
// Fractal sum of TileNoise over octaves, still tileable with the base period.
[[nodiscard]] float TileFbm(float x, float y, int px, int py, uint32_t seed, int octaves);
// A reproducible hash in 0..1 of a few integers.
[[nodiscard]] float Hash01(int a, int b = 0, int c = 0);

// PNG writer. Pixels with alpha below one half become the key colour; others are composited
// over `edge` so their anti-aliased borders blend into the outline, not into the key. No
// pixel other than a transparent one may equal the key, so such a pixel is nudged by one.
void WritePng(const std::string& fileName, const TCanvas& canvas, const TKey& key);
// Opaque PNG: alpha is ignored, pure black is nudged so a black key never eats a pixel.
void WriteOpaquePng(const std::string& fileName, const TCanvas& canvas);
void WriteJpeg(const std::string& fileName, const TCanvas& canvas, int quality);
// PNG with its alpha kept, for pictures outside the game (the desktop icon).
void WriteAlphaPng(const std::string& fileName, const TCanvas& canvas);

} // namespace content
