// Keyboard fighters: key sets, action and facing from the held keys, walking distances,
// water, solid squares and the pickups a step reaches.
#include "PlayersFixture.h"

#include <vector>

namespace {

using PlayerMove = PlayersFixture;

struct TFacingCase {
    std::vector<int> Keys;
    int32_t Direction;
    int32_t Action;
};

TEST_F(PlayerMove, KeysChooseFacingAndActionWithLaterRulesWinning) {
    const TFacingCase cases[] = {
        {{}, 5, kActionStand},
        {{kUp}, 0, kActionWalk},
        {{kDown}, 4, kActionWalk},
        {{kRight}, 2, kActionWalk},
        {{kLeft}, 6, kActionWalk},
        {{kUp, kDown}, 4, kActionWalk},
        {{kLeft, kRight}, 6, kActionWalk},
        {{kUp, kRight}, 1, kActionWalk},
        {{kUp, kLeft}, 7, kActionWalk},
        {{kDown, kRight}, 3, kActionWalk},
        {{kDown, kLeft}, 5, kActionWalk},
        {{kUp, kDown, kLeft, kRight}, 5, kActionWalk},
        {{kSpace}, 5, kActionAttack},
        {{kRight, kSpace}, 2, kActionAttack},
        // The second fire button attacks only with a second weapon.
        {{kRightAlt}, 5, kActionStand},
        {{kUp, kRightAlt}, 0, kActionWalk},
    };
    for (const TFacingCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.Keys));
        TPlayer& player = AddPlayer(300, 300);
        player.SetDirection(5);
        ClearKeyState();
        for (int key : c.Keys)
            Hold(key);
        Step(20);
        EXPECT_EQ(player.Direction(), c.Direction);
        EXPECT_EQ(player.Action(), c.Action);
        Map->Remove(player);
    }
}

TEST_F(PlayerMove, KeySetOneAnswersToWsadAndLeftCtrlButNotToTheArrows) {
    TPlayer& first = AddPlayer(300, 300, 0);
    TPlayer& second = AddPlayer(600, 600, 1);
    Hold(kW);
    Hold(kD);
    Step(20);
    EXPECT_EQ(second.Direction(), 1);
    EXPECT_EQ(second.Action(), kActionWalk);
    EXPECT_EQ(first.Action(), kActionStand);
    ClearKeyState();
    Hold(kLeftCtrl);
    Hold(kDown);
    Step(20);
    EXPECT_EQ(second.Action(), kActionAttack);
    EXPECT_EQ(first.Action(), kActionWalk);
    EXPECT_EQ(first.Direction(), 4);
}

TEST_F(PlayerMove, UnknownKeySetsReadNoKeysAndKeepWalking) {
    for (int set : {-1, 2, -2, 1000}) {
        SCOPED_TRACE(set);
        TPlayer& player = AddPlayer(300, 300, 0);
        player.SetControls(set);
        EXPECT_FALSE(player.HasKeySet());
        player.SetDirection(2);
        player.SetAction(kActionWalk);
        Hold(kSpace);
        Hold(kUp);
        const float x = player.X();
        Step(100);
        // No keys: neither attack nor turn, but the walk goes on at 0.05 px/ms.
        EXPECT_EQ(player.Action(), kActionWalk);
        EXPECT_EQ(player.Direction(), 2);
        EXPECT_FLOAT_EQ(player.X(), x + 5.0f);
        Map->Remove(player);
    }
}

TEST_F(PlayerMove, WalkingCoversSpeedTimesElapsedAndDiagonalsUseSeventySevenHundredths) {
    TPlayer& player = AddPlayer(300, 300);
    Hold(kRight);
    Step(20); // starts the walk: ActionTick := now, no distance yet
    EXPECT_FLOAT_EQ(player.X(), 300.0f);
    Step(20);
    EXPECT_FLOAT_EQ(player.X(), 301.0f) << "0.05 px/ms for 20 ms";
    Hold(kUp);
    Step(20);
    EXPECT_FLOAT_EQ(player.X(), 301.0f + 0.77f);
    EXPECT_FLOAT_EQ(player.Y(), 300.0f - 0.77f);
    EXPECT_EQ(player.Direction(), 1);
}

TEST_F(PlayerMove, FireWhileWalkingKeysAreHeldAttacksInTheirDirectionWithoutMoving) {
    TPlayer& player = AddPlayer(300, 300);
    Hold(kDown);
    Hold(kLeft);
    Hold(kSpace);
    for (int i = 0; i < 10; ++i)
        Step(20);
    EXPECT_EQ(player.Action(), kActionAttack);
    EXPECT_EQ(player.Direction(), 5);
    EXPECT_FLOAT_EQ(player.X(), 300.0f);
    EXPECT_FLOAT_EQ(player.Y(), 300.0f);
}

