// Weapon files, carrying weapons, and missiles: launch checks, flight, expiry, what stops them
// and the hit roll at impact.
#include "WorldFixture.h"
#include "media/BriskImage.h"
#include "platform/Random.h"

#include <deque>
#include <gtest/gtest.h>

namespace {

class WeaponsTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        WriteFile("data\\Bow.wpn", "[Bow]\nMelee=2\nDamage=6\nMissile=9\nArmor=2\nSpeed=10\nHealth=5\n"
                                   "Image=bow.png\nWidth=32\nHeight=32\nOffX=16\nOffY=24\nPic=7\n"
                                   "Dir0=10\nDir1=11\nDir2=12\nDir3=13\nDir4=14\nDir5=15\nDir6=16\nDir7=17\n"
                                   "Frames=3\nShootSpeed=50\n");
        Bow = Map.CreateWeapon("Bow", 0, 0);
        Attacker = &AddFighter(Map, 100, 100);
        Attacker->Damage = 4;
        Attacker->Melee = 1;
        Attacker->Missile = 1;
    }

    // The rolls the next hits draw, in order.
    void ScriptRolls(std::initializer_list<double> rolls) {
        auto queue = std::make_shared<std::deque<double>>(rolls);
        SetRandomSource([queue] {
            const double value = queue->empty() ? 0.0 : queue->front();
            if (!queue->empty()) queue->pop_front();
            return value;
        });
    }

    // Placed before it goes on the map, so it marks the square it stands on.
    static TTestFighter& AddFighter(TBaseMap& map, float x, float y) {
        auto fighter = std::make_unique<TTestFighter>();
        fighter->SetX(x);
        fighter->SetY(y);
        return map.Add(std::move(fighter));
    }

    TTestFighter& AddTarget(float x, float y) {
        TTestFighter& target = AddFighter(Map, x, y);
        target.SetMaxHealth(100);
        target.SetHealth(100);
        return target;
    }

    TBaseMap Map;
    std::unique_ptr<TWeapon> Bow;
    TTestFighter* Attacker = nullptr;
};

TEST_F(WeaponsTest, AWeaponFileGivesStatisticsPictureAndMissileSpeed) {
    EXPECT_EQ(Bow->Missile, 9);
    EXPECT_EQ(Bow->SpeedBonus, 10);
    EXPECT_FLOAT_EQ(Bow->Speed(), 0.5f);
    EXPECT_EQ(Bow->FrameBase(), 7);
    EXPECT_EQ(Bow->DirFrames[5], 15);
    EXPECT_EQ(Bow->Frames, 3);
    EXPECT_EQ(Bow->Special, "Nil");
    ASSERT_NE(Bow->Image(), nullptr);
    EXPECT_EQ(Bow->Image()->Name, "Bow");
    EXPECT_EQ(Bow->Image()->FrameWidth, 32);
    EXPECT_EQ(Bow->ExpireTick, 0U);
    // Every bow shares the first one's picture.
    const auto second = Map.CreateWeapon("Bow", 10, 10);
    EXPECT_EQ(second->Image(), Bow->Image());
    // A missing file gives a weapon too slow to fire.
    const auto nothing = Map.CreateWeapon("Stick", 0, 0);
    EXPECT_EQ(nothing->Speed(), 0.0f);
    EXPECT_THROW(TWeapon::Fire(*nothing, *Attacker, Map), EWorldError);
}

TEST_F(WeaponsTest, CarryingAWeaponAndSwappingItGivesSpeedAndArmourBack) {
    Attacker->Armor = 5;
    Attacker->SetSpeed(0.2f);
    TWeapon& bow = Map.Add(Map.CreateWeapon("Bow", 300, 300));
    EXPECT_EQ(Map.GetSquare(bow.FootX(), bow.FootY()).Passability, kSquarePickUp);
    Attacker->PickUp(bow);
    EXPECT_FLOAT_EQ(Attacker->Speed(), 0.1f);
    EXPECT_EQ(Attacker->Armor, 3);
    Attacker->PickUp(Map.Add(Map.CreateWeapon("Stick", 300, 300)));
    EXPECT_FLOAT_EQ(Attacker->Speed(), 0.2f);
    EXPECT_EQ(Attacker->Armor, 5);
    EXPECT_EQ(Attacker->SecondWeapon->Name, "Stick");
}

