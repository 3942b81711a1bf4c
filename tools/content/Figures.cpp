// Fighters are jointed figures of spheres and limbs posed per frame, turned to each of the
// eight facings and ray cast at the field's viewing angle.
#include "Figures.h"

#include "Render3D.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

// Where the fighter's foot point lies in its cell (the game's OffsetX and OffsetY).
constexpr float kFootX = 46, kFootY = 70;
// The field is seen from this height angle; kView is the direction the camera looks.
constexpr float kElevation = 0.62f;
const TVec3 kView{0, -0.58104f, -0.81388f}; // (0, -sin, -cos) of kElevation

enum class TGear { Sword, Bow, Axe, Shuriken, Cleaver };

struct TBodyPlan {
    float Bulk = 1.0f;   // shoulder and chest width
    float Height = 1.0f; // overall size
    TMaterial Skin, Torso, Legs, Boots, Cloak, Hair, Metal, Wood, Trim;
    bool Helmet = false, Plume = false, Hood = false, Mask = false, Horns = false, Tusks = false;
    bool LongHair = false, Ears = false, Shield = false, Quiver = false, BareChest = false;
    bool CloakOn = true;
    TGear Gear = TGear::Sword;
};

TMaterial Mat(int r, int g, int b, float specular = 0.12f, float grain = 0.08f, float shine = 12) {
    TMaterial m;
    m.Color = Rgb(r, g, b);
    m.Specular = specular;
    m.Grain = grain;
    m.Shininess = shine;
    return m;
}

TBodyPlan Plan(const std::string& name) {
    TBodyPlan p;
    p.Skin = Mat(232, 182, 140, 0.08f, 0.03f);
    p.Hair = Mat(90, 60, 35, 0.1f, 0.2f);
    p.Wood = Mat(125, 82, 44, 0.05f, 0.25f);
    p.Metal = Mat(190, 196, 206, 0.7f, 0.04f, 30);
    p.Boots = Mat(70, 48, 32);
    p.Trim = Mat(212, 175, 60, 0.5f, 0.05f, 24);
    if (name == "Knight") {
        p.Bulk = 1.08f;
        p.Torso = Mat(58, 96, 196, 0.1f, 0.1f);
        p.Legs = Mat(150, 156, 170, 0.6f, 0.04f, 24);
        p.Metal = Mat(160, 168, 184, 0.7f, 0.04f, 30);
        p.Cloak = Mat(34, 48, 120, 0.05f, 0.12f);
        p.Boots = Mat(120, 124, 136, 0.6f, 0.04f, 24);
        p.Helmet = p.Plume = p.Shield = true;
        p.Gear = TGear::Sword;
    } else if (name == "Elf") {
        p.Bulk = 0.9f;
        p.Height = 1.04f;
        p.Torso = Mat(70, 140, 60, 0.06f, 0.12f);
        p.Legs = Mat(110, 86, 52, 0.05f, 0.1f);
        p.Cloak = Mat(40, 100, 45, 0.04f, 0.15f);
        p.Hair = Mat(238, 214, 130, 0.2f, 0.15f);
        p.Skin = Mat(240, 200, 160, 0.08f, 0.03f);
        p.LongHair = p.Ears = p.Quiver = true;
        p.Gear = TGear::Bow;
    } else if (name == "Orc") {
        p.Bulk = 1.22f;
        p.Height = 1.02f;
        p.Skin = Mat(104, 146, 70, 0.1f, 0.1f);
        p.Torso = Mat(120, 84, 50, 0.15f, 0.2f);
        p.Legs = Mat(70, 60, 56, 0.05f, 0.15f);
        p.Cloak = Mat(150, 36, 28, 0.04f, 0.2f);
        p.Hair = Mat(30, 26, 24, 0.1f, 0.2f);
        p.Metal = Mat(140, 132, 124, 0.5f, 0.12f, 16);
        p.Tusks = true;
        p.Gear = TGear::Cleaver;
    } else if (name == "Ninja") {
        p.Bulk = 0.92f;
        p.Torso = Mat(58, 64, 96, 0.12f, 0.1f);
        p.Legs = Mat(50, 54, 82, 0.1f, 0.1f);
        p.Boots = Mat(28, 28, 36);
        p.Cloak = Mat(40, 42, 58);
        p.Trim = Mat(200, 30, 36, 0.1f, 0.08f);
        p.Hood = p.Mask = true;
        p.CloakOn = false;
        p.Gear = TGear::Shuriken;
    } else if (name == "Barbar") {
        p.Bulk = 1.15f;
        p.Height = 1.05f;
        p.Skin = Mat(214, 156, 112, 0.1f, 0.04f);
        p.Torso = p.Skin;
        p.Legs = Mat(96, 62, 40, 0.04f, 0.3f);
        p.Cloak = Mat(150, 134, 112, 0.02f, 0.45f, 6);
        p.Hair = Mat(60, 34, 20, 0.1f, 0.25f);
        p.LongHair = p.Horns = p.BareChest = true;
        p.Gear = TGear::Axe;
    } else {
        throw std::runtime_error("unknown character " + name);
    }
    return p;
}