TEST_F(PlayerMove, WaterKillsAtOnceWithoutUndoingTheStep) {
    TPlayer& player = AddPlayer(300, 300);
    // The foot is at (348, 370): square (10, 15). Square (11, 15) is water.
    Map->SetSquare(11 * 32, 15 * 24, kSquareWater, nullptr);
    Hold(kRight);
    Step(20);
    const uint32_t walkStart = player.ActionTick;
    Step(400); // 20 px: the foot reaches x 368, column 11
    EXPECT_EQ(player.Action(), kActionDie);
    EXPECT_EQ(player.Frame(), 0);
    EXPECT_EQ(player.Health(), 0.0f);
    EXPECT_FLOAT_EQ(player.X(), 320.0f);
    EXPECT_EQ(player.ActionTick, Now()) << "the change to dying restarts the action clock";
    EXPECT_NE(walkStart, Now());
}

TEST_F(PlayerMove, WaterWalkersCrossWater) {
    TPlayer& player = AddPlayer(300, 300);
    player.Abilities(kWaterWalk).Active = true;
    Map->SetSquare(11 * 32, 15 * 24, kSquareWater, nullptr);
    Hold(kRight);
    Step(20);
    Step(400);
    EXPECT_EQ(player.Action(), kActionWalk);
    EXPECT_EQ(player.Health(), 100.0f);
    EXPECT_FLOAT_EQ(player.X(), 320.0f);
}

TEST_F(PlayerMove, BlockedStepIsUndoneAndTheBlockedTimeIsNotMadeUp) {
    TPlayer& player = AddPlayer(300, 300);
    auto wall = std::make_unique<TObstruction>();
    wall->SetX(11 * 32);
    wall->SetY(15 * 24);
    TObstruction& blocker = Map->Add(std::move(wall));
    Hold(kRight);
    Step(20);
    Step(400);
    EXPECT_FLOAT_EQ(player.X(), 300.0f);
    EXPECT_EQ(player.ActionTick, Now());
    Map->Remove(blocker);
    Step(20);
    EXPECT_FLOAT_EQ(player.X(), 301.0f) << "only the last 20 ms count";
}

TEST_F(PlayerMove, PassWallAndTheFightersOwnSquareDoNotBlock) {
    TPlayer& player = AddPlayer(300, 300);
    auto wall = std::make_unique<TObstruction>();
    wall->SetX(11 * 32);
    wall->SetY(15 * 24);
    TObstruction& blocker = Map->Add(std::move(wall));
    player.Abilities(kPassWall).Active = true;
    Hold(kRight);
    Step(20);
    Step(400);
    EXPECT_FLOAT_EQ(player.X(), 320.0f);
    Map->Remove(blocker);
    // A square the fighter itself holds is never in its way.
    player.Abilities(kPassWall).Active = false;
    Map->SetSquare(12 * 32, 15 * 24, kSquareSolid, &player);
    Step(400);
    EXPECT_FLOAT_EQ(player.X(), 340.0f);
}

TEST_F(PlayerMove, PickUpSeventeenPixelsToTheSideIsTakenEvenWhenTheStepIsUndone) {
    // The foot at (325, 360): square (10, 15), at the top edge of its row.
    TPlayer& player = AddPlayer(277, 290);
    // A boot whose foot lies in square (9, 14), where the probe 17 px left of the foot lands
    // after one pixel up.
    std::unique_ptr<TEquipment> boot = Map->CreateEquipment("Boot", "Green", 308 - 16, 350 - 24);
    ASSERT_NE(boot, nullptr);
    TEquipment& lying = Map->Add(std::move(boot));
    auto wall = std::make_unique<TObstruction>();
    wall->SetX(10 * 32);
    wall->SetY(14 * 24);
    Map->Add(std::move(wall));
    Hold(kUp);
    Step(20);
    EXPECT_EQ(player.BootItem, nullptr);
    Step(20); // one pixel up runs into the wall above
    EXPECT_FLOAT_EQ(player.Y(), 290.0f);
    ASSERT_NE(player.BootItem, nullptr);
    EXPECT_EQ(player.BootItem.get(), &lying);
    EXPECT_FALSE(OnMap(&lying));
    EXPECT_EQ(Map->GetSquare(308, 350).Passability, kSquareFree);
}

TEST_F(PlayerMove, ProbesReachOneSquareUpButNotTwoSquaresAside) {
    TPlayer& player = AddPlayer(300, 300);
    std::unique_ptr<TEquipment> above = Map->CreateEquipment("Glove", "Red", 348 - 16, 370 - 24 - 24);
    std::unique_ptr<TEquipment> aside = Map->CreateEquipment("Boot", "Red", 348 + 40 - 16, 370 - 24);
    TEquipment& gloves = Map->Add(std::move(above));
    TEquipment& boots = Map->Add(std::move(aside));
    player.SetDirection(4);
    player.SetAction(kActionWalk);
    player.SetControls(-1); // keeps walking down without keys
    Step(1);
    EXPECT_EQ(player.GloveItem.get(), &gloves);
    EXPECT_EQ(player.BootItem, nullptr);
    EXPECT_TRUE(OnMap(&boots));
}

