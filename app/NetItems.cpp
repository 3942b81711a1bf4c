// The items of a networked match: each side's fighter takes items only on its own machine,
// whose game tells the peer with an Item State message naming the item's map id; the peer
// takes that item off its map and gives it to its copy of that fighter, so the field, the
// worn items and the status panels agree on both screens.
#include "app/GameUnit.h"
#include "app/NetFighterState.h"
#include "media/BriskLogger.h"
#include "net/NetworkUnit.h"
#include "world/Map.h"
#include "world/Players.h"
#include "world/Weapons.h"

#include <string>

namespace {

// The pickup lying on the map under that id; missiles never count, whatever their id.
TEquipment* LyingItem(const TBaseMap& map, int32_t id) {
    for (const auto& item : map.Items()) {
        if (item->Id() != id) continue;
        if (const auto* weapon = dynamic_cast<const TWeapon*>(item.get());
            weapon != nullptr && weapon->ExpireTick != 0)
            continue;
        if (auto* lying = dynamic_cast<TEquipment*>(item.get())) return lying;
    }
    return nullptr;
}

} // namespace

void TBriskGame::PlayerPickUp(TBasePlayer& fighter, const TEquipment& item) {
    if (NetMode == 0 || &fighter != Players.at(static_cast<size_t>(LocalRow()))) return;
    Net.TakenItems[item.Id()] = LocalRow();
    SendItemState(fighter, item.Id());
}

void TBriskGame::SendItemState(const TBasePlayer& fighter, int32_t itemId) {
    TNetMessage message;
    message.Text = std::to_string(itemId);
    message.Kind = static_cast<uint8_t>(TMessageKind::ItemState);
    TItemStateBody body{itemId, MoveBodyOf(fighter)};
    body.Fighter.Speed = 0;
    message.Body = body;
    SendMessage(message);
}

void TBriskGame::ApplyItemState(int32_t itemId) {
    const int32_t remoteRow = 1 - LocalRow();
    TBasePlayer* remote = Players.at(static_cast<size_t>(remoteRow));
    if (Map == nullptr || remote == nullptr) return;
    TEquipment* lying = LyingItem(*Map, itemId);
    if (lying == nullptr) {
        // Both fighters reached it before hearing of the other: each keeps what it took.
        const auto taken = Net.TakenItems.find(itemId);
        if (taken != Net.TakenItems.end() && taken->second == LocalRow())
            Logger->LogError("Ignored item " + std::to_string(itemId) + ": taken here first", "Get Message");
        else
            Logger->LogError("Ignored unknown item " + std::to_string(itemId), "Get Message");
        return;
    }
    std::unique_ptr<TBaseItem> held = Map->Remove(*lying);
    held.release();
    // Health, speed and armour are the owner's to say: its next Move Player brings them with
    // the item counted in.
    const float health = remote->Health();
    const float speed = remote->Speed();
    const int32_t armor = remote->Armor;
    remote->PickUp(std::unique_ptr<TEquipment>(lying));
    remote->SetHealth(health);
    remote->SetSpeed(speed);
    remote->Armor = armor;
    Net.TakenItems[itemId] = remoteRow;
}
