// Fighters from character files: "data\<name>.plr" gives a fighter its sprite sheet (shared
// by every fighter of that character through ImageList), statistics, own weapon and
// animation tables.
#include "world/FighterFile.h"

#include "media/BriskImage.h"
#include "media/BriskLogger.h"
#include "platform/IniFile.h"
#include "world/AIPlayers.h"
#include "world/DataRanges.h"
#include "world/Map.h"
#include "world/Players.h"

#include <string>

namespace {

// Sprite sheets are cut into cells of this size.
constexpr int32_t kSpriteCell = 80;
// Every fighter starts with these, whatever its character: the fighter's foot point lies at
// (48, 70) of its 80 by 80 cell, and every animation runs at 100 ms a frame.
constexpr int32_t kStartFrameBase = 20;
constexpr int32_t kStartMaxFrame = 4;
constexpr int32_t kFighterFrameDelay = 100;
constexpr int32_t kStartDirection = 5;
constexpr int32_t kFootOffsetX = 48;
constexpr int32_t kFootOffsetY = 70;
// "Health" counts tens of health points, "Speed" hundredths of a pixel per millisecond.
constexpr int64_t kHealthUnit = 10;
constexpr float kSpeedUnit = 100.0f;

// Frame counts and first cells are kept to kFrameRange; the delays are only stored.
void ReadAnimation(TBasePlayer& fighter, const TIniFile& file) {
    fighter.AttackFrames = file.ReadClamped("Animation", "AttackFrames", 5, kFrameRange);
    fighter.AttackDelay = file.ReadInteger("Animation", "AttackDelay", 100);
    fighter.WalkFrames = file.ReadClamped("Animation", "WalkFrames", 8, kFrameRange);
    fighter.WalkDelay = file.ReadInteger("Animation", "WalkDelay", 100);
    fighter.DieFrames = file.ReadClamped("Animation", "DieFrames", 8, kFrameRange);
    fighter.DieDelay = file.ReadInteger("Animation", "DieDelay", 100);
    fighter.StandFrames = file.ReadClamped("Animation", "StandFrames", 1, kFrameRange);
    fighter.StandDelay = file.ReadInteger("Animation", "StandDelay", 100);
    for (size_t i = 0; i < 8; ++i) {
        const std::string d = std::to_string(i);
        fighter.AttackDirFrames[i] = file.ReadClamped("Animation", "Attack" + d, 0, kFrameRange);
        fighter.WalkDirFrames[i] = file.ReadClamped("Animation", "Walk" + d, 0, kFrameRange);
        fighter.StandDirFrames[i] = file.ReadClamped("Animation", "Stand" + d, 0, kFrameRange);
        fighter.DieDirFrames[i] = file.ReadClamped("Animation", "Die" + d, 0, kFrameRange);
    }
}

// The character's sheet, loaded and registered under its name on first use. A sheet that
// does not load leaves an invisible fighter; the log names the file so the cause is found.
TBriskImage& SpriteSheet(std::string_view name, const TIniFile& file) {
    if (TBriskImage* shared = ImageList->Find(name)) return *shared;
    const std::string sheetName = file.ReadString("Pic", "Image", "");
    TBriskImage& sheet = SharedImage(name, sheetName, file, "Pic", kSpriteCell, kSpriteCell);
    if (sheet.Surface == nullptr)
        Logger->LogError("Could not load sprite sheet images\\" + sheetName + " of character " +
                             std::string(name),
                         "MakePlayer");
    return sheet;
}

} // namespace

void ReadFighterFile(TBasePlayer& fighter, std::string_view name, TBaseMap& map) {
    const TIniFile file("data\\" + std::string(name) + ".plr");
    // The character's animation tables, read below, take effect at the next action or facing.
    fighter.SetFrameBase(kStartFrameBase);
    fighter.SetMaxFrame(kStartMaxFrame);
    fighter.SetFrameDelay(kFighterFrameDelay);
    fighter.SetAction(kActionAttack);
    fighter.SetDirection(kStartDirection);
    fighter.SetOffsetX(kFootOffsetX);
    fighter.SetOffsetY(kFootOffsetY);
    fighter.SetImage(&SpriteSheet(name, file));
    // Computed wide: a huge "Health" must not overflow on its way to a float.
    fighter.SetMaxHealth(static_cast<float>(int64_t{file.ReadInteger("Skills", "Health", 3)} * kHealthUnit));
    fighter.SetHealth(fighter.MaxHealth());
    fighter.Melee = file.ReadClamped("Fight", "Melee", 3, kSkillRange);
    fighter.Missile = file.ReadClamped("Fight", "Missile", 3, kSkillRange);
    fighter.Damage = file.ReadClamped("Fight", "Damage", 0, kSkillRange);
    fighter.Armor = file.ReadClamped("Skills", "Armor", 1, kSkillRange);
    fighter.SetSpeed(static_cast<float>(file.ReadInteger("Skills", "Speed", 5)) / kSpeedUnit);
    fighter.SetHealthBarImage(ImageList->Find("PlayerLife"));
    fighter.Weapon = map.CreateWeapon(file.ReadString("Fight", "Weapon", "Knife"), 0, 0);
    ReadAnimation(fighter, file);
    if (auto* scripted = dynamic_cast<TAIPlayer*>(&fighter))
        scripted->AIName = file.ReadString("Detail", "AIName", "Path");
}
