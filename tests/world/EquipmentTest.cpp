// Equipment frames and data files, and what wearing, dropping, drinking and outliving an item
// does to a carrier's statistics and ability slots (run under AddressSanitizer, so an item
// freed while a slot still names it, or never freed, fails the test).
#include "WorldFixture.h"
#include "media/BriskImage.h"

#include <gtest/gtest.h>

namespace {

class EquipmentTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        AddPickUpPictures();
        Fighter = &Map.Add(std::make_unique<TTestFighter>());
        Fighter->SetMaxHealth(100);
        Fighter->SetHealth(80);
        Fighter->SetSpeed(0.1f);
    }

    // Puts an item on the map and lets the fighter take it.
    template <class T> T& Take(std::unique_ptr<T> item) {
        T& taken = Map.Add(std::move(item));
        Fighter->PickUp(taken);
        return taken;
    }

    TBaseMap Map;
    TTestFighter* Fighter = nullptr;
};

TEST_F(EquipmentTest, FramesComeFromColourElementAndKind) {
    struct TCase {
        std::unique_ptr<TEquipment> Item;
        const char* Image;
        int32_t Frame;
        int32_t FootX;
        int32_t FootY;
    };
    std::vector<TCase> cases;
    cases.push_back({Map.CreateEquipment("Boot", "Brown", 0, 0), "Items", 0, 16, 24});
    cases.push_back({Map.CreateEquipment("Boot", "White", 0, 0), "Items", 4, 16, 24});
    cases.push_back({Map.CreateEquipment("Glove", "Green", 0, 0), "Items", 6, 16, 24});
    cases.push_back({Map.CreateEquipment("Glove", "Pink", 0, 0), "Items", 5, 16, 24});
    cases.push_back({Map.CreateEquipment("Armor", "White", 0, 0), "Armor", 4, 32, 48});
    cases.push_back({Map.CreateEquipment("Armor", "green", 0, 0), "Armor", 0, 32, 48});
    cases.push_back({Map.CreateMagicItem("Scroll", "Fire", 0, 0), "Items", 18, 16, 24});
    cases.push_back({Map.CreateMagicItem("Arm", "Air", 0, 0), "Items", 20, 16, 24});
    cases.push_back({Map.CreateMagicItem("", "Life", 0, 0), "Items", 14, 16, 24});
    cases.push_back({Map.CreateMagicItem("Scroll", "Ice", 0, 0), "Items", 5, 16, 24});
    cases.push_back({Map.CreatePotion("Speed", 0, 0), "Items", 40, 16, 24});
    cases.push_back({Map.CreatePotion("Strength", 0, 0), "Items", 45, 16, 24});
    cases.push_back({Map.CreatePotion("Beer", 0, 0), "Items", 0, 16, 24});
    for (const TCase& c : cases) {
        ASSERT_NE(c.Item, nullptr);
        ASSERT_NE(c.Item->Image(), nullptr) << c.Item->Name;
        EXPECT_EQ(c.Item->Image()->Name, c.Image) << c.Item->Name;
        EXPECT_EQ(c.Item->FrameBase(), c.Frame) << c.Item->Kind << " " << c.Item->Name;
        EXPECT_EQ(c.Item->FootX(), c.FootX) << c.Item->Name;
        EXPECT_EQ(c.Item->FootY(), c.FootY) << c.Item->Name;
        EXPECT_EQ(c.Item->FrameDelay(), 10000);
        EXPECT_EQ(c.Item->MaxFrame(), 0);
    }
    EXPECT_EQ(Map.CreateEquipment("Helmet", "Red", 0, 0), nullptr);
    EXPECT_EQ(Map.CreateEquipment("boot", "Red", 0, 0), nullptr);
}

TEST_F(EquipmentTest, StatisticsComeFromTheKindsDataFile) {
    WriteFile("data\\Boot.ini", "[Red]\nMelee=1\nDamage=2\nMissile=3\nArmor=$10\nSpeed=-5\nHealth=7\n"
                                "Special=passwall\nSpecialTime=900\n");
    const auto boots = Map.CreateEquipment("Boot", "Red", 0, 0);
    EXPECT_EQ(boots->Melee, 1);
    EXPECT_EQ(boots->Damage, 2);
    EXPECT_EQ(boots->Missile, 3);
    EXPECT_EQ(boots->Armor, 16);
    EXPECT_EQ(boots->SpeedBonus, -5);
    EXPECT_EQ(boots->HealthBonus, 7);
    EXPECT_EQ(boots->SpecialSlot(), kPassWall);
    EXPECT_EQ(boots->SpecialTime, 900);
    const auto plain = Map.CreateEquipment("Boot", "Blue", 0, 0);
    EXPECT_EQ(plain->Armor, 0);
    EXPECT_EQ(plain->Special, "Nil");
    EXPECT_EQ(plain->SpecialSlot(), -1);
}

