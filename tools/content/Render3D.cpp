// Ray casting of the sprite primitives: per-sample nearest hit, then light, grain and
// outlines per pixel.
#include "Render3D.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace content {

TVec3 operator+(const TVec3& a, const TVec3& b) {
    return {a.X + b.X, a.Y + b.Y, a.Z + b.Z};
}
TVec3 operator-(const TVec3& a, const TVec3& b) {
    return {a.X - b.X, a.Y - b.Y, a.Z - b.Z};
}
TVec3 operator*(const TVec3& a, float k) {
    return {a.X * k, a.Y * k, a.Z * k};
}
float Dot(const TVec3& a, const TVec3& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}
TVec3 Cross(const TVec3& a, const TVec3& b) {
    return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
TVec3 Normalize(const TVec3& a) {
    const float l = std::sqrt(Dot(a, a));
    return l > 0 ? a * (1 / l) : TVec3{0, 1, 0};
}
TVec3 Lerp(const TVec3& a, const TVec3& b, float t) {
    return a + (b - a) * t;
}
TVec3 RotateY(const TVec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {v.X * c + v.Z * s, v.Y, -v.X * s + v.Z * c};
}
TVec3 RotateX(const TVec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {v.X, v.Y * c - v.Z * s, v.Y * s + v.Z * c};
}
TVec3 RotateZ(const TVec3& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {v.X * c - v.Y * s, v.X * s + v.Y * c, v.Z};
}

void TScene::Sphere(const TVec3& c, float r, const TMaterial& m) {
    TPrimitive p;
    p.Shape = TShape::Sphere;
    p.A = c;
    p.Radius = r;
    p.Material = m;
    Items.push_back(p);
}

void TScene::Ellipsoid(const TVec3& c, const TVec3& radii, const TFrame& frame, const TMaterial& m) {
    TPrimitive p;
    p.Shape = TShape::Ellipsoid;
    p.A = c;
    p.Half = radii;
    p.Frame = frame;
    p.Material = m;
    p.Radius = std::max({radii.X, radii.Y, radii.Z});
    Items.push_back(p);
}

void TScene::Capsule(const TVec3& a, const TVec3& b, float r, const TMaterial& m) {
    TPrimitive p;
    p.Shape = TShape::Capsule;
    p.A = a;
    p.B = b;
    p.Radius = r;
    p.Material = m;
    Items.push_back(p);
}

void TScene::Cone(const TVec3& a, const TVec3& b, float ra, float rb, const TMaterial& m) {
    const TVec3 d = b - a;
    const float len = std::sqrt(Dot(d, d));
    // Spheres closer than a third of the smaller radius leave bumps well under a pixel.
    const int n = std::max(2, static_cast<int>(std::ceil(len / (std::min(ra, rb) * 0.35f))) + 1);
    for (int i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / (n - 1);
        Sphere(Lerp(a, b, t), ra + (rb - ra) * t, m);
    }
}

void TScene::Cylinder(const TVec3& a, const TVec3& b, float r, const TMaterial& m) {
    Capsule(a, b, r, m);
    Items.back().Shape = TShape::Cylinder;
}

void TScene::Box(const TVec3& c, const TVec3& half, const TFrame& frame, const TMaterial& m) {
    TPrimitive p;
    p.Shape = TShape::Box;
    p.A = c;
    p.Half = half;
    p.Frame = frame;
    p.Material = m;
    p.Radius = std::sqrt(Dot(half, half));
    Items.push_back(p);
}

namespace {

constexpr float kMiss = std::numeric_limits<float>::max();

struct THit {
    float T = kMiss;
    TVec3 Normal;
};

TVec3 ToLocal(const TFrame& f, const TVec3& v) {
    return {Dot(v, f.Ax), Dot(v, f.Ay), Dot(v, f.Az)};
}
TVec3 ToWorld(const TFrame& f, const TVec3& v) {
    return f.Ax * v.X + f.Ay * v.Y + f.Az * v.Z;
}

THit HitSphere(const TVec3& ro, const TVec3& rd, const TVec3& c, float r) {
    const TVec3 oc = ro - c;
    const float b = Dot(oc, rd);
    const float h = b * b - (Dot(oc, oc) - r * r);
    if (h < 0) return {};
    const float t = -b - std::sqrt(h);
    return {t, (ro + rd * t - c) * (1 / r)};
}

THit HitCapsule(const TVec3& ro, const TVec3& rd, const TVec3& pa, const TVec3& pb, float ra) {
    const TVec3 ba = pb - pa, oa = ro - pa;
    const float baba = Dot(ba, ba), bard = Dot(ba, rd), baoa = Dot(ba, oa);
    const float rdoa = Dot(rd, oa), oaoa = Dot(oa, oa);
    const float a = baba - bard * bard;
    THit best;
    if (a > 1e-6f) {
        const float b = baba * rdoa - baoa * bard;
        const float c = baba * oaoa - baoa * baoa - ra * ra * baba;
        const float h = b * b - a * c;
        if (h < 0) return {};
        const float t = (-b - std::sqrt(h)) / a;
        const float y = baoa + t * bard;
        if (y > 0 && y < baba) {
            const TVec3 p = ro + rd * t;
            const TVec3 pa2 = p - pa;
            return {t, (pa2 - ba * (Dot(pa2, ba) / baba)) * (1 / ra)};
        }
    }
    const THit s1 = HitSphere(ro, rd, pa, ra), s2 = HitSphere(ro, rd, pb, ra);
    best = s1.T < s2.T ? s1 : s2;
    return best;
}

THit HitCylinder(const TVec3& ro, const TVec3& rd, const TVec3& a, const TVec3& b, float ra) {
    const TVec3 ba = b - a, oc = ro - a;
    const float baba = Dot(ba, ba), bard = Dot(ba, rd), baoc = Dot(ba, oc);
    const float k2 = baba - bard * bard;
    const float k1 = baba * Dot(oc, rd) - baoc * bard;
    const float k0 = baba * Dot(oc, oc) - baoc * baoc - ra * ra * baba;
    if (std::fabs(k2) < 1e-8f) {
        // Looking straight down the axis: only the near cap can be seen.
        if (k0 > 0) return {};
        const float t = ((bard > 0 ? 0 : baba) - baoc) / bard;
        return {t, ba * ((bard > 0 ? -1.0f : 1.0f) / std::sqrt(baba))};
    }
    float h = k1 * k1 - k2 * k0;
    if (h < 0) return {};
    h = std::sqrt(h);
    float t = (-k1 - h) / k2;
    const float y = baoc + t * bard;
    if (y > 0 && y < baba) return {t, (oc + rd * t - ba * (y / baba)) * (1 / ra)};
    if (std::fabs(bard) < 1e-8f) return {};
    t = ((y < 0 ? 0 : baba) - baoc) / bard;
    if (std::fabs(k1 + k2 * t) < h) return {t, ba * ((y < 0 ? -1.0f : 1.0f) / std::sqrt(baba))};
    return {};
}

THit HitEllipsoid(const TVec3& ro, const TVec3& rd, const TPrimitive& p) {
    const TVec3 o = ToLocal(p.Frame, ro - p.A), d = ToLocal(p.Frame, rd);
    const TVec3 os{o.X / p.Half.X, o.Y / p.Half.Y, o.Z / p.Half.Z};
    const TVec3 ds{d.X / p.Half.X, d.Y / p.Half.Y, d.Z / p.Half.Z};
    const float a = Dot(ds, ds), b = Dot(os, ds), c = Dot(os, os) - 1;
    const float h = b * b - a * c;
    if (h < 0) return {};
    const float t = (-b - std::sqrt(h)) / a;
    const TVec3 q = o + d * t;
    const TVec3 n{q.X / (p.Half.X * p.Half.X), q.Y / (p.Half.Y * p.Half.Y), q.Z / (p.Half.Z * p.Half.Z)};
    return {t, Normalize(ToWorld(p.Frame, n))};
}

THit HitBox(const TVec3& ro, const TVec3& rd, const TPrimitive& p) {
    const TVec3 o = ToLocal(p.Frame, ro - p.A), d = ToLocal(p.Frame, rd);
    const float oa[3] = {o.X, o.Y, o.Z}, da[3] = {d.X, d.Y, d.Z}, ha[3] = {p.Half.X, p.Half.Y, p.Half.Z};
    float tNear = -kMiss, tFar = kMiss;
    int axis = 0;
    float sign = 1;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(da[i]) < 1e-8f) {
            if (std::fabs(oa[i]) > ha[i]) return {};
            continue;
        }
        float t1 = (-ha[i] - oa[i]) / da[i], t2 = (ha[i] - oa[i]) / da[i];
        float s = -1;
        if (t1 > t2) {
            std::swap(t1, t2);
            s = 1;
        }
        if (t1 > tNear) {
            tNear = t1;
            axis = i;
            sign = s;
        }
        tFar = std::min(tFar, t2);
    }
    if (tNear > tFar || tFar < 0) return {};
    TVec3 n{0, 0, 0};
    (axis == 0 ? n.X : axis == 1 ? n.Y : n.Z) = sign;
    return {tNear, ToWorld(p.Frame, n)};
}

