// Where the game finds its data (images/, sound/, data/ and maps/) and where it keeps what it
// writes (the settings file, the start-up file and the log), decided once here for every part
// of the game that opens them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// An environment lookup: the variable's value, or nullopt when it is not set.
using TEnvironment = std::function<std::optional<std::string>(std::string_view name)>;

// The three folders, each with a trailing "/".
struct TGameFolders {
    // images/, sound/, data/ and maps/: never written to unless it is also the executable's own
    // writable folder.
    std::string Data;
    // The settings file and the start-up file.
    std::string Settings;
    // The log.
    std::string Log;
};

// The folders for an executable in exeFolder (with its trailing "/") that the user can or
// cannot write to:
// - data beside the executable when a data/ folder is there, else in
//   exeFolder/../share/games/duelmark/ when that exists (an installed game), else beside it;
// - settings and log beside the executable when that folder is writable (a game folder or a
//   checkout's build), else $XDG_CONFIG_HOME/duelmark/ and $XDG_STATE_HOME/duelmark/
//   (defaults ~/.config/duelmark/ and ~/.local/state/duelmark/), as /usr/games is not
//   writable for its users. A relative XDG value is ignored, as the XDG rules ask. With no
//   home either, the executable's folder is named: nothing can be written then, and the
//   game runs without log and settings.
// Nothing is created here.
[[nodiscard]] TGameFolders LocateGameFolders(const std::string& exeFolder, bool exeFolderWritable,
                                             const TEnvironment& environment);

// Whether the game keeps its settings and log beside an executable in exeFolder: the folder is
// writable (a read-only mount counts as not) and is not under /usr.
[[nodiscard]] bool MayWriteExecutableFolder(const std::string& exeFolder);

// LocateGameFolders for the running executable, MayWriteExecutableFolder and the process
// environment; worked out once.
[[nodiscard]] const TGameFolders& GameFolders();

// The folder holding the game's data, with a trailing "/".
[[nodiscard]] std::string DataFolder();

// The folders of the settings and start-up file and of the log, created when missing (a folder
// that cannot be created is still named: the game runs without log or saved settings).
[[nodiscard]] std::string SettingsFolder();
[[nodiscard]] std::string LogFolder();

// Makes the data folder the working directory, so the game's relative data paths
// ("data\Knight.plr", "maps\Default.map") find their files wherever the game was started
// from. False when the folder could not be entered; the working directory is then unchanged.
[[nodiscard]] bool EnterDataFolder();
