// INI files read once each while a scope lasts: loading a map reads the same equipment, weapon
// and building files for thousands of entries. Outside every scope nothing is kept, so a file
// changed between two matches is read afresh.
#pragma once

#include "platform/IniFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

class TIniFileCache {
public:
    // Keeps every file read until the outermost scope ends; nested scopes share the files.
    class TScope {
    public:
        explicit TScope(TIniFileCache& cache);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TIniFileCache& Cache;
    };

    // The file of a game path, read at its first use within the outermost scope; valid until
    // that scope ends. Only to be called while a scope is open.
    [[nodiscard]] const TIniFile& Get(const std::string& gamePath);

private:
    int32_t Depth = 0;
    std::unordered_map<std::string, std::unique_ptr<TIniFile>> Files;
};
