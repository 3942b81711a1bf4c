// The library's optional start-up file: "<executable stem>.cfg" in the settings folder, plain
// name=value lines without sections. Every reader opens it anew; nothing is cached.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The executable's name without its extension: "duelmark" and "game" for "game.exe". A name
// without a dot stays whole (blindly dropping four characters would turn "duelmark" into "duel").
[[nodiscard]] std::string NameStem(std::string_view exeName);

// appPath (with its trailing "/") + stem + ".cfg".
[[nodiscard]] std::string StartupFileName(std::string_view appPath, std::string_view exeName);

// The value of the first line whose name equals key without regard to case; "" when the
// key is missing; nullopt when the file cannot be read, is no regular file or is larger than
// any INI file may be (kMaxIniFileBytes).
[[nodiscard]] std::optional<std::string> ReadStartupValue(std::string_view appPath, std::string_view exeName,
                                                          std::string_view key);