// Joint angles of one frame, in radians; pitch swings a limb forwards (towards the facing).
struct TPose {
    float Bob = 0, Lean = 0, Twist = 0;
    float LegPitch[2] = {0, 0}, Knee[2] = {0, 0};
    float ArmPitch[2] = {0, 0}, ArmSpread[2] = {0.12f, 0.12f}, Elbow[2] = {0.3f, 0.3f};
    float WeaponTurn = 1.5f; // weapon axis relative to the forearm
    float Fall = 0;          // 0 upright .. 1 lying on the back
    float BowDraw = 0;       // the string hand pulled back
    bool Dead = false;
};

TPose Stand() {
    TPose p;
    p.ArmPitch[0] = 0.35f;
    p.Elbow[0] = 0.9f;
    p.ArmPitch[1] = 0.1f;
    p.Elbow[1] = 0.5f;
    return p;
}

TPose Walk(float phase) {
    TPose p = Stand();
    const float s = std::sin(phase * 2 * kPi);
    p.Bob = std::fabs(std::cos(phase * 2 * kPi)) * 1.2f;
    p.LegPitch[0] = s * 0.55f;
    p.LegPitch[1] = -s * 0.55f;
    p.Knee[0] = std::max(0.0f, -std::cos(phase * 2 * kPi)) * 0.8f + 0.1f;
    p.Knee[1] = std::max(0.0f, std::cos(phase * 2 * kPi)) * 0.8f + 0.1f;
    p.ArmPitch[0] = 0.35f - s * 0.35f;
    p.ArmPitch[1] = 0.1f + s * 0.45f;
    p.Lean = 0.06f;
    return p;
}

// Six frames; the strike leaves the hand on frame 2.
TPose Attack(int frame, TGear gear) {
    TPose p = Stand();
    p.LegPitch[0] = 0.3f;
    p.LegPitch[1] = -0.25f;
    p.Knee[0] = 0.25f;
    p.Knee[1] = 0.2f;
    if (gear == TGear::Bow) {
        static const float draw[6] = {0.3f, 0.8f, 1.0f, 0.1f, 0.0f, 0.2f};
        p.ArmPitch[1] = 1.5f;
        p.Elbow[1] = 0.05f;
        p.ArmSpread[1] = -0.15f;
        p.ArmPitch[0] = 1.45f;
        p.Elbow[0] = 0.3f + draw[frame] * 1.6f;
        p.ArmSpread[0] = -0.3f;
        p.BowDraw = draw[frame];
        p.Twist = 0.2f;
        return p;
    }
    // Raise, overhead, swing through, follow, recover, ready.
    static const float pitch[6] = {-0.9f, -2.4f, 1.2f, 0.9f, 0.3f, 0.2f};
    static const float elbow[6] = {1.2f, 0.6f, 0.15f, 0.4f, 0.8f, 0.9f};
    static const float twist[6] = {-0.35f, -0.45f, 0.35f, 0.45f, 0.15f, 0.0f};
    static const float lean[6] = {-0.05f, -0.1f, 0.18f, 0.22f, 0.1f, 0.04f};
    p.ArmPitch[0] = pitch[frame];
    p.Elbow[0] = elbow[frame];
    p.ArmSpread[0] = gear == TGear::Shuriken ? 0.35f : 0.25f;
    p.Twist = twist[frame];
    p.Lean = lean[frame];
    p.ArmPitch[1] = 0.5f - twist[frame];
    p.Elbow[1] = 0.8f;
    p.WeaponTurn = gear == TGear::Shuriken ? 0.0f : 1.2f;
    return p;
}

