// Panels, bars, check boxes and painted menu backgrounds.
#include "Interface.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

// A bevelled frame: light on the top and left edges, dark on the others.
void Bevel(TCanvas& c, float x0, float y0, float x1, float y1, const TColor& base, float width) {
    c.FillRect(x0, y0, x1, y1, Scale(base, 0.55f));
    c.FillPolygon({x0, y0, x1, y0, x1 - width, y0 + width, x0 + width, y0 + width}, Scale(base, 1.35f));
    c.FillPolygon({x0, y0, x0 + width, y0 + width, x0 + width, y1 - width, x0, y1}, Scale(base, 1.15f));
    c.FillRect(x0 + width, y0 + width, x1 - width, y1 - width, base);
}

void Slot(TCanvas& c, float x, float y, float w, float h) {
    c.FillRect(x - 1, y - 1, x + w + 1, y + h + 1, Rgb(150, 120, 70));
    c.FillRect(x, y, x + w, y + h, Rgb(40, 32, 24));
}

} // namespace

TCanvas DrawPlayerBox(bool local) {
    TCanvas c(kPanelW, kPanelH);
    const TColor rim = local ? Rgb(196, 156, 60) : Rgb(120, 110, 100);
    // Rounded corners stay black: the panel is keyed on black.
    c.FillRect(3, 0, kPanelW - 3, kPanelH, rim);
    c.FillRect(0, 3, kPanelW, kPanelH - 3, rim);
    c.FillEllipse(3, 3, 3, 3, rim);
    c.FillEllipse(kPanelW - 3, 3, 3, 3, rim);
    c.FillEllipse(3, kPanelH - 3, 3, 3, rim);
    c.FillEllipse(kPanelW - 3, kPanelH - 3, 3, 3, rim);
    Bevel(c, 3, 3, kPanelW - 3, kPanelH - 3, local ? Rgb(70, 58, 40) : Rgb(56, 54, 58), 2);
    // Leather grain inside.
    for (int y = 6; y < kPanelH - 6; ++y)
        for (int x = 6; x < kPanelW - 6; ++x) {
            const float n = TileFbm(x / 10.0f, y / 10.0f, 20, 10, local ? 5 : 6, 3);
            c.At(x, y) = Scale(c.At(x, y), 0.8f + 0.35f * n);
        }
    // Recesses under the health bar and the worn boots, gloves and armour; the fighter's status is
    // drawn from the panel's own top left corner.
    Slot(c, 40, 7, 48, 8);
    Slot(c, 44, 19, 24, 24);
    Slot(c, 69, 19, 24, 24);
    Slot(c, 98, 13, 24, 24);
    // Portrait niche on the left.
    c.FillEllipse(18, 44, 15, 30, Rgb(30, 26, 22));
    c.FillEllipse(18, 44, 13, 28, local ? Rgb(90, 70, 40) : Rgb(60, 60, 70));
    // Charge rows on the right, marked with small dots where the beads will sit.
    for (int row = 0; row < 5; ++row) {
        const float y = (row == 0 ? -2 : row == 1 ? 15 : row == 2 ? 35 : row == 3 ? 50 : 65) + 7;
        for (int j = 1; j <= 5; ++j)
            c.FillEllipse(110 + 10 * j + 5, std::max(5.0f, y), 1.4f, 1.4f, Rgb(30, 26, 22));
    }
    if (local) {
        // A gold star in the top right marks the fighter at this keyboard.
        std::vector<float> star;
        for (int k = 0; k < 10; ++k) {
            const float a = -kPi / 2 + k * kPi / 5, r = k % 2 ? 3.2f : 7.5f;
            star.push_back(kPanelW - 14 + std::cos(a) * r);
            star.push_back(kPanelH - 14 + std::sin(a) * r);
        }
        c.FillPolygon(star, Rgb(120, 90, 20));
        for (size_t i = 0; i < star.size(); i += 2) {
            star[i] = kPanelW - 14 + (star[i] - (kPanelW - 14)) * 0.8f;
            star[i + 1] = kPanelH - 14 + (star[i + 1] - (kPanelH - 14)) * 0.8f;
        }
        c.FillPolygon(star, Rgb(250, 214, 80));
    }
    return c;
}

