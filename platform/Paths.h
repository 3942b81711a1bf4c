// Game paths on a case-sensitive file system: backslashes, any letter case, wildcard
// listings, and the executable's own folder and name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// "Maps\Default.map" -> "maps/default.map" when that is what exists: "\" becomes "/" and each
// component that does not exist as written is matched without regard to case. Components
// that match nothing are kept as written, so a file about to be created keeps its name.
[[nodiscard]] std::string ResolvePath(std::string_view gamePath);

// "data\*.plr" -> the bare names of the regular files matching the last component ("*" and
// "?", without regard to case), sorted by name without regard to case.
[[nodiscard]] std::vector<std::string> ListFiles(std::string_view pattern);

// The folder holding the running executable, with a trailing "/".
[[nodiscard]] std::string ExecutableFolder();

// The executable's file name without its folder ("duelmark").
[[nodiscard]] std::string ExecutableFileName();

// The executable's file name without its extension ("duelmark", "game" for "game.exe").
[[nodiscard]] std::string ExecutableStem();

// Case-insensitive ASCII comparisons shared by the INI reader and the path resolver.
[[nodiscard]] bool SameTextNoCase(std::string_view a, std::string_view b);
[[nodiscard]] bool LessTextNoCase(std::string_view a, std::string_view b);
// A hash that agrees with SameTextNoCase: texts equal without case hash alike.
[[nodiscard]] size_t HashTextNoCase(std::string_view text);
