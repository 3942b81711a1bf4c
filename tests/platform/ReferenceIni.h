// The INI reader as it was before the index: every lookup scans the lines from the top. Kept
// as the reference the indexed reader is compared against (in the tests and the fuzz target),
// so any difference in what a file reads as, or in what a write leaves, shows.
#pragma once

#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TReferenceIni {
public:
    explicit TReferenceIni(std::string_view text) {
        if (text.find("\r\n") != std::string_view::npos) LineEnd = "\r\n";
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string_view::npos) end = text.size();
            std::string line(text.substr(start, end - start));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Lines.push_back(std::move(line));
            start = end + 1;
        }
    }

    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const {
        const auto sectionLine = FindSection(section);
        if (!sectionLine) return std::string(defaultValue);
        const auto keyLine = FindKey(*sectionLine, key);
        if (!keyLine) return std::string(defaultValue);
        return std::string(KeyValue(Lines[*keyLine]));
    }
    [[nodiscard]] int32_t ReadInteger(std::string_view section, std::string_view key,
                                      int32_t defaultValue) const {
        const auto sectionLine = FindSection(section);
        if (!sectionLine) return defaultValue;
        const auto keyLine = FindKey(*sectionLine, key);
        if (!keyLine) return defaultValue;
        return ParseProfileInteger(KeyValue(Lines[*keyLine])).value_or(defaultValue);
    }
    [[nodiscard]] bool SectionExists(std::string_view section) const {
        return FindSection(section).has_value();
    }
    [[nodiscard]] std::vector<std::string> ReadSection(std::string_view section) const {
        std::vector<std::string> keys;
        const auto sectionLine = FindSection(section);
        if (!sectionLine) return keys;
        for (size_t i = *sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i)
            if (const auto name = KeyName(Lines[i])) keys.emplace_back(*name);
        return keys;
    }

    void Set(std::string_view section, std::string_view key, std::string_view rawValue) {
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
            const std::string existing = std::string(*KeyName(Lines[*keyLine]));
            Lines[*keyLine] = existing + "=" + value;
            return;
        }
        size_t insertAt = *sectionLine + 1;
        for (size_t i = *sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i)
            if (!Trim(Lines[i]).empty()) insertAt = i + 1;
        Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    }

    // The file as a write leaves it.
    [[nodiscard]] std::string Text() const {
        std::string text;
        for (const std::string& line : Lines)
            text.append(line).append(LineEnd);
        return text;
    }

private:
    static std::string_view Trim(std::string_view text) {
        const size_t first = text.find_first_not_of(" \t\r\n");
        if (first == std::string_view::npos) return {};
        const size_t last = text.find_last_not_of(" \t\r\n");
        return text.substr(first, last - first + 1);
    }
    static std::optional<std::string_view> SectionName(std::string_view line) {
        const std::string_view text = Trim(line);
        if (text.size() < 2 || text.front() != '[') return std::nullopt;
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        return Trim(text.substr(1, close - 1));
    }
    static std::optional<std::string_view> KeyName(std::string_view line) {
        const std::string_view trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == ';') return std::nullopt;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) return std::nullopt;
        return key;
    }
    static std::string_view KeyValue(std::string_view line) {
        std::string_view value = Trim(line.substr(line.find('=') + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    [[nodiscard]] std::optional<size_t> FindSection(std::string_view section) const {
        for (size_t i = 0; i < Lines.size(); ++i) {
            const auto name = SectionName(Lines[i]);
            if (name && SameTextNoCase(*name, Trim(section))) return i;
        }
        return std::nullopt;
    }
    [[nodiscard]] std::optional<size_t> FindKey(size_t sectionLine, std::string_view key) const {
        for (size_t i = sectionLine + 1; i < Lines.size() && !SectionName(Lines[i]); ++i) {
            const auto name = KeyName(Lines[i]);
            if (name && SameTextNoCase(*name, Trim(key))) return i;
        }
        return std::nullopt;
    }

    std::vector<std::string> Lines;
    std::string LineEnd = "\n";
};
