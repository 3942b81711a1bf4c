// INI profile files with the Windows profile-file rules the game's data and settings rely on.
// Reads come from the file as it was when the object was made (plus this object's writes);
// every write goes through to the file at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One key to write with TIniFile::WriteAll.
struct TIniWrite {
    std::string Section;
    std::string Key;
    std::string Value;
};

class TIniFile {
public:
    // A game path: backslashes and any letter case are accepted. A missing file reads as empty.
    explicit TIniFile(std::string_view fileName);

    // Sections and keys compare without case; the first matching section and key win;
    // a missing file, section or key gives the default.
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;
    // Decimal or "$" hexadecimal with an optional sign; anything else gives the default.
    [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key,
                                      int32_t defaultValue) const;
    // Replace or add the key (and the section when missing), keeping every other line, and
    // write the file through a temporary file and a rename so an interrupted write cannot
    // leave it truncated. False when the file could not be written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
    // Several keys in order, with the file written once at the end.
    bool WriteAll(const std::vector<TIniWrite>& writes);

    [[nodiscard]] bool SectionExists(std::string_view section) const;
    // The key names of the first matching section, in file order.
    [[nodiscard]] std::vector<std::string> ReadSection(std::string_view section) const;

    [[nodiscard]] const std::string& FileName() const { return Path; }

private:
    [[nodiscard]] std::optional<size_t> FindSection(std::string_view section) const;
    [[nodiscard]] std::optional<size_t> FindKey(size_t sectionLine, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool Save() const;

    std::string Path;
    std::vector<std::string> Lines;
    std::string LineEnd = "\n";
};

// Integer text as the profile reader converts it: decimal or "$" hexadecimal, optional sign,
// surrounding blanks ignored. nullopt when it does not convert or does not fit 32 bits
// (hexadecimal up to $FFFFFFFF is taken as the bit pattern, as the original tools wrote it).
[[nodiscard]] std::optional<int32_t> ParseProfileInteger(std::string_view text);
