// Every file the game or a data file names is in the game folder, and every data file
// reads through the game's INI layer with each key its format defines.
#include "ContentSupport.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace {

struct TFormat {
    const char* Pattern;
    // Section name; "*" means the file's own name (weapon and building files).
    const char* Section;
    std::vector<std::string> TextKeys;
    std::vector<std::string> IntegerKeys;
};

std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> keys;
    for (int i = 0; i < count; ++i)
        keys.push_back(prefix + std::to_string(i));
    return keys;
}

std::vector<std::string> Join(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

const std::vector<std::string> kPictureKeys = {"TransparentColor1", "TransparentColor2", "TransparentColor3"};
const std::vector<std::string> kEquipmentKeys = {"Melee", "Damage", "Missile",    "Armor",
                                                 "Speed", "Health", "SpecialTime"};

// Reads each key as the game would and reports keys that are missing or do not convert.
void ExpectKeys(const TIniFile& ini, const std::string& section, const std::vector<std::string>& text,
                const std::vector<std::string>& integers, const std::string& where) {
    EXPECT_TRUE(ini.SectionExists(section)) << where << " lacks [" << section << "]";
    for (const std::string& key : text)
        EXPECT_NE(ini.ReadString(section, key, "\x01"), "\x01")
            << where << " [" << section << "] lacks " << key;
    for (const std::string& key : integers) {
        EXPECT_NE(ini.ReadInteger(section, key, INT32_MIN), INT32_MIN)
            << where << " [" << section << "] " << key << " is missing or not an integer";
    }
}

} // namespace

TEST_F(ContentTest, StartupPicturesFontsAndSoundsExist) {
    const char* files[] = {"images\\WaterGround.png",
                           "images\\BrownGround.png",
                           "images\\PlainGround.png",
                           "images\\Trees.png",
                           "images\\Ruins2.png",
                           "images\\Items.png",
                           "images\\Armor.png",
                           "images\\PlayerBox.png",
                           "images\\PlayerBoxLocal.png",
                           "images\\PlayerLife.png",
                           "images\\CheckBox.PNG",
                           "images\\Sunset.jpg",
                           "images\\Brown.jpg",
                           "images\\Japan.jpg",
                           "images\\Mesa.jpg",
                           "images/24P_Copperplate_Blue.png",
                           "images/24P_Arial_NeonYellow.png",
                           "images/24P_Copperplate_embosed.png",
                           "images/Small_Copperplate_Blue.png",
                           "sound\\Waiting.wav",
                           "sound\\StartSomething.wav",
                           "sound\\ReadyToPlay.wav",
                           "sound\\PickUpItem.wav",
                           "sound\\Shoot.wav",
                           "sound\\HitHurt.wav",
                           "sound\\Die.wav",
                           "sound\\AttackMissShort.wav",
                           "data\\Armor.ini",
                           "data\\Glove.ini",
                           "data\\Boot.ini",
                           "data\\Potion.ini",
                           "maps\\Default.map"};
    for (const char* file : files)
        EXPECT_TRUE(GameFileExists(file)) << file;
}

TEST_F(ContentTest, FiveCharactersFourMapsAndTheirFiles) {
    const std::vector<std::string> characters = GameNames("data\\*.plr");
    for (const char* name : {"Knight", "Elf", "Orc", "Ninja", "Barbar"})
        EXPECT_NE(std::find(characters.begin(), characters.end(), name), characters.end()) << name;
    EXPECT_GE(GameNames("maps\\*.map").size(), 4u);
    std::set<std::string> weapons;
    for (const std::string& c : characters) {
        const TIniFile plr("data\\" + c + ".plr");
        EXPECT_TRUE(GameFileExists("images\\" + plr.ReadString("Pic", "Image", ""))) << c;
        EXPECT_TRUE(GameFileExists("images\\" + plr.ReadString("Pic", "IDImage", ""))) << c;
        weapons.insert(plr.ReadString("Fight", "Weapon", "Knife"));
    }
    for (const std::string& m : GameNames("maps\\*.map")) {
        const TIniFile map("maps\\" + m + ".map");
        for (int i = 0; i < map.ReadInteger("Weapons", "WeaponCount", 0); ++i)
            weapons.insert(map.ReadString("Weapons", "Weapon" + std::to_string(i), ""));
        for (int i = 0; i < map.ReadInteger("Obstructions", "ObstructionCount", 0); ++i) {
            const std::string b = map.ReadString("Obstructions", "Obstruction" + std::to_string(i), "");
            ASSERT_TRUE(GameFileExists("data\\" + b + ".bld")) << m << " names the building " << b;
            EXPECT_TRUE(
                GameFileExists("images\\" + TIniFile("data\\" + b + ".bld").ReadString(b, "Image", "")));
        }
    }
    for (const std::string& w : weapons) {
        ASSERT_TRUE(GameFileExists("data\\" + w + ".wpn")) << w;
        EXPECT_TRUE(GameFileExists("images\\" + TIniFile("data\\" + w + ".wpn").ReadString(w, "Image", "")))
            << w;
    }
}

