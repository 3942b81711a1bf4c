// Small ray-cast still lifes for every pickup, and the weapons in flight.
#include "Items.h"

#include "Render3D.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

TMaterial Mat(const TColor& c, float specular = 0.2f, float grain = 0.06f, float shine = 16) {
    TMaterial m;
    m.Color = c;
    m.Specular = specular;
    m.Grain = grain;
    m.Shininess = shine;
    return m;
}

const TColor kColours[5] = {Rgb(128, 84, 46), Rgb(60, 140, 62), Rgb(52, 96, 210), Rgb(186, 40, 40),
                            Rgb(232, 232, 236)};
const TColor kElements[5] = {Rgb(170, 220, 240), Rgb(150, 110, 60), Rgb(40, 110, 230), Rgb(240, 96, 24),
                             Rgb(120, 220, 90)};
const TColor kGold = Rgb(224, 184, 70);

TCamera IconCamera(int size, float scale = 1.0f) {
    TCamera cam;
    cam.Elevation = 0.75f;
    cam.Scale = scale;
    cam.OriginX = size / 2.0f;
    cam.OriginY = size * 0.62f;
    cam.Samples = 3;
    return cam;
}

TCanvas Boots(const TColor& c) {
    // A pair standing side by side, toes to the right so the foot shows in profile.
    TScene s;
    const TMaterial leather = Mat(c, 0.25f, 0.1f);
    const TMaterial sole = Mat(Scale(c, 0.45f), 0.1f);
    for (float side : {-1.0f, 1.0f}) {
        const float x = side * 3.5f - 2, z = side * 3.5f;
        s.Cone({x, 3, z}, {x - 0.5f, 15, z}, 3.3f, 3.8f, leather);
        s.Ellipsoid({x + 4, 2.6f, z}, {6.2f, 2.8f, 3.2f}, {}, leather);
        s.Ellipsoid({x + 4, 0.8f, z}, {6.6f, 1.0f, 3.4f}, {}, sole);
        s.Cylinder({x - 0.5f, 14, z}, {x - 0.5f, 16.5f, z}, 4.4f, Mat(Scale(c, 0.7f), 0.2f));
    }
    return Render(s, IconCamera(32), 32, 32);
}

TCanvas Glove(const TColor& c) {
    TScene s;
    const TMaterial leather = Mat(c, 0.3f, 0.08f);
    s.Ellipsoid({0, 8, 0}, {6, 6.5f, 2.8f}, {}, leather);
    for (int k = 0; k < 4; ++k) {
        const float x = -4.5f + k * 3;
        s.Capsule({x, 12, 0.5f}, {x * 1.1f, 18 - std::abs(k - 1.5f), 1}, 1.4f, leather);
    }
    s.Capsule({-6, 7, 1}, {-10, 12, 2}, 1.5f, leather);
    s.Cylinder({0, -1, 0}, {0, 3.5f, 0}, 5.2f, Mat(Scale(c, 0.7f), 0.3f));
    s.Capsule({-5, 2, 3}, {5, 2, 3}, 0.8f, Mat(kGold, 0.6f));
    return Render(s, IconCamera(32, 1.05f), 32, 32);
}

TCanvas Pendant(const TColor& c) {
    TScene s;
    const TMaterial gold = Mat(kGold, 0.7f, 0.04f, 30);
    for (int k = 0; k < 14; ++k) {
        const float a = kPi * (0.1f + 0.8f * k / 13.0f);
        s.Sphere({-std::cos(a) * 9, 10 + std::sin(a) * 9, -2}, 0.9f, gold);
    }
    for (int k = 0; k < 16; ++k) {
        const float a = k / 16.0f * 2 * kPi;
        s.Sphere({std::cos(a) * 5.2f, 6 + std::sin(a) * 5.2f, 0}, 1.4f, gold);
    }
    TMaterial gem = Mat(c, 0.9f, 0.02f, 40);
    gem.Emission = 0.25f;
    s.Sphere({0, 6, 0.5f}, 4.0f, gem);
    return Render(s, IconCamera(32), 32, 32);
}

