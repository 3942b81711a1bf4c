// Data files with the extreme values a user may type: each integer that feeds arithmetic is
// kept to its documented range as it is read, and taking, wearing, firing, drawing and hitting
// with such items then runs without an overflow (the sanitizers abort on any).
#include "WorldFixture.h"
#include "media/BriskImage.h"
#include "platform/Random.h"
#include "world/DataRanges.h"

#include <gtest/gtest.h>

namespace {

// The values a broken file gives: both ends of 32 bits, as decimal and as "$" hexadecimal.
const std::vector<std::string> kExtremes = {"2147483647", "-2147483648", "$7FFFFFFF", "$80000000"};

int32_t Parsed(const std::string& text) {
    return *ParseProfileInteger(text);
}

class DataExtremesTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        AddPickUpPictures();
        AddPicture("PlainGround", 64, 48, 4, 1);
        AddPicture("WaterGround", 64, 48, 8, 4);
        AddPicture("BrownGround", 64, 48, 4, 1);
        SetRandomSource([] { return 0.99; });
    }

    // Every statistic key of an equipment or weapon section at one value.
    static std::string Statistics(const std::string& value) {
        return "Melee=" + value + "\nDamage=" + value + "\nMissile=" + value + "\nArmor=" + value +
               "\nSpeed=" + value + "\nHealth=" + value + "\nSpecialTime=" + value + "\n";
    }

    static bool Flying(const TBaseMap& map) {
        return std::any_of(map.Items().begin(), map.Items().end(), [](const auto& item) {
            const auto* weapon = dynamic_cast<const TWeapon*>(item.get());
            return weapon != nullptr && weapon->ExpireTick != 0;
        });
    }

    TTestFighter& AddFighter(TBaseMap& map, float x, float y) {
        auto fighter = std::make_unique<TTestFighter>();
        fighter->SetX(x);
        fighter->SetY(y);
        fighter->SetMaxHealth(100);
        fighter->SetHealth(100);
        return map.Add(std::move(fighter));
    }
};

TEST_F(DataExtremesTest, EquipmentValuesAreClampedAndWearingThemNeverOverflows) {
    for (const std::string& value : kExtremes) {
        SCOPED_TRACE(value);
        const int32_t skill = std::clamp(Parsed(value), -kMaxSkill, kMaxSkill);
        for (const char* kind : {"Boot", "Glove", "Armor"})
            WriteFile(std::string("data\\") + kind + ".ini",
                      "[Red]\n" + Statistics(value) + "Special=SPEED\n");
        WriteFile("data\\Potion.ini", "[Speed]\n" + Statistics(value) + "Special=DEXTERITY\n");
        TBaseMap map;
        TTestFighter& fighter = AddFighter(map, 300, 300);
        std::vector<TEquipment*> items;
        for (const char* kind : {"Boot", "Glove", "Armor"})
            items.push_back(&map.Add(map.CreateEquipment(kind, "Red", 0, 0)));
        for (int i = 0; i < 40; ++i)
            items.push_back(&map.Add(map.CreatePotion("Speed", 0, 0)));
        for (TEquipment* item : items) {
            EXPECT_EQ(item->Melee, skill);
            EXPECT_EQ(item->Armor, skill);
            EXPECT_EQ(item->SpecialTime, std::clamp(Parsed(value), 0, kMaxAbilityMs));
            fighter.PickUp(*item);
        }
        // 43 items of the same skill: the sum is exact, far inside 32 bits.
        EXPECT_EQ(fighter.Melee, 43 * skill);
        EXPECT_EQ(fighter.Armor, 43 * skill);
        // A timed ability extended 39 times runs for at most kMaxAbilityMs and is not over at once.
        const TAbility& dexterity = fighter.Abilities(kDexterity);
        if (Parsed(value) > 0) {
            EXPECT_EQ(dexterity.Expiry, SystemTicks() + static_cast<uint32_t>(kMaxAbilityMs));
            Clock().Advance(1000);
            fighter.ExpireAbilities(SystemTicks());
            EXPECT_TRUE(dexterity.Active);
        }
        // Dropping every worn item takes back exactly what it gave.
        fighter.Wear(fighter.BootItem, nullptr);
        fighter.Wear(fighter.GloveItem, nullptr);
        fighter.Wear(fighter.ArmorItem, nullptr);
        EXPECT_EQ(fighter.Melee, 40 * skill);
    }
}

