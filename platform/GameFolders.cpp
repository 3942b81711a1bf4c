// The data, settings and log folders, and entering the data folder at start.
#include "platform/GameFolders.h"

#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Where an installed game's data lies, relative to the folder of its executable
// (prefix/games/duelmark -> prefix/share/games/duelmark).
constexpr std::string_view kInstalledDataFolder = "../share/games/duelmark";
constexpr std::string_view kGameFolderName = "duelmark";

std::string WithSlash(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// An XDG base folder: the variable when it holds an absolute path, else home + fallback.
std::optional<fs::path> BaseFolder(const TEnvironment& environment, std::string_view variable,
                                   std::string_view homeFallback) {
    if (const auto value = environment(variable); value && !value->empty() && value->front() == '/')
        return fs::path(*value);
    if (const auto home = environment("HOME"); home && !home->empty() && home->front() == '/')
        return fs::path(*home) / homeFallback;
    return std::nullopt;
}

std::string UserFolder(const std::string& exeFolder, const TEnvironment& environment,
                       std::string_view variable, std::string_view homeFallback) {
    const auto base = BaseFolder(environment, variable, homeFallback);
    return base ? WithSlash(*base / kGameFolderName) : exeFolder;
}

std::string Created(const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

} // namespace

TGameFolders LocateGameFolders(const std::string& exeFolder, bool exeFolderWritable,
                               const TEnvironment& environment) {
    TGameFolders folders;
    const fs::path exe(exeFolder);
    if (!IsFolder(exe / "data") && IsFolder(exe / kInstalledDataFolder))
        folders.Data = WithSlash(exe / kInstalledDataFolder);
    else
        folders.Data = exeFolder;
    if (exeFolderWritable) {
        folders.Settings = exeFolder;
        folders.Log = exeFolder;
    } else {
        folders.Settings = UserFolder(exeFolder, environment, "XDG_CONFIG_HOME", ".config");
        folders.Log = UserFolder(exeFolder, environment, "XDG_STATE_HOME", ".local/state");
    }
    return folders;
}

bool MayWriteExecutableFolder(const std::string& exeFolder) {
    // /usr holds what the package manager installed and is not written at run time, not even
    // by root, whose settings then go to root's home like anyone's. access() also answers for a
    // read-only mount, which the permission bits do not show.
    return !exeFolder.starts_with("/usr/") && access(exeFolder.c_str(), W_OK) == 0;
}

const TGameFolders& GameFolders() {
    static const TGameFolders folders = [] {
        const std::string exeFolder = ExecutableFolder();
        return LocateGameFolders(exeFolder, MayWriteExecutableFolder(exeFolder), [](std::string_view name) {
            const char* value = std::getenv(std::string(name).c_str());
            return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
        });
    }();
    return folders;
}

std::string DataFolder() {
    return GameFolders().Data;
}

std::string SettingsFolder() {
    return Created(GameFolders().Settings);
}

std::string LogFolder() {
    return Created(GameFolders().Log);
}

bool EnterDataFolder() {
    std::error_code error;
    fs::current_path(DataFolder(), error);
    return !error;
}
