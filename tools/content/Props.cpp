// Trees are clusters of lit foliage balls on a trunk; ruins are stacked stone blocks with
// breaks, moss and fallen pieces. Both are ray cast like the fighters.
#include "Props.h"

#include "Render3D.h"

#include <cmath>

namespace content {

namespace {

TMaterial Mat(int r, int g, int b, float specular, float grain, float scale = 1.2f) {
    TMaterial m;
    m.Color = Rgb(r, g, b);
    m.Specular = specular;
    m.Grain = grain;
    m.GrainScale = scale;
    m.Shininess = 8;
    return m;
}

TCamera PropCamera(float ox, float oy) {
    TCamera cam;
    cam.Elevation = 0.62f;
    cam.Scale = 1.0f;
    cam.OriginX = ox;
    cam.OriginY = oy;
    cam.Samples = 2;
    return cam;
}

void Foliage(TScene& s, const TVec3& c, float radius, int count, const TColor& leaf, int seed) {
    for (int k = 0; k < count; ++k) {
        const float a = Hash01(seed, k, 1) * 6.2832f, e = Hash01(seed, k, 2) * 2 - 1;
        const float d = radius * (0.35f + 0.55f * Hash01(seed, k, 3));
        const TVec3 p = c + TVec3{std::cos(a) * d * std::sqrt(1 - e * e), e * d * 0.8f,
                                  std::sin(a) * d * std::sqrt(1 - e * e)};
        TMaterial m;
        m.Color = Mix(leaf, Scale(leaf, 1.25f), Hash01(seed, k, 4));
        m.Grain = 0.35f;
        m.GrainScale = 0.9f;
        m.Specular = 0.05f;
        s.Sphere(p, radius * (0.42f + 0.2f * Hash01(seed, k, 5)), m);
    }
}

// A conifer: tiers of needle clumps round a dark core, each tier drooping at its rim.
void Conifer(TScene& s, float base, int tiers, float width, float step, const TColor& needles, int seed) {
    TMaterial core;
    core.Color = Scale(needles, 0.55f);
    core.Grain = 0.2f;
    s.Cone({0, base, 0}, {0, base + tiers * step + 10, 0}, width * 0.45f, 1.5f, core);
    for (int k = 0; k < tiers; ++k) {
        const float t = static_cast<float>(k) / tiers;
        const float r = width * (1 - t * 0.85f), y = base + k * step;
        const int clumps = 7 + static_cast<int>(r / 3);
        for (int j = 0; j < clumps; ++j) {
            const float a = (j + 0.5f * (k % 2)) / clumps * 6.2832f;
            TMaterial m;
            m.Color = Mix(needles, Scale(needles, 1.3f), Hash01(seed, k, j));
            m.Grain = 0.35f;
            m.GrainScale = 1.1f;
            m.Specular = 0.04f;
            s.Cone({std::cos(a) * r * 0.3f, y + step * 0.9f, std::sin(a) * r * 0.3f},
                   {std::cos(a) * r, y - step * 0.2f, std::sin(a) * r}, 2.2f, 3.4f, m);
        }
    }
    s.Cone({0, base + tiers * step - 4, 0}, {0, base + tiers * step + 8, 0}, 2.5f, 0.8f, core);
}

void Trunk(TScene& s, float height, float radius, const TMaterial& bark) {
    s.Cone({0, 0, 0}, {0, height, 0}, radius, radius * 0.6f, bark);
    for (int k = 0; k < 3; ++k) {
        const float a = k * 2.1f + 0.4f;
        s.Cone({0, 1, 0}, {std::cos(a) * radius * 1.6f, 0, std::sin(a) * radius * 1.6f}, radius * 0.5f,
               radius * 0.25f, bark);
    }
}

TCanvas Tree(int frame) {
    TScene s;
    const TMaterial bark = Mat(104, 74, 48, 0.04f, 0.35f, 0.8f);
    switch (frame) {
    case 0: // broad oak
        Trunk(s, 40, 6, bark);
        s.Cone({0, 32, 0}, {-14, 50, 2}, 3, 2, bark);
        s.Cone({0, 34, 0}, {14, 52, -2}, 3, 2, bark);
        Foliage(s, {0, 66, 0}, 34, 26, Rgb(52, 112, 40), 100);
        break;
    case 1: // pine
        Trunk(s, 24, 4.5f, bark);
        Conifer(s, 22, 5, 30, 15, Rgb(36, 92, 54), 101);
        break;
    case 2: { // birch
        const TMaterial white = Mat(224, 222, 210, 0.1f, 0.45f, 1.6f);
        Trunk(s, 56, 4, white);
        s.Cone({0, 40, 0}, {12, 62, 0}, 2, 1.2f, white);
        Foliage(s, {0, 72, 0}, 26, 20, Rgb(120, 168, 60), 200);
        break;
    }
    case 3: // round lime tree
        Trunk(s, 34, 5, bark);
        Foliage(s, {0, 64, 0}, 30, 30, Rgb(70, 130, 48), 300);
        break;
    case 4: { // dead tree
        const TMaterial dead = Mat(120, 106, 92, 0.04f, 0.3f, 1.0f);
        Trunk(s, 60, 5.5f, dead);
        s.Cone({0, 40, 0}, {-22, 66, 4}, 3, 1, dead);
        s.Cone({0, 50, 0}, {18, 78, -4}, 2.6f, 0.8f, dead);
        s.Cone({-12, 54, 2}, {-18, 80, 0}, 1.6f, 0.6f, dead);
        s.Cone({0, 58, 0}, {4, 90, 0}, 2.4f, 0.7f, dead);
        break;
    }
    case 5: // tall fir
        Trunk(s, 20, 4, bark);
        Conifer(s, 18, 7, 24, 12, Rgb(30, 78, 62), 501);
        break;
    case 6: // autumn maple
        Trunk(s, 38, 5.5f, bark);
        Foliage(s, {0, 64, 0}, 32, 26, Rgb(196, 96, 36), 600);
        Foliage(s, {6, 72, 6}, 18, 8, Rgb(220, 160, 50), 601);
        break;
    default: // bush with berries
        Foliage(s, {0, 16, 0}, 24, 22, Rgb(48, 104, 44), 700);
        for (int k = 0; k < 9; ++k)
            s.Sphere({Hash01(71, k) * 36 - 18, 10 + Hash01(72, k) * 18, 8 + Hash01(73, k) * 10}, 2,
                     Mat(200, 30, 40, 0.5f, 0.0f));
        break;
    }
    return Render(s, PropCamera(64, 116), 128, 128);
}

TFrame Turned(float angle) {
    TFrame f;
    f.Ax = RotateY({1, 0, 0}, angle);
    f.Az = RotateY({0, 0, 1}, angle);
    return f;
}

void Stone(TScene& s, const TVec3& c, const TVec3& half, float angle, int seed) {
    TMaterial m = Mat(150, 144, 130, 0.06f, 0.22f, 0.5f);
    // Each stone its own shade, some warmer and some cooler; low courses lie in the shadow
    // of the ground around them.
    m.Color = Mix(m.Color, Hash01(seed, 2) < 0.5f ? Rgb(170, 150, 120) : Rgb(130, 138, 146),
                  Hash01(seed, 3) * 0.6f);
    m.Color = Scale(m.Color, (0.82f + 0.3f * Hash01(seed, 1)) * (0.72f + 0.28f * std::min(1.0f, c.Y / 28)));
    s.Box(c, half, Turned(angle), m);
}

// A wall run of blocks from x0 to x1 at depth z, `courses` high, broken off by `top`.
void Wall(TScene& s, float x0, float x1, float z, int courses, float (*top)(float), int seed) {
    const float bw = 16, bh = 10;
    for (int row = 0; row < courses; ++row)
        for (float x = x0 + (row % 2) * bw / 2; x < x1; x += bw) {
            const float cx = std::min(x + bw / 2, x1 - bw / 2);
            if (row * bh > top((cx - x0) / (x1 - x0))) continue;
            Stone(s, {cx, row * bh + bh / 2, z}, {bw / 2 - 0.6f, bh / 2 - 0.6f, 9},
                  (Hash01(seed, row, static_cast<int>(x)) - 0.5f) * 0.06f,
                  seed + row * 31 + static_cast<int>(x));
        }
}

void Moss(TScene& s, const TVec3& c, float r, int seed) {
    for (int k = 0; k < 5; ++k) {
        TMaterial m;
        m.Color = Rgb(72, 112, 48);
        m.Grain = 0.4f;
        s.Sphere(c + TVec3{(Hash01(seed, k) - 0.5f) * r * 2, Hash01(seed, k, 1) * 2,
                           (Hash01(seed, k, 2) - 0.5f) * 6},
                 r * 0.35f, m);
    }
}

TCanvas Ruin(int frame) {
    TScene s;
    // The building file blocks five squares across and two rows up from the foot: 160 by
    // 48 pixels, which at the viewing angle is about 160 by 80 units of ground.
    const float z = -24;
    switch (frame) {
    case 0: { // a wall broken through by a fallen arch
        Wall(
            s, -80, -26, z, 12, [](float t) { return 112 - t * 14; }, 1);
        Wall(
            s, 26, 80, z, 12, [](float t) { return 84 + t * 20 - t * t * 70; }, 2);
        // Voussoirs round the opening, the right-hand ones fallen.
        for (int k = 0; k <= 6; ++k) {
            const float a = 3.14159f * k / 9;
            TFrame f;
            f.Ax = {std::sin(a), std::cos(a), 0};
            f.Ay = {-std::cos(a), std::sin(a), 0};
            TMaterial m = Mat(158, 150, 134, 0.06f, 0.22f, 0.5f);
            s.Box({-std::cos(a) * 32, 78 + std::sin(a) * 26, z}, {3.8f, 5.5f, 9}, f, m);
        }
        Stone(s, {30, 4, 18}, {8, 4, 6}, 0.5f, 40);
        Stone(s, {12, 3, 26}, {6, 3, 5}, 1.1f, 43);
        Stone(s, {-52, 3, 16}, {6, 3, 5}, -0.4f, 41);
        Moss(s, {-64, 110, z + 6}, 6, 42);
        Moss(s, {60, 4, z + 10}, 7, 44);
        break;
    }
    case 1: { // colonnade
        TMaterial marble = Mat(210, 204, 190, 0.2f, 0.12f, 0.7f);
        for (int k = 0; k < 4; ++k) {
            const float x = -60 + k * 40;
            const float h = k == 2 ? 36 : (k == 3 ? 70 : 96);
            s.Box({x, 3, z}, {9, 3, 9}, {}, marble);
            s.Cylinder({x, 6, z}, {x, 6 + h, z}, 6.5f, marble);
            if (h > 90) s.Box({x, 6 + h + 3, z}, {9, 3, 9}, {}, marble);
        }
        s.Box({-40, 111, z}, {30, 5, 8}, {}, marble);
        s.Cylinder({30, 5, 22}, {62, 5, 14}, 5, marble);
        Moss(s, {-60, 6, z + 8}, 5, 50);
        break;
    }
    case 2: { // round tower stump
        for (int row = 0; row < 12; ++row) {
            const int n = 14;
            for (int k = 0; k < n; ++k) {
                const float a = (k + (row % 2) * 0.5f) / n * 6.2832f;
                const float top = 80 + 30 * std::sin(a * 1.0f + 1.0f);
                if (row * 9 > top) continue;
                Stone(s, {std::sin(a) * 40, row * 9 + 4.5f, z + std::cos(a) * 30}, {8, 4, 6}, a,
                      row * 50 + k);
            }
        }
        Moss(s, {-20, 2, z + 34}, 8, 60);
        break;
    }
    default: { // tumbled wall and rubble
        Wall(
            s, -76, 76, z, 5, [](float t) { return 24 + 20 * std::sin(t * 9.0f) + t * 10; }, 3);
        for (int k = 0; k < 10; ++k)
            Stone(s, {Hash01(80, k) * 140 - 70, 3, z + 14 + Hash01(81, k) * 20},
                  {5 + Hash01(82, k) * 3, 3, 4}, Hash01(83, k) * 3, 84 + k);
        Moss(s, {10, 30, z + 8}, 7, 85);
        break;
    }
    }
    return Render(s, PropCamera(98, 180), 196, 196);
}

} // namespace

TCanvas DrawTrees() {
    TCanvas sheet(128 * 4, 128 * 2);
    for (int f = 0; f < kTreeFrames; ++f)
        sheet.Paste(Tree(f), (f % 4) * 128, (f / 4) * 128);
    return sheet;
}

TCanvas DrawRuins() {
    TCanvas sheet(196 * 2, 196 * 2);
    for (int f = 0; f < kRuinFrames; ++f)
        sheet.Paste(Ruin(f), (f % 2) * 196, (f / 2) * 196);
    return sheet;
}

} // namespace content
