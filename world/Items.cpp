// The root item: position with its pixel and foot copies, animation by elapsed time, health
// levels; the pickup and building square marks; ability names; the id counter.
#include "world/Items.h"

#include "media/BriskImage.h"
#include "platform/GameClock.h"
#include "world/Map.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <string>

TSequence Sequence;

namespace {

// Ability names by number. The reserved entries are mixed-case, and names are upper-cased
// before the comparison, so no item name ever reaches them.
constexpr std::array<std::string_view, kAbilityCount> kAbilityNames{
    "WATERWALK", "PASSWALL", "SPEED",  "INVISIBILITY", "STRENGTH", "DEXTERITY", "None7", "None8",
    "None9",     "None10",   "None11", "None12",       "None13",   "None14",    "None15"};

// Round to nearest with halves to even, as the pixel copies and the health bar round.
int32_t RoundHalfEven(float value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

// The offsets k in -limit..limit (or 0..limit) for which origin + step * k can still fall on
// a writable square, so a building file's huge block size cannot turn into a long loop.
struct TSpan {
    int64_t First;
    int64_t Last;
};
TSpan WritableSpan(int64_t origin, int64_t step, int64_t first, int64_t last, int64_t lowest,
                   int64_t highest) {
    // Integer division truncates toward zero, so a coordinate down to -(step - 1) still lands
    // on the first square.
    const int64_t low = lowest - (step - 1);
    auto floorDiv = [](int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); };
    const int64_t kLow = -floorDiv(-(low - origin), step);  // ceil((low - origin) / step)
    const int64_t kHigh = floorDiv(highest - origin, step); // floor((highest - origin) / step)
    return {std::max(first, kLow), std::min(last, kHigh)};
}

} // namespace

int32_t AbilityIndex(std::string_view name) {
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (size_t i = 0; i < kAbilityNames.size(); ++i)
        if (kAbilityNames[i] == upper) return static_cast<int32_t>(i) + 1;
    return -1;
}

TBaseItem::TBaseItem() {
    IdValue = Sequence.Next();
    SetX(0);
    SetY(0);
    TBaseItem::SetFrame(0);
    MaxFrameValue = 0;
    FrameBaseValue = 0;
    FrameDelayMs = 200;
    LastFrameTickValue = GameTicks();
    VisibleValue = true;
    SpeedValue = 0;
    // MaxHealth is still 0 here, so a new item starts with no health; fighters get theirs
    // from their character afterwards.
    SetHealth(100);
    SetMaxHealth(100);
}

void TBaseItem::SetFrame(int32_t n) {
    FrameValue = n > MaxFrameValue ? 0 : n;
}

void TBaseItem::SetMap(TBaseMap* map) {
    MapValue = map;
}

void TBaseItem::NextFrame(int32_t n) {
    // A frame count beyond 32 bits lands past MaxFrame just the same.
    const int64_t next = int64_t{FrameValue} + n;
    SetFrame(static_cast<int32_t>(
        std::clamp<int64_t>(next, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max())));
}

void TBaseItem::Move() {}

void TBaseItem::Draw() {
    // Animation needs no timer: it advances only when the item is drawn, and frames missed
    // while the game was slow are skipped rather than shown late.
    const uint32_t now = GameTicks();
    const uint32_t elapsed = now - LastFrameTickValue;
    const int64_t delay = std::max(FrameDelayMs, 1);
    if (int64_t{elapsed} > delay) {
        NextFrame(
            static_cast<int32_t>(std::min<int64_t>(elapsed / delay, std::numeric_limits<int32_t>::max())));
        LastFrameTickValue = now;
    }
    if (!VisibleValue || ImageValue == nullptr) return;
    const int32_t viewX = MapValue != nullptr ? MapValue->ViewX() : 0;
    const int32_t viewY = MapValue != nullptr ? MapValue->ViewY() : 0;
    ImageValue->DrawFrame(PixelXValue - viewX, PixelYValue - viewY, SaturatedSum(FrameBaseValue, FrameValue));
}

bool TBaseItem::Collision(const TBaseItem&) const {
    return false;
}

void TBaseItem::SetPassable(int32_t value) {
    if (MapValue != nullptr) MapValue->SetSquare(FootXValue, FootYValue, value, this);
}

void TBaseItem::SetX(float x) {
    XValue = std::clamp(x, kMinItemX, kMaxItemX);
    PixelXValue = RoundHalfEven(XValue);
    FootXValue = SaturatedSum(PixelXValue, OffsetXValue);
}

void TBaseItem::SetY(float y) {
    YValue = std::clamp(y, kMinItemY, kMaxItemY);
    PixelYValue = RoundHalfEven(YValue);
    FootYValue = SaturatedSum(PixelYValue, OffsetYValue);
}

void TBaseItem::SetOffsetX(int32_t n) {
    OffsetXValue = n;
    SetX(XValue);
}

void TBaseItem::SetOffsetY(int32_t n) {
    OffsetYValue = n;
    SetY(YValue);
}

void TBaseItem::SetHealth(float health) {
    HealthValue = std::min(health, MaxHealthValue);
    if (HealthValue == 0) {
        HealthLevelValue = 0;
        return;
    }
    // 10 - round(tenths of the maximum left), in 0..9. Health below 0, or any health against a
    // maximum of 0, lands on the empty end instead of overflowing the conversion.
    const double tenths = std::nearbyint(double{HealthValue} / double{MaxHealthValue} * 10.0);
    const double level = 10.0 - tenths;
    HealthLevelValue = level >= 0.0 ? static_cast<int32_t>(std::min(level, 9.0)) : 0;
    if (std::isnan(level)) HealthLevelValue = 9;
}

void TPickUp::SetPassable(int32_t value) {
    if (Map() != nullptr)
        Map()->SetSquare(FootX(), FootY(), value == kSquareSolid ? kSquarePickUp : value, this);
}

void TObstruction::SetPassable(int32_t value) {
    if (Map() == nullptr) return;
    // Columns c of -BlockLR..BlockLR to each side, rows d of 0..BlockU upwards; a negative
    // block size marks nothing in its dimension.
    const TSpan columns = WritableSpan(FootX(), kSquareWidth, -int64_t{BlockLR}, BlockLR, 0,
                                       int64_t{kSquareColumns - 1} * kSquareWidth - 1);
    // Rows count upwards, so row d's y is FootY - 24 d: the span is taken over -d.
    const TSpan rows = WritableSpan(FootY(), kSquareHeight, -int64_t{BlockU}, 0, 0,
                                    int64_t{kSquareRows - 1} * kSquareHeight - 1);
    for (int64_t c = columns.First; c <= columns.Last; ++c)
        for (int64_t d = -rows.Last; d <= -rows.First; ++d)
            Map()->SetSquare(static_cast<int32_t>(FootX() + kSquareWidth * c),
                             static_cast<int32_t>(FootY() - kSquareHeight * d), value, this);
}