THit Intersect(const TPrimitive& p, const TVec3& ro, const TVec3& rd) {
    switch (p.Shape) {
    case TShape::Sphere:
        return HitSphere(ro, rd, p.A, p.Radius);
    case TShape::Ellipsoid:
        return HitEllipsoid(ro, rd, p);
    case TShape::Capsule:
        return HitCapsule(ro, rd, p.A, p.B, p.Radius);
    case TShape::Cylinder:
        return HitCylinder(ro, rd, p.A, p.B, p.Radius);
    case TShape::Box:
        return HitBox(ro, rd, p);
    }
    return {};
}

float Noise3(const TVec3& p) {
    const int ix = static_cast<int>(std::floor(p.X)), iy = static_cast<int>(std::floor(p.Y)),
              iz = static_cast<int>(std::floor(p.Z));
    const float fx = p.X - ix, fy = p.Y - iy, fz = p.Z - iz;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy), sz = fz * fz * (3 - 2 * fz);
    auto v = [&](int a, int b, int c) { return Hash01(ix + a, iy + b, iz + c); };
    const float x00 = v(0, 0, 0) + (v(1, 0, 0) - v(0, 0, 0)) * sx;
    const float x10 = v(0, 1, 0) + (v(1, 1, 0) - v(0, 1, 0)) * sx;
    const float x01 = v(0, 0, 1) + (v(1, 0, 1) - v(0, 0, 1)) * sx;
    const float x11 = v(0, 1, 1) + (v(1, 1, 1) - v(0, 1, 1)) * sx;
    const float y0 = x00 + (x10 - x00) * sy, y1 = x01 + (x11 - x01) * sy;
    return y0 + (y1 - y0) * sz;
}