TPose Die(int frame) {
    static const float fall[6] = {0.0f, 0.12f, 0.35f, 0.65f, 0.9f, 1.0f};
    TPose p = Stand();
    const float f = fall[frame];
    p.Fall = f;
    p.Knee[0] = p.Knee[1] = std::sin(f * kPi) * 1.0f;
    p.LegPitch[0] = p.LegPitch[1] = std::sin(f * kPi) * 0.6f;
    p.ArmPitch[0] = -f * 2.2f;
    p.ArmPitch[1] = -f * 2.0f;
    p.ArmSpread[0] = p.ArmSpread[1] = 0.2f + f * 0.7f;
    p.Elbow[0] = p.Elbow[1] = 0.3f;
    p.Dead = frame >= 4;
    return p;
}

// Builds one posed figure into the scene. `place` maps body space (Y up, facing +Z, the
// foot point at the origin) to world space.
class TFigureBuilder {
public:
    TFigureBuilder(const TBodyPlan& plan, const TPose& pose, float facing, TScene& scene)
        : P(plan), Q(pose), Facing(facing), S(scene) {}

    void Build() {
        const float h = P.Height;
        const float hipY = 22 * h + Q.Bob;
        // Legs.
        for (int i = 0; i < 2; ++i) {
            const float side = i == 0 ? -1.0f : 1.0f;
            const TVec3 hip{side * 4.2f * P.Bulk, hipY, 0};
            const TVec3 thighDir{0, -std::cos(Q.LegPitch[i]), std::sin(Q.LegPitch[i])};
            const TVec3 knee = hip + thighDir * (11 * h);
            const float shin = Q.LegPitch[i] - Q.Knee[i];
            const TVec3 shinDir{0, -std::cos(shin), std::sin(shin)};
            const TVec3 ankle = knee + shinDir * (10.5f * h);
            Body().Cone(Place(hip), Place(knee), 3.6f * P.Bulk, 3.0f * P.Bulk, P.Legs);
            Body().Cone(Place(knee), Place(ankle + TVec3{0, 2.5f, 0}), 3.0f * P.Bulk, 2.6f * P.Bulk, P.Legs);
            Body().Cone(Place(ankle + TVec3{0, 3.0f, -0.5f}), Place(ankle + TVec3{0, 0.8f, 3.2f}), 2.6f, 2.2f,
                        P.Boots);
        }
        // Hips and torso, turned by the twist and lean about the hips.
        Upper = [this, hipY](const TVec3& v) {
            TVec3 r = RotateY(v - TVec3{0, hipY, 0}, Q.Twist);
            r = RotateX(r, Q.Lean);
            return r + TVec3{0, hipY, 0};
        };
        const float b = P.Bulk, h2 = P.Height;
        Body().Ellipsoid(Place(Upper({0, hipY + 1, 0})), {6.2f * b, 4.5f, 4.2f * b}, Axes(), P.Legs);
        const TMaterial& chest = P.BareChest ? P.Skin : P.Torso;
        Body().Ellipsoid(Place(Upper({0, hipY + 9 * h2, 0.3f})), {7.4f * b, 8.5f * h2, 4.8f * b}, Axes(),
                         chest);
        // Belt.
        Body().Ellipsoid(Place(Upper({0, hipY + 3.2f, 0})), {6.6f * b, 1.6f, 4.7f * b}, Axes(),
                         P.Gear == TGear::Shuriken ? P.Trim : P.Boots);
        if (P.BareChest) {
            // A fur strap across the chest.
            Body().Cone(Place(Upper({-6 * b, hipY + 5, 3.8f * b})),
                        Place(Upper({6 * b, hipY + 15, 3.2f * b})), 1.5f, 1.5f, P.Cloak);
        } else if (P.Shield || P.Gear == TGear::Cleaver) {
            // Shoulder plates.
            for (float side : {-1.0f, 1.0f})
                Body().Ellipsoid(Place(Upper({side * 7.6f * b, hipY + 15.5f * h2, 0})), {3.8f, 2.6f, 3.8f},
                                 Axes(), P.Gear == TGear::Cleaver ? P.Metal : P.Torso);
        }
        const float shoulderY = hipY + 15 * h2;
        const TVec3 neck{0, shoulderY + 2, 0};
        const TVec3 headC{0, shoulderY + 7.5f * h2, 0.4f};
        Head(headC, neck);
        if (P.CloakOn) Cloak(hipY, shoulderY);
        if (P.Quiver) {
            Body().Cylinder(Place(Upper({3, shoulderY - 12, -5.5f})),
                            Place(Upper({-3, shoulderY + 3, -6.5f})), 2.2f, P.Wood);
            for (int k = 0; k < 3; ++k)
                Body().Capsule(Place(Upper({-3.0f + k * 1.2f, shoulderY + 3, -6.5f})),
                               Place(Upper({-3.6f + k * 1.4f, shoulderY + 6, -7.0f})), 0.7f,
                               Mat(230, 230, 220));
        }
        // Arms: 0 is the weapon arm (the fighter's right), 1 the other.
        for (int i = 0; i < 2; ++i)
            Arm(i, shoulderY);
    }

private:
    TScene& Body() { return S; }