TEST_F(EquipmentTest, HealthIsCappedAndNeverTakenBack) {
    WriteFile("data\\Armor.ini", "[Red]\nHealth=50\nArmor=4\n[Blue]\nArmor=1\n");
    Take(Map.CreateEquipment("Armor", "Red", 0, 0));
    EXPECT_EQ(Fighter->Health(), 100.0f);
    EXPECT_EQ(Fighter->Armor, 4);
    Take(Map.CreateEquipment("Armor", "Blue", 200, 0));
    EXPECT_EQ(Fighter->Health(), 100.0f);
    EXPECT_EQ(Fighter->Armor, 1);
}

TEST_F(EquipmentTest, ATimedPotionEndsWhenItsTimeHasPassed) {
    WriteFile("data\\Potion.ini", "[Speed]\nSpeed=20\nSpecial=SPEED\nSpecialTime=5000\n");
    Take(Map.CreatePotion("Speed", 0, 0));
    const uint32_t drunk = Clock().Ticks();
    EXPECT_FLOAT_EQ(Fighter->Speed(), 0.3f);
    const TAbility& slot = Fighter->Abilities(kSpeedAbility);
    EXPECT_TRUE(slot.Active);
    EXPECT_EQ(slot.Expiry, drunk + 5000);
    ASSERT_NE(slot.Source(), nullptr);
    EXPECT_TRUE(slot.Holds(*slot.Source()));
    Fighter->ExpireAbilities(drunk + 5000);
    EXPECT_TRUE(slot.Active);
    Fighter->ExpireAbilities(drunk + 5001);
    EXPECT_FLOAT_EQ(Fighter->Speed(), 0.1f);
    EXPECT_FALSE(slot.Active);
    EXPECT_EQ(slot.Expiry, 0U);
    EXPECT_EQ(slot.Source(), nullptr);
}

TEST_F(EquipmentTest, ASecondPotionExtendsTheTimeAndBothEndTogether) {
    WriteFile("data\\Potion.ini", "[Speed]\nSpeed=20\nSpecial=SPEED\nSpecialTime=5000\n");
    TPotion& first = Take(Map.CreatePotion("Speed", 0, 0));
    const uint32_t drunk = Clock().Ticks();
    Clock().Advance(1000);
    Take(Map.CreatePotion("Speed", 100, 0));
    const TAbility& slot = Fighter->Abilities(kSpeedAbility);
    EXPECT_EQ(slot.Expiry, drunk + 10000);
    EXPECT_EQ(slot.Source(), &first);
    EXPECT_FLOAT_EQ(Fighter->Speed(), 0.5f);
    Fighter->ExpireAbilities(drunk + 10001);
    EXPECT_FLOAT_EQ(Fighter->Speed(), 0.1f);
    EXPECT_FALSE(slot.Active);
    // The slot is free again: the next potion grants afresh.
    Take(Map.CreatePotion("Speed", 200, 0));
    EXPECT_EQ(slot.Expiry, Clock().Ticks() + 5000);
    EXPECT_TRUE(slot.Active);
}

TEST_F(EquipmentTest, ExpiryJudgesTicksAcrossTheClocksWrap) {
    WriteFile("data\\Potion.ini", "[Speed]\nSpecial=SPEED\nSpecialTime=5000\n");
    Clock().Set(0xFFFFFFFFU - 4999);
    Take(Map.CreatePotion("Speed", 0, 0));
    const TAbility& slot = Fighter->Abilities(kSpeedAbility);
    // Expiry would be 0, "no limit"; it is kept as 1 ms later instead.
    EXPECT_EQ(slot.Expiry, 1U);
    Fighter->ExpireAbilities(0xFFFFFFFFU);
    EXPECT_TRUE(slot.Active);
    Fighter->ExpireAbilities(2);
    EXPECT_FALSE(slot.Active);
}

TEST_F(EquipmentTest, WornAbilitiesLastUntilTheItemIsDropped) {
    WriteFile("data\\Boot.ini", "[Blue]\nSpecial=WATERWALK\n[Red]\nArmor=1\n");
    WriteFile("data\\Potion.ini", "[Dexterity]\nSpecial=WATERWALK\nSpecialTime=3000\n");
    Take(Map.CreateEquipment("Boot", "Blue", 0, 0));
    const TAbility& slot = Fighter->Abilities(kWaterWalk);
    EXPECT_TRUE(slot.Active);
    EXPECT_EQ(slot.Expiry, 0U);
    EXPECT_EQ(slot.Source(), Fighter->BootItem.get());
    // A timed potion of the same ability while the boots give it without limit adds nothing.
    Take(Map.CreatePotion("Dexterity", 100, 0));
    EXPECT_EQ(slot.Expiry, 0U);
    // Dropping the boots ends the ability and frees the slot, so it can be granted again.
    Take(Map.CreateEquipment("Boot", "Red", 200, 0));
    EXPECT_FALSE(slot.Active);
    EXPECT_EQ(slot.Source(), nullptr);
    TPotion& potion = Take(Map.CreatePotion("Dexterity", 300, 0));
    EXPECT_TRUE(slot.Active);
    EXPECT_EQ(slot.Source(), &potion);
}

