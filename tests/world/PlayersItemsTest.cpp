// What fighters carry and show: replacing worn items, weapons taken and swapped, magic item
// flags and charges, the dying animation, invisibility and the health bar.
#include "PlayersFixture.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"

namespace {

using PlayerItems = PlayersFixture;

// Armour that notes when it is destroyed.
class TNotedArmor : public TArmor {
public:
    explicit TNotedArmor(bool& destroyed) : Destroyed(destroyed) {}
    ~TNotedArmor() override { Destroyed = true; }

private:
    bool& Destroyed;
};

TEST_F(PlayerItems, ASecondArmourReplacesAndDestroysTheFirst) {
    TPlayer& player = AddPlayer(300, 300);
    player.Armor = 1;
    bool firstDestroyed = false;
    bool secondDestroyed = false;
    auto first = std::make_unique<TNotedArmor>(firstDestroyed);
    first->Armor = 2;
    auto second = std::make_unique<TNotedArmor>(secondDestroyed);
    second->Armor = 5;
    TArmor* worn = second.get();
    player.PickUp(std::move(first));
    EXPECT_EQ(player.Armor, 3);
    player.PickUp(std::move(second));
    EXPECT_TRUE(firstDestroyed);
    EXPECT_FALSE(secondDestroyed);
    EXPECT_EQ(player.ArmorItem.get(), worn);
    EXPECT_EQ(player.Armor, 6);
    // The worn armour goes with its fighter, while the flags it reports to are still alive.
    Map.reset();
    EXPECT_TRUE(secondDestroyed);
}

TEST_F(PlayerItems, TakingAndSwappingWeaponsRestoresSpeedAndArmour) {
    TPlayer& player = AddPlayer(300, 300);
    player.Armor = 4;
    auto heavy = MakeWeapon("Hammer");
    heavy->SpeedBonus = 2;
    heavy->Armor = 2;
    heavy->HealthBonus = 0;
    player.PickUp(std::move(heavy));
    EXPECT_FLOAT_EQ(player.Speed(), 0.03f);
    EXPECT_EQ(player.Armor, 2);
    player.PickUp(MakeWeapon("Axe"));
    EXPECT_FLOAT_EQ(player.Speed(), 0.05f);
    EXPECT_EQ(player.Armor, 4);
    EXPECT_EQ(player.SecondWeapon->Name, "Axe");
}

TEST_F(PlayerItems, MagicItemsSetTheFlagOfTheirNumberAndAreFreed) {
    TPlayer& player = AddPlayer(300, 300);
    struct TCase {
        const char* Form;
        const char* Element;
        int Number; // 0: none
    };
    const TCase cases[] = {{"Pendant", "Air", 1},  {"Pendant", "Life", 5}, {"Scroll", "Fire", 9},
                           {"Arm", "Air", 11},     {"Arm", "Life", 15},    {"Pendant", "Smoke", 0},
                           {"Scroll", "Smoke", 0}, {"Arm", "Smoke", 1}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Form) + " " + c.Element);
        player.MagicItems.fill(false);
        TMagicItem& item = Map->Add(Map->CreateMagicItem(c.Form, c.Element, 500, 500));
        player.PickUp(item);
        EXPECT_FALSE(OnMap(&item));
        for (int n = 0; n <= kMagicKinds; ++n)
            EXPECT_EQ(player.MagicItems[static_cast<size_t>(n)], n == c.Number && n != 0) << n;
    }
}

TEST_F(PlayerItems, OwningKindFiveFillsChargeCounterOneUpToFive) {
    TPlayer& player = AddPlayer(300, 300);
    player.MagicItems[5] = true;
    SetRandomSource([] { return 0.3; }); // kind trunc(0.3 * 15) + 1 = 5
    for (int roll = 1; roll <= 8; ++roll) {
        player.Draw();
        EXPECT_EQ(player.MagicCharges[1], std::min(roll, 5));
        Media->Clock.Advance(2000);
        player.Draw();
        EXPECT_EQ(player.MagicCharges[1], std::min(roll, 5)) << "2000 ms is not yet the next roll";
        Media->Clock.Advance(1);
    }
    EXPECT_EQ(
        player.MagicCharges[2] + player.MagicCharges[3] + player.MagicCharges[4] + player.MagicCharges[5], 0);
}

TEST_F(PlayerItems, ChargeRollsMissForKindsNotOwnedAndStopWhenDying) {
    TPlayer& player = AddPlayer(300, 300);
    player.MagicItems[1] = true;
    const double rolls[] = {0.0, 0.99999, 0.5};
    size_t next = 0;
    SetRandomSource([&] { return rolls[next++ % 3]; });
    player.Draw(); // kind 1: counter 2
    Media->Clock.Advance(2001);
    player.Draw(); // kind 15, not owned
    EXPECT_EQ(player.MagicCharges[2], 1);
    EXPECT_EQ(player.MagicCharges[1], 0);
    player.SetAction(kActionDie);
    Media->Clock.Advance(2001);
    player.Draw();
    EXPECT_EQ(next, 2u) << "no roll while dying";
}