TCanvas DrawPlayerLife() {
    // Ten frames of 48 by 8, stacked: frame 0 full, frame 9 nearly empty.
    TCanvas c(48, 80);
    for (int f = 0; f < 10; ++f) {
        const float y = f * 8.0f;
        c.FillRect(0, y, 48, y + 8, Rgb(24, 20, 18));
        c.FillRect(1, y + 1, 47, y + 7, Rgb(70, 20, 20));
        const float fill = 1 + 45 * (10 - f) / 10.0f;
        const TColor col = f < 4 ? Rgb(60, 200, 60) : (f < 7 ? Rgb(230, 200, 40) : Rgb(230, 60, 40));
        c.FillRect(1, y + 1, fill + 1, y + 7, col);
        c.FillRect(1, y + 1, fill + 1, y + 3, Mix(col, Rgb(255, 255, 255), 0.45f));
    }
    return c;
}

TCanvas DrawSplash() {
    constexpr int kFrames = 4, kW = 64, kH = 48;
    TCanvas c(kW * kFrames, kH);
    for (int f = 0; f < kFrames; ++f) {
        const float t = (f + 1) / static_cast<float>(kFrames);
        const float cx = f * kW + kW / 2.0f, base = kH - 8.0f;
        // Rings spreading on the water, the outer one fading into the next.
        c.FillEllipse(cx, base, 10 + 20 * t, 4 + 5 * t, Rgb(200, 230, 255));
        c.FillEllipse(cx, base, 8 + 18 * t, 3 + 4 * t, Rgb(40, 90, 170));
        c.FillEllipse(cx, base, 4 + 8 * t, 2 + 2 * t, Rgb(170, 215, 250));
        // A column of spray that rises, then falls back in drops.
        const float height = 30 * (f < 2 ? t * 2 : 2 - t * 1.5f);
        c.FillEllipse(cx, base - height / 2, 5 - 2 * t, height / 2 + 1, Rgb(225, 240, 255));
        for (int k = -2; k <= 2; ++k) {
            if (k == 0) continue;
            const float dx = k * (5 + 10 * t), dy = base - 6 - 22 * t * (1.2f - t) * 2;
            c.FillEllipse(cx + dx, dy, 2.2f, 2.6f, Rgb(190, 225, 255));
        }
    }
    return c;
}

TCanvas DrawCheckBox() {
    TCanvas c(32 * 5, 32);
    for (int cell : {0, 1, 2}) {
        const float x = cell * 32.0f;
        Bevel(c, x + 4, 4, x + 28, 28, Rgb(120, 100, 70), 2);
        c.FillRect(x + 7, 7, x + 25, 25, Rgb(230, 220, 190));
        if (cell == 1) {
            c.Line(x + 9, 16, x + 14, 22, 3.2f, Rgb(30, 120, 40));
            c.Line(x + 14, 22, x + 24, 8, 3.2f, Rgb(30, 120, 40));
        }
        if (cell == 2) c.FillRect(x + 10, 10, x + 22, 22, Rgb(150, 140, 120));
    }
    for (int cell : {3, 4}) {
        const float x = cell * 32.0f;
        const float s = cell == 3 ? -1.0f : 1.0f;
        const float cx = x + 16;
        c.FillPolygon({cx - s * 9, 5, cx + s * 11, 16, cx - s * 9, 27}, Rgb(60, 40, 10));
        c.FillPolygon({cx - s * 7, 8, cx + s * 8, 16, cx - s * 7, 24}, Rgb(250, 210, 70));
        c.FillPolygon({cx - s * 7, 8, cx + s * 8, 16, cx - s * 7, 14}, Rgb(255, 240, 160));
    }
    return c;
}

std::vector<std::string> BackgroundNames() {
    return {"Sunset", "Brown", "Japan", "Mesa"};
}

namespace {

void Ridge(TCanvas& c, float base, float amp, float freq, uint32_t seed, const TColor& col, float haze) {
    for (int x = 0; x < c.Width(); ++x) {
        const float h = base - amp * TileFbm(x * freq, 0.5f, 64, 4, seed, 4);
        for (int y = std::max(0, static_cast<int>(h)); y < c.Height(); ++y) {
            const float t = (y - h) / 200.0f;
            c.At(x, y) = Mix(col, Scale(col, 0.6f), Clamp01(t) * (1 - haze));
        }
    }
}

// Darkens the bands where the menus put their text so it reads on any picture.
void Readable(TCanvas& c) {
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const float dx = (x - 320) / 400.0f, dy = (y - 240) / 300.0f;
            float k = 0.55f + 0.25f * (1 - std::min(1.0f, dx * dx + dy * dy));
            if (y < 40 || y > 380) k *= 0.75f;
            c.At(x, y) = Scale(c.At(x, y), k);
        }
}

