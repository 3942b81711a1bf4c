// Reading and writing INI profile files line by line, so untouched lines survive a write.
#include "platform/IniFile.h"

#include "platform/Paths.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

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

TIniFile::TIniFile(std::string_view fileName) : Path(ResolvePath(fileName)) {
    std::ifstream in(Path, std::ios::binary);
    if (!in) return;
    std::ostringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    if (text.find("\r\n") != std::string::npos) LineEnd = "\r\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Lines.push_back(std::move(line));
        start = end + 1;
    }
}

std::optional<size_t> TIniFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < Lines.size(); ++i) {
        const auto name = SectionName(Lines[i]);
        if (name && SameTextNoCase(*name, Trim(section))) return i;
    }
    return std::nullopt;
}

std::optional<size_t> TIniFile::FindKey(size_t sectionLine, std::string_view key) const {
    for (size_t i = sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i) {
        const auto name = KeyName(Lines[i]);
        if (name && SameTextNoCase(*name, Trim(key))) return i;
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
    const auto sectionLine = FindSection(section);
    if (!sectionLine) return std::string(defaultValue);
    const auto keyLine = FindKey(*sectionLine, key);
    if (!keyLine) return std::string(defaultValue);
    return std::string(KeyValue(Lines[*keyLine]));
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
    const auto sectionLine = FindSection(section);
    if (!sectionLine) return defaultValue;
    const auto keyLine = FindKey(*sectionLine, key);
    if (!keyLine) return defaultValue;
    return ParseProfileInteger(KeyValue(Lines[*keyLine])).value_or(defaultValue);
}

bool TIniFile::SectionExists(std::string_view section) const {
    return FindSection(section).has_value();
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    const auto sectionLine = FindSection(section);
    if (!sectionLine) return keys;
    for (size_t i = *sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i)
        if (const auto name = KeyName(Lines[i])) keys.emplace_back(*name);
    return keys;
}

void TIniFile::Set(std::string_view section, std::string_view key, std::string_view rawValue) {
    // A line break inside a value would start a line of its own and change other keys.
    std::string value(rawValue);
    for (char& c : value)
        if (c == '\r' || c == '\n') c = ' ';
    const std::string line = std::string(Trim(key)) + "=" + value;
    const auto sectionLine = FindSection(section);
    if (!sectionLine) {
        if (!Lines.empty() && !Trim(Lines.back()).empty()) Lines.emplace_back();
        std::string header("[");
        header.append(Trim(section)).append("]");
        Lines.push_back(std::move(header));
        Lines.push_back(line);
        return;
    }
    if (const auto keyLine = FindKey(*sectionLine, key)) {
        // Keep the key as the file spells it; only the value changes.
        const std::string existing = std::string(*KeyName(Lines[*keyLine]));
        Lines[*keyLine] = existing + "=" + value;
        return;
    }
    // A new key goes after the section's last non-blank line, before the gap to the next one.
    size_t insertAt = *sectionLine + 1;
    for (size_t i = *sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i)
        if (!Trim(Lines[i]).empty()) insertAt = i + 1;
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

bool TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    Set(section, key, value);
    return Save();
}

bool TIniFile::WriteAll(const std::vector<TIniWrite>& writes) {
    for (const TIniWrite& write : writes)
        Set(write.Section, write.Key, write.Value);
    return Save();
}

bool TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::Save() const {
    const std::string temporary = Path + ".tmp" + std::to_string(getpid());
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