TCanvas Scroll(const TColor& c) {
    TScene s;
    const TMaterial paper = Mat(Rgb(232, 216, 170), 0.05f, 0.12f);
    s.Cylinder({-9, 5, 0}, {9, 5, 0}, 4.0f, paper);
    s.Cylinder({-10.5f, 5, 0}, {-9, 5, 0}, 4.6f, Mat(Rgb(110, 70, 40)));
    s.Cylinder({9, 5, 0}, {10.5f, 5, 0}, 4.6f, Mat(Rgb(110, 70, 40)));
    s.Cylinder({-1.8f, 5, 0}, {1.8f, 5, 0}, 4.3f, Mat(c, 0.3f));
    TMaterial seal = Mat(c, 0.5f);
    seal.Emission = 0.15f;
    s.Ellipsoid({0, 3, 4.2f}, {2.4f, 2.4f, 1.0f}, {}, seal);
    return Render(s, IconCamera(32), 32, 32);
}

TCanvas Armband(const TColor& c) {
    TScene s;
    const TMaterial band = Mat(Scale(kGold, 0.9f), 0.7f, 0.04f, 30);
    for (int k = 0; k < 20; ++k) {
        const float a = k / 20.0f * 2 * kPi;
        s.Sphere({std::cos(a) * 8, 5 + std::sin(a) * 1.6f, std::sin(a) * 6}, 2.2f, band);
    }
    TMaterial gem = Mat(c, 0.9f, 0.02f, 40);
    gem.Emission = 0.25f;
    s.Sphere({0, 5.5f, 6.2f}, 3.0f, gem);
    return Render(s, IconCamera(32), 32, 32);
}

TCanvas Marker(const TColor& c) {
    // A small glowing bead in the cell's top left: the panel lays them 10 pixels apart.
    TCanvas t(32, 32);
    t.FillEllipse(5, 7, 4.2f, 4.2f, Scale(c, 0.35f));
    t.FillEllipse(5, 7, 3.4f, 3.4f, c);
    t.FillEllipse(4, 6, 1.4f, 1.2f, Mix(c, Rgb(255, 255, 255), 0.7f));
    return t;
}

TCanvas Potion(const TColor& liquid, float size, bool clear) {
    TScene s;
    TMaterial glass = Mat(liquid, 0.9f, 0.02f, 40);
    glass.Emission = clear ? 0.1f : 0.3f;
    s.Sphere({0, 6 * size, 0}, 6.5f * size, glass);
    s.Cylinder({0, 10 * size, 0}, {0, 16 * size, 0}, 2.2f * size, Mat(Rgb(200, 220, 226), 0.9f, 0.0f, 40));
    s.Cylinder({0, 15.5f * size, 0}, {0, 18.5f * size, 0}, 2.4f * size, Mat(Rgb(150, 104, 60), 0.05f, 0.2f));
    TCanvas out = Render(s, IconCamera(32), 32, 32);
    // Glints on the glass.
    out.FillEllipse(13.5f, 17 - 2 * size, 1.6f, 2.2f, Rgb(255, 255, 255, 0.85f));
    return out;
}

TCanvas Cloak(const TColor& c) {
    TScene s;
    const TMaterial cloth = Mat(c, 0.08f, 0.12f);
    const TMaterial lining = Mat(Scale(c, 0.6f), 0.05f, 0.1f);
    for (int k = 0; k < 7; ++k) {
        const float x = (k - 3) * 4.2f;
        const float z = -std::fabs(k - 3.0f) * 1.6f;
        s.Cone({x * 0.55f, 36, z}, {x * 1.25f, 2, z * 1.3f + 2}, 3.2f, 4.2f,
               k == 0 || k == 6 ? lining : cloth);
    }
    s.Capsule({-10, 36, -1}, {10, 36, -1}, 3.4f, cloth);
    s.Ellipsoid({0, 42, -3}, {7, 6, 6}, {}, cloth);
    s.Sphere({0, 36, 3}, 2.4f, Mat(kGold, 0.8f, 0.02f, 30));
    TCamera cam = IconCamera(64, 1.05f);
    cam.OriginY = 56;
    cam.Elevation = 0.6f;
    return Render(s, cam, 64, 64);
}