TCanvas Sky(const TColor& top, const TColor& mid, const TColor& low) {
    TCanvas c(640, 480);
    for (int y = 0; y < 480; ++y) {
        const float t = y / 479.0f;
        const TColor col = t < 0.55f ? Mix(top, mid, t / 0.55f) : Mix(mid, low, (t - 0.55f) / 0.45f);
        for (int x = 0; x < 640; ++x)
            c.At(x, y) = col;
    }
    return c;
}

void Clouds(TCanvas& c, float yTop, float yBottom, const TColor& col, uint32_t seed) {
    for (int y = static_cast<int>(yTop); y < yBottom; ++y)
        for (int x = 0; x < 640; ++x) {
            const float n = TileFbm(x / 90.0f, y / 22.0f, 8, 24, seed, 5);
            const float fade = std::sin((y - yTop) / (yBottom - yTop) * kPi);
            c.Blend(x, y, col, SmoothStep(0.52f, 0.75f, n) * fade * 0.8f);
        }
}

} // namespace

TCanvas DrawBackground(const std::string& name) {
    TCanvas c;
    if (name == "Sunset") {
        c = Sky(Rgb(40, 30, 90), Rgb(220, 110, 60), Rgb(250, 190, 90));
        c.FillEllipse(430, 300, 60, 60, Rgb(255, 220, 140));
        c.FillEllipse(430, 300, 48, 48, Rgb(255, 240, 190));
        Clouds(c, 60, 260, Rgb(170, 70, 90), 3);
        Ridge(c, 330, 90, 1 / 60.0f, 4, Rgb(90, 50, 80), 0.3f);
        Ridge(c, 380, 60, 1 / 40.0f, 5, Rgb(50, 28, 50), 0.2f);
        // A castle on the near ridge.
        const TColor dark = Rgb(26, 16, 28);
        c.FillRect(120, 300, 220, 380, dark);
        for (int k = 0; k < 6; ++k)
            c.FillRect(120 + k * 18, 292, 130 + k * 18, 300, dark);
        c.FillRect(150, 250, 180, 300, dark);
        c.FillPolygon({146, 250, 165, 215, 184, 250}, dark);
        c.FillRect(100, 280, 122, 380, dark);
        c.FillPolygon({96, 280, 111, 252, 126, 280}, dark);
        c.FillRect(163, 262, 167, 272, Rgb(250, 200, 90));
        Ridge(c, 440, 30, 1 / 30.0f, 6, Rgb(22, 14, 24), 0.1f);
    } else if (name == "Brown") {
        c = TCanvas(640, 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const float n = TileFbm(x / 80.0f, y / 80.0f, 8, 6, 7, 6);
                const float grain = TileNoise(x / 2.0f, y / 9.0f, 320, 53, 8);
                c.At(x, y) = Scale(Mix(Rgb(96, 62, 34), Rgb(150, 104, 60), n), 0.9f + 0.15f * grain);
            }
        // Tooled border.
        for (float inset : {14.0f, 22.0f}) {
            c.Line(inset, inset, 640 - inset, inset, 2, Rgb(200, 160, 90, 0.8f));
            c.Line(inset, 480 - inset, 640 - inset, 480 - inset, 2, Rgb(200, 160, 90, 0.8f));
            c.Line(inset, inset, inset, 480 - inset, 2, Rgb(200, 160, 90, 0.8f));
            c.Line(640 - inset, inset, 640 - inset, 480 - inset, 2, Rgb(200, 160, 90, 0.8f));
        }
        // Crossed swords emblem, faint, in the middle.
        c.Line(250, 150, 390, 330, 9, Rgb(70, 44, 24, 0.6f));
        c.Line(390, 150, 250, 330, 9, Rgb(70, 44, 24, 0.6f));
        c.FillEllipse(320, 240, 40, 46, Rgb(70, 44, 24, 0.5f));
    } else if (name == "Japan") {
        c = Sky(Rgb(230, 200, 170), Rgb(240, 220, 190), Rgb(210, 190, 170));
        c.FillEllipse(470, 150, 70, 70, Rgb(200, 40, 40));
        Ridge(c, 330, 200, 1 / 200.0f, 9, Rgb(120, 110, 130), 0.6f);
        Ridge(c, 390, 80, 1 / 70.0f, 10, Rgb(70, 66, 80), 0.4f);
        // Pagoda.
        const TColor ink = Rgb(30, 24, 30);
        for (int k = 0; k < 4; ++k) {
            const float y = 390 - k * 50.0f, w = 80 - k * 14.0f;
            c.FillRect(140 - w * 0.45f, y - 36, 140 + w * 0.45f, y, ink);
            c.FillPolygon(
                {140 - w - 16, y - 30, 140 + w + 16, y - 30, 140 + w * 0.6f, y - 48, 140 - w * 0.6f, y - 48},
                ink);
        }
        c.Line(140, 190, 140, 150, 4, ink);
        // Cherry branch.
        c.Line(640, 40, 520, 90, 7, ink);
        c.Line(560, 72, 500, 60, 4, ink);
        for (int k = 0; k < 40; ++k)
            c.FillEllipse(480 + Hash01(5, k) * 160, 40 + Hash01(6, k) * 70, 4, 4, Rgb(240, 170, 190));
        Ridge(c, 460, 20, 1 / 30.0f, 11, Rgb(40, 36, 44), 0.1f);
    } else if (name == "Mesa") {
        c = Sky(Rgb(60, 110, 180), Rgb(170, 190, 210), Rgb(230, 190, 140));
        Clouds(c, 40, 180, Rgb(250, 250, 255), 12);
        // Flat-topped mesas: a height profile of plateaus with ragged rims, cliffs banded by
        // rock strata, the sunlit faces on the left, then a desert floor fading into haze.
        struct TMesa {
            float X0, X1, Top, Haze;
        };
        const TMesa mesas[] = {{300, 560, 250, 0.45f}, {-40, 230, 215, 0.2f}, {430, 700, 290, 0.1f}};
        for (const TMesa& m : mesas) {
            for (int x = 0; x < 640; ++x) {
                const float rim = 6 * TileFbm(x / 25.0f, m.Top, 26, 4, 15, 3);
                const float left = SmoothStep(m.X0 - 25, m.X0 + 15, x + rim * 3);
                const float right = 1 - SmoothStep(m.X1 - 15, m.X1 + 25, x - rim * 3);
                const float lift = std::min(left, right);
                if (lift <= 0.02f) continue;
                const float top = 420 - (420 - m.Top - rim) * lift;
                const bool sunlit = left < 0.98f && x < (m.X0 + m.X1) / 2;
                const bool shaded = right < 0.98f && x > (m.X0 + m.X1) / 2;
                for (int y = std::max(0, static_cast<int>(top)); y < 420; ++y) {
                    const float strata = TileFbm(x / 60.0f, y / 3.0f, 11, 160, 16, 2);
                    TColor col = Mix(Rgb(168, 78, 42), Rgb(214, 128, 70), strata);
                    if ((static_cast<int>(y + rim * 2) / 9) % 3 == 0) col = Scale(col, 0.86f);
                    if (y < top + 3) col = Mix(col, Rgb(236, 170, 110), 0.6f);
                    if (sunlit) col = Scale(col, 1.12f);
                    if (shaded) col = Scale(col, 0.68f);
                    c.At(x, y) = Mix(col, Rgb(200, 170, 160), m.Haze);
                }
            }
        }
        for (int y = 400; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const float t = (y - 400) / 80.0f;
                const TColor sand =
                    Mix(Rgb(196, 140, 90), Rgb(150, 92, 52), TileFbm(x / 40.0f, y / 6.0f, 16, 14, 14, 3));
                c.At(x, y) = Mix(Mix(sand, Rgb(206, 170, 140), 0.4f * (1 - t)), sand, t);
            }
        // Scrub on the desert floor.
        for (int k = 0; k < 30; ++k)
            c.FillEllipse(Hash01(17, k) * 640, 410 + Hash01(18, k) * 65, 3 + Hash01(19, k) * 5,
                          2 + Hash01(20, k) * 2, Rgb(90, 92, 48));
    } else {
        throw std::runtime_error("unknown background " + name);
    }
    Readable(c);
    return c;
}

} // namespace content
