// The game's desktop icon: two crossed blades over a round shield at dusk, drawn at any size.
#pragma once

#include "Canvas.h"

namespace content {

// A square picture size by size pixels with a transparent surround.
[[nodiscard]] TCanvas DrawIcon(int size);

} // namespace content
