// A small orthographic ray caster for sprites: spheres, ellipsoids, capsules, cylinders and
// boxes seen from above at the game's three-quarter angle, lit and outlined into a canvas.
#pragma once

#include "Canvas.h"

#include <cstdint>
#include <vector>

namespace content {

struct TVec3 {
    float X = 0, Y = 0, Z = 0;
};

[[nodiscard]] TVec3 operator+(const TVec3& a, const TVec3& b);
[[nodiscard]] TVec3 operator-(const TVec3& a, const TVec3& b);
[[nodiscard]] TVec3 operator*(const TVec3& a, float k);
[[nodiscard]] float Dot(const TVec3& a, const TVec3& b);
[[nodiscard]] TVec3 Cross(const TVec3& a, const TVec3& b);
[[nodiscard]] TVec3 Normalize(const TVec3& a);
[[nodiscard]] TVec3 Lerp(const TVec3& a, const TVec3& b, float t);
// Rotation about the vertical axis by `angle` radians (positive turns +Z towards +X).
[[nodiscard]] TVec3 RotateY(const TVec3& v, float angle);
[[nodiscard]] TVec3 RotateX(const TVec3& v, float angle);
[[nodiscard]] TVec3 RotateZ(const TVec3& v, float angle);

struct TMaterial {
    TColor Color;
    float Specular = 0.15f;  // strength of the highlight
    float Shininess = 12.0f; // Blinn exponent
    float Grain = 0.08f;     // amplitude of the surface noise
    float GrainScale = 1.2f; // noise cells per world unit
    float Emission = 0.0f;   // share of the colour shown unlit (glows, flames)
};

enum class TShape { Sphere, Ellipsoid, Capsule, Cylinder, Box };

// Local frame of ellipsoids and boxes: three orthonormal axes in world space.
struct TFrame {
    TVec3 Ax{1, 0, 0}, Ay{0, 1, 0}, Az{0, 0, 1};
};

struct TPrimitive {
    TShape Shape = TShape::Sphere;
    TVec3 A, B;       // centre, or the two ends of a capsule or cylinder
    float Radius = 0; // sphere, capsule and cylinder radius
    TVec3 Half;       // ellipsoid radii or box half sizes along the frame's axes
    TFrame Frame;
    TMaterial Material;
};

// World units: X right, Y up, Z towards the viewer. The camera looks down at `Elevation`.
class TScene {
public:
    void Sphere(const TVec3& c, float r, const TMaterial& m);
    void Ellipsoid(const TVec3& c, const TVec3& radii, const TFrame& frame, const TMaterial& m);
    void Capsule(const TVec3& a, const TVec3& b, float r, const TMaterial& m);
    // A tapered limb as a chain of spheres from radius ra at a to rb at b.
    void Cone(const TVec3& a, const TVec3& b, float ra, float rb, const TMaterial& m);
    void Cylinder(const TVec3& a, const TVec3& b, float r, const TMaterial& m);
    void Box(const TVec3& c, const TVec3& half, const TFrame& frame, const TMaterial& m);

    [[nodiscard]] const std::vector<TPrimitive>& Primitives() const { return Items; }
    void Clear() { Items.clear(); }

private:
    std::vector<TPrimitive> Items;
};

struct TCamera {
    float Elevation = 0.75f; // radians above the horizon
    float Scale = 1.0f;      // pixels per world unit
    float OriginX = 0;       // canvas pixel where the world origin appears
    float OriginY = 0;
    TVec3 Light = {-0.55f, 0.75f, 0.45f};
    int Samples = 3; // samples per pixel along each axis
    TColor OutlineColor = {0.08f, 0.06f, 0.07f, 1};
    bool DrawOutline = true;
};

// Renders the scene into a transparent canvas of the given size (coverage in alpha).
[[nodiscard]] TCanvas Render(const TScene& scene, const TCamera& camera, int width, int height);

} // namespace content
