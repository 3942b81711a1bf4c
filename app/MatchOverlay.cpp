// The match screen's overlay: player tags, wound numbers, item names, splashes and the pointer
// to a fighter out of view, all drawn straight onto the screen after the field's items.
#include "app/MatchOverlay.h"

#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "media/BriskText.h"
#include "platform/Clock.h"
#include "platform/GameClock.h"
#include "world/Camera.h"
#include "world/Map.h"
#include "world/Players.h"

#include <cmath>
#include <string>

namespace {

constexpr TTagColor kPlayerColors[2] = {{240, 72, 56}, {72, 156, 255}};
constexpr TTagColor kWoundColor{255, 226, 64};
constexpr TTagColor kOutline{16, 16, 16};

// The blocky figures: 3 dots wide, 5 high, one row a byte of which the low 3 bits count
// (bit 2 the left dot).
struct TGlyph {
    char Ch;
    std::array<uint8_t, 5> Rows;
};
constexpr std::array<TGlyph, 14> kGlyphs{{
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 3, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 2, 2, 2}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'-', {0, 0, 7, 0, 0}}, {'P', {6, 5, 6, 4, 4}},
    {'C', {7, 4, 4, 4, 7}}, {'U', {5, 5, 5, 5, 7}},
}};
constexpr int32_t kDot = 2;
constexpr int32_t kGlyphAdvance = 4 * kDot;
constexpr int32_t kGlyphHeight = 5 * kDot;

// The health bar (48 by 8) sits 15 pixels right of the figure's top-left corner.
constexpr int32_t kBarDx = 15;
constexpr int32_t kBarWidth = 48;
// A wound's number rises this far while it shows.
constexpr int32_t kHurtRisePx = 24;
// The pointer's size: from its tip back to its base, and half its base.
constexpr int32_t kPointerLength = 18;
constexpr int32_t kPointerHalfBase = 10;
// The splash picture's cells, played once over kSplashMs; its foot is a little below the
// fighter's, where the water rings spread.
constexpr int32_t kSplashFrames = 4;
constexpr int32_t kSplashBelowFoot = 8;

const TGlyph* GlyphOf(char ch) {
    for (const TGlyph& glyph : kGlyphs)
        if (glyph.Ch == ch) return &glyph;
    return nullptr;
}

void DrawGlyphs(int32_t x, int32_t y, std::string_view text, TTagColor color) {
    for (const char ch : text) {
        if (const TGlyph* glyph = GlyphOf(ch)) {
            for (int32_t row = 0; row < 5; ++row)
                for (int32_t column = 0; column < 3; ++column)
                    if ((glyph->Rows[static_cast<size_t>(row)] >> (2 - column) & 1) != 0)
                        FillRect(Screen->Surface, x + column * kDot, y + row * kDot, kDot, kDot, color.Red,
                                 color.Green, color.Blue);
        }
        x += kGlyphAdvance;
    }
}

// A filled triangle with its tip at (tipX, tipY), pointing along (dx, dy) (a unit vector).
void DrawPointerShape(float tipX, float tipY, float dx, float dy, TTagColor color) {
    const float baseX = tipX - dx * kPointerLength;
    const float baseY = tipY - dy * kPointerLength;
    const std::array<float, 6> corners{tipX,
                                       tipY,
                                       baseX - dy * kPointerHalfBase,
                                       baseY + dx * kPointerHalfBase,
                                       baseX + dy * kPointerHalfBase,
                                       baseY - dx * kPointerHalfBase};
    const auto side = [&](float px, float py, size_t a, size_t b) {
        return (corners[b] - corners[a]) * (py - corners[a + 1]) - (corners[b + 1] - corners[a + 1]) * (px - corners[a]);
    };
    const auto left = static_cast<int32_t>(std::floor(std::min({corners[0], corners[2], corners[4]})));
    const auto right = static_cast<int32_t>(std::ceil(std::max({corners[0], corners[2], corners[4]})));
    const auto top = static_cast<int32_t>(std::floor(std::min({corners[1], corners[3], corners[5]})));
    const auto bottom = static_cast<int32_t>(std::ceil(std::max({corners[1], corners[3], corners[5]})));
    for (int32_t y = top; y <= bottom; ++y) {
        // One run per row: the pixels whose centres lie inside all three edges.
        int32_t runStart = -1;
        for (int32_t x = left; x <= right + 1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float s0 = side(px, py, 0, 2);
            const float s1 = side(px, py, 2, 4);
            const float s2 = side(px, py, 4, 0);
            const bool inside = x <= right && ((s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0));
            if (inside && runStart < 0) runStart = x;
            if (!inside && runStart >= 0) {
                FillRect(Screen->Surface, runStart, y, x - runStart, 1, color.Red, color.Green, color.Blue);
                runStart = -1;
            }
        }
    }
}

// A fighter the player may not see (the peer's, while invisible) gets no overlay either.
bool Hidden(const TBasePlayer& fighter) {
    return fighter.HideWhenInvisible && fighter.Abilities(kInvisibility).Active;
}

