// Fighters striking and being hurt: the 150 ms limit, the missile a strike builds, both fire
// buttons, the launch checks, and what a hurt raises.
#include "PlayersFixture.h"

namespace {

using PlayerCombat = PlayersFixture;

TWeapon* LastMissile(const TBaseMap& map) {
    for (auto it = map.Items().rbegin(); it != map.Items().rend(); ++it)
        if (auto* missile = dynamic_cast<TWeapon*>(it->get()); missile && missile->ExpireTick != 0)
            return missile;
    return nullptr;
}

TEST_F(PlayerCombat, StrikesLessThanOneHundredFiftyMsApartAreRefused) {
    struct TCase {
        uint32_t GapMs;
        int Missiles;
    };
    for (const TCase c : {TCase{149, 1}, TCase{150, 2}, TCase{0, 1}, TCase{1000, 2}}) {
        SCOPED_TRACE(c.GapMs);
        TPlayer& player = AddPlayer(300, 300);
        int shots = 0;
        player.OnShoot = [&](TBasePlayer& fighter, TWeapon& weapon) {
            EXPECT_EQ(&fighter, &player);
            EXPECT_EQ(&weapon, player.Weapon.get());
            ++shots;
        };
        const int before = MissileCount();
        player.Strike(*player.Weapon);
        Media->Clock.Advance(c.GapMs);
        player.Strike(*player.Weapon);
        EXPECT_EQ(MissileCount() - before, c.Missiles);
        EXPECT_EQ(shots, c.Missiles);
        Media->Clock.Advance(1000);
    }
}

TEST_F(PlayerCombat, TheMissileStartsOnTheStrikersFootWithSummedSkills) {
    TPlayer& player = AddPlayer(300, 300);
    player.Melee = 4;
    player.Missile = 2;
    player.Damage = 1;
    player.SetDirection(3);
    TWeapon& knife = *player.Weapon;
    knife.Melee = 3;
    knife.Missile = 5;
    knife.Damage = 7;
    knife.HealthBonus = 9;
    knife.Special = "SPEED";
    knife.SetOffsetX(16);
    knife.SetOffsetY(24);
    knife.DirFrames = {10, 11, 12, 13, 14, 15, 16, 17};
    player.Strike(knife);
    const TWeapon* missile = LastMissile(*Map);
    ASSERT_NE(missile, nullptr);
    EXPECT_EQ(missile->Name, "Knife");
    EXPECT_EQ(missile->Melee, 7);
    EXPECT_EQ(missile->Missile, 7);
    EXPECT_EQ(missile->Damage, 8);
    EXPECT_EQ(missile->HealthBonus, 9);
    EXPECT_EQ(missile->Special, "SPEED");
    EXPECT_EQ(missile->FootX(), player.FootX());
    EXPECT_EQ(missile->FootY(), player.FootY());
    EXPECT_EQ(missile->Direction, 3);
    EXPECT_EQ(missile->FrameBase(), 13);
    EXPECT_EQ(missile->FrameDelay(), 30);
    EXPECT_EQ(missile->ExpireTick, Now() + 1000);
    EXPECT_EQ(missile->Owner, &player);
    EXPECT_EQ(player.LastStrikeTick, Now());
}

TEST_F(PlayerCombat, HoldingFireLaunchesOneMissilePerPassThroughFrameTwo) {
    TPlayer& player = AddPlayer(300, 300);
    int shots = 0;
    player.OnShoot = [&](TBasePlayer&, TWeapon&) { ++shots; };
    Hold(kSpace);
    // Drawn every 20 ms, a frame advances once more than 100 ms have passed, so each of the
    // six attack frames shows for 120 ms and frame 2 recurs every 720 ms.
    for (int i = 0; i < 360; ++i) {
        Media->Clock.Advance(20);
        Map->Draw();
        Map->Update();
    }
    EXPECT_EQ(shots, 10);
}

TEST_F(PlayerCombat, BothFireButtonsWithASecondWeaponFireOnlyThePrimary) {
    TPlayer& player = AddPlayer(300, 300);
    player.SecondWeapon = MakeWeapon("Axe");
    player.SetAction(kActionAttack);
    player.SetFrame(2);
    Hold(kSpace);
    Hold(kRightAlt);
    Step(1);
    ASSERT_EQ(MissileCount(), 1);
    EXPECT_EQ(LastMissile(*Map)->Name, "Knife");
    // The second button alone fires the second weapon.
    Release(kSpace);
    player.SetFrame(2);
    Step(150);
    ASSERT_EQ(MissileCount(), 2);
    EXPECT_EQ(LastMissile(*Map)->Name, "Axe");
}

TEST_F(PlayerCombat, AnAttackWithoutFrameTwoNeverStrikes) {
    TPlayer& player = AddPlayer(300, 300);
    player.AttackFrames = 1;
    Hold(kSpace);
    for (int i = 0; i < 50; ++i) {
        Media->Clock.Advance(40);
        Map->Draw();
        Map->Update();
    }
    EXPECT_EQ(player.Action(), kActionAttack);
    EXPECT_EQ(MissileCount(), 0);
}

TEST_F(PlayerCombat, ASlowWeaponRaisesInvalidSpeedNamingItsFileAndKey) {
    TPlayer& player = AddPlayer(300, 300);
    player.Weapon = MakeWeapon("Feather", 0.04f);
    int shots = 0;
    player.OnShoot = [&](TBasePlayer&, TWeapon&) { ++shots; };
    try {
        player.Strike(*player.Weapon);
        FAIL() << "no error";
    } catch (const EWorldError& error) {
        EXPECT_STREQ(error.what(), "Invalid Speed: ShootSpeed of [Feather] in data\\Feather.wpn is below 5");
    }
    EXPECT_EQ(shots, 1) << "raised before the missile is checked";
    EXPECT_EQ(player.LastStrikeTick, Now());
    EXPECT_EQ(MissileCount(), 0);
    // Exactly 0.05 px/ms still flies.
    player.Weapon = MakeWeapon("Dart", 0.05f);
    Media->Clock.Advance(150);
    EXPECT_NO_THROW(player.Strike(*player.Weapon));
    EXPECT_EQ(MissileCount(), 1);
}

TEST_F(PlayerCombat, HurtLowersHealthAndReportsTheAmount) {
    TPlayer& player = AddPlayer(300, 300);
    int reported = 0;
    player.OnHurt = [&](TBasePlayer& fighter, int32_t amount) {
        EXPECT_EQ(&fighter, &player);
        reported += amount;
    };
    player.Hurt(30);
    player.Hurt(80);
    EXPECT_FLOAT_EQ(player.Health(), -10.0f);
    EXPECT_EQ(reported, 110);
}

TEST_F(PlayerCombat, AMissileThatHitsHurtsTheTargetButNeverItsOwner) {
    TPlayer& striker = AddPlayer(300, 300);
    TPlayer& target = AddPlayer(340, 300);
    striker.Melee = 10;
    striker.Weapon->Damage = 7;
    striker.SetDirection(2);
    SetRandomSource([] { return 0.5; }); // attack 5 against defence 0.5 * (1 + 10)
    target.Armor = -9;
    striker.Strike(*striker.Weapon);
    for (int i = 0; i < 10 && MissileCount() > 0; ++i)
        Step(20);
    EXPECT_FLOAT_EQ(target.Health(), 93.0f);
    EXPECT_FLOAT_EQ(striker.Health(), 100.0f);
}

TEST_F(PlayerCombat, ATapOfFireStrikesAtFrameTwoOncePerTap) {
    TPlayer& player = AddPlayer(300, 300);
    int shots = 0;
    player.OnShoot = [&](TBasePlayer&, TWeapon&) { ++shots; };
    const auto frame = [&] {
        Media->Clock.Advance(20);
        Map->Draw();
        Map->Update();
    };
    // Each tap lasts one 20 ms frame, released long before the attack reaches frame 2.
    for (int tap = 0; tap < 10; ++tap) {
        Hold(kSpace);
        frame();
        Release(kSpace);
        for (int i = 0; i < 30; ++i)
            frame();
        EXPECT_EQ(shots, tap + 1);
        EXPECT_EQ(player.Action(), kActionStand);
    }
    // The second button without a second weapon starts nothing.
    Hold(kRightAlt);
    frame();
    Release(kRightAlt);
    for (int i = 0; i < 30; ++i)
        frame();
    EXPECT_EQ(shots, 10);
}

} // namespace
