// Checks for names a peer sends that the game turns into file paths (a weapon name becomes
// "data\<name>.wpn", a map path is opened as it stands): only plain names may pass, so a
// peer can never make us open a file outside the game's folders.
#pragma once

#include <string_view>

// A non-empty name of printable ASCII characters without "/", "\", ":" (drive letters) or "..".
[[nodiscard]] bool IsPlainName(std::string_view name);
// A plain name, optionally after a leading "Maps\" (in any letter case).
[[nodiscard]] bool IsPlainMapPath(std::string_view path);
