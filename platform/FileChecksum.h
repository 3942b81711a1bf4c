// Checksums of files, so two machines can tell whether they hold the same data files before
// they play with them. CRC-32 (the polynomial of zip and PNG): quick, and any one changed byte
// changes it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

class TChecksum {
public:
    void Add(std::span<const uint8_t> bytes);
    void Add(std::string_view text);
    // The file's name and bytes, or its name and a mark for a missing file, so that files
    // moving between names or going missing change the sum too. A game path (backslashes,
    // any letter case). False when the file cannot be read.
    bool AddFile(std::string_view gamePath);
    [[nodiscard]] uint32_t Value() const { return ~State; }

private:
    uint32_t State = 0xFFFFFFFFu;
};