    static TFrame Axes() { return {}; }

    // Body space to world: the fall onto the back, then the facing.
    TVec3 Place(const TVec3& v) const {
        TVec3 r = v;
        if (Q.Fall > 0) {
            const float a = Q.Fall * 1.45f;
            r = RotateX(r, -a);
            // Keep the body over the foot point while it falls.
            r.Z += 20 * std::sin(a) * P.Height;
            r.Y += 3.5f * std::sin(a);
        }
        return RotateY(r, Facing);
    }

    TVec3 ArmLocal(int i, float shoulderY, TVec3& elbow, TVec3& hand, TVec3& forearmDir) const {
        const float side = i == 0 ? -1.0f : 1.0f;
        const TVec3 shoulder{side * 8.6f * P.Bulk, shoulderY, 0};
        TVec3 upper = RotateX({0, -1, 0}, -Q.ArmPitch[i]);
        upper = RotateZ(upper, -side * Q.ArmSpread[i]);
        elbow = shoulder + upper * (8.5f * P.Height);
        TVec3 fore = RotateX({0, -1, 0}, -(Q.ArmPitch[i] + Q.Elbow[i]));
        fore = RotateZ(fore, -side * Q.ArmSpread[i] * 0.6f);
        forearmDir = fore;
        hand = elbow + fore * (8.0f * P.Height);
        return shoulder;
    }

    void Arm(int i, float shoulderY) {
        TVec3 elbow, hand, fore;
        const TVec3 shoulder = ArmLocal(i, shoulderY, elbow, hand, fore);
        const TMaterial& sleeve = P.BareChest ? P.Skin : P.Torso;
        const float b = P.Bulk;
        Body().Cone(Place(Upper(shoulder)), Place(Upper(elbow)), 3.0f * b, 2.5f * b, sleeve);
        Body().Cone(Place(Upper(elbow)), Place(Upper(hand)), 2.5f * b, 2.1f * b,
                    P.Helmet ? P.Metal : (P.BareChest ? P.Skin : P.Torso));
        Body().Sphere(Place(Upper(hand)), 2.3f * b, P.Helmet ? P.Metal : P.Skin);
        if (i == 0) Weapon(hand, fore);
        if (i == 1 && P.Shield && !Q.Dead) {
            // The shield is strapped to the forearm, its face turned the way the fighter looks.
            const TVec3 c = Upper(hand + TVec3{2.5f, 1.5f, 2.5f});
            Body().Ellipsoid(Place(c), {6.5f, 7.5f, 1.4f}, FacingFrame(), Mat(170, 40, 40, 0.25f, 0.06f, 16));
            Body().Sphere(Place(c + TVec3{0, 0, 1.2f}), 1.8f, P.Trim);
        }
        if (i == 1 && P.Gear == TGear::Bow) Bow(hand, fore);
    }