void Put(TCanvas& sheet, int cell, int size, const TCanvas& c) {
    const int perRow = sheet.Width() / size;
    sheet.Paste(c, (cell % perRow) * size, (cell / perRow) * size);
}

// The flying object, modelled pointing along +Z.
void WeaponModel(TScene& s, const std::string& name, bool flying) {
    const TMaterial steel = Mat(Rgb(210, 216, 226), 0.9f, 0.03f, 40);
    const TMaterial wood = Mat(Rgb(130, 86, 46), 0.05f, 0.25f);
    const TMaterial leather = Mat(Rgb(90, 56, 36), 0.1f, 0.15f);
    if (name == "Knife") {
        s.Capsule({0, 0, -7}, {0, 0, -2}, 1.2f, leather);
        s.Capsule({-2.5f, 0, -2}, {2.5f, 0, -2}, 0.8f, Mat(kGold, 0.6f));
        s.Cone({0, 0, -1.5f}, {0, 0, 9}, 1.5f, 0.4f, steel);
    } else if (name == "Sword") {
        s.Capsule({0, 0, -10}, {0, 0, -4}, 1.2f, leather);
        s.Sphere({0, 0, -11}, 1.7f, Mat(kGold, 0.6f));
        s.Capsule({-4.5f, 0, -3.5f}, {4.5f, 0, -3.5f}, 1.0f, Mat(kGold, 0.6f));
        s.Cone({0, 0, -3}, {0, 0, 16}, 1.8f, 0.5f, steel);
    } else if (name == "Axe") {
        s.Capsule({0, 0, -10}, {0, 0, 10}, 1.2f, wood);
        s.Cone({0, 0, 7}, {7, 0, 8}, 1.8f, 4.5f, steel);
        s.Cone({0, 0, 7}, {-3.5f, 0, 7.5f}, 1.6f, 2.2f, steel);
    } else if (name == "Bow") {
        if (flying) {
            s.Capsule({0, 0, -11}, {0, 0, 9}, 0.6f, wood);
            s.Cone({0, 0, 8.5f}, {0, 0, 12.5f}, 1.3f, 0.3f, steel);
            for (float side : {-1.0f, 1.0f})
                s.Cone({0, 0, -11}, {side * 2.2f, 0, -7}, 0.5f, 0.9f, Mat(Rgb(220, 60, 50), 0.05f));
        } else {
            for (int k = 0; k < 10; ++k) {
                const float t0 = (k - 5) / 5.0f, t1 = (k - 4) / 5.0f;
                s.Capsule({4 * (1 - t0 * t0), 0, t0 * 13}, {4 * (1 - t1 * t1), 0, t1 * 13}, 1.1f, wood);
            }
            s.Capsule({0, 0, -13}, {0, 0, 13}, 0.3f, Mat(Rgb(235, 230, 210), 0.1f));
            s.Capsule({-1, 0, -10}, {-1, 0, 10}, 0.6f, wood);
        }
    } else if (name == "Shuriken") {
        for (int k = 0; k < 4; ++k) {
            const float a = k * kPi / 2 + 0.3f;
            s.Cone({0, 0, 0}, {std::cos(a) * 6.5f, 0, std::sin(a) * 6.5f}, 2.0f, 0.4f, steel);
        }
        s.Cylinder({0, -0.8f, 0}, {0, 0.8f, 0}, 1.4f, Mat(Rgb(60, 60, 70), 0.3f));
    } else {
        throw std::runtime_error("unknown weapon " + name);
    }
}

