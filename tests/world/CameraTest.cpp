// The match camera: both fighters in view while they fit, the lead kept whole when they do
// not, the field's edges and corners (the last rows above the status panels), and the pointer
// to a fighter out of view.
#include "media/BriskImage.h"
#include "world/Camera.h"
#include "world/Items.h"
#include "world/Map.h"

#include <gtest/gtest.h>

namespace {

// An item whose foot point is where it is put, as a fighter's with the game's offsets.
class TStandIn : public TBaseItem {
public:
    TStandIn(int32_t footX, int32_t footY) {
        SetOffsetX(48);
        SetOffsetY(70);
        SetX(static_cast<float>(footX - 48));
        SetY(static_cast<float>(footY - 70));
    }
};

// The figure (80 by 80 around the foot point) lies wholly in the field's part of the screen.
bool Whole(const TBaseItem& item, TViewPoint view) {
    const int32_t left = item.FootX() - 48 - view.X;
    const int32_t top = item.FootY() - 70 - view.Y;
    return left >= 0 && left + 80 <= kViewWidth && top >= 0 && top + 80 <= kFieldViewHeight;
}

TEST(Camera, FightersThatFitAreBothWhollyInViewAroundTheirMiddle) {
    struct TCase {
        int32_t X1, Y1, X2, Y2;
    };
    const TCase cases[] = {{600, 600, 640, 600}, {600, 600, 1100, 600}, {600, 600, 600, 820},
                           {600, 600, 1000, 800}, {1000, 800, 600, 600}};
    for (const TCase& c : cases) {
        const TStandIn lead(c.X1, c.Y1);
        const TStandIn other(c.X2, c.Y2);
        const TViewPoint view = AimCamera(&lead, &other);
        EXPECT_TRUE(Whole(lead, view)) << c.X2 << "," << c.Y2;
        EXPECT_TRUE(Whole(other, view)) << c.X2 << "," << c.Y2;
        // Centred, but for the margin that keeps the lead off the very edge.
        EXPECT_NEAR(view.X + kViewWidth / 2, (c.X1 + c.X2) / 2, 24);
    }
}

TEST(Camera, FightersTooFarApartKeepTheLeadWholeOnTheSideFacingTheOther) {
    const TStandIn lead(300, 700);
    for (const auto& [x, y] : {std::pair{1500, 700}, std::pair{300, 1400}, std::pair{1500, 100}, std::pair{20, 40}}) {
        const TStandIn other(x, y);
        const TViewPoint view = AimCamera(&lead, &other);
        EXPECT_TRUE(Whole(lead, view)) << x << "," << y;
        EXPECT_FALSE(InView(other, view)) << x << "," << y;
        // The lead stands at the edge nearest the other, so the view shows the way to it.
        if (x > 1000) {
            EXPECT_LT(lead.FootX() - view.X, kViewWidth / 2);
        }
        if (y > 1000) {
            EXPECT_LT(lead.FootY() - view.Y, kFieldViewHeight / 2);
        }
    }
}

TEST(Camera, EveryEdgeAndCornerStaysOnTheFieldWithTheLastRowsAboveThePanels) {
    // Foot points at the item limits: the field's top left, top right, bottom left and bottom
    // right, and the middles of its edges.
    const int32_t left = 20;
    const int32_t right = 1908;
    const int32_t top = 22;
    const int32_t bottom = 1520;
    const std::pair<int32_t, int32_t> places[] = {{left, top},   {right, top},   {left, bottom}, {right, bottom},
                                                  {900, top},    {900, bottom},  {left, 700},    {right, 700}};
    for (const auto& [x, y] : places) {
        const TStandIn lead(x, y);
        const TViewPoint view = AimCamera(&lead, nullptr);
        EXPECT_GE(view.X, 0);
        EXPECT_GE(view.Y, 0);
        EXPECT_LE(view.X, kMaxViewX);
        EXPECT_LE(view.Y, kMaxViewY);
        EXPECT_TRUE(InView(lead, view)) << x << "," << y;
        // A fighter on the last rows stands whole above the panels.
        if (y == bottom) {
            EXPECT_LE(lead.FootY() + 10 - view.Y, kFieldViewHeight) << x;
        }
    }
    // The view can bring the field's last square row (row 65) above the panels.
    EXPECT_EQ(kMaxViewY + kFieldViewHeight, kSquareRows * kSquareHeight);
    EXPECT_EQ(kMaxViewX + kViewWidth, kSquareColumns * kSquareWidth);
}

TEST(Camera, TheMapDrawsGroundBelowTheLastTileRowWithoutFailing) {
    TBaseMap map;
    map.SetViewX(kMaxViewX);
    map.SetViewY(kMaxViewY);
    EXPECT_EQ(map.ViewY(), kMaxViewY);
    TBriskImage target;
    target.CreateSurface(768, 624, 24);
    EXPECT_NO_THROW(map.DrawGround(target));
}

TEST(Camera, ThePointerStandsAtTheEdgeFacingTheFighterOutOfView) {
    const TViewPoint view{1000, 1000};
    struct TCase {
        int32_t FootX, FootY;
        int32_t SignX, SignY; // where the pointer should face
    };
    const TCase cases[] = {{2000, 1190, 1, 0},  {500, 1190, -1, 0}, {1320, 500, 0, -1},
                           {1320, 1600, 0, 1}, {1900, 1700, 1, 1}, {300, 300, -1, -1}};
    for (const TCase& c : cases) {
        const TStandIn item(c.FootX, c.FootY);
        const auto pointer = PointerTo(item, view);
        ASSERT_TRUE(pointer.has_value()) << c.FootX << "," << c.FootY;
        EXPECT_GE(pointer->X, 0);
        EXPECT_LT(pointer->X, kViewWidth);
        EXPECT_GE(pointer->Y, 0);
        EXPECT_LT(pointer->Y, kFieldViewHeight);
        if (c.SignX != 0) {
            EXPECT_EQ(pointer->Dx > 0.3f ? 1 : -1, c.SignX);
        }
        if (c.SignY != 0) {
            EXPECT_EQ(pointer->Dy > 0.3f ? 1 : -1, c.SignY);
        }
        // At the edge it points to, within the inset.
        if (c.SignX == 1 && c.SignY == 0) {
            EXPECT_GE(pointer->X, kViewWidth - 30);
        }
        if (c.SignX == -1 && c.SignY == 0) {
            EXPECT_LE(pointer->X, 30);
        }
    }
    const TStandIn near(1300, 1200);
    EXPECT_FALSE(PointerTo(near, view).has_value());
}

} // namespace
