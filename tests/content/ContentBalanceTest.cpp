// The characters and weapons keep the promises of the help pages, and every missile flies
// fast enough for the strike check.
#include "ContentSupport.h"
#include "platform/IniFile.h"

#include <map>

namespace {

struct TStats {
    int Health, Armor, Speed, Melee, Missile, Damage;
    std::string Weapon;
};

struct TWeaponStats {
    int Melee, Missile, Damage, ShootSpeed;
};

TStats Character(const std::string& name) {
    const TIniFile plr("data\\" + name + ".plr");
    return {plr.ReadInteger("Skills", "Health", 3),    plr.ReadInteger("Skills", "Armor", 1),
            plr.ReadInteger("Skills", "Speed", 5),     plr.ReadInteger("Fight", "Melee", 3),
            plr.ReadInteger("Fight", "Missile", 3),    plr.ReadInteger("Fight", "Damage", 0),
            plr.ReadString("Fight", "Weapon", "Knife")};
}

TWeaponStats Weapon(const std::string& name) {
    const TIniFile wpn("data\\" + name + ".wpn");
    return {wpn.ReadInteger(name, "Melee", 0), wpn.ReadInteger(name, "Missile", 0),
            wpn.ReadInteger(name, "Damage", 0), wpn.ReadInteger(name, "ShootSpeed", 0)};
}

// The skills a character fights with in its own hands: its own plus its weapon's.
int CloseSkill(const TStats& c) {
    return c.Melee + Weapon(c.Weapon).Melee;
}
int ThrowSkill(const TStats& c) {
    return c.Missile + Weapon(c.Weapon).Missile;
}

} // namespace

TEST_F(ContentTest, EveryMissileFliesFastEnoughForTheStrikeCheck) {
    for (const std::string& name : GameNames("data\\*.wpn")) {
        // A missile below 0.05 pixels per millisecond fails with "Invalid Speed".
        EXPECT_GE(Weapon(name).ShootSpeed / 100.0, 0.05) << name;
        // Its one-second flight must leave the fighter's own square, 32 pixels wide.
        EXPECT_GT(Weapon(name).ShootSpeed * 10, 32) << name;
    }
}

TEST_F(ContentTest, CharactersMatchTheHelpPages) {
    const TStats knight = Character("Knight"), elf = Character("Elf"), orc = Character("Orc"),
                 ninja = Character("Ninja"), barbar = Character("Barbar");
    const std::vector<std::pair<std::string, TStats>> all = {
        {"Knight", knight}, {"Elf", elf}, {"Orc", orc}, {"Ninja", ninja}, {"Barbar", barbar}};
    for (const auto& [name, c] : all) {
        SCOPED_TRACE(name);
        // "The Knight is a good fighter when up close ... isn't very good when thowing weapons."
        if (name != "Knight") {
            EXPECT_GT(CloseSkill(knight), CloseSkill(c));
            EXPECT_LT(ThrowSkill(knight), ThrowSkill(c));
        }
        // "The Elf is a wonderful bow shooter but his defense is low."
        if (name != "Elf") {
            EXPECT_GT(ThrowSkill(elf), ThrowSkill(c));
            EXPECT_LT(elf.Armor, c.Armor);
        }
        EXPECT_GT(c.Health, 0);
    }
    EXPECT_EQ(elf.Weapon, "Bow");
    // "... cant fight very well when close ... He runs faster than the knight."
    EXPECT_LT(CloseSkill(elf), CloseSkill(orc));
    EXPECT_LT(CloseSkill(elf), CloseSkill(barbar));
    EXPECT_GT(elf.Speed, knight.Speed);
    // "The Orc like fighting up close ... but he isn't as good at it as the knight."
    EXPECT_GT(CloseSkill(orc), ThrowSkill(orc));
    EXPECT_GT(CloseSkill(orc), CloseSkill(barbar));
    // "The Ninja is best when thowing his shuriken ... But he is also good at fighting up close."
    EXPECT_EQ(ninja.Weapon, "Shuriken");
    EXPECT_GT(ThrowSkill(ninja), CloseSkill(ninja));
    EXPECT_GT(ThrowSkill(ninja), ThrowSkill(knight) + 4);
    EXPECT_GE(CloseSkill(ninja), CloseSkill(barbar));
    // "Barbar ... is okay fighting up close or from a distance."
    EXPECT_LE(std::abs(CloseSkill(barbar) - ThrowSkill(barbar)), 2);
}

TEST_F(ContentTest, WeaponsMatchTheHelpPages) {
    const TWeaponStats knife = Weapon("Knife"), sword = Weapon("Sword"), axe = Weapon("Axe"),
                       bow = Weapon("Bow"), shuriken = Weapon("Shuriken");
    const std::map<std::string, TWeaponStats> all = {
        {"Knife", knife}, {"Sword", sword}, {"Axe", axe}, {"Bow", bow}, {"Shuriken", shuriken}};
    for (const auto& [name, w] : all) {
        SCOPED_TRACE(name);
        // "Bows have the furthest range of all the weapons ..."
        if (name != "Bow") EXPECT_GT(bow.ShootSpeed, w.ShootSpeed);
        // "Swords are the strongest weapon when fighting close ..."
        if (name != "Sword") EXPECT_GT(sword.Melee, w.Melee);
    }
    // "... but are very weak when fighting close as the wielder is actually fighting with a knife."
    EXPECT_LE(bow.Melee, knife.Melee);
    // "... but the wielder only has a knife to throw."
    EXPECT_LE(sword.Missile, knife.Missile);
    // "Axes are a good weapon for both fighting close as well as for throwing."
    EXPECT_GT(axe.Melee, knife.Melee);
    EXPECT_GT(axe.Missile, knife.Missile);
    // "Shuriken are very weak up close (except in the hands of a ninja), but make great weapons for throwing"
    EXPECT_EQ(shuriken.Melee, 0);
    EXPECT_GT(shuriken.Missile, knife.Missile);
    EXPECT_GT(shuriken.ShootSpeed, axe.ShootSpeed);
}