TEST_F(PlayerMove, APotionsTimedAbilityEndsWhenItsTimeHasPassed) {
    TPlayer& player = AddPlayer(300, 300);
    auto potion = std::make_unique<TPotion>();
    potion->SpeedBonus = 20;
    potion->Special = "SPEED";
    potion->SpecialTime = 5000;
    player.PickUp(std::move(potion));
    EXPECT_FLOAT_EQ(player.Speed(), 0.25f);
    EXPECT_EQ(player.Abilities(kSpeedAbility).Expiry, Now() + 5000);
    Step(5000);
    EXPECT_TRUE(player.Abilities(kSpeedAbility).Active) << "ends only strictly after its expiry";
    Step(1);
    EXPECT_FALSE(player.Abilities(kSpeedAbility).Active);
    EXPECT_EQ(player.Abilities(kSpeedAbility).Expiry, 0u);
    EXPECT_FLOAT_EQ(player.Speed(), 0.05f);
}

TEST_F(PlayerMove, AFighterWithoutHealthDiesAndOneWithHealthLeavesDyingAtItsNextUpdate) {
    TPlayer& player = AddPlayer(300, 300);
    player.SetAction(kActionDie); // as F3 does
    Step(20);
    EXPECT_EQ(player.Action(), kActionStand);
    player.Hurt(100);
    EXPECT_EQ(player.Action(), kActionStand) << "death follows at the next update";
    Hold(kRight);
    Step(20);
    EXPECT_EQ(player.Action(), kActionDie);
    Step(500);
    EXPECT_FLOAT_EQ(player.X(), 300.0f);
}

} // namespace

namespace {

// The peer's fighter between its owner's messages: it walks on the way it was going, but the
// water, the pickups and the wounds seen here are its owner's to decide.
TEST_F(PlayerMove, ThePeersFighterStopsAtWaterTakesNothingAndKeepsItsOwnersHealth) {
    TPlayer& remote = AddPlayer(300, 300, -1);
    remote.OwnedByPeer = true;
    int hurts = 0;
    remote.OnHurt = [&hurts](TBasePlayer&, int32_t amount) { hurts += amount; };
    // Square (11, 15) is water; a boot lies on square (10, 14), one up from the foot.
    Map->SetSquare(11 * 32, 15 * 24, kSquareWater, nullptr);
    std::unique_ptr<TEquipment> boot = Map->CreateEquipment("Boot", "Green", 10 * 32, 14 * 24 - 10);
    ASSERT_NE(boot, nullptr);
    TEquipment& lying = Map->Add(std::move(boot));
    ASSERT_EQ(Map->GetSquare(348, 370 - 24).Passability, kSquarePickUp);
    remote.SetDirection(2);
    remote.SetAction(kActionWalk);
    for (int step = 0; step < 40; ++step)
        Step(20);
    EXPECT_EQ(remote.Action(), kActionWalk);
    EXPECT_FLOAT_EQ(remote.Health(), 100.0f);
    EXPECT_LT(remote.FootX(), 11 * 32) << "stopped at the water's edge";
    EXPECT_GE(remote.FootX(), 11 * 32 - 2);
    EXPECT_TRUE(OnMap(&lying));
    EXPECT_EQ(remote.BootItem, nullptr);
    // A missile's wound is reported, not applied.
    remote.Hurt(30);
    EXPECT_EQ(hurts, 30);
    EXPECT_FLOAT_EQ(remote.Health(), 100.0f);
    // Dying is the owner's word: health it sent that is gone.
    remote.SetHealth(0);
    Step(20);
    EXPECT_EQ(remote.Action(), kActionDie);

    // The same walk by a fighter of this machine drowns it.
    TPlayer& local = AddPlayer(300, 420, -1);
    Map->SetSquare(11 * 32, 20 * 24, kSquareWater, nullptr);
    local.SetDirection(2);
    local.SetAction(kActionWalk);
    for (int step = 0; step < 40; ++step)
        Step(20);
    EXPECT_EQ(local.Action(), kActionDie);
    EXPECT_FLOAT_EQ(local.Health(), 0.0f);
}

// The owner tells its peer what its fighter takes, once per item, before the item is worn.
TEST_F(PlayerMove, TakingAnItemFromTheMapRaisesOnPickUpWithTheItem) {
    TPlayer& player = AddPlayer(277, 290);
    std::vector<std::pair<int32_t, bool>> taken; // id, already worn when told
    player.OnPickUp = [&](TBasePlayer& fighter, const TEquipment& item) {
        taken.emplace_back(item.Id(), fighter.BootItem != nullptr);
    };
    std::unique_ptr<TEquipment> boot = Map->CreateEquipment("Boot", "Green", 308 - 16, 350 - 24);
    boot->SetId(77);
    Map->Add(std::move(boot));
    Hold(kUp);
    Step(20);
    Step(20);
    ASSERT_NE(player.BootItem, nullptr);
    EXPECT_EQ(taken, (std::vector<std::pair<int32_t, bool>>{{77, false}}));
    // An item handed over directly (the peer's fighter's, a peer's weapon) is not told again.
    player.PickUp(Map->CreateEquipment("Boot", "Red", 0, 0));
    EXPECT_EQ(taken.size(), 1u);
}

} // namespace
