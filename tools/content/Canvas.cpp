// Pixel buffer, shapes, noise and the PNG/JPEG writers of the content generators.
#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace content {

TColor Rgb(int r, int g, int b, float a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a};
}

TColor Mix(const TColor& a, const TColor& b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t, a.A + (b.A - a.A) * t};
}

TColor Scale(const TColor& c, float k) {
    return {c.R * k, c.G * k, c.B * k, c.A};
}

float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float SmoothStep(float edge0, float edge1, float v) {
    const float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

TCanvas::TCanvas(int width, int height, TColor fill)
    : W(width), H(height), Pixels(static_cast<size_t>(width) * height, fill) {}

void TCanvas::Blend(int x, int y, const TColor& c, float coverage) {
    if (!Inside(x, y)) return;
    const float a = Clamp01(c.A * coverage);
    if (a <= 0) return;
    TColor& d = At(x, y);
    const float outA = a + d.A * (1 - a);
    if (outA <= 0) return;
    d.R = (c.R * a + d.R * d.A * (1 - a)) / outA;
    d.G = (c.G * a + d.G * d.A * (1 - a)) / outA;
    d.B = (c.B * a + d.B * d.A * (1 - a)) / outA;
    d.A = outA;
}

void TCanvas::Paste(const TCanvas& src, int x, int y) {
    for (int sy = 0; sy < src.H; ++sy)
        for (int sx = 0; sx < src.W; ++sx)
            Blend(x + sx, y + sy, src.At(sx, sy));
}

namespace {

// Coverage of one pixel by an inside test, sampled 4 by 4.
template <typename Inside> float Coverage(int px, int py, Inside inside) {
    int hits = 0;
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            if (inside(px + (i + 0.5f) / 4, py + (j + 0.5f) / 4)) ++hits;
    return hits / 16.0f;
}

} // namespace

void TCanvas::FillEllipse(float cx, float cy, float rx, float ry, const TColor& c) {
    if (rx <= 0 || ry <= 0) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(cx - rx)));
    const int x1 = std::min(W - 1, static_cast<int>(std::ceil(cx + rx)));
    const int y0 = std::max(0, static_cast<int>(std::floor(cy - ry)));
    const int y1 = std::min(H - 1, static_cast<int>(std::ceil(cy + ry)));
    auto inside = [&](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1;
    };
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            Blend(x, y, c, Coverage(x, y, inside));
}

void TCanvas::FillPolygon(const std::vector<float>& xy, const TColor& c) {
    const size_t n = xy.size() / 2;
    if (n < 3) return;
    float minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (size_t i = 0; i < n; ++i) {
        minX = std::min(minX, xy[2 * i]);
        maxX = std::max(maxX, xy[2 * i]);
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    auto inside = [&](float x, float y) {
        bool in = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
    for (int y = std::max(0, static_cast<int>(minY)); y <= std::min(H - 1, static_cast<int>(maxY)); ++y)
        for (int x = std::max(0, static_cast<int>(minX)); x <= std::min(W - 1, static_cast<int>(maxX)); ++x)
            Blend(x, y, c, Coverage(x, y, inside));
}

void TCanvas::FillRect(float x0, float y0, float x1, float y1, const TColor& c) {
    FillPolygon({x0, y0, x1, y0, x1, y1, x0, y1}, c);
}

void TCanvas::Line(float x0, float y0, float x1, float y1, float width, const TColor& c) {
    const float r = width / 2;
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = std::max(1e-6f, dx * dx + dy * dy);
    auto inside = [&](float x, float y) {
        const float t = std::clamp(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f);
        const float ex = x - (x0 + t * dx), ey = y - (y0 + t * dy);
        return ex * ex + ey * ey <= r * r;
    };
    const int bx0 = std::max(0, static_cast<int>(std::floor(std::min(x0, x1) - r)));
    const int bx1 = std::min(W - 1, static_cast<int>(std::ceil(std::max(x0, x1) + r)));
    const int by0 = std::max(0, static_cast<int>(std::floor(std::min(y0, y1) - r)));
    const int by1 = std::min(H - 1, static_cast<int>(std::ceil(std::max(y0, y1) + r)));
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x)
            Blend(x, y, c, Coverage(x, y, inside));
}

void TCanvas::Outline(const TColor& c, float threshold) {
    std::vector<uint8_t> solid(Pixels.size());
    for (size_t i = 0; i < Pixels.size(); ++i)
        solid[i] = Pixels[i].A >= threshold;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            if (solid[static_cast<size_t>(y) * W + x]) continue;
            bool near = false;
            for (int k = 0; k < 4 && !near; ++k) {
                const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
                near = Inside(nx, ny) && solid[static_cast<size_t>(ny) * W + nx];
            }
            if (near) {
                TColor& d = At(x, y);
                const float keep = d.A;
                d = Mix(c, d, keep * 0.5f);
                d.A = 1;
            }
        }
}