TEST_F(WeaponsTest, AMissileStartsOnItsOwnersFootPointAndAddsTheirSkills) {
    Attacker->SetDirection(3);
    TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
    EXPECT_EQ(missile.FootX(), Attacker->FootX());
    EXPECT_EQ(missile.FootY(), Attacker->FootY());
    EXPECT_EQ(missile.Melee, 3);
    EXPECT_EQ(missile.Missile, 10);
    EXPECT_EQ(missile.Damage, 10);
    EXPECT_EQ(missile.Direction, 3);
    EXPECT_EQ(missile.FrameBase(), 13);
    EXPECT_EQ(missile.FrameDelay(), 30);
    EXPECT_EQ(missile.ExpireTick, Clock().Ticks() + 1000);
    EXPECT_EQ(missile.Owner, Attacker);
    EXPECT_EQ(missile.Map(), &Map);
    EXPECT_TRUE(SoundRequested("Shoot"));
    // Missiles mark no square, so the owner keeps its own.
    EXPECT_EQ(Map.GetSquare(missile.FootX(), missile.FootY()).Occupant, Attacker);
}

TEST_F(WeaponsTest, ALaunchThatFailsItsChecksAddsNothing) {
    struct TCase {
        int32_t Direction;
        float Speed;
        uint32_t Now;
        const char* Error;
    };
    const TCase cases[] = {
        {8, 0.5f, 20000, "Invalid Dir"},    {-1, 0.5f, 20000, "Invalid Dir"},
        {8, 0.0f, 0, "Invalid Dir"},        {0, 0.049f, 20000, "Invalid Speed"},
        {0, -1.0f, 20000, "Invalid Speed"}, {7, 0.05f, 9999, "Invalid MoveTick"},
        {7, 0.05f, 10000, nullptr},         {0, 0.5f, 20000, nullptr},
    };
    for (const TCase& c : cases) {
        Attacker->SetDirection(c.Direction);
        Bow->SetSpeed(c.Speed);
        Clock().Set(c.Now);
        const size_t before = Map.Items().size();
        if (c.Error == nullptr) {
            EXPECT_NO_THROW(TWeapon::Fire(*Bow, *Attacker, Map)) << c.Direction;
            EXPECT_EQ(Map.Items().size(), before + 1);
            continue;
        }
        try {
            TWeapon::Fire(*Bow, *Attacker, Map);
            ADD_FAILURE() << "launched " << c.Error;
        } catch (const EWorldError& error) {
            EXPECT_STREQ(error.what(), c.Error);
        }
        EXPECT_EQ(Map.Items().size(), before);
    }
}

TEST_F(WeaponsTest, AFlightStepCoversSpeedTimesElapsedAlongTheDirection) {
    Attacker->SetDirection(1);
    TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
    const float x = missile.X();
    const float y = missile.Y();
    Clock().Advance(20);
    missile.Move();
    EXPECT_NEAR(missile.X() - x, 7.7f, 1e-4f);
    EXPECT_NEAR(missile.Y() - y, -7.7f, 1e-4f);
    EXPECT_EQ(missile.LastMoveTick, Clock().Ticks());
}

TEST_F(WeaponsTest, MissilesEndAfterOneSecondEvenWhenHeldAtTheFieldsEdge) {
    struct TCase {
        uint32_t LaunchTick;
        float X;
        int32_t Direction;
    };
    // In open field, pressed against the right and the lower limit, across the clock's wrap,
    // and with a flight step landing on tick 0 itself (which must not read as "not flying").
    const TCase cases[] = {{20000, 100, 2},
                           {20000, 1850, 2},
                           {20000, 100, 4},
                           {0xFFFFFFFFU - 500, 1850, 2},
                           {0xFFFFFFFFU - 110, 100, 2}};
    for (const TCase& c : cases) {
        TBaseMap map;
        Clock().Set(c.LaunchTick);
        TTestFighter& owner = AddFighter(map, c.X, c.Direction == 4 ? 1440.0f : 100.0f);
        owner.SetDirection(c.Direction);
        TWeapon::Fire(*Bow, owner, map);
        ASSERT_EQ(map.Items().size(), 2U);
        for (uint32_t ms = 0; ms < 999; ms += 111) {
            Clock().Set(c.LaunchTick + ms);
            map.Update();
        }
        Clock().Set(c.LaunchTick + 999);
        map.Update();
        EXPECT_EQ(map.Items().size(), 2U) << c.X << " " << c.LaunchTick;
        Clock().Set(c.LaunchTick + 1000);
        map.Update();
        EXPECT_EQ(map.Items().size(), 2U) << c.X << " " << c.LaunchTick;
        Clock().Set(c.LaunchTick + 1001);
        map.Update();
        EXPECT_EQ(map.Items().size(), 1U) << c.X << " " << c.LaunchTick;
    }
}