TEST_F(DataExtremesTest, SumsWithAPeersValuesSaturate) {
    // A peer's message sets a fighter's armour to anything; a weapon's armour is then taken
    // from it and given back without passing the ends of 32 bits.
    WriteFile("data\\Shield.wpn", "[Shield]\nArmor=100000\n");
    WriteFile("data\\Spike.wpn", "[Spike]\nArmor=-100000\n");
    TBaseMap map;
    TTestFighter& fighter = AddFighter(map, 300, 300);
    for (const auto& [weapon, armour] : {std::pair{"Shield", INT32_MIN}, std::pair{"Spike", INT32_MAX},
                                         std::pair{"Shield", INT32_MIN + 5}}) {
        fighter.Armor = armour;
        auto carried = map.CreateWeapon(weapon, 0, 0);
        carried->Equip(fighter);
        EXPECT_EQ(fighter.Armor, armour > 0 ? INT32_MAX : INT32_MIN) << weapon;
        carried->Unequip(fighter);
    }
}

TEST_F(DataExtremesTest, WeaponValuesAreClampedAndTheirMissilesFlyHitAndDraw) {
    for (const std::string& value : kExtremes) {
        SCOPED_TRACE(value);
        const int32_t parsed = Parsed(value);
        std::string file = "[Wild]\n" + Statistics(value) + "Width=" + value + "\nHeight=" + value +
                           "\nOffX=" + value + "\nOffY=" + value + "\nPic=" + value + "\nFrames=" + value +
                           "\nShootSpeed=50\n";
        for (int d = 0; d < 8; ++d)
            file += "Dir" + std::to_string(d) + "=" + value + "\n";
        WriteFile("data\\Wild.wpn", file);
        ImageList->Clear();
        AddPickUpPictures();
        TBaseMap map;
        auto wild = map.CreateWeapon("Wild", 0, 0);
        EXPECT_EQ(wild->Melee, std::clamp(parsed, -kMaxSkill, kMaxSkill));
        EXPECT_EQ(wild->Image()->FrameWidth, std::clamp(parsed, 0, kMaxPictureSide));
        EXPECT_EQ(wild->OffsetX(), std::clamp(parsed, -kMaxPictureSide, kMaxPictureSide));
        EXPECT_EQ(wild->Pic, std::clamp(parsed, kFrameRange.Min, kFrameRange.Max));
        EXPECT_EQ(wild->DirFrames[7], std::clamp(parsed, kFrameRange.Min, kFrameRange.Max));
        // An attacker at either end of 32 bits, as a peer may set it, fires at a target beside it.
        TTestFighter& attacker = AddFighter(map, 300, 300);
        attacker.Melee = parsed;
        attacker.Damage = parsed;
        attacker.Missile = parsed;
        attacker.SetDirection(2);
        TTestFighter& target = AddFighter(map, 340, 300);
        const TWeapon& missile = TWeapon::Fire(*wild, attacker, map);
        EXPECT_EQ(missile.Melee, SaturatedSum(parsed, wild->Melee));
        // Until the map frees the missile: it meets the target or its second is over.
        for (int step = 0; step < 80 && Flying(map); ++step) {
            map.Draw();
            Clock().Advance(16);
            map.Update();
        }
        EXPECT_FALSE(Flying(map));
        EXPECT_LE(target.Wounds.size(), 1U);
    }
}

