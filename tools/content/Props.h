// Buildings of the field: the tree sheet (128 by 128 cells) and the ruin sheet (196 by 196),
// drawn so that each frame's base sits on the footprint its building file blocks.
#pragma once

#include "Canvas.h"

namespace content {

inline constexpr TKey kTreesKey{115, 109, 181};
inline constexpr TKey kRuinsKey{156, 109, 66};
inline constexpr int kTreeFrames = 8;
inline constexpr int kRuinFrames = 4;

[[nodiscard]] TCanvas DrawTrees();
[[nodiscard]] TCanvas DrawRuins();

} // namespace content
