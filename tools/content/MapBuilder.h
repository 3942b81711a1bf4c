// Maps are kept as a drawing of 31 by 34 tiles plus a list of what stands where, in squares;
// this turns one into the game's map file, choosing every shore frame from the water around.
#pragma once

#include <string>

namespace content {

// Reads the source text and returns the map file's text. Throws std::runtime_error naming
// the line for anything the game could not show: an unknown tile or thing, a shore shape
// the water ground has no frame for, a position the field would clamp.
[[nodiscard]] std::string BuildMap(const std::string& sourceText);

} // namespace content