    TFrame FacingFrame() const {
        TFrame f;
        f.Ax = Place(TVec3{1, 0, 0}) - Place(TVec3{0, 0, 0});
        f.Ay = Place(TVec3{0, 1, 0}) - Place(TVec3{0, 0, 0});
        f.Az = Place(TVec3{0, 0, 1}) - Place(TVec3{0, 0, 0});
        return f;
    }

    void Weapon(const TVec3& hand, const TVec3& fore) {
        if (P.Gear == TGear::Bow) {
            // The string hand holds an arrow while drawing.
            if (Q.BowDraw > 0.05f) {
                const TVec3 tip = hand + TVec3{1.5f, 0, 16};
                Body().Capsule(Place(Upper(hand)), Place(Upper(tip)), 0.55f, P.Wood);
                Body().Sphere(Place(Upper(tip)), 0.9f, P.Metal);
            }
            return;
        }
        if (Q.Dead) return;
        // Held a little away from the body so the blade shows beside it, not over it.
        const TVec3 axis = Normalize(RotateZ(RotateX(fore, -Q.WeaponTurn), 0.6f));
        // Laid out in world space and turned mostly across the line of sight, so a blade
        // held towards or away from the viewer still reads as a blade.
        const TVec3 base = Place(Upper(hand));
        TVec3 along = Place(Upper(hand + axis)) - base;
        along = Normalize(along - kView * (Dot(along, kView) * 0.7f));
        TVec3 across = Place(Upper(hand + Normalize(Cross(axis, {1, 0, 0})))) - base;
        across = Normalize(across - along * Dot(across, along));
        auto at = [&](float k, float j = 0) { return base + along * k + across * j; };
        const TMaterial steel = Mat(222, 228, 238, 0.9f, 0.02f, 40);
        switch (P.Gear) {
        case TGear::Sword:
            Body().Capsule(at(-2.5f), at(1.5f), 1.0f, P.Wood);
            Body().Capsule(at(2, 3.2f), at(2, -3.2f), 0.9f, P.Trim);
            Body().Cone(at(3), at(22), 1.5f, 0.5f, steel);
            break;
        case TGear::Cleaver:
            Body().Capsule(at(-2), at(2), 1.1f, P.Wood);
            Body().Cone(at(3, 0.5f), at(16, 1.5f), 2.0f, 3.2f, Mat(176, 166, 150, 0.6f, 0.12f, 20));
            break;
        case TGear::Axe:
            Body().Capsule(at(-4), at(17), 1.1f, P.Wood);
            // A flat bearded blade on one side of the haft, a spike on the other.
            Body().Ellipsoid(at(13, 4.5f), {4.2f, 5.0f, 0.9f}, TFrame{across, along, Cross(across, along)},
                             steel);
            Body().Cone(at(14), at(14.5f, -3.5f), 1.3f, 0.5f, steel);
            break;
        case TGear::Shuriken: {
            const TVec3 c = hand + fore * 1.5f;
            for (int k = 0; k < 4; ++k) {
                const float a = k * kPi / 2 + 0.4f;
                Body().Cone(Place(Upper(c)),
                            Place(Upper(c + TVec3{std::cos(a) * 3.6f, std::sin(a) * 3.6f, 0.5f})), 1.0f,
                            0.35f, P.Metal);
            }
            break;
        }
        case TGear::Bow:
            break;
        }
    }

    void Bow(const TVec3& hand, const TVec3& fore) {
        // The bow stands across the forearm; the string runs back to the drawing hand.
        const TVec3 up{0, 1, 0};
        const TVec3 bend = Normalize(fore) * 1.0f;
        TVec3 prev;
        for (int k = 0; k <= 8; ++k) {
            const float t = (k - 4) / 4.0f;
            const TVec3 p = hand + up * (t * 13) + bend * (3.5f * (1 - t * t));
            if (k > 0) Body().Capsule(Place(Upper(prev)), Place(Upper(p)), 0.9f, P.Wood);
            prev = p;
        }
        TVec3 e0, h0, f0;
        const float shoulderY = 22 * P.Height + Q.Bob + 15 * P.Height;
        ArmLocal(0, shoulderY, e0, h0, f0);
        const TVec3 top = hand + up * 13, bottom = hand - up * 13;
        const TVec3 nock = Q.BowDraw > 0.05f ? h0 : hand - bend * 0.5f;
        TMaterial string = Mat(235, 230, 210, 0.1f, 0.0f);
        Body().Capsule(Place(Upper(top)), Place(Upper(nock)), 0.3f, string);
        Body().Capsule(Place(Upper(nock)), Place(Upper(bottom)), 0.3f, string);
    }

