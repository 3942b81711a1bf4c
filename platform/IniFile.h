// INI profile files with the Windows profile-file rules the game's data and settings rely on.
// The file is read once into an index of its sections and keys, so a lookup costs the same
// however long the file is; reads see the file as it was when the object was made (plus this
// object's writes), and every write goes through to the file at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// One key to write with TIniFile::WriteAll.
struct TIniWrite {
    std::string Section;
    std::string Key;
    std::string Value;
};

// The values an integer from a data file is kept to, so that the arithmetic it feeds cannot
// overflow. Each range is defined beside the code that uses its values, with its reason.
struct TIntRange {
    int32_t Min;
    int32_t Max;
};

// Files larger than this are refused: they read as missing, are reported once (see
// ReportProblem) and are never written. The game's own data files are a few kilobytes and a
// map of 20,000 entries about 1 MB; the cap keeps a broken file from taking the memory and
// loading time of a file of any size.
constexpr int64_t kMaxIniFileBytes = 16 * 1024 * 1024;

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
    // The rule for every integer of a data file that feeds arithmetic: ReadInteger's value
    // (the default when the key is missing or unreadable), brought to the nearer end of range
    // when it lies outside.
    [[nodiscard]] int32_t ReadClamped(std::string_view section, std::string_view key, int32_t defaultValue,
                                      TIntRange range) const;
    // Replace or add the key (and the section when missing), keeping every other line, and
    // write the file through a temporary file and a rename so an interrupted write cannot
    // leave it truncated. False when the file could not be written or was refused.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);
    // Several keys in order, with the file written once at the end.
    bool WriteAll(const std::vector<TIniWrite>& writes);

    [[nodiscard]] bool SectionExists(std::string_view section) const;
    // The key names of the first matching section, in file order.
    [[nodiscard]] std::vector<std::string> ReadSection(std::string_view section) const;

    [[nodiscard]] const std::string& FileName() const { return Path; }
    // The file was larger than kMaxIniFileBytes: it reads as missing and writes leave it alone.
    [[nodiscard]] bool Refused() const { return RefusedFile; }

private:
    // Hashing and comparing names without case, straight on views, so a lookup copies nothing.
    struct TNoCaseHash {
        using is_transparent = void;
        size_t operator()(std::string_view text) const;
    };
    struct TNoCaseEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using TNameIndex = std::unordered_map<std::string_view, size_t, TNoCaseHash, TNoCaseEqual>;

    // The first section of a name: where its header stands and its key lines. A later section
    // of the same name is never read, as with the profile functions.
    struct TSection {
        size_t HeaderLine = 0;
        std::vector<size_t> KeyLines; // every key line in file order, duplicates included
        TNameIndex Keys;              // key name -> its first line
    };

    // Names are views into Lines, so the index is built again after every change to Lines.
    void BuildIndex();
    [[nodiscard]] const TSection* FindSection(std::string_view section) const;
    [[nodiscard]] std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;
    void Set(std::string_view section, std::string_view key, std::string_view value);
    bool Save() const;

    std::string Path;
    std::vector<std::string> Lines;
    std::string LineEnd = "\n";
    bool RefusedFile = false;
    std::vector<TSection> Sections;
    TNameIndex SectionIndex; // section name -> position in Sections
};

// Integer text as the profile reader converts it: decimal or "$" hexadecimal, optional sign,
// surrounding blanks ignored. nullopt when it does not convert or does not fit 32 bits
// (hexadecimal up to $FFFFFFFF is taken as the bit pattern, as the original tools wrote it).
[[nodiscard]] std::optional<int32_t> ParseProfileInteger(std::string_view text);

// Removes what interrupted writes of fileName left behind: files in its folder named exactly
// like its temporary files (the file name, ".tmp" and a process number) whose process no
// longer runs. Files of a running process, this one included, are left alone.
void RemoveStaleTemporaries(std::string_view fileName);
