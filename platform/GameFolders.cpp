// The data folder and entering it at start.
#include "platform/GameFolders.h"

#include "platform/Paths.h"

#include <filesystem>
#include <system_error>

std::string DataFolder() {
    return ExecutableFolder();
}

bool EnterDataFolder() {
    std::error_code error;
    std::filesystem::current_path(DataFolder(), error);
    return !error;
}