TCanvas WeaponFrame(const std::string& name, int frame) {
    TScene scene;
    WeaponModel(scene, name, frame > 0);
    // Centred on the middle of its length, so the weapon lies on its square and flies
    // around its foot point rather than trailing from its grip.
    float zMin = 1e9f, zMax = -1e9f;
    for (const TPrimitive& p : scene.Primitives())
        for (const TVec3& v : {p.A, p.B}) {
            if (p.Shape != TShape::Capsule && p.Shape != TShape::Cylinder && &v == &p.B) continue;
            zMin = std::min(zMin, v.Z);
            zMax = std::max(zMax, v.Z);
        }
    const float middle = (zMin + zMax) / 2;
    TScene placed;
    const float facing = frame == 0 ? 0.9f : (4 - (frame - 1)) * kPi / 4;
    const float height = frame == 0 ? 1.5f : 26;
    // Spinning weapons fly flat; the sword flies as a cutting arc, the arrow point first.
    for (TPrimitive p : scene.Primitives()) {
        auto move = [&](const TVec3& v) {
            return RotateY(v - TVec3{0, 0, middle}, facing) + TVec3{0, height, 0};
        };
        p.A = move(p.A);
        p.B = move(p.B);
        p.Frame.Ax = RotateY(p.Frame.Ax, facing);
        p.Frame.Ay = RotateY(p.Frame.Ay, facing);
        p.Frame.Az = RotateY(p.Frame.Az, facing);
        switch (p.Shape) {
        case TShape::Sphere:
            placed.Sphere(p.A, p.Radius, p.Material);
            break;
        case TShape::Capsule:
            placed.Capsule(p.A, p.B, p.Radius, p.Material);
            break;
        case TShape::Cylinder:
            placed.Cylinder(p.A, p.B, p.Radius, p.Material);
            break;
        case TShape::Ellipsoid:
            placed.Ellipsoid(p.A, p.Half, p.Frame, p.Material);
            break;
        case TShape::Box:
            placed.Box(p.A, p.Half, p.Frame, p.Material);
            break;
        }
    }
    TCamera cam;
    cam.Elevation = 0.62f;
    cam.OriginX = kWeaponFootX;
    cam.OriginY = kWeaponFootY;
    cam.Samples = 3;
    TCanvas out(kWeaponCell, kWeaponCell);
    if (frame > 0) {
        // Motion streaks behind the missile and its shadow on the ground below.
        const float dx[8] = {0, 0.77f, 1, 0.77f, 0, -0.77f, -1, -0.77f};
        const float dy[8] = {-1, -0.77f, 0, 0.77f, 1, 0.77f, 0, -0.77f};
        const int d = frame - 1;
        out.FillEllipse(kWeaponFootX, kWeaponFootY, 7, 2.5f, Rgb(20, 24, 16, 0.45f));
        const float cx = kWeaponFootX, cy = kWeaponFootY - 26 * std::cos(0.62f);
        const TColor streak = name == "Sword" ? Rgb(190, 220, 255, 0.9f) : Rgb(240, 240, 250, 0.6f);
        for (int k = 0; k < 3; ++k) {
            const float off = (k - 1) * 3.0f;
            out.Line(cx - dx[d] * 6 - dy[d] * off, cy - dy[d] * 6 * 0.8f + dx[d] * off,
                     cx - dx[d] * 18 - dy[d] * off, cy - dy[d] * 18 * 0.8f + dx[d] * off, 1.2f, streak);
        }
        if (name == "Sword") {
            // A crescent of light: the cut travels ahead of the blade.
            for (int k = 0; k < 9; ++k) {
                const float a = (k - 4) / 4.0f * 1.2f;
                const float ex = dx[d] * std::cos(a) - dy[d] * std::sin(a),
                            ey = dy[d] * std::cos(a) + dx[d] * std::sin(a);
                out.FillEllipse(cx + ex * 12, cy + ey * 9, 2.6f - std::fabs(a), 2.6f - std::fabs(a),
                                Rgb(220, 236, 255, 0.8f));
            }
        }
    } else {
        out.FillEllipse(kWeaponFootX, kWeaponFootY, 12, 3, Rgb(20, 24, 16, 0.45f));
    }
    out.Paste(Render(placed, cam, kWeaponCell, kWeaponCell), 0, 0);
    return out;
}

} // namespace