TEST_F(DataExtremesTest, MapValuesAreClampedCappedOrDrawnWithoutOverflow) {
    const std::string huge = "2147483647";
    std::string file = "[Map]\nStartX0=-2147483648\nStartY0=" + huge + "\nTile0-0=0-" + huge +
                       "\nTile0-1=2-" + huge + "\nTile0-2=1-" + huge +
                       "\nTile0-3=1--2147483648\n[Ground]\nWater=1\n";
    file += "[Objects]\nObjectCount=" + huge + "\nObject0=Red,Boot\nObjectX0=" + huge + "\nObjectY0=-" +
            huge + "\n";
    file += "[Potions]\nPotionCount=-2147483648\nPotion0=Speed\n";
    file += "[Obstructions]\nObstructionCount=$FFFFFFFF\nObstruction0=Tower\n";
    file += "[Weapons]\nWeaponCount=" + huge + "\nWeapon0=Knife\nWeapon1=Knife\nWeaponX1=" + huge + "\n";
    file += "[MagicItems]\nItemCount=1\nItem0=Fire,Scroll\nItemX0=" + huge + "\n";
    WriteFile("maps\\wild.map", file);
    TBaseMap map;
    map.LoadFromFile("wild");
    EXPECT_EQ(map.StartX0, INT32_MIN) << "start values only become float positions";
    int boots = 0, weapons = 0, magic = 0, potions = 0;
    for (const auto& item : map.Items()) {
        boots += dynamic_cast<TBoot*>(item.get()) != nullptr;
        weapons += dynamic_cast<TWeapon*>(item.get()) != nullptr;
        magic += dynamic_cast<TMagicItem*>(item.get()) != nullptr;
        potions += dynamic_cast<TPotion*>(item.get()) != nullptr;
        EXPECT_LE(item->X(), kMaxItemX);
        EXPECT_GE(item->Y(), kMinItemY);
    }
    EXPECT_EQ(boots, 1);
    EXPECT_EQ(weapons, 4) << "a count is no larger than its section's four keys";
    EXPECT_EQ(magic, 1);
    EXPECT_EQ(potions, 0);
    EXPECT_EQ(map.Items().size(), 6U) << "a count of -1 places no building";
    TBriskImage ground;
    ground.CreateSurface(768, 624, 24);
    map.DrawGround(ground);
    map.Draw();
}

TEST_F(DataExtremesTest, MapEntriesStopAtTheCap) {
    std::string file = "[Potions]\nPotionCount=" + std::to_string(kMaxMapEntries + 5) + "\n";
    for (int i = 0; i < kMaxMapEntries + 5; ++i)
        file += "Potion" + std::to_string(i) + "=Speed\n";
    WriteFile("maps\\crowd.map", file);
    TBaseMap map;
    map.LoadFromFile("crowd");
    EXPECT_EQ(map.Items().size(), static_cast<size_t>(kMaxMapEntries));
}

TEST_F(DataExtremesTest, AMapFileBeyondTheSizeCapIsRefusedByNameAndLeavesAnEmptyField) {
    WriteFile("maps\\vast.map", "[Potions]\nPotionCount=1\nPotion0=Speed\n" +
                                    std::string(static_cast<size_t>(kMaxIniFileBytes), ';'));
    TBaseMap map;
    map.LoadFromFile("vast");
    EXPECT_TRUE(map.Items().empty());
    EXPECT_EQ(map.Tile(0, 0).Code, "0-1");
    EXPECT_NE(Media->LogText().find(
                  "MSG : Refused Maps\\vast.map: larger than 16 MB, read as missing IN : TIniFile"),
              std::string::npos)
        << Media->LogText();
}

TEST_F(DataExtremesTest, BuildingValuesAreClampedAndTheBuildingMarksAndDraws) {
    struct TCase {
        std::string Value;
        int32_t Block;
        std::string Squares; // columns 0..3, rows 0..1 around a building standing on square (1, 1)
    };
    const TCase cases[] = {
        {"2147483647", kSquareRows, "####\n####\n"},
        {"-2147483648", -kSquareRows, "....\n....\n"},
        {"$80000000", -kSquareRows, "....\n....\n"},
        {"1", 1, "###.\n###.\n"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Value);
        const int32_t parsed = Parsed(c.Value);
        WriteFile("data\\Tower.bld", "[Tower]\nBlockLR=" + c.Value + "\nBlockU=" + c.Value +
                                         "\nWidth=" + c.Value + "\nHeight=" + c.Value + "\n");
        WriteFile("data\\Gate.bld", "[Gate]\nOffX=" + c.Value + "\nOffY=" + c.Value + "\n");
        ImageList->Clear();
        TBaseMap map;
        // The frame as a map file could never give it: drawing works it out in 64 bits.
        TObstruction& tower = map.CreateObstruction("Tower", 40, INT32_MAX, 30);
        EXPECT_EQ(tower.BlockLR, c.Block);
        EXPECT_EQ(tower.BlockU, c.Block);
        EXPECT_EQ(tower.Image()->FrameWidth, std::clamp(parsed, 0, kMaxPictureSide));
        EXPECT_EQ(SquaresText(map, 0, 0, 3, 1), c.Squares);
        TObstruction& gate = map.CreateObstruction("Gate", 100, 0, 100);
        EXPECT_EQ(gate.OffsetX(), std::clamp(parsed, -kMaxPictureSide, kMaxPictureSide));
        EXPECT_EQ(gate.FootY(), 100 + gate.OffsetY());
        map.Draw();
    }
}

} // namespace
