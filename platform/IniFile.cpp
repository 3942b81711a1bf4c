// Reading INI profile files once into an index of sections and keys, and writing them line by
// line, so untouched lines survive a write.
#include "platform/IniFile.h"

#include "platform/Paths.h"
#include "platform/Problems.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// "[Name]" -> "Name"; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.size() < 2 || text.front() != '[') return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    const std::string_view text = Trim(line);
    return !text.empty() && text.front() == ';';
}

// "Key = Value" -> "Key"; nullopt for lines that are no key line.
std::optional<std::string_view> KeyName(std::string_view line) {
    if (IsComment(line)) return std::nullopt;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) return std::nullopt;
    return key;
}

std::string_view KeyValue(std::string_view line) {
    std::string_view value = Trim(line.substr(line.find('=') + 1));
    // Like the profile functions, one pair of enclosing quotes is dropped.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// The temporary file a write goes through; the process number keeps two running games that
// share a folder from writing into each other's.
const std::string kTemporarySuffix = ".tmp";

std::string TemporaryName(const std::string& path) {
    return path + kTemporarySuffix + std::to_string(getpid());
}

enum class TReadResult { Read, Missing, TooLarge };

// The whole file into text, reading at most one byte past the cap.
TReadResult ReadCapped(const std::string& path, std::string& text) {
    std::error_code error;
    // Only regular files are read: a device never ends and opening a pipe waits for a writer.
    if (!fs::is_regular_file(path, error)) return TReadResult::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return TReadResult::Missing;
    const uintmax_t size = fs::file_size(path, error);
    if (error) return TReadResult::Missing;
    if (size > static_cast<uintmax_t>(kMaxIniFileBytes)) return TReadResult::TooLarge;
    // The file may grow between the look and the read: one byte more than it had tells.
    text.resize(static_cast<size_t>(size) + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    return text.size() > static_cast<size_t>(kMaxIniFileBytes) ? TReadResult::TooLarge : TReadResult::Read;
}

} // namespace

std::optional<int32_t> ParseProfileInteger(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool hex = false;
    if (!text.empty() && text.front() == '$') {
        hex = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFULL : (negative ? 0x80000000ULL : 0x7FFFFFFFULL);
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    const uint32_t bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0U - bits : bits);
}

size_t TIniFile::TNoCaseHash::operator()(std::string_view text) const {
    return HashTextNoCase(text);
}

bool TIniFile::TNoCaseEqual::operator()(std::string_view a, std::string_view b) const {
    return SameTextNoCase(a, b);
}

TIniFile::TIniFile(std::string_view fileName) : Path(ResolvePath(fileName)) {
    std::string text;
    const TReadResult read = ReadCapped(Path, text);
    if (read == TReadResult::TooLarge) {
        RefusedFile = true;
        ReportProblem("Refused " + std::string(fileName) + ": larger than " +
                          std::to_string(kMaxIniFileBytes / (1024 * 1024)) + " MB, read as missing",
                      "TIniFile");
        return;
    }
    if (read == TReadResult::Missing) return;
    if (text.find("\r\n") != std::string::npos) LineEnd = "\r\n";
    const std::string_view all(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        std::string_view line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Lines.emplace_back(line);
        start = end + 1;
    }
    BuildIndex();
}

void TIniFile::BuildIndex() {
    Sections.clear();
    SectionIndex.clear();
    // The section whose keys are being collected; none inside a repeated section, whose keys
    // no lookup ever reaches, and before the first section.
    std::optional<size_t> current;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::string_view line = Lines[i];
        if (const auto name = SectionName(line)) {
            const auto [entry, first] = SectionIndex.try_emplace(*name, Sections.size());
            current.reset();
            if (first) {
                current = Sections.size();
                Sections.emplace_back().HeaderLine = i;
            }
            continue;
        }
        if (!current) continue;
        if (const auto key = KeyName(line)) {
            TSection& section = Sections[*current];
            section.KeyLines.push_back(i);
            section.Keys.try_emplace(*key, i);
        }
    }
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view section) const {
    const auto found = SectionIndex.find(Trim(section));
    return found == SectionIndex.end() ? nullptr : &Sections[found->second];
}

std::optional<size_t> TIniFile::FindKey(std::string_view section, std::string_view key) const {
    const TSection* found = FindSection(section);
    if (found == nullptr) return std::nullopt;
    const auto line = found->Keys.find(Trim(key));
    if (line == found->Keys.end()) return std::nullopt;
    return line->second;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const auto line = FindKey(section, key);
    return std::string(line ? KeyValue(Lines[*line]) : defaultValue);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    const auto line = FindKey(section, key);
    if (!line) return defaultValue;
    return ParseProfileInteger(KeyValue(Lines[*line])).value_or(defaultValue);
}

int32_t TIniFile::ReadClamped(std::string_view section, std::string_view key, int32_t defaultValue,
                              TIntRange range) const {
    return std::clamp(ReadInteger(section, key, defaultValue), range.Min, range.Max);
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const TSection* found = FindSection(section);
    if (found == nullptr) return keys;
    keys.reserve(found->KeyLines.size());
    for (const size_t line : found->KeyLines)
        keys.emplace_back(*KeyName(Lines[line]));
    return keys;
}

void TIniFile::Set(std::string_view section, std::string_view key, std::string_view rawValue) {
    // A line break inside a value would start a line of its own and change other keys.
    std::string value(rawValue);
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    const std::string line = std::string(Trim(key)) + "=" + value;
    const TSection* found = FindSection(section);
    if (found == nullptr) {
        if (!Lines.empty() && !Trim(Lines.back()).empty()) Lines.emplace_back();
        std::string header("[");
        header.append(Trim(section)).append("]");
        Lines.push_back(std::move(header));
        Lines.push_back(line);
    } else if (const auto keyLine = FindKey(section, key)) {
        // Keep the key as the file spells it; only the value changes.
        const std::string existing(*KeyName(Lines[*keyLine]));
        Lines[*keyLine] = existing + "=" + value;
    } else {
        // A new key goes after the section's last non-blank line, before the gap to the next one.
        size_t insertAt = found->HeaderLine + 1;
        for (size_t i = found->HeaderLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i)
            if (!Trim(Lines[i]).empty()) insertAt = i + 1;
        Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    }
    BuildIndex();
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (RefusedFile) return false;
    Set(section, key, value);
    return Save();
}

bool TIniFile::WriteAll(const std::vector<TIniWrite>& writes) {
    if (RefusedFile) return false;
    for (const TIniWrite& write : writes)
        Set(write.Section, write.Key, write.Value);
    return Save();
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::Save() const {
    const std::string temporary = TemporaryName(Path);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const std::string& line : Lines)
            out << line << LineEnd;
        out.flush();
        if (!out) {
            out.close();
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), Path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

void RemoveStaleTemporaries(std::string_view fileName) {
    const fs::path path(ResolvePath(fileName));
    const std::string prefix = path.filename().string() + kTemporarySuffix;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        // Only the exact pattern: digits that make a process number, nothing else.
        if (digits.size() > 9 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const auto process = static_cast<pid_t>(std::stol(std::string(digits)));
        // A process that still runs may be writing its settings at this moment.
        if (process > 0 && (kill(process, 0) == 0 || errno != ESRCH)) continue;
        std::error_code removeError;
        fs::remove(it->path(), removeError);
    }
}