TEST_F(ContentTest, DataFilesCarryEveryKeyOfTheirFormat) {
    const std::vector<std::string> directions = {"Attack", "Walk", "Stand", "Die"};
    std::vector<std::string> frames;
    for (const std::string& d : directions) {
        auto keys = Numbered(d, 8);
        frames.insert(frames.end(), keys.begin(), keys.end());
    }
    const TFormat formats[] = {
        {"data\\*.plr", "Pic", {"Image", "IDImage"}, kPictureKeys},
        {"data\\*.plr", "Detail", {"AIName"}, {}},
        {"data\\*.plr", "Skills", {}, {"Health", "Armor", "Speed"}},
        {"data\\*.plr", "Fight", {"Weapon"}, {"Melee", "Missile", "Damage"}},
        {"data\\*.plr",
         "Animation",
         {},
         Join({{"AttackFrames", "AttackDelay", "WalkFrames", "WalkDelay", "DieFrames", "DieDelay",
                "StandFrames", "StandDelay"},
               frames})},
        {"data\\*.wpn",
         "*",
         {"Image", "Special"},
         Join({kEquipmentKeys,
               kPictureKeys,
               {"Width", "Height", "OffX", "OffY", "Pic", "Frames", "ShootSpeed"},
               Numbered("Dir", 8)})},
        {"data\\*.bld",
         "*",
         {"Image"},
         Join({kPictureKeys, {"BlockLR", "BlockU", "Width", "Height", "OffX", "OffY"}})},
    };
    for (const TFormat& f : formats) {
        const std::vector<std::string> files = ListFiles(f.Pattern);
        EXPECT_FALSE(files.empty()) << f.Pattern;
        for (const std::string& file : files) {
            const std::string name = file.substr(0, file.find('.'));
            const TIniFile ini("data\\" + file);
            ExpectKeys(ini, f.Section == std::string("*") ? name : f.Section, f.TextKeys, f.IntegerKeys,
                       file);
        }
    }
}

TEST_F(ContentTest, EquipmentSectionsUseOnlyKnownKeysAndAbilities) {
    const std::set<std::string> abilities = {"Nil",          "WATERWALK", "PASSWALL", "SPEED",
                                             "INVISIBILITY", "STRENGTH",  "DEXTERITY"};
    const std::pair<const char*, std::vector<std::string>> files[] = {
        {"data\\Armor.ini", {"Brown", "Green", "Blue", "Red", "White"}},
        {"data\\Glove.ini", {"Brown", "Green", "Blue", "Red", "White"}},
        {"data\\Boot.ini", {"Brown", "Green", "Blue", "Red", "White"}},
        {"data\\Potion.ini", {"Speed", "Invisibility", "Health", "BigHealth", "Dexterity", "Strength"}},
    };
    for (const auto& [file, sections] : files) {
        const TIniFile ini(file);
        for (const std::string& section : sections) {
            ASSERT_TRUE(ini.SectionExists(section)) << file << " [" << section << "]";
            const std::vector<std::string> keys = ini.ReadSection(section);
            EXPECT_FALSE(keys.empty()) << file << " [" << section << "] changes nothing";
            for (const std::string& key : keys) {
                // A misspelt key silently reads as 0 in the game, so every key must be one it reads.
                if (SameTextNoCase(key, "Special")) {
                    EXPECT_TRUE(abilities.count(ini.ReadString(section, key, "Nil")))
                        << file << " [" << section << "] names an unknown ability";
                    continue;
                }
                const bool known = std::any_of(kEquipmentKeys.begin(), kEquipmentKeys.end(),
                                               [&](const std::string& k) { return SameTextNoCase(k, key); });
                EXPECT_TRUE(known) << file << " [" << section << "] has the unknown key " << key;
                EXPECT_NE(ini.ReadInteger(section, key, INT32_MIN), INT32_MIN) << file << " " << key;
            }
        }
    }
    // The help promises water walking from the blue boots.
    EXPECT_EQ(TIniFile("data\\Boot.ini").ReadString("Blue", "Special", ""), "WATERWALK");
}

TEST_F(ContentTest, SoundsAreMono8Bit22050HzWaves) {
    for (const char* name : {"Waiting", "StartSomething", "ReadyToPlay", "PickUpItem", "Shoot", "HitHurt",
                             "Die", "AttackMissShort"}) {
        std::ifstream in(ResolvePath(std::string("sound\\") + name + ".wav"), std::ios::binary);
        std::vector<unsigned char> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(d.size(), 44u) << name;
        auto u32 = [&d](size_t at) {
            return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
        };
        auto u16 = [&d](size_t at) { return d[at] | d[at + 1] << 8; };
        EXPECT_EQ(std::string(d.begin(), d.begin() + 4), "RIFF") << name;
        EXPECT_EQ(std::string(d.begin() + 8, d.begin() + 16), "WAVEfmt ") << name;
        EXPECT_EQ(u16(20), 1) << name << " is not PCM";
        EXPECT_EQ(u16(22), 1) << name << " is not mono";
        EXPECT_EQ(u32(24), 22050u) << name;
        EXPECT_EQ(u16(34), 8) << name;
        EXPECT_EQ(u32(4) + 8, d.size()) << name << " has a wrong RIFF size";
        const uint32_t samples = u32(40);
        EXPECT_GT(samples, 22050u / 20) << name << " is too short to hear";
        EXPECT_LT(samples, 22050u * 3) << name << " holds up the 500 ms repeat limit for too long";
        // Not silence: the samples swing well away from the unsigned mid-point 128.
        int peak = 0;
        for (size_t i = 44; i < 44 + samples && i < d.size(); ++i)
            peak = std::max(peak, std::abs(d[i] - 128));
        EXPECT_GT(peak, 64) << name;
    }
}
