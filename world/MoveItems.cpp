// The moving-item base of the fighters: action and facing select the animation; the ability
// slots keep what granted them and release it when the ability ends.
#include "platform/GameClock.h"
#include "world/Equipment.h"
#include "world/Items.h"

#include <algorithm>

TAbility::TAbility() = default;
TAbility::~TAbility() = default;

bool TAbility::Holds(const TEquipment& item) const {
    return std::any_of(Chain.begin(), Chain.end(), [&](const auto& held) { return held.get() == &item; });
}

TMoveItem::TMoveItem() {
    ActionTick = GameTicks();
    SetSpeed(0.08f);
}

TMoveItem::~TMoveItem() = default;

void TMoveItem::SetAction(int32_t action) {
    if (action != ActionValue) ActionTick = GameTicks();
    ActionValue = action;
    SetDirection(DirectionValue);
}

void TMoveItem::SetDirection(int32_t d) {
    DirectionValue = d;
    if (!ValidDirection(d)) return;
    const auto index = static_cast<size_t>(d);
    switch (ActionValue) {
    case kActionAttack:
        SetMaxFrame(AttackFrames);
        SetFrameBase(AttackDirFrames[index]);
        break;
    case kActionStand:
        SetMaxFrame(StandFrames);
        SetFrameBase(StandDirFrames[index]);
        break;
    case kActionWalk:
        SetMaxFrame(WalkFrames);
        SetFrameBase(WalkDirFrames[index]);
        break;
    case kActionDie:
        SetMaxFrame(DieFrames);
        SetFrameBase(DieDirFrames[index]);
        break;
    default:
        break;
    }
}

TAbility& TMoveItem::Abilities(int32_t k) {
    if (k < 1 || k > kAbilityCount) throw std::out_of_range("ability slot");
    return AbilitySlots[static_cast<size_t>(k - 1)];
}

const TAbility& TMoveItem::Abilities(int32_t k) const {
    if (k < 1 || k > kAbilityCount) throw std::out_of_range("ability slot");
    return AbilitySlots[static_cast<size_t>(k - 1)];
}

void TMoveItem::ExpireAbilities(uint32_t now) {
    for (TAbility& slot : AbilitySlots) {
        if (slot.Expiry == 0 || !TickAfter(now, slot.Expiry)) continue;
        // The chain is moved out first: unequipping releases the slot, and a later grant in the
        // same update must find it empty.
        auto chain = std::move(slot.Chain);
        slot.Chain.clear();
        TEquipment* source = slot.SourceItem;
        const bool sourceHeld =
            std::any_of(chain.begin(), chain.end(), [&](const auto& held) { return held.get() == source; });
        if (source != nullptr && sourceHeld) {
            source->Unequip(*this);
        } else {
            // A worn item's timed ability ends without taking back the statistics it still
            // gives while worn: dropping it later takes them back once.
            slot.Active = false;
            slot.Expiry = 0;
            slot.SourceItem = nullptr;
        }
        // Items that extended the running time give their statistics back with it.
        for (const auto& held : chain)
            if (held.get() != source) held->Unequip(*this);
        slot.Active = false;
        slot.Expiry = 0;
        slot.SourceItem = nullptr;
    }
}

void TMoveItem::KeepItem(std::unique_ptr<TEquipment> item) {
    if (item == nullptr) return;
    const int32_t k = item->JoinedSlot;
    if (k < 1 || k > kAbilityCount) return;
    Abilities(k).Chain.push_back(std::move(item));
}

void TMoveItem::ResetAbility(int32_t k, bool active) {
    TAbility& slot = Abilities(k);
    slot.Active = active;
    slot.Expiry = 0;
    slot.SourceItem = nullptr;
    slot.Chain.clear();
}
