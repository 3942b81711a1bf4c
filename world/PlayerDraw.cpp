// A fighter on screen: its body, the health bar above it, invisibility, the roll for magic
// charges while it is drawn, and the status panel the displays show.
#include "media/BriskImage.h"
#include "platform/GameClock.h"
#include "platform/Random.h"
#include "world/Players.h"

#include <algorithm>

namespace {

// One roll for a magic charge at most this often.
constexpr uint32_t kChargeRollMs = 2000;
// A wounded body blinks this long: hidden and shown by turns, each for one phase.
constexpr uint32_t kHurtBlinkMs = 400;
constexpr uint32_t kBlinkPhaseMs = 50;
// The health bar sits this far right of the body's top-left corner.
constexpr int32_t kHealthBarDx = 15;
// The armour slot of a status panel, from the panel's origin; its picture is 24 by 24.
constexpr int32_t kArmorSlotX = 98;
constexpr int32_t kArmorSlotY = 13;
// Portrait cells of every sprite sheet: alive and dead.
constexpr int32_t kPortraitFrame = 40;
constexpr int32_t kDeadPortraitFrame = 135;

// Magic-item icons on the status panel by magic number 1..15 (entry 0 unused): pendants,
// scrolls and arm bands in columns, each element a row.
struct TOffset {
    int32_t X;
    int32_t Y;
};
constexpr std::array<TOffset, kMagicKinds + 1> kMagicIcons{{{0, 0},
                                                            {40, 58},
                                                            {40, 53},
                                                            {40, 48},
                                                            {40, 43},
                                                            {40, 38},
                                                            {65, 58},
                                                            {65, 53},
                                                            {65, 48},
                                                            {65, 43},
                                                            {65, 38},
                                                            {94, 62},
                                                            {94, 55},
                                                            {94, 49},
                                                            {94, 43},
                                                            {94, 38}}};
// Icon of magic number i is frame i + 9 of "Items"; charge marker k is frame 24 + k.
constexpr int32_t kMagicIconFrames = 9;
constexpr int32_t kChargeMarkerFrames = 24;
// Charge rows by counter 1..5 (entry 0 unused): y offset from the panel's origin; the j-th
// marker of a row stands at x + 110 + 10 j.
constexpr std::array<int32_t, kChargeCounters + 1> kChargeRowY{0, -2, 15, 35, 50, 65};
constexpr int32_t kChargeRowX = 110;
constexpr int32_t kChargeMarkerStep = 10;

void DrawCell(TBriskImage* image, int32_t x, int32_t y, int32_t frame) {
    if (image != nullptr) image->DrawFrame(x, y, frame);
}

} // namespace

void TBasePlayer::Draw() {
    // While hidden the animation does not advance either: frames advance only in the body's draw.
    const bool hidden = Abilities(kInvisibility).Active && HideWhenInvisible;
    if (!hidden) {
        // A wound makes the body blink; the animation goes on meanwhile, so no strike is lost.
        const bool wasVisible = Visible();
        SetVisible(wasVisible && !BlinkedOut(GameTicks()));
        TMoveItem::Draw();
        SetVisible(wasVisible);
    }
    if (Action() == kActionDie) return;
    if (!hidden && HealthBarImage() != nullptr) {
        const int32_t viewX = Map() != nullptr ? Map()->ViewX() : 0;
        const int32_t viewY = Map() != nullptr ? Map()->ViewY() : 0;
        HealthBarImage()->DrawFrame(PixelX() - viewX + kHealthBarDx, PixelY() - viewY, HealthLevel());
    }
    RollCharge(GameTicks());
}

bool TBasePlayer::BlinkedOut(uint32_t now) const {
    const uint32_t sinceHurt = now - Feedback.HurtTick;
    return Feedback.HurtTick != 0 && sinceHurt < kHurtBlinkMs && sinceHurt / kBlinkPhaseMs % 2 == 0;
}

void TBasePlayer::RollCharge(uint32_t now) {
    if (now - LastChargeTick <= kChargeRollMs) return;
    LastChargeTick = now;
    // Magic kinds 5, 10 and 15 feed counter 1, kinds 1, 6 and 11 counter 2, and so on.
    const auto k = std::min(static_cast<int32_t>(RandomFloat() * kMagicKinds) + 1, kMagicKinds);
    if (!MagicItems[static_cast<size_t>(k)]) return;
    int32_t& charges = MagicCharges[static_cast<size_t>(k % kChargeCounters + 1)];
    if (charges < kMaxCharges) ++charges;
}

void TBasePlayer::DrawStatus(int32_t x, int32_t y) {
    DrawCell(Image(), x - 15, y, Action() == kActionDie ? kDeadPortraitFrame : kPortraitFrame);
    DrawCell(HealthBarImage(), x + 40, y + 7, HealthLevel());
    if (BootItem != nullptr) DrawCell(BootItem->Image(), x + 40, y + 13, BootItem->FrameBase());
    if (GloveItem != nullptr) DrawCell(GloveItem->Image(), x + 65, y + 13, GloveItem->FrameBase());
    // The panel's armour slot takes the small picture of the cloak worn.
    if (ArmorItem != nullptr)
        DrawCell(ImageList->Find("ArmorIcons"), x + kArmorSlotX, y + kArmorSlotY, ArmorItem->FrameBase());
    TBriskImage* items = ImageList->Find("Items");
    for (int32_t i = 1; i <= kMagicKinds; ++i) {
        const auto index = static_cast<size_t>(i);
        if (MagicItems[index])
            DrawCell(items, x + kMagicIcons[index].X, y + kMagicIcons[index].Y, i + kMagicIconFrames);
    }
    for (int32_t k = 1; k <= kChargeCounters; ++k) {
        const auto index = static_cast<size_t>(k);
        // The panel writes the clamp back: nothing else keeps the counters in 0..5.
        MagicCharges[index] = std::min(MagicCharges[index], kMaxCharges);
        for (int32_t j = 1; j <= MagicCharges[index]; ++j)
            DrawCell(items, x + kChargeRowX + kChargeMarkerStep * j, y + kChargeRowY[index],
                     kChargeMarkerFrames + k);
    }
}