    void Head(const TVec3& c, const TVec3& neck) {
        const float h = P.Height;
        Body().Capsule(Place(Upper(neck)), Place(Upper(c)), 2.4f, P.Skin);
        const float r = 6.2f * h;
        Body().Sphere(Place(Upper(c)), r, P.Mask ? P.Torso : P.Skin);
        // Eyes, as the fighter looks forwards.
        TMaterial eye = Mat(30, 24, 30, 0.4f, 0.0f, 30);
        if (Q.Dead) eye = Mat(80, 40, 40, 0.0f, 0.0f);
        if (P.Mask) {
            Body().Ellipsoid(Place(Upper(c + TVec3{0, 0.9f, r + 0.15f})), {3.9f, 1.4f, 1.0f}, FacingFrame(),
                             P.Skin);
            Body().Capsule(Place(Upper(c + TVec3{-r, 3.2f, 0})), Place(Upper(c + TVec3{r, 3.2f, 0})), 1.9f,
                           P.Trim);
            Body().Cone(Place(Upper(c + TVec3{0, 2.6f, -r})), Place(Upper(c + TVec3{1.5f, -2.0f, -r - 4})),
                        1.2f, 0.6f, P.Trim);
        }
        for (float side : {-1.0f, 1.0f})
            Body().Sphere(Place(Upper(c + TVec3{side * 2.3f, 0.7f, r * 0.84f})), 1.2f, eye);
        if (P.Helmet) {
            Body().Ellipsoid(Place(Upper(c + TVec3{0, 1.2f, -0.2f})), {r + 0.9f, r + 0.6f, r + 0.9f},
                             FacingFrame(), P.Metal);
            // Visor slit: a dark band over the eyes.
            Body().Ellipsoid(Place(Upper(c + TVec3{0, 0.4f, r * 0.98f})), {4.8f, 1.1f, 1.4f}, FacingFrame(),
                             Mat(25, 25, 35));
            if (P.Plume)
                Body().Cone(Place(Upper(c + TVec3{0, r + 1.5f, 0})),
                            Place(Upper(c + TVec3{0, r + 0.5f, -r - 5})), 2.2f, 1.2f,
                            Mat(200, 30, 30, 0.05f, 0.2f));
        } else if (P.Hood) {
            Body().Ellipsoid(Place(Upper(c + TVec3{0, 0.8f, -0.8f})), {r + 0.6f, r + 0.7f, r + 0.4f},
                             FacingFrame(), P.Torso);
        } else {
            // Hair over the crown and the back of the head.
            Body().Ellipsoid(Place(Upper(c + TVec3{0, 3.0f, -2.0f})), {r + 0.4f, r * 0.68f, r + 0.2f},
                             FacingFrame(), P.Hair);
            if (P.LongHair)
                Body().Cone(Place(Upper(c + TVec3{0, 0, -r * 0.7f})),
                            Place(Upper(c + TVec3{0, -11, -r * 0.7f - 1.5f})), 4.5f, 3.0f, P.Hair);
        }
        if (P.Ears)
            for (float side : {-1.0f, 1.0f})
                Body().Cone(Place(Upper(c + TVec3{side * r * 0.9f, 0.5f, 0})),
                            Place(Upper(c + TVec3{side * (r + 3.5f), 3.5f, -1.0f})), 1.3f, 0.4f, P.Skin);
        if (P.Horns)
            for (float side : {-1.0f, 1.0f}) {
                Body().Ellipsoid(Place(Upper(c + TVec3{0, 3.2f, -0.6f})), {r + 0.3f, r * 0.55f, r + 0.3f},
                                 FacingFrame(), Mat(150, 150, 156, 0.6f, 0.08f, 20));
                Body().Cone(Place(Upper(c + TVec3{side * r * 0.8f, 3, 0})),
                            Place(Upper(c + TVec3{side * (r + 4.5f), 8.5f, 0.5f})), 1.8f, 0.5f,
                            Mat(236, 226, 196, 0.3f, 0.06f));
            }
        if (P.Tusks)
            for (float side : {-1.0f, 1.0f})
                Body().Cone(Place(Upper(c + TVec3{side * 2.2f, -2.6f, r * 0.8f})),
                            Place(Upper(c + TVec3{side * 2.6f, -0.6f, r * 0.95f + 0.8f})), 0.9f, 0.35f,
                            Mat(240, 232, 210, 0.3f, 0.0f));
    }

