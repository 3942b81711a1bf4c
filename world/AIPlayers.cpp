// The script-driven fighter: it owns its script host and moves like a keyboard fighter, with
// the script's buttons in place of keys.
#include "world/AIPlayers.h"

#include "platform/Clock.h"
#include "platform/GameClock.h"
#include "platform/Paths.h"
#include "script/BriskAI.h"

std::string_view AILevelName(int32_t level) {
    switch (level) {
    case kAILevelEasy:
        return "Easy";
    case kAILevelHard:
        return "Hard";
    default:
        return "Normal";
    }
}

int32_t AILevelFromName(std::string_view name) {
    if (SameTextNoCase(name, "Easy")) return kAILevelEasy;
    if (SameTextNoCase(name, "Hard")) return kAILevelHard;
    return kAILevelNormal;
}

TAIPlayer::TAIPlayer() : GameAI(std::make_unique<TGameAI>()) {}

TAIPlayer::~TAIPlayer() = default;

void TAIPlayer::SetMap(TBaseMap* map) {
    TBasePlayer::SetMap(map);
    GameAI->Map = map;
}

void TAIPlayer::LoadAI() {
    GameAI->Load("data\\" + AIName + ".ai");
    GameAI->Player = this;
}

void TAIPlayer::Move() {
    if (!(Health() > 0)) {
        SetAction(kActionDie);
        return;
    }
    GameAI->Execute();
    const TButtons held{KeyHeld(kButtonUp),    KeyHeld(kButtonDown), KeyHeld(kButtonLeft),
                        KeyHeld(kButtonRight), KeyHeld(kButtonFire), KeyHeld(kButtonSecondFire)};
    if (held.Fire && Frame() == 2 && Weapon != nullptr)
        Strike(*Weapon);
    else if (held.SecondFire && Frame() == 2 && SecondWeapon != nullptr)
        Strike(*SecondWeapon);
    ChooseAction(held);
    const uint32_t now = GameTicks();
    ExpireAbilities(now);
    LeaveBuilding();
    if (Action() == kActionWalk) Walk(now, TWaterRule::StopAtEdge);
}