void DrawSplash(int32_t footX, int32_t footY, uint32_t elapsedMs) {
    TBriskImage* splash = ImageList->Find("Splash");
    if (splash == nullptr) return;
    const auto frame = static_cast<int32_t>(elapsedMs * static_cast<uint32_t>(kSplashFrames) / kSplashMs);
    splash->DrawFrame(footX - splash->FrameWidth / 2, footY - splash->FrameHeight + kSplashBelowFoot,
                      std::min(frame, kSplashFrames - 1));
}

void DrawFighterOverlay(const TBaseMap& map, int32_t row, const TBasePlayer& fighter, uint32_t now) {
    if (Hidden(fighter)) return;
    const int32_t barX = fighter.PixelX() - map.ViewX() + kBarDx;
    const int32_t barY = fighter.PixelY() - map.ViewY();
    const TBasePlayer::TFeedback& feedback = fighter.Feedback;
    if (feedback.DrownTick != 0 && now - feedback.DrownTick < kSplashMs)
        DrawSplash(fighter.FootX() - map.ViewX(), fighter.FootY() - map.ViewY(), now - feedback.DrownTick);
    if (fighter.Action() == kActionDie) return;
    const TFighterTag tag = FighterTag(row, fighter);
    const int32_t tagWidth = static_cast<int32_t>(tag.Text.size()) * kGlyphAdvance - kDot;
    DrawTagText(barX + (kBarWidth - tagWidth) / 2, barY - kGlyphHeight - 4, tag.Text, tag.Color);
    if (feedback.HurtTick != 0 && now - feedback.HurtTick < kHurtNumberMs) {
        const auto rise = static_cast<int32_t>((now - feedback.HurtTick) * kHurtRisePx / kHurtNumberMs);
        const std::string wound = "-" + std::to_string(feedback.HurtAmount);
        DrawTagText(barX + kBarWidth + 4, barY - rise, wound, kWoundColor);
    }
    if (feedback.TakenTick != 0 && now - feedback.TakenTick < kTakenNameMs && !feedback.TakenName.empty()) {
        TBriskFont& small = FontList->Items(kFontSmall);
        const int32_t width = small.TextWidth(feedback.TakenName);
        const int32_t x = barX + kBarWidth / 2 - width / 2;
        const int32_t y = barY - kGlyphHeight - 22;
        FillRect(Screen->Surface, x - 3, y - 1, width + 6, 15, kOutline.Red, kOutline.Green, kOutline.Blue);
        small.TextOut(x, y, feedback.TakenName);
    }
}

} // namespace

TFighterTag FighterTag(int32_t row, const TBasePlayer& fighter) {
    const TTagColor color = kPlayerColors[row == 0 ? 0 : 1];
    if (fighter.ScriptDriven()) return {"CPU", color};
    return {row == 0 ? "P1" : "P2", color};
}

int32_t DrawTagText(int32_t x, int32_t y, std::string_view text, TTagColor color) {
    for (const auto& [dx, dy] : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}})
        DrawGlyphs(x + dx, y + dy, text, kOutline);
    DrawGlyphs(x, y, text, color);
    return static_cast<int32_t>(text.size()) * kGlyphAdvance;
}

void DrawMatchOverlay(const TBaseMap& map, const std::array<TBasePlayer*, 2>& fighters,
                      const TBasePlayer* pointed) {
    const uint32_t now = GameTicks();
    for (size_t row = 0; row < fighters.size(); ++row)
        if (fighters[row] != nullptr) DrawFighterOverlay(map, static_cast<int32_t>(row), *fighters[row], now);
    if (pointed == nullptr || Hidden(*pointed) || pointed->Action() == kActionDie) return;
    const std::optional<TPointer> pointer = PointerTo(*pointed, {map.ViewX(), map.ViewY()});
    if (!pointer) return;
    const int32_t row = pointed == fighters[0] ? 0 : 1;
    const TFighterTag tag = FighterTag(row, *pointed);
    DrawPointerShape(static_cast<float>(pointer->X), static_cast<float>(pointer->Y), pointer->Dx, pointer->Dy,
                     kOutline);
    DrawPointerShape(static_cast<float>(pointer->X) - pointer->Dx * 2, static_cast<float>(pointer->Y) - pointer->Dy * 2,
                     pointer->Dx, pointer->Dy, tag.Color);
    // The label stands behind the pointer, towards the screen's middle.
    const int32_t width = static_cast<int32_t>(tag.Text.size()) * kGlyphAdvance - kDot;
    const auto labelX = static_cast<int32_t>(static_cast<float>(pointer->X) - pointer->Dx * (kPointerLength + 14)) - width / 2;
    const auto labelY =
        static_cast<int32_t>(static_cast<float>(pointer->Y) - pointer->Dy * (kPointerLength + 12)) - kGlyphHeight / 2;
    DrawTagText(labelX, labelY, tag.Text, tag.Color);
}
