// Ground tiles of 64 by 48 pixels: grass, earth, and the water ground whose shore frames
// are chosen by which of a tile's eight neighbours are water.
#pragma once

#include "Canvas.h"

#include <array>
#include <cstdint>

namespace content {

inline constexpr int kTileW = 64, kTileH = 48;
inline constexpr int kWaterFrames = 32;
inline constexpr int kOpenWater = 22, kOpenWaterAlt = 23;

// Neighbour bits of a land tile next to water.
enum : uint8_t { kN = 1, kE = 2, kS = 4, kW = 8, kNE = 16, kSE = 32, kSW = 64, kNW = 128 };

// Drops the corner bits that change nothing because a side next to them is water already.
[[nodiscard]] uint8_t CanonicalShore(uint8_t neighbours);
// The water-ground frame that shows a land tile with these water neighbours, or -1 when the
// set has none (the map must then be reshaped). Neighbours 0 is frame 0, plain grass.
[[nodiscard]] int ShoreFrame(uint8_t neighbours);
// The brown-ground frame of a grass tile whose earth neighbours lap over its edges, or -1.
[[nodiscard]] int VergeFrame(uint8_t neighbours);

[[nodiscard]] TCanvas DrawPlainGround();
[[nodiscard]] TCanvas DrawBrownGround();
[[nodiscard]] TCanvas DrawWaterGround();

inline constexpr int kPlainFrames = 8;
inline constexpr int kBrownFrames = 8; // bare earth; the verges of grass follow them

} // namespace content
