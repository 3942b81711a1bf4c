// Fighters from character files: the game gives a fighter its events, place and key set;
// the character file (world/FighterFile) gives it the rest.
#include "app/GameUnit.h"
#include "world/AIPlayers.h"
#include "world/FighterFile.h"
#include "world/Map.h"
#include "world/Players.h"

void TBriskGame::MakePlayer(int32_t row, std::string_view name, int32_t x, int32_t y) {
    TBasePlayer*& slot = Players.at(static_cast<size_t>(row));
    // Player 2 of a local game with "AI Player" ticked is driven by its script.
    std::unique_ptr<TBasePlayer> fighter;
    TAIPlayer* scripted = nullptr;
    if (NetMode == 0 && AIBox == 1 && row == 1) {
        auto made = std::make_unique<TAIPlayer>();
        scripted = made.get();
        fighter = std::move(made);
    } else {
        fighter = std::make_unique<TPlayer>();
    }
    fighter->SetMap(Map.get());
    fighter->OnHurt = [this](TBasePlayer& hurt, int32_t value) { PlayerHurt(hurt, value); };
    fighter->OnShoot = [this](TBasePlayer& striker, TWeapon& weapon) { PlayerShoot(striker, weapon); };
    fighter->OnPickUp = [this](TBasePlayer& taker, const TEquipment& item) { PlayerPickUp(taker, item); };
    fighter->SetX(static_cast<float>(x));
    fighter->SetY(static_cast<float>(y));
    fighter->SetControls(KeySetOf(row));
    ReadFighterFile(*fighter, name, *Map);
    if (scripted != nullptr) {
        scripted->GameAI->Level = AILevel;
        scripted->LoadAI();
    }
    slot = &Map->Add(std::move(fighter));
}
