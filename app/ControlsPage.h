// The help screen's last page: both players' keys as the key sets bind them, what the items do
// and how a match is won.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A key as the page names it ("Up", "Space", "Left ctrl"); "none" for an unbound key.
[[nodiscard]] std::string KeyLabel(int32_t key);

// The page's lines, top to bottom.
[[nodiscard]] std::vector<std::string> ControlsPageLines();