namespace {

uint32_t HashU(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float Lattice(int x, int y, int px, int py, uint32_t seed) {
    x = ((x % px) + px) % px;
    y = ((y % py) + py) % py;
    return (HashU(static_cast<uint32_t>(x) * 73856093U ^ static_cast<uint32_t>(y) * 19349663U ^
                  seed * 83492791U) &
            0xffffff) /
           16777215.0f;
}

uint8_t ToByte(float v) {
    return static_cast<uint8_t>(std::lround(Clamp01(v) * 255));
}

void Save(bool ok, const std::string& fileName) {
    if (!ok) throw std::runtime_error("could not write " + fileName);
}

} // namespace

float Hash01(int a, int b, int c) {
    return (HashU(static_cast<uint32_t>(a) * 2654435761U ^ HashU(static_cast<uint32_t>(b) + 0x9e3779b9U) ^
                  static_cast<uint32_t>(c) * 40503U) &
            0xffffff) /
           16777215.0f;
}

float TileNoise(float x, float y, int px, int py, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = x - ix, fy = y - iy;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float a = Lattice(ix, iy, px, py, seed), b = Lattice(ix + 1, iy, px, py, seed);
    const float c = Lattice(ix, iy + 1, px, py, seed), d = Lattice(ix + 1, iy + 1, px, py, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float TileFbm(float x, float y, int px, int py, uint32_t seed, int octaves) {
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * TileNoise(x, y, px, py, seed + o * 1013);
        norm += amp;
        x *= 2;
        y *= 2;
        px *= 2;
        py *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}

void WritePng(const std::string& fileName, const TCanvas& canvas, const TKey& key) {
    std::vector<uint8_t> rgb(static_cast<size_t>(canvas.Width()) * canvas.Height() * 3);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const TColor& c = canvas.At(x, y);
            uint8_t* p = &rgb[(static_cast<size_t>(y) * canvas.Width() + x) * 3];
            if (c.A < 0.5f) {
                p[0] = static_cast<uint8_t>(key.R);
                p[1] = static_cast<uint8_t>(key.G);
                p[2] = static_cast<uint8_t>(key.B);
                continue;
            }
            p[0] = ToByte(c.R);
            p[1] = ToByte(c.G);
            p[2] = ToByte(c.B);
            if (p[0] == key.R && p[1] == key.G && p[2] == key.B) p[2] = static_cast<uint8_t>(key.B ^ 1);
        }
    Save(stbi_write_png(fileName.c_str(), canvas.Width(), canvas.Height(), 3, rgb.data(), canvas.Width() * 3),
         fileName);
}

void WriteOpaquePng(const std::string& fileName, const TCanvas& canvas) {
    std::vector<uint8_t> rgb(static_cast<size_t>(canvas.Width()) * canvas.Height() * 3);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const TColor& c = canvas.At(x, y);
            uint8_t* p = &rgb[(static_cast<size_t>(y) * canvas.Width() + x) * 3];
            p[0] = ToByte(c.R);
            p[1] = ToByte(c.G);
            p[2] = std::max<uint8_t>(1, ToByte(c.B));
        }
    Save(stbi_write_png(fileName.c_str(), canvas.Width(), canvas.Height(), 3, rgb.data(), canvas.Width() * 3),
         fileName);
}

void WriteAlphaPng(const std::string& fileName, const TCanvas& canvas) {
    std::vector<uint8_t> rgba(static_cast<size_t>(canvas.Width()) * canvas.Height() * 4);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const TColor& c = canvas.At(x, y);
            uint8_t* p = &rgba[(static_cast<size_t>(y) * canvas.Width() + x) * 4];
            p[0] = ToByte(c.R);
            p[1] = ToByte(c.G);
            p[2] = ToByte(c.B);
            p[3] = ToByte(c.A);
        }
    Save(stbi_write_png(fileName.c_str(), canvas.Width(), canvas.Height(), 4, rgba.data(), canvas.Width() * 4),
         fileName);
}

void WriteJpeg(const std::string& fileName, const TCanvas& canvas, int quality) {
    std::vector<uint8_t> rgb(static_cast<size_t>(canvas.Width()) * canvas.Height() * 3);
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const TColor& c = canvas.At(x, y);
            uint8_t* p = &rgb[(static_cast<size_t>(y) * canvas.Width() + x) * 3];
            // The menu backgrounds are keyed on black; a floor well above the JPEG error keeps every
            // pixel drawn.
            p[0] = std::max<uint8_t>(12, ToByte(c.R));
            p[1] = std::max<uint8_t>(12, ToByte(c.G));
            p[2] = std::max<uint8_t>(12, ToByte(c.B));
        }
    Save(stbi_write_jpg(fileName.c_str(), canvas.Width(), canvas.Height(), 3, rgb.data(), quality), fileName);
}

} // namespace content
