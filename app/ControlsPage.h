// The help screen's last page: both players' keys as they are bound, what the items do
// and how a match is won.
#pragma once

#include <string>
#include <vector>

// The page's lines, top to bottom.
[[nodiscard]] std::vector<std::string> ControlsPageLines();
