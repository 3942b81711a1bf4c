// What a fighter carries: taking pickups from the squares it walks over, wearing one item of
// each kind in place of the last, and the magic items it collects as flags.
#include "media/BriskSound.h"
#include "platform/Clock.h"
#include "platform/GameClock.h"
#include "world/Players.h"

template <class T> void TBasePlayer::DiscardItem(std::unique_ptr<T>& item) {
    if (item == nullptr) return;
    item->Unequip(*this);
    item.reset();
}

void TBasePlayer::TryPickUp(int32_t x, int32_t y) {
    // The owner of a peer's fighter says what it takes.
    if (Map() == nullptr || OwnedByPeer) return;
    const TSquare& square = Map()->GetSquare(x, y);
    if (square.Passability != kSquarePickUp) return;
    // Only pickups mark a square with this value, and every pickup is equipment.
    if (auto* item = dynamic_cast<TEquipment*>(square.Occupant)) PickUp(*item);
}

void TBasePlayer::PickUp(TEquipment& item) {
    if (Map() == nullptr) return;
    std::unique_ptr<TBaseItem> taken = Map()->Remove(item);
    if (taken == nullptr) return;
    taken.release();
    std::unique_ptr<TEquipment> owned(&item);
    if (OnPickUp) OnPickUp(*this, item);
    PickUp(std::move(owned));
}

void TBasePlayer::PickUp(std::unique_ptr<TEquipment> item) {
    if (item == nullptr) return;
    PlaySound("PickUpItem");
    TEquipment& taken = *item;
    Feedback.TakenTick = NonZeroTick(GameTicks());
    Feedback.TakenName = taken.Kind.empty() ? taken.Name : taken.Name + " " + taken.Kind;
    // A worn item of the same kind is unequipped and destroyed, not dropped on the map.
    if (dynamic_cast<TArmor*>(&taken) != nullptr) {
        DiscardItem(ArmorItem);
        ArmorItem.reset(static_cast<TArmor*>(item.release()));
    } else if (dynamic_cast<TWeapon*>(&taken) != nullptr) {
        DiscardItem(SecondWeapon);
        SecondWeapon.reset(static_cast<TWeapon*>(item.release()));
    } else if (dynamic_cast<TGlove*>(&taken) != nullptr) {
        DiscardItem(GloveItem);
        GloveItem.reset(static_cast<TGlove*>(item.release()));
    } else if (dynamic_cast<TBoot*>(&taken) != nullptr) {
        DiscardItem(BootItem);
        BootItem.reset(static_cast<TBoot*>(item.release()));
    }
    taken.Equip(*this);
    if (const auto* magic = dynamic_cast<const TMagicItem*>(&taken)) {
        // A magic item of an unknown element or form has no magic number and sets no flag.
        const int32_t number = magic->MagicNumber();
        if (number >= 1 && number <= kMagicKinds) MagicItems[static_cast<size_t>(number)] = true;
    }
    // A potion lives on in the ability slot it granted or extended; anything else not worn
    // (a magic item, a potion that granted nothing) is freed here.
    if (item != nullptr) KeepItem(std::move(item));
}