TCanvas DrawItems() {
    TCanvas sheet(32 * 10, 32 * 5);
    for (int i = 0; i < 5; ++i) {
        Put(sheet, i, 32, Boots(kColours[i]));
        Put(sheet, 5 + i, 32, Glove(kColours[i]));
        Put(sheet, 10 + i, 32, Pendant(kElements[i]));
        Put(sheet, 15 + i, 32, Scroll(kElements[i]));
        Put(sheet, 20 + i, 32, Armband(kElements[i]));
        Put(sheet, 25 + i, 32, Marker(kElements[i]));
    }
    Put(sheet, 40, 32, Potion(Rgb(240, 210, 40), 1.0f, false));
    Put(sheet, 41, 32, Potion(Rgb(190, 190, 230), 1.0f, true));
    Put(sheet, 42, 32, Potion(Rgb(210, 30, 40), 0.85f, false));
    Put(sheet, 43, 32, Potion(Rgb(230, 30, 60), 1.2f, false));
    Put(sheet, 44, 32, Potion(Rgb(60, 200, 80), 1.0f, false));
    Put(sheet, 45, 32, Potion(Rgb(230, 120, 30), 1.0f, false));
    return sheet;
}

TCanvas DrawArmor() {
    TCanvas sheet(64 * 5, 64);
    for (int i = 0; i < 5; ++i)
        Put(sheet, i, 64, Cloak(kColours[i]));
    return sheet;
}

TCanvas DrawArmorIcons() {
    constexpr int kCloaks = 5;
    TCanvas sheet(kArmorIconCell * kCloaks, kArmorIconCell);
    for (int i = 0; i < kCloaks; ++i) {
        const TCanvas cloak = Cloak(kColours[i]);
        int left = cloak.Width(), top = cloak.Height(), right = 0, bottom = 0;
        for (int y = 0; y < cloak.Height(); ++y)
            for (int x = 0; x < cloak.Width(); ++x)
                if (cloak.At(x, y).A > 0.05f) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y + 1);
                }
        if (right <= left) continue;
        // The cloak shrunk to fit the cell with a pixel to spare, each icon pixel the mean of
        // the cloak's pixels it covers, weighted by their cover.
        const float scale = std::max(right - left, bottom - top) / static_cast<float>(kArmorIconCell - 2);
        const float offX = (kArmorIconCell - (right - left) / scale) / 2, offY = (kArmorIconCell - (bottom - top) / scale) / 2;
        for (int oy = 0; oy < kArmorIconCell; ++oy)
            for (int ox = 0; ox < kArmorIconCell; ++ox) {
                const float sx0 = left + (ox - offX) * scale, sy0 = top + (oy - offY) * scale;
                TColor sum{0, 0, 0, 0};
                int samples = 0;
                for (int sy = static_cast<int>(std::floor(sy0)); sy < static_cast<int>(std::ceil(sy0 + scale)); ++sy)
                    for (int sx = static_cast<int>(std::floor(sx0)); sx < static_cast<int>(std::ceil(sx0 + scale)); ++sx) {
                        ++samples;
                        if (sx < 0 || sy < 0 || sx >= cloak.Width() || sy >= cloak.Height()) continue;
                        const TColor& c = cloak.At(sx, sy);
                        sum.R += c.R * c.A;
                        sum.G += c.G * c.A;
                        sum.B += c.B * c.A;
                        sum.A += c.A;
                    }
                if (samples == 0 || sum.A <= 0) continue;
                sheet.At(i * kArmorIconCell + ox, oy) = {sum.R / sum.A, sum.G / sum.A, sum.B / sum.A, sum.A / samples};
            }
    }
    return sheet;
}

std::vector<std::string> WeaponNames() {
    return {"Knife", "Sword", "Axe", "Bow", "Shuriken"};
}

TCanvas DrawWeapon(const std::string& name) {
    TCanvas sheet(kWeaponCell * 9, kWeaponCell);
    for (int f = 0; f < 9; ++f)
        Put(sheet, f, kWeaponCell, WeaponFrame(name, f));
    return sheet;
}

} // namespace content
