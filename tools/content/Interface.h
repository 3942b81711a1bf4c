// Screen furniture: the two status panels, the health bar frames, the setup screen's check
// box and arrows, the drowning splash and the four menu backgrounds.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

namespace content {

inline constexpr int kPanelW = 200, kPanelH = 96;

[[nodiscard]] TCanvas DrawPlayerBox(bool local);
[[nodiscard]] TCanvas DrawPlayerLife();
[[nodiscard]] TCanvas DrawCheckBox();
// A fighter falling into water: four frames of 64 by 48 side by side, keyed on black.
[[nodiscard]] TCanvas DrawSplash();
[[nodiscard]] std::vector<std::string> BackgroundNames();
[[nodiscard]] TCanvas DrawBackground(const std::string& name);

} // namespace content