    void Cloak(float hipY, float shoulderY) {
        // A cape hanging from the shoulders behind the back, flaring towards the hem.
        const float b = P.Bulk;
        for (int k = 0; k < 5; ++k) {
            const float x = (k - 2) * 3.2f * b;
            const TVec3 top = Upper({x * 0.8f, shoulderY + 1, -3.8f * b});
            // The hem trails behind a striding fighter and swings with its legs.
            const float stride = std::fabs(Q.LegPitch[0]) * 4;
            const float sway = std::sin(Q.LegPitch[0] * 3 + k) * 0.8f + Q.Lean * 6 + stride;
            TVec3 hem = {x * 1.12f, std::max(6.0f, hipY - 10), -5.5f * b - 1.5f - sway};
            hem = Upper(hem);
            Body().Cone(Place(top), Place(hem), 2.6f, 3.2f, P.Cloak);
        }
        Body().Capsule(Place(Upper({-7 * b, shoulderY + 1.5f, 0})),
                       Place(Upper({7 * b, shoulderY + 1.5f, 0})), 2.4f, P.Cloak);
    }

    const TBodyPlan& P;
    const TPose& Q;
    float Facing;
    TScene& S;
    std::function<TVec3(const TVec3&)> Upper;
};

float FacingAngle(int direction) {
    return (4 - direction) * kPi / 4;
}

TCamera SpriteCamera(float originX, float originY, float scale) {
    TCamera cam;
    cam.Elevation = kElevation;
    cam.Scale = scale;
    cam.OriginX = originX;
    cam.OriginY = originY;
    cam.Samples = 2;
    return cam;
}

TCanvas DrawPose(const TBodyPlan& plan, const TPose& pose, int direction) {
    TScene scene;
    TFigureBuilder(plan, pose, FacingAngle(direction), scene).Build();
    // A dying fighter sinks towards the top of its cell so the body lying on its back fits.
    TCanvas cell = Render(scene, SpriteCamera(kFootX, kFootY - 10 * pose.Fall, 1.18f), 80, 80);
    // A shadow on the ground: the sheet has one transparent colour and no alpha, so every
    // other pixel of it is drawn, which reads as a soft shade at the game's size.
    const float shadowY = kFootY + 1 - 6 * pose.Fall, rx = 14 + 8 * pose.Fall, ry = 5 + 3 * pose.Fall;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) {
            const float dx = (x + 0.5f - kFootX) / rx, dy = (y + 0.5f - shadowY) / ry;
            if (dx * dx + dy * dy > 1 || (x + y) % 2 || cell.At(x, y).A >= 0.5f) continue;
            cell.At(x, y) = Rgb(18, 26, 14);
        }
    return cell;
}

// Head and shoulders, large, kept in the left half of the cell where the status panel
// leaves room beside its bars.
TCanvas DrawBust(const TBodyPlan& plan, bool dead) {
    TScene scene;
    TPose pose = Stand();
    pose.Dead = dead;
    TBodyPlan p = plan;
    if (dead) {
        for (TMaterial* m : {&p.Skin, &p.Torso, &p.Hair, &p.Cloak, &p.Metal, &p.Trim, &p.Legs}) {
            const float grey = (m->Color.R + m->Color.G + m->Color.B) / 3;
            m->Color = Mix(m->Color, {grey * 0.7f, grey * 0.6f, grey * 0.62f, 1}, 0.75f);
        }
    }
    TFigureBuilder(p, pose, FacingAngle(dead ? 3 : 4) - 0.35f, scene).Build();
    TCamera cam = SpriteCamera(30, 108, 1.9f);
    cam.Elevation = 0.35f;
    return Render(scene, cam, 80, 80);
}

