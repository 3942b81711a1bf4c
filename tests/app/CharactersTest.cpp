// Fighters made from character files: the keys they read, the defaults of a missing file, the
// shared sprite sheets, the key sets of each kind of match and the game's hurt handler.
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "platform/Paths.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/DataRanges.h"
#include "world/Map.h"
#include "world/Players.h"

#include <fstream>

namespace {

namespace fs = std::filesystem;

class Characters : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        fs::create_directory(Media->Folder() / "data");
        fs::create_directory(Media->Folder() / "images");
        Game = std::make_unique<TBriskGame>();
        Game->AIBox = 0; // both fighters keyboard-driven
        Game->Map = std::make_unique<TBaseMap>();
    }
    void TearDown() override {
        Game.reset();
        MediaFixture::TearDown();
    }
    void WriteData(const std::string& fileName, const std::string& text) const {
        std::ofstream(Media->Folder() / "data" / fileName, std::ios::binary) << text;
    }
    // A sprite sheet of 2 by 2 cells of 80 by 80 pixels.
    void WriteSheet(const std::string& fileName) const {
        TBriskImage sheet;
        sheet.CreateSurface(160, 160, 24);
        ASSERT_TRUE(SaveBitmapFile(sheet.Surface.get(), Media->Folder() / "images" / fileName));
    }
    TBasePlayer& Make(int32_t row, const std::string& name) {
        Game->MakePlayer(row, name, 120, 90);
        return *Game->Players[static_cast<size_t>(row)];
    }
    [[nodiscard]] bool Logged(const std::string& text) const {
        return Media->LogText().find(text) != std::string::npos;
    }

    std::unique_ptr<TBriskGame> Game;
};

constexpr const char* kKnight = "[Pic]\nImage=Knight.png\nTransparentColor1=181\n"
                                "[Skills]\nHealth=10\nArmor=4\nSpeed=7\n"
                                "[Fight]\nMelee=9\nMissile=2\nDamage=3\nWeapon=Axe\n"
                                "[Animation]\nAttackFrames=6\nWalkFrames=7\nWalkDelay=90\nDieFrames=5\n"
                                "StandFrames=0\nAttack3=68\nStand5=124\nWalk7=163\nDie0=15\n";

TEST_F(Characters, AFighterTakesItsCharactersSkillsWeaponAndAnimation) {
    WriteData("Knight.plr", kKnight);
    WriteData("Axe.wpn", "[Axe]\nMelee=1\nShootSpeed=40\n");
    WriteSheet("Knight.png");
    TBasePlayer& knight = Make(0, "Knight");
    EXPECT_FLOAT_EQ(knight.MaxHealth(), 100.0f);
    EXPECT_FLOAT_EQ(knight.Health(), 100.0f);
    EXPECT_FLOAT_EQ(knight.Speed(), 0.07f);
    EXPECT_EQ(knight.Armor, 4);
    EXPECT_EQ(knight.Melee, 9);
    EXPECT_EQ(knight.Missile, 2);
    EXPECT_EQ(knight.Damage, 3);
    ASSERT_NE(knight.Weapon, nullptr);
    EXPECT_EQ(knight.Weapon->Name, "Axe");
    EXPECT_FLOAT_EQ(knight.Weapon->Speed(), 0.4f);
    EXPECT_EQ(knight.AttackFrames, 6);
    EXPECT_EQ(knight.WalkDelay, 90);
    EXPECT_EQ(knight.StandDelay, 100);
    EXPECT_EQ(knight.AttackDirFrames[3], 68);
    EXPECT_EQ(knight.WalkDirFrames[7], 163);
    EXPECT_EQ(knight.DieDirFrames[0], 15);
    EXPECT_EQ(knight.DieDirFrames[1], 0);
    EXPECT_EQ(knight.HealthBarImage(), ImageList->Find("PlayerLife"));
    ASSERT_NE(knight.Image(), nullptr);
    EXPECT_NE(knight.Image()->Surface, nullptr);
    EXPECT_EQ(knight.Image()->FrameWidth, 80);
    EXPECT_EQ(knight.Image()->Name, "Knight");
    // Placed at (120, 90) with the foot at (48, 70) of its cell, on the map.
    EXPECT_EQ(knight.FootX(), 168);
    EXPECT_EQ(knight.FootY(), 160);
    EXPECT_EQ(knight.Map(), Game->Map.get());
    EXPECT_EQ(Game->Map->GetSquare(168, 160).Occupant, &knight);
    EXPECT_EQ(Game->Map->Items().size(), 1u) << "its own weapon is not on the map";
}

