// Plain-name checks for names that arrive from the network.
#include "net/PeerNames.h"

#include <algorithm>
#include <cctype>

bool IsPlainName(std::string_view name) {
    if (name.empty() || name.find("..") != std::string_view::npos) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 0x20 && code < 0x7F && c != '/' && c != '\\' && c != ':';
    });
}

bool IsPlainMapPath(std::string_view path) {
    constexpr std::string_view kMapsFolder = "maps\\";
    if (path.size() > kMapsFolder.size() &&
        std::equal(kMapsFolder.begin(), kMapsFolder.end(), path.begin(),
                   [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
        path.remove_prefix(kMapsFolder.size());
    return IsPlainName(path);
}