TCanvas DrawSetupPortrait(const TBodyPlan& plan) {
    TCanvas out(80, 68);
    // A framed medallion, clear of the left 14 columns where the setup arrows lie.
    const float x0 = 15, y0 = 1, x1 = 79, y1 = 67;
    out.FillRect(x0, y0, x1, y1, Rgb(120, 92, 40));
    out.FillRect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, Rgb(214, 178, 84));
    for (int y = static_cast<int>(y0 + 4); y < y1 - 4; ++y)
        for (int x = static_cast<int>(x0 + 4); x < x1 - 4; ++x) {
            const float t = (y - y0) / (y1 - y0);
            out.At(x, y) = Mix(Rgb(60, 70, 110), Rgb(18, 20, 36), t);
        }
    TScene scene;
    TPose pose = Stand();
    TFigureBuilder(plan, pose, FacingAngle(4) - 0.4f, scene).Build();
    TCamera cam = SpriteCamera(47, 104, 1.8f);
    cam.Elevation = 0.3f;
    TCanvas bust = Render(scene, cam, 80, 68);
    for (int y = static_cast<int>(y0 + 4); y < y1 - 4; ++y)
        for (int x = static_cast<int>(x0 + 4); x < x1 - 4; ++x)
            out.Blend(x, y, bust.At(x, y));
    return out;
}

} // namespace

TSheetLayout CharacterLayout() {
    TSheetLayout layout;
    int next = 0;
    auto take = [&next](int count) {
        for (int reserved : {TSheetLayout::kPortraitCell, TSheetLayout::kDeadPortraitCell})
            if (next <= reserved && reserved < next + count) next = reserved + 1;
        const int first = next;
        next += count;
        return first;
    };
    for (int d = 0; d < 8; ++d) {
        layout.Attack[d] = take(TSheetLayout::kAttackCells);
        layout.Walk[d] = take(TSheetLayout::kWalkCells);
        layout.Stand[d] = take(TSheetLayout::kStandCells);
        layout.Die[d] = take(TSheetLayout::kDieCells);
    }
    layout.CellCount = std::max(next, TSheetLayout::kDeadPortraitCell + 1);
    return layout;
}

std::vector<std::string> CharacterNames() {
    return {"Knight", "Elf", "Orc", "Ninja", "Barbar"};
}

TCharacterArt DrawCharacter(const std::string& name) {
    const TBodyPlan plan = Plan(name);
    const TSheetLayout layout = CharacterLayout();
    const int rows = (layout.CellCount + TSheetLayout::kColumns - 1) / TSheetLayout::kColumns;
    TCharacterArt art;
    art.Name = name;
    art.Sheet = TCanvas(TSheetLayout::kColumns * 80, rows * 80);
    auto put = [&art](int cell, const TCanvas& c) {
        art.Sheet.Paste(c, (cell % TSheetLayout::kColumns) * 80, (cell / TSheetLayout::kColumns) * 80);
    };
    for (int d = 0; d < 8; ++d) {
        for (int f = 0; f < TSheetLayout::kAttackCells; ++f)
            put(layout.Attack[d] + f, DrawPose(plan, Attack(f, plan.Gear), d));
        for (int f = 0; f < TSheetLayout::kWalkCells; ++f)
            put(layout.Walk[d] + f,
                DrawPose(plan, Walk(static_cast<float>(f) / TSheetLayout::kWalkCells), d));
        put(layout.Stand[d], DrawPose(plan, Stand(), d));
        for (int f = 0; f < TSheetLayout::kDieCells; ++f)
            put(layout.Die[d] + f, DrawPose(plan, Die(f), d));
    }
    put(TSheetLayout::kPortraitCell, DrawBust(plan, false));
    put(TSheetLayout::kDeadPortraitCell, DrawBust(plan, true));
    art.Portrait = DrawSetupPortrait(plan);
    return art;
}

} // namespace content