TEST_F(WeaponsTest, MissilesLeavingTheTopOrLeftEndAtOnce) {
    Attacker->SetY(-40);
    Attacker->SetDirection(0);
    TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
    Clock().Advance(100);
    missile.Move();
    EXPECT_TRUE(missile.Done);
}

TEST_F(WeaponsTest, ABuildingStopsAMissileSilentlyAndAFighterTakesTheRoll) {
    Attacker->SetDirection(2);
    auto building = std::make_unique<TObstruction>();
    building->SetX(static_cast<float>(Attacker->FootX() + 40));
    building->SetY(static_cast<float>(Attacker->FootY()));
    Map.Add(std::move(building));
    // 80 ms at 0.5 px/ms: 40 pixels, onto the building's square.
    TWeapon::Fire(*Bow, *Attacker, Map);
    Clock().Advance(80);
    Map.Update();
    EXPECT_EQ(Map.Items().size(), 2U);
    EXPECT_FALSE(SoundRequested("AttackMissShort"));

    TBaseMap open;
    TTestFighter& owner = AddFighter(open, 0, 0);
    owner.SetDirection(2);
    TTestFighter& target = AddFighter(open, 40, 0);
    ScriptRolls({0.0, 0.5});
    TWeapon::Fire(*Bow, owner, open);
    Clock().Advance(80);
    open.Update();
    EXPECT_EQ(open.Items().size(), 2U);
    EXPECT_TRUE(target.Wounds.empty());
    EXPECT_TRUE(SoundRequested("AttackMissShort"));
    EXPECT_TRUE(owner.Wounds.empty());
}

TEST_F(WeaponsTest, TheDistanceAtImpactChoosesMeleeOrMissileRoll) {
    struct TCase {
        float TargetX;
        float TargetY;
        bool Melee;
    };
    // Attacker at pixel (100, 100). Closer than 48 across and 32 down is close combat.
    const TCase cases[] = {{140, 125, true}, {147, 131, true}, {148, 100, false}, {100, 132, false},
                           {53, 69, true},   {52, 69, false},  {53, 68, false}};
    for (const TCase& c : cases) {
        TTestFighter& target = AddTarget(c.TargetX, c.TargetY);
        Attacker->SetDirection(2);
        TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
        // Only the skill the distance calls for can win the roll.
        missile.Melee = c.Melee ? 100 : 0;
        missile.Missile = c.Melee ? 0 : 100;
        ScriptRolls({0.5, 0.1});
        missile.Hit(target);
        ASSERT_EQ(target.Wounds.size(), 1U) << c.TargetX << "," << c.TargetY;
        // Melee wounds by the missile's damage; a shot leaves out the attacker's bonus.
        EXPECT_EQ(target.Wounds[0], c.Melee ? 10 : 6) << c.TargetX << "," << c.TargetY;
        Map.Remove(target);
    }
}

TEST_F(WeaponsTest, ASkillOfZeroNeverWounds) {
    TTestFighter& near = AddTarget(120, 100);
    TTestFighter& far = AddTarget(400, 100);
    for (const int32_t armor : {-10, 0, 25}) {
        near.Armor = armor;
        far.Armor = armor;
        TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
        missile.Melee = 0;
        missile.Missile = 0;
        ScriptRolls({0.999, 0.0, 0.999, 0.0});
        missile.Hit(near);
        missile.Hit(far);
    }
    EXPECT_TRUE(near.Wounds.empty());
    EXPECT_TRUE(far.Wounds.empty());
    EXPECT_TRUE(SoundRequested("AttackMissShort"));
}

TEST_F(WeaponsTest, TheAttackRollIsDrawnBeforeTheDefenceRoll) {
    TTestFighter& target = AddTarget(400, 100);
    TWeapon& missile = TWeapon::Fire(*Bow, *Attacker, Map);
    // Missile 10 against Armor 0: 0.6 * 10 = 6 beats 0.5 * 10 = 5, but 5 does not beat 6.
    ScriptRolls({0.6, 0.5, 0.5, 0.6});
    missile.Hit(target);
    missile.Hit(target);
    EXPECT_EQ(target.Wounds.size(), 1U);
}

} // namespace