TColor Shade(const TMaterial& m, const TVec3& pos, const TVec3& n, const TVec3& light, const TVec3& view) {
    const float diffuse = std::max(0.0f, Dot(n, light));
    // Sky light from above, a little warm bounce from the ground.
    const float sky = 0.5f + 0.5f * n.Y;
    const float ambient = 0.2f + 0.22f * sky;
    // A thin rim of light on the silhouette lifts the figures off the ground.
    const float rim = 0.22f * std::pow(1 - std::max(0.0f, Dot(n, view)), 3.0f);
    const TVec3 half = Normalize(light + view);
    const float specular = m.Specular * std::pow(std::max(0.0f, Dot(n, half)), m.Shininess);
    const float grain = 1 + m.Grain * (Noise3(pos * m.GrainScale) * 2 - 1);
    // Soft banding gives the sprites a painted rather than plastic look.
    const float light01 = std::min(1.3f, ambient + diffuse * 1.0f + rim);
    const float lit = (1 - m.Emission) * light01 * grain + m.Emission;
    return {m.Color.R * lit + specular, m.Color.G * lit + specular, m.Color.B * lit + specular, 1};
}

} // namespace

TCanvas Render(const TScene& scene, const TCamera& camera, int width, int height) {
    const float ce = std::cos(camera.Elevation), se = std::sin(camera.Elevation);
    const TVec3 right{1, 0, 0}, up{0, ce, -se}, forward{0, -se, -ce};
    const TVec3 light = Normalize(camera.Light);
    const TVec3 toViewer = forward * -1;
    const int s = camera.Samples;
    const int sw = width * s, sh = height * s;
    std::vector<float> depth(static_cast<size_t>(sw) * sh, kMiss);
    std::vector<int> owner(depth.size(), -1);
    std::vector<TVec3> normal(depth.size());

    const auto& prims = scene.Primitives();
    for (size_t i = 0; i < prims.size(); ++i) {
        const TPrimitive& p = prims[i];
        TVec3 centre = p.A;
        float radius = p.Radius;
        if (p.Shape == TShape::Capsule || p.Shape == TShape::Cylinder) {
            centre = Lerp(p.A, p.B, 0.5f);
            const TVec3 d = p.B - p.A;
            radius = std::sqrt(Dot(d, d)) / 2 + p.Radius;
        }
        const float cx = camera.OriginX + Dot(centre, right) * camera.Scale;
        const float cy = camera.OriginY - Dot(centre, up) * camera.Scale;
        const float rr = radius * camera.Scale + 1;
        const int x0 = std::max(0, static_cast<int>((cx - rr) * s)),
                  x1 = std::min(sw - 1, static_cast<int>((cx + rr) * s));
        const int y0 = std::max(0, static_cast<int>((cy - rr) * s)),
                  y1 = std::min(sh - 1, static_cast<int>((cy + rr) * s));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float u = ((x + 0.5f) / s - camera.OriginX) / camera.Scale;
                const float v = (camera.OriginY - (y + 0.5f) / s) / camera.Scale;
                const TVec3 ro = right * u + up * v - forward * 200.0f;
                const THit hit = Intersect(p, ro, forward);
                const size_t k = static_cast<size_t>(y) * sw + x;
                if (hit.T < depth[k] && hit.T > 0) {
                    depth[k] = hit.T;
                    owner[k] = static_cast<int>(i);
                    normal[k] = Normalize(hit.Normal);
                }
            }
    }

    TCanvas out(width, height);
    std::vector<float> pixelDepth(static_cast<size_t>(width) * height, kMiss);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float r = 0, g = 0, b = 0, n = 0, dmin = kMiss;
            for (int j = 0; j < s; ++j)
                for (int i = 0; i < s; ++i) {
                    const size_t k = static_cast<size_t>(y * s + j) * sw + (x * s + i);
                    if (owner[k] < 0) continue;
                    const float u = ((x * s + i + 0.5f) / s - camera.OriginX) / camera.Scale;
                    const float v = (camera.OriginY - (y * s + j + 0.5f) / s) / camera.Scale;
                    const TVec3 pos = right * u + up * v + forward * (depth[k] - 200.0f);
                    const TColor c = Shade(prims[owner[k]].Material, pos, normal[k], light, toViewer);
                    r += c.R;
                    g += c.G;
                    b += c.B;
                    n += 1;
                    dmin = std::min(dmin, depth[k]);
                }
            if (n == 0) continue;
            out.At(x, y) = {r / n, g / n, b / n, n / (s * s)};
            pixelDepth[static_cast<size_t>(y) * width + x] = dmin;
        }

    // Inner contour where a nearer part overlaps a farther one (an arm over the chest): the
    // far side of a depth step of more than a few units gets darkened.
    const float step = 3.0f;
    TCanvas shaded = out;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < width; ++x) {
            const float d = pixelDepth[static_cast<size_t>(y) * width + x];
            if (d == kMiss) continue;
            bool edge = false;
            for (int k = 0; k < 4 && !edge; ++k) {
                const int nx = x + (k == 0) - (k == 1), ny = y + (k == 2) - (k == 3);
                const float nd = pixelDepth[static_cast<size_t>(ny) * width + nx];
                edge = nd != kMiss && nd + step < d;
            }
            if (edge) {
                TColor& c = shaded.At(x, y);
                c = Mix(c, camera.OutlineColor, 0.55f);
            }
        }
    if (camera.DrawOutline) shaded.Outline(camera.OutlineColor);
    return shaded;
}

} // namespace content