TEST_F(PlayerItems, ADyingFighterHoldsItsLastFrameAndAWalkingOneWraps) {
    TPlayer& player = AddPlayer(300, 300);
    player.SetAction(kActionWalk);
    player.SetFrame(7);
    player.NextFrame(1);
    EXPECT_EQ(player.Frame(), 0);
    player.SetAction(kActionDie);
    EXPECT_EQ(player.MaxFrame(), 7);
    EXPECT_EQ(player.FrameBase(), 300 + player.Direction());
    for (int i = 0; i < 20; ++i) {
        Media->Clock.Advance(150);
        player.Draw();
    }
    EXPECT_EQ(player.Frame(), 7);
    player.NextFrame(5);
    EXPECT_EQ(player.Frame(), 7);
}

class PlayerDrawing : public PlayersFixture {
protected:
    void SetUp() override {
        PlayersFixture::SetUp();
        // A body sheet of three 80 by 80 cells in red, a health bar of ten 48 by 8 cells in
        // shades of green.
        Body.CreateSurface(80, 240, 24);
        Fill(Body, 0, 0, 80, 240, 200, 0, 0);
        Body.FrameWidth = 80;
        Body.FrameHeight = 80;
        Bar.CreateSurface(48, 80, 24);
        for (int level = 0; level < 10; ++level)
            Fill(Bar, 0, level * 8, 48, 8, 0, static_cast<uint8_t>(level * 20 + 10), 0);
        Bar.FrameWidth = 48;
        Bar.FrameHeight = 8;
    }
    static void Fill(TBriskImage& image, int x0, int y0, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                WritePixel(image.Surface.get(), x, y, r, g, b);
    }
    static void ClearScreen() {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                WritePixel(Screen->Surface, x, y, 0, 0, 0);
    }
    TPlayer& Dressed() {
        TPlayer& player = AddPlayer(100, 50);
        player.SetImage(&Body);
        player.SetHealthBarImage(&Bar);
        for (int d = 0; d < 8; ++d) {
            player.StandDirFrames[static_cast<size_t>(d)] = 0;
            player.DieDirFrames[static_cast<size_t>(d)] = 0;
            player.WalkDirFrames[static_cast<size_t>(d)] = 0;
        }
        player.DieFrames = 0;
        player.SetAction(kActionStand);
        return player;
    }

    TBriskImage Body;
    TBriskImage Bar;
};

TEST_F(PlayerDrawing, TheHealthBarShowsTheHealthLevelAboveTheBody) {
    TPlayer& player = Dressed();
    Map->SetViewX(40);
    Map->SetViewY(20);
    player.SetHealth(50); // level 5
    ClearScreen();
    player.Draw();
    EXPECT_EQ(ReadColor(Screen->Surface, 60, 30 + 10), 200u) << "body at (100 - 40, 50 - 20)";
    EXPECT_EQ(ReadColor(Screen->Surface, 75, 30), 110u << 8) << "bar frame 5 at x + 15";
    EXPECT_EQ(ReadColor(Screen->Surface, 75 + 47, 37), 110u << 8);
    EXPECT_EQ(ReadColor(Screen->Surface, 75 + 48, 37), 200u) << "one bar wide";
}

TEST_F(PlayerDrawing, InvisibilityHidesOnlyFightersMarkedHideWhenInvisible) {
    struct TCase {
        bool Invisible;
        bool Hide;
        bool Drawn;
    };
    for (const TCase c : {TCase{false, false, true}, TCase{true, false, true}, TCase{false, true, true},
                          TCase{true, true, false}}) {
        SCOPED_TRACE(::testing::Message() << c.Invisible << c.Hide);
        TPlayer& player = Dressed();
        player.Abilities(kInvisibility).Active = c.Invisible;
        player.HideWhenInvisible = c.Hide;
        player.MagicItems[5] = true;
        SetRandomSource([] { return 0.3; });
        player.SetAction(kActionWalk);
        player.WalkFrames = 3;
        player.SetAction(kActionStand);
        player.SetAction(kActionWalk);
        ClearScreen();
        Media->Clock.Advance(250);
        player.Draw();
        EXPECT_EQ(ReadColor(Screen->Surface, 100, 60) == 200u, c.Drawn);
        EXPECT_EQ(ReadColor(Screen->Surface, 115, 50) != 0u, c.Drawn) << "health bar";
        EXPECT_EQ(player.Frame(), c.Drawn ? 2 : 0) << "the animation advances only when drawn";
        EXPECT_EQ(player.MagicCharges[1], 1) << "charges are rolled all the same";
        Map->Remove(player);
    }
}

TEST_F(PlayerDrawing, ADyingFighterShowsNoHealthBar) {
    TPlayer& player = Dressed();
    player.SetAction(kActionDie);
    ClearScreen();
    player.Draw();
    EXPECT_EQ(ReadColor(Screen->Surface, 120, 52), 200u) << "body, no bar over it";
}

} // namespace