TEST_F(Characters, FixedStartValuesComeFirstAndTheCharactersTablesAtTheNextAction) {
    WriteData("Knight.plr", kKnight);
    TBasePlayer& knight = Make(0, "Knight");
    EXPECT_EQ(knight.Direction(), 5);
    EXPECT_EQ(knight.Action(), kActionAttack);
    EXPECT_EQ(knight.FrameDelay(), 100);
    EXPECT_EQ(knight.OffsetX(), 48);
    EXPECT_EQ(knight.OffsetY(), 70);
    // SetAction and SetDirection ran with the tables of a new fighter, all 0.
    EXPECT_EQ(knight.FrameBase(), 0);
    EXPECT_EQ(knight.MaxFrame(), 0);
    knight.SetAction(kActionStand);
    EXPECT_EQ(knight.FrameBase(), 124);
    EXPECT_EQ(knight.FrameDelay(), 100) << "every animation keeps the loader's delay";
}

TEST_F(Characters, HealthAndSpeedAreScaledAndHugeValuesDoNotOverflow) {
    const struct {
        const char* Health;
        const char* Speed;
        float MaxHealth;
        float SpeedPxPerMs;
    } cases[] = {{"10", "7", 100.0f, 0.07f},
                 {"0", "0", 0.0f, 0.0f},
                 {"-5", "-3", -50.0f, -0.03f},
                 {"$10", "5", 160.0f, 0.05f},
                 {"2147483647", "x", 21474836470.0f, 0.05f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Health);
        WriteData("Odd.plr", std::string("[Skills]\nHealth=") + c.Health + "\nSpeed=" + c.Speed + "\n");
        Game->Map = std::make_unique<TBaseMap>();
        TBasePlayer& odd = Make(1, "Odd");
        EXPECT_FLOAT_EQ(odd.MaxHealth(), c.MaxHealth);
        EXPECT_FLOAT_EQ(odd.Health(), c.MaxHealth);
        EXPECT_FLOAT_EQ(odd.Speed(), c.SpeedPxPerMs);
    }
}

TEST_F(Characters, ExtremeSkillsAndFramesAreClampedAndFightingWithThemNeverOverflows) {
    for (const std::string value : {"2147483647", "-2147483648", "$7FFFFFFF", "$80000000"}) {
        SCOPED_TRACE(value);
        const int32_t parsed = *ParseProfileInteger(value);
        std::string file = "[Skills]\nArmor=" + value + "\n[Fight]\nMelee=" + value + "\nMissile=" + value +
                           "\nDamage=" + value + "\nWeapon=Axe\n[Animation]\n";
        for (const char* action : {"Attack", "Walk", "Stand", "Die"}) {
            file += std::string(action) + "Frames=" + value + "\n";
            for (int d = 0; d < 8; ++d)
                file += action + std::to_string(d) + "=" + value + "\n";
        }
        WriteData("Brute.plr", file);
        WriteData("Axe.wpn", "[Axe]\nMelee=" + value + "\nDamage=" + value + "\nShootSpeed=40\n");
        Game->Map = std::make_unique<TBaseMap>();
        TBasePlayer& brute = Make(0, "Brute");
        TBasePlayer& other = Make(1, "Brute");
        Game->Map->Players = {&brute, &other};
        EXPECT_EQ(brute.Melee, std::clamp(parsed, -kMaxSkill, kMaxSkill));
        EXPECT_EQ(brute.Armor, std::clamp(parsed, -kMaxSkill, kMaxSkill));
        EXPECT_EQ(brute.AttackFrames, std::clamp(parsed, kFrameRange.Min, kFrameRange.Max));
        EXPECT_EQ(brute.DieDirFrames[7], std::clamp(parsed, kFrameRange.Min, kFrameRange.Max));
        // Both stand on one spot, facing each other: each blow is a close-combat roll.
        other.SetX(brute.X() + 40);
        other.SetY(brute.Y());
        brute.SetDirection(2);
        for (const int32_t action : {kActionAttack, kActionWalk, kActionStand, kActionDie}) {
            brute.SetAction(action);
            brute.SetFrame(brute.MaxFrame());
            brute.Draw();
        }
        brute.SetAction(kActionAttack);
        brute.Strike(*brute.Weapon);
        for (int step = 0; step < 10; ++step) {
            Media->Clock.Advance(16);
            Game->Map->Update();
            Game->Map->Draw();
        }
    }
}

