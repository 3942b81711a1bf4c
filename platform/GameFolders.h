// Where the game finds its data (images/, sound/, data/ and maps/), decided once here for
// every part of the game that opens data files.
#pragma once

#include <string>

// The folder holding the game's data, with a trailing "/": the executable's own folder.
[[nodiscard]] std::string DataFolder();

// Makes the data folder the working directory, so the game's relative data paths
// ("data\Knight.plr", "maps\Default.map") find their files wherever the game was started
// from. False when the folder could not be entered; the working directory is then unchanged.
[[nodiscard]] bool EnterDataFolder();
