// Reading the start-up file's name=value lines.
#include "media/StartupFile.h"

#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <filesystem>
#include <fstream>

namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string NameStem(std::string_view exeName) {
    const size_t dot = exeName.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::string(exeName);
    return std::string(exeName.substr(0, dot));
}

std::string StartupFileName(std::string_view appPath, std::string_view exeName) {
    return std::string(appPath) + NameStem(exeName) + ".cfg";
}

std::optional<std::string> ReadStartupValue(std::string_view appPath, std::string_view exeName,
                                            std::string_view key) {
    const std::string path = ResolvePath(StartupFileName(appPath, exeName));
    // Only a regular file within the size of any INI file is read: a pipe would wait for a
    // writer at start, and a huge file would be scanned for every key.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > static_cast<uintmax_t>(kMaxIniFileBytes) || error)
        return std::nullopt;
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        if (SameTextNoCase(Trim(std::string_view(line).substr(0, equals)), key))
            return std::string(Trim(std::string_view(line).substr(equals + 1)));
    }
    return std::string();
}
