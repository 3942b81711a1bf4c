// The desktop icon, drawn on a 256-unit square scaled to the size asked for, so every size
// shows the same picture rather than a blurred copy of the largest.
#include "Icon.h"

#include <cmath>
#include <vector>

namespace content {

namespace {

// One blade from hilt to point, in 256-unit coordinates: grip, cross-guard and a tapering blade.
void DrawBlade(TCanvas& canvas, float k, float hx, float hy, float px, float py) {
    const float dx = px - hx, dy = py - hy;
    const float nx = -dy / 200.0f, ny = dx / 200.0f;        // across the blade, about one unit long
    const float gx = hx + dx * 0.22f, gy = hy + dy * 0.22f; // where the guard sits
    canvas.Line(hx * k, hy * k, gx * k, gy * k, 14 * k, Rgb(92, 56, 30));
    canvas.FillEllipse(hx * k, hy * k, 10 * k, 10 * k, Rgb(214, 170, 60));
    const std::vector<float> blade{(gx + nx * 11) * k,
                                   (gy + ny * 11) * k,
                                   (px - dx * 0.08f + nx * 7) * k,
                                   (py - dy * 0.08f + ny * 7) * k,
                                   px * k,
                                   py * k,
                                   (px - dx * 0.08f - nx * 7) * k,
                                   (py - dy * 0.08f - ny * 7) * k,
                                   (gx - nx * 11) * k,
                                   (gy - ny * 11) * k};
    canvas.FillPolygon(blade, Rgb(214, 224, 236));
    // The edge catches the low sun on one side only.
    canvas.Line((gx + nx * 3) * k, (gy + ny * 3) * k, (px - dx * 0.06f + nx * 2) * k,
                (py - dy * 0.06f + ny * 2) * k, 3 * k, Rgb(255, 246, 220, 0.8f));
    canvas.Line((gx + nx * 30) * k, (gy + ny * 30) * k, (gx - nx * 30) * k, (gy - ny * 30) * k, 12 * k,
                Rgb(214, 170, 60));
}

} // namespace

TCanvas DrawIcon(int size) {
    TCanvas canvas(size, size);
    const float k = static_cast<float>(size) / 256.0f;
    // The shield: a dark rim around a dusk sky that fades from orange to violet.
    canvas.FillEllipse(128 * k, 128 * k, 120 * k, 120 * k, Rgb(40, 24, 36));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float ux = (x + 0.5f) / k - 128, uy = (y + 0.5f) / k - 128;
            const float inside = 106 - std::sqrt(ux * ux + uy * uy);
            if (inside <= -1) continue;
            const TColor sky = Mix(Rgb(250, 150, 60), Rgb(90, 40, 110), Clamp01((uy + 106) / 212));
            canvas.Blend(x, y, sky, Clamp01(inside + 0.5f));
        }
    canvas.FillEllipse(128 * k, 150 * k, 46 * k, 46 * k, Rgb(255, 214, 120, 0.85f));
    DrawBlade(canvas, k, 62, 200, 200, 48);
    DrawBlade(canvas, k, 194, 200, 56, 48);
    canvas.Outline(Rgb(20, 12, 18));
    return canvas;
}

} // namespace content
