// What the match screen draws over the field once the items are drawn: each fighter's player
// tag over its health bar, the health a wound took rising above it, the name of an item it took,
// a drowning's splash, and the pointer to the other fighter when that one is out of view.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

class TBaseMap;
class TBasePlayer;

struct TTagColor {
    uint8_t Red, Green, Blue;
};

// The tag over a fighter of player row 0 or 1: "P1" or "P2", "CPU" for the computer's fighter,
// in the player's colour.
struct TFighterTag {
    std::string_view Text;
    TTagColor Color;
};
[[nodiscard]] TFighterTag FighterTag(int32_t row, const TBasePlayer& fighter);

// How long each piece of feedback stays, in ms of the game's clock.
constexpr uint32_t kHurtNumberMs = 900;
constexpr uint32_t kTakenNameMs = 1000;
constexpr uint32_t kSplashMs = 600;

// Draws everything above for the fighters by player row, at the map's camera; pointed (may be
// nullptr) is the fighter the pointer shows when it is out of view.
void DrawMatchOverlay(const TBaseMap& map, const std::array<TBasePlayer*, 2>& fighters,
                      const TBasePlayer* pointed);

// Draws text in the overlay's own blocky figures ("0".."9", "-", "P", "C", "U"; anything
// else leaves a gap) with its top-left corner at screen (x, y), two pixels a dot, outlined
// dark; returns its width.
int32_t DrawTagText(int32_t x, int32_t y, std::string_view text, TTagColor color);