TEST_F(EquipmentTest, AWornItemsTimedAbilityEndsWithoutTakingItsStatisticsTwice) {
    WriteFile("data\\Glove.ini", "[Red]\nArmor=3\nSpecial=STRENGTH\nSpecialTime=1000\n[Blue]\n");
    Take(Map.CreateEquipment("Glove", "Red", 0, 0));
    EXPECT_EQ(Fighter->Armor, 3);
    Fighter->ExpireAbilities(Clock().Ticks() + 1001);
    EXPECT_FALSE(Fighter->Abilities(kStrength).Active);
    EXPECT_EQ(Fighter->Armor, 3);
    Take(Map.CreateEquipment("Glove", "Blue", 0, 0));
    EXPECT_EQ(Fighter->Armor, 0);
}

TEST_F(EquipmentTest, ResettingASlotFreesWhatItKept) {
    WriteFile("data\\Potion.ini", "[Invisibility]\nSpecial=INVISIBILITY\nSpecialTime=8000\n");
    Take(Map.CreatePotion("Invisibility", 0, 0));
    Fighter->ResetAbility(kInvisibility, false);
    const TAbility& slot = Fighter->Abilities(kInvisibility);
    EXPECT_FALSE(slot.Active);
    EXPECT_EQ(slot.Expiry, 0U);
    EXPECT_EQ(slot.Source(), nullptr);
    Take(Map.CreatePotion("Invisibility", 0, 0));
    EXPECT_TRUE(slot.Active);
    Fighter->ResetAbility(kInvisibility, true);
    EXPECT_TRUE(slot.Active);
    EXPECT_THROW(Fighter->ResetAbility(0, true), std::out_of_range);
    EXPECT_THROW(Fighter->ResetAbility(16, true), std::out_of_range);
}

TEST_F(EquipmentTest, UnknownAbilitiesStillGiveTheirStatistics) {
    WriteFile("data\\Potion.ini",
              "[Strength]\nDamage=4\nSpecial=FLYING\nSpecialTime=100\n[Health]\nHealth=10\n");
    Take(Map.CreatePotion("Strength", 0, 0));
    Take(Map.CreatePotion("Health", 0, 0));
    EXPECT_EQ(Fighter->Damage, 4);
    EXPECT_EQ(Fighter->Health(), 90.0f);
    for (int32_t k = 1; k <= kAbilityCount; ++k)
        EXPECT_EQ(Fighter->Abilities(k).Source(), nullptr) << k;
}

TEST_F(EquipmentTest, MagicItemsBecomeFlagsAndLeaveTheMap) {
    Take(Map.CreateMagicItem("Arm", "Water", 0, 0));
    EXPECT_TRUE(Fighter->MagicItems[13]);
    EXPECT_EQ(Map.Items().size(), 1U);
    EXPECT_EQ(Map.GetSquare(16, 24).Passability, kSquareFree);
    EXPECT_TRUE(SoundRequested("PickUpItem"));
}

TEST_F(EquipmentTest, PickingUpReplacingAndExpiringLeavesNothingBehind) {
    WriteFile("data\\Boot.ini", "[Red]\nSpeed=5\nSpecial=SPEED\nSpecialTime=2000\n[Blue]\nSpecial=SPEED\n");
    WriteFile("data\\Potion.ini", "[Speed]\nSpeed=10\nSpecial=SPEED\nSpecialTime=1000\n");
    const float speed = Fighter->Speed();
    for (int round = 0; round < 3; ++round) {
        Take(Map.CreateEquipment("Boot", "Red", 0, 0));
        Take(Map.CreatePotion("Speed", 0, 0));
        Take(Map.CreatePotion("Speed", 0, 0));
        Fighter->ExpireAbilities(Clock().Ticks() + 5000);
        Take(Map.CreateEquipment("Boot", "Blue", 0, 0));
        Take(Map.CreatePotion("Speed", 0, 0));
        Take(Map.CreateEquipment("Boot", "Red", 0, 0));
        Clock().Advance(10000);
        Fighter->ExpireAbilities(Clock().Ticks());
    }
    Fighter->BootItem->Unequip(*Fighter);
    EXPECT_NEAR(Fighter->Speed(), speed + 0.1f * 3, 1e-5f);
    EXPECT_EQ(Map.Items().size(), 1U);
}

} // namespace
