// Where missiles meet fighters: the body around the foot point, fighters close together in
// every direction, shots beside a body, the owner never, and buildings in between.
#include "WorldFixture.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

namespace {

class MissileBody : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        Knife = std::make_unique<TWeapon>();
        Knife->Name = "Knife";
        Knife->SetSpeed(0.3f);
        // Every roll wounds: attack 0.9 * 20 against defence 0 * 10.
        bool attack = true;
        SetRandomSource([attack]() mutable {
            attack = !attack;
            return attack ? 0.0 : 0.9;
        });
    }
    void TearDown() override {
        SetRandomSource({});
        WorldTest::TearDown();
    }
    TTestFighter& AddFighter(TBaseMap& map, int32_t footX, int32_t footY) {
        // The test fighter's foot point lies at (48, 70) of its picture, as the game's fighters' do.
        auto fighter = std::make_unique<TTestFighter>();
        fighter->SetX(static_cast<float>(footX - fighter->OffsetX()));
        fighter->SetY(static_cast<float>(footY - fighter->OffsetY()));
        fighter->Melee = 20;
        fighter->Missile = 20;
        fighter->Damage = 5;
        return map.Add(std::move(fighter));
    }
    // Flies a missile of striker in direction for its whole second, in 20 ms updates.
    void Fly(TBaseMap& map, TTestFighter& striker, int32_t direction) {
        striker.SetDirection(direction);
        TWeapon::Fire(*Knife, striker, map);
        for (int i = 0; i < 55; ++i) {
            Clock().Advance(20);
            map.Update();
        }
    }

    std::unique_ptr<TWeapon> Knife;
};

// The step from a fighter's foot square to a neighbour's, by direction.
constexpr std::array<std::array<int32_t, 2>, 8> kNeighbour{
    {{0, -24}, {32, -24}, {32, 0}, {32, 24}, {0, 24}, {-32, 24}, {-32, 0}, {-32, -24}}};

TEST_F(MissileBody, NeighboursInAllEightDirectionsStrikingEachOtherBothLoseHealth) {
    for (int32_t d = 0; d < 8; ++d) {
        SCOPED_TRACE(d);
        TBaseMap map;
        const auto& step = kNeighbour[static_cast<size_t>(d)];
        TTestFighter& first = AddFighter(map, 400, 400);
        TTestFighter& second = AddFighter(map, 400 + step[0], 400 + step[1]);
        Fly(map, first, d);
        Fly(map, second, (d + 4) % 8);
        EXPECT_EQ(second.Wounds.size(), 1U);
        EXPECT_EQ(first.Wounds.size(), 1U);
    }
}

TEST_F(MissileBody, AShotHitsWhenItPassesThroughTheBodyAndMissesBesideIt) {
    struct TCase {
        int32_t Dx; // target's foot from the striker's
        int32_t Dy;
        int32_t Direction;
        bool Hits;
    };
    // The missile flies 16 pixels above its foot point, the body is 32 by 48 on its foot.
    const TCase cases[] = {
        {100, 0, 2, true},    {100, 30, 2, true},    {100, 32, 2, true},   {100, 33, 2, false},
        {100, -16, 2, true},  {100, -17, 2, false},  {-100, 20, 6, true},  {0, 150, 4, true},
        {16, 150, 4, true},   {17, 150, 4, false},   {-15, 150, 4, true},   {-16, 150, 4, false},  {-17, -150, 0, false},
        {100, 100, 3, true},  {120, 100, 3, true},   {100, 0, 6, false},   {200, 0, 2, true},
        {-120, -100, 7, true}, {120, 60, 3, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.Dx) + "," + std::to_string(c.Dy) + " dir " + std::to_string(c.Direction));
        TBaseMap map;
        TTestFighter& striker = AddFighter(map, 400, 400);
        TTestFighter& target = AddFighter(map, 400 + c.Dx, 400 + c.Dy);
        Fly(map, striker, c.Direction);
        EXPECT_EQ(target.Wounds.size(), c.Hits ? 1U : 0U);
        EXPECT_TRUE(striker.Wounds.empty());
    }
}

TEST_F(MissileBody, AMissileNeverHitsItsOwnerEvenFlyingThroughItsBody) {
    TBaseMap map;
    TTestFighter& striker = AddFighter(map, 400, 400);
    for (int32_t d = 0; d < 8; ++d)
        Fly(map, striker, d);
    EXPECT_TRUE(striker.Wounds.empty());
}

TEST_F(MissileBody, ABuildingBetweenStopsTheShotWithoutAHit) {
    TBaseMap map;
    TTestFighter& striker = AddFighter(map, 400, 400);
    TTestFighter& target = AddFighter(map, 600, 400);
    auto building = std::make_unique<TObstruction>();
    building->SetX(500);
    building->SetY(400);
    map.Add(std::move(building));
    Fly(map, striker, 2);
    EXPECT_TRUE(target.Wounds.empty());
    EXPECT_FALSE(SoundRequested("AttackMissShort"));
    // Water and pickups let it through.
    map.SetSquare(450, 300, kSquareWater, nullptr);
    map.SetSquare(480, 300, kSquarePickUp, nullptr);
    TTestFighter& farTarget = AddFighter(map, 600, 300);
    TTestFighter& farStriker = AddFighter(map, 400, 300);
    Fly(map, farStriker, 2);
    EXPECT_EQ(farTarget.Wounds.size(), 1U);
}

TEST_F(MissileBody, AFastMissileCannotJumpABodyInOneSlowFrame) {
    TBaseMap map;
    TTestFighter& striker = AddFighter(map, 400, 400);
    TTestFighter& target = AddFighter(map, 500, 400);
    striker.SetDirection(2);
    TWeapon::Fire(*Knife, striker, map);
    // One 500 ms update carries the missile 150 pixels, past the body at 84..116.
    Clock().Advance(500);
    map.Update();
    EXPECT_EQ(target.Wounds.size(), 1U);
}

} // namespace