TEST_F(Characters, ADottedFileNameGivesACharacterWithoutFileAndEveryDefault) {
    WriteData("Dark.Elf.plr", "[Skills]\nHealth=50\n");
    Game->EnterSetup();
    ASSERT_EQ(Game->SetupImages.Count(), 2);
    const std::string name = Game->SetupImages.Items(1)->Name;
    EXPECT_EQ(name, "Dark");
    TBasePlayer& dark = Make(0, name); // opens data\Dark.plr, which does not exist
    EXPECT_FLOAT_EQ(dark.MaxHealth(), 30.0f);
    EXPECT_FLOAT_EQ(dark.Speed(), 0.05f);
    EXPECT_EQ(dark.Armor, 1);
    EXPECT_EQ(dark.Melee, 3);
    EXPECT_EQ(dark.Missile, 3);
    EXPECT_EQ(dark.Damage, 0);
    EXPECT_EQ(dark.Weapon->Name, "Knife");
    EXPECT_EQ(dark.AttackFrames, 5);
    EXPECT_EQ(dark.WalkFrames, 8);
    EXPECT_EQ(dark.DieFrames, 8);
    EXPECT_EQ(dark.StandFrames, 1);
    EXPECT_EQ(dark.Image()->Surface, nullptr) << "an invisible fighter";
    EXPECT_TRUE(Logged("Could not load sprite sheet images\\ of character Dark"));
}

TEST_F(Characters, AMissingSpriteSheetIsLoggedByNameAndStaysRegistered) {
    WriteData("Ghost.plr", "[Pic]\nImage=Ghost.png\n[Skills]\nHealth=4\n");
    TBasePlayer& ghost = Make(0, "Ghost");
    EXPECT_TRUE(Logged("Could not load sprite sheet images\\Ghost.png of character Ghost"));
    EXPECT_TRUE(Logged("MakePlayer"));
    EXPECT_FLOAT_EQ(ghost.MaxHealth(), 40.0f) << "the rest of the character still counts";
    TBriskImage* sheet = ImageList->Find("Ghost");
    ASSERT_EQ(ghost.Image(), sheet);
    EXPECT_EQ(sheet->FrameWidth, 80);
    // Registered under its name, so the second fighter neither loads nor logs again.
    const std::string before = Media->LogText();
    Make(1, "Ghost");
    EXPECT_EQ(Media->LogText(), before);
}

TEST_F(Characters, FightersOfOneCharacterShareOneSheetAndItsKeysAreReadOnce) {
    WriteData("Knight.plr", kKnight);
    WriteSheet("Knight.png");
    TBasePlayer& first = Make(1, "Knight");
    const int32_t images = ImageList->Count();
    WriteData("Knight.plr", std::string(kKnight) + "[Pic]\nImage=Other.png\n");
    TBasePlayer& second = Make(0, "Knight");
    EXPECT_EQ(second.Image(), first.Image());
    EXPECT_EQ(ImageList->Count(), images);
}

TEST_F(Characters, ACharacterNamedAfterALoadedPictureUsesThatPicture) {
    WriteData("Items.plr", "[Pic]\nImage=Knight.png\n");
    WriteSheet("Knight.png");
    TBasePlayer& odd = Make(0, "Items");
    EXPECT_EQ(odd.Image(), ImageList->Find("Items"));
    EXPECT_EQ(odd.Image()->FrameWidth, 32) << "the picture keeps its own cell size";
}

TEST_F(Characters, EachKindOfMatchGivesEachRowItsKeySet) {
    const struct {
        int32_t NetMode;
        int32_t UpKey[2]; // of player 1 and player 2
    } cases[] = {{0, {273, 119}}, {1, {273, 0}}, {2, {0, 273}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.NetMode);
        Game->SetNetMode(c.NetMode);
        Game->Map = std::make_unique<TBaseMap>();
        for (int32_t row = 0; row < 2; ++row)
            EXPECT_EQ(Make(row, "Knight").ControlKeys[0], c.UpKey[row]) << row;
        EXPECT_EQ(Game->IsRemote(0), c.NetMode == 2);
        EXPECT_EQ(Game->IsRemote(1), c.NetMode == 1);
    }
}

TEST_F(Characters, AnyHurtEndsInvisibilityOnBothAndLetsItBeGrantedAgain) {
    TBasePlayer& first = Make(0, "Knight");
    TBasePlayer& second = Make(1, "Knight");
    Game->Map->Players = {&first, &second};
    auto potion = [] {
        auto item = std::make_unique<TPotion>();
        item->Special = "INVISIBILITY";
        item->SpecialTime = 10000;
        return item;
    };
    second.PickUp(potion());
    first.Abilities(kInvisibility).Active = true;
    first.Hurt(1); // the hurt fighter is the other one
    EXPECT_FALSE(second.Abilities(kInvisibility).Active);
    EXPECT_EQ(second.Abilities(kInvisibility).Expiry, 0u);
    EXPECT_FALSE(first.Abilities(kInvisibility).Active);
    second.PickUp(potion());
    EXPECT_TRUE(second.Abilities(kInvisibility).Active) << "a later potion works again";
    EXPECT_EQ(second.Abilities(kInvisibility).Expiry, Media->Clock.Ticks() + 10000);
}

} // namespace
