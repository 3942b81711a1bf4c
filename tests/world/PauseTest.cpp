// The game clock stopped for a pause: timed abilities keep their time left, and fighters,
// their walk and their animation stand still, even when the map is updated meanwhile.
#include "PlayersFixture.h"
#include "WorldFixture.h"
#include "platform/GameClock.h"

#include <gtest/gtest.h>

namespace {

class PausedAbility : public WorldTest {
protected:
    void TearDown() override {
        SetGameClockStopped(false);
        WorldTest::TearDown();
    }
};

TEST_F(PausedAbility, ASecondLeftSurvivesATenSecondPauseAndEndsASecondAfterResuming) {
    AddPickUpPictures();
    WriteFile("data\\Potion.ini", "[Speed]\nSpeed=20\nSpecial=SPEED\nSpecialTime=5000\n");
    TBaseMap map;
    TTestFighter& fighter = map.Add(std::make_unique<TTestFighter>());
    fighter.SetSpeed(0.1f);
    TPotion& potion = map.Add(map.CreatePotion("Speed", 0, 0));
    fighter.PickUp(potion);
    const TAbility& slot = fighter.Abilities(kSpeedAbility);
    Clock().Advance(4000); // one second left
    SetGameClockStopped(true);
    for (int second = 0; second < 10; ++second) {
        Clock().Advance(1000);
        fighter.ExpireAbilities(GameTicks());
    }
    EXPECT_TRUE(slot.Active) << "nothing expires during a pause";
    SetGameClockStopped(false);
    Clock().Advance(1000);
    fighter.ExpireAbilities(GameTicks());
    EXPECT_TRUE(slot.Active) << "exactly one second was left";
    Clock().Advance(1);
    fighter.ExpireAbilities(GameTicks());
    EXPECT_FALSE(slot.Active);
    EXPECT_FLOAT_EQ(fighter.Speed(), 0.1f);
}

class PausedFighter : public PlayersFixture {
protected:
    void TearDown() override {
        SetGameClockStopped(false);
        PlayersFixture::TearDown();
    }
};

TEST_F(PausedFighter, StandsStillWhileTheClockIsStoppedAndWalksOnWithoutCatchingUp) {
    TPlayer& player = AddPlayer(300, 300);
    Hold(kRight);
    Step(20);
    Step(100);
    player.Draw();
    const float before = player.X();
    const int32_t frame = player.Frame();
    EXPECT_GT(before, 300.0f);
    SetGameClockStopped(true);
    for (int i = 0; i < 500; ++i) {
        Step(20);
        player.Draw();
    }
    EXPECT_EQ(player.X(), before);
    EXPECT_EQ(player.Frame(), frame) << "the walk animation stands as well";
    SetGameClockStopped(false);
    Step(100);
    EXPECT_NEAR(player.X(), before + 100 * 0.05f, 0.01f) << "ten seconds of pause are not walked";
}

TEST_F(PausedFighter, AStoppedClockStaysStoppedWhenStoppedAgainAndRunsOnFromWhereItStood) {
    const uint32_t start = GameTicks();
    SetGameClockStopped(true);
    Media->Clock.Advance(500);
    SetGameClockStopped(true);
    Media->Clock.Advance(500);
    EXPECT_EQ(GameTicks(), start);
    SetGameClockStopped(false);
    SetGameClockStopped(false);
    Media->Clock.Advance(30);
    EXPECT_EQ(GameTicks(), start + 30);
}

} // namespace
