// The strings group: conversions between numbers and text, and the position-based routines
// with Pascal's clamping rules.
#include "script/BuiltinsStrings.h"

#include "script/BuiltinsError.h"
#include "script/Runtime.h"
#include "script/Variant.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace Builtin {

namespace {

static_assert(kMaxStringLength == static_cast<int64_t>(::kMaxStringLength),
              "the routines and the language's string building share one limit");

void CheckLength(int64_t length) {
    if (length > kMaxStringLength)
        ThrowRangeError("String too long (more than " + std::to_string(kMaxStringLength) + " characters)");
}

bool IsBlank(unsigned char c) noexcept {
    return c <= ' ';
}

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

int HexValue(char c) noexcept {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses the whole text or returns false; never throws.
bool ParseInteger(std::string_view str, int64_t& value) noexcept {
    size_t i = 0;
    while (i < str.size() && str[i] == ' ')
        ++i;
    bool negative = false;
    if (i < str.size() && (str[i] == '+' || str[i] == '-')) negative = str[i++] == '-';
    uint64_t magnitude = 0;
    if (i < str.size() && (str[i] == '$' || (str[i] == '0' && i + 1 < str.size() &&
                                             (str[i + 1] == 'x' || str[i + 1] == 'X')))) {
        i += str[i] == '$' ? 1 : 2;
        // Up to 16 digits, so "$FFFFFFFFFFFFFFFF" is -1 as the bits say.
        const size_t start = i;
        for (; i < str.size(); ++i) {
            const int digit = HexValue(str[i]);
            if (digit < 0 || i - start >= 16) return false;
            magnitude = magnitude * 16 + static_cast<uint64_t>(digit);
        }
        if (i == start) return false;
    } else {
        const size_t start = i;
        constexpr uint64_t kLimit = uint64_t{1} << 63;
        for (; i < str.size(); ++i) {
            if (!IsDigit(str[i])) return false;
            const uint64_t digit = static_cast<uint64_t>(str[i] - '0');
            if (magnitude > (kLimit - digit) / 10) return false;
            magnitude = magnitude * 10 + digit;
        }
        if (i == start || (!negative && magnitude == kLimit)) return false;
    }
    value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    return true;
}

// Checks the Pascal float syntax (blanks, sign, digits with at most one ".", an exponent,
// blanks) and converts it; never throws.
bool ParseFloat(std::string_view str, double& value) noexcept {
    size_t begin = 0;
    size_t end = str.size();
    while (begin < end && IsBlank(static_cast<unsigned char>(str[begin])))
        ++begin;
    while (end > begin && IsBlank(static_cast<unsigned char>(str[end - 1])))
        --end;
    std::string_view text = str.substr(begin, end - begin);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    size_t i = 0;
    int64_t integerDigits = 0; // significant digits before the point
    int64_t leadingZeros = 0;  // zeros after the point before the first significant digit
    bool anyDigit = false;
    bool significant = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        anyDigit = true;
        if (text[i] != '0') significant = true;
        if (significant) ++integerDigits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (text[i] != '0') significant = true;
            if (!significant) ++leadingZeros;
        }
    }
    if (!anyDigit) return false;
    int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        const size_t start = i;
        for (; i < text.size() && IsDigit(text[i]); ++i)
            exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), 100000);
        if (i == start) return false;
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return false;
    double parsed = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec == std::errc::result_out_of_range) {
        // Too large is no number a script can hold; too small is zero.
        const int64_t magnitude =
            significant ? exponent + (integerDigits > 0 ? integerDigits : -leadingZeros) : 0;
        if (magnitude > 0) return false;
        parsed = 0.0;
    } else if (ec != std::errc() || ptr != text.data() + text.size()) {
        return false;
    }
    value = negative ? -parsed : parsed;
    return true;
}

char Lower(char c) noexcept {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

char Upper(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Latin-1 puts each accented capital 32 below its small letter, except for the signs at
// 0xD7 and 0xF7; 0xDF and 0xFF have no other case in it.
unsigned char AnsiLower(unsigned char c) noexcept {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    return c;
}

unsigned char AnsiUpper(unsigned char c) noexcept {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    return c;
}

template <typename Map> std::string MapChars(std::string_view str, Map map) {
    std::string result(str);
    for (char& c : result)
        c = static_cast<char>(map(c));
    return result;
}

int Sign(int64_t v) noexcept {
    return (v > 0) - (v < 0);
}

} // namespace

std::string IntToStr(int64_t i) {
    return std::to_string(i);
}

int64_t StrToInt(std::string_view str) {
    int64_t value = 0;
    if (!ParseInteger(str, value))
        ThrowConvertError("'" + std::string(str) + "' is not a valid integer value");
    return value;
}

int64_t StrToIntDef(std::string_view str, int64_t def) noexcept {
    int64_t value = 0;
    return ParseInteger(str, value) ? value : def;
}

std::string IntToHex(int64_t v, int64_t digits) {
    const uint64_t bits =
        v < 0 && v >= INT32_MIN ? uint64_t{static_cast<uint32_t>(v)} : static_cast<uint64_t>(v);
    char text[20];
    const int length = std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(bits));
    if (digits <= length) return text;
    CheckLength(digits);
    return std::string(static_cast<size_t>(digits - length), '0') + text;
}

std::string FloatToStr(double f) {
    return FloatToText(f);
}

double StrToFloat(std::string_view str) {
    double value = 0.0;
    if (!ParseFloat(str, value))
        ThrowConvertError("'" + std::string(str) + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(std::string_view str, double def) noexcept {
    double value = 0.0;
    return ParseFloat(str, value) ? value : def;
}

std::string Chr(int64_t x) {
    if (x < 0 || x > 255) ThrowRangeError("Chr: " + std::to_string(x) + " is not a character code (0..255)");
    return std::string(1, static_cast<char>(x));
}

int64_t Ord(std::string_view s) noexcept {
    return s.empty() ? 0 : static_cast<unsigned char>(s[0]);
}

namespace {

// The same messages as an array index outside its bounds, since a string is indexed alike.
void CheckPosition(std::string_view s, int64_t x) {
    if (x < 1) ThrowRangeError("Lower bound exceeded! Index " + std::to_string(x));
    if (x > static_cast<int64_t>(s.size()))
        ThrowRangeError("Upper bound exceeded! Index " + std::to_string(x));
}

char FirstChar(std::string_view c, std::string_view routine) {
    if (c.empty()) ThrowConvertError(std::string(routine) + ": a character is expected, not an empty string");
    return c[0];
}

} // namespace

std::string CharAt(std::string_view s, int64_t x) {
    CheckPosition(s, x);
    return std::string(1, s[static_cast<size_t>(x - 1)]);
}

void SetCharAt(std::string& s, int64_t x, std::string_view c) {
    CheckPosition(s, x);
    s[static_cast<size_t>(x - 1)] = FirstChar(c, "SetCharAt");
}

void Delete(std::string& s, int64_t index, int64_t len) {
    const auto size = static_cast<int64_t>(s.size());
    if (index < 1 || index > size || len <= 0) return;
    s.erase(static_cast<size_t>(index - 1), static_cast<size_t>(std::min(len, size - index + 1)));
}

void Insert(std::string_view src, std::string& s, int64_t index) {
    CheckLength(static_cast<int64_t>(s.size() + src.size()));
    const auto size = static_cast<int64_t>(s.size());
    const int64_t at = std::clamp<int64_t>(index, 1, size + 1);
    s.insert(static_cast<size_t>(at - 1), src);
}

std::string LowerCase(std::string_view str) {
    return MapChars(str, Lower);
}

std::string UpperCase(std::string_view str) {
    return MapChars(str, Upper);
}

std::string AnsiLowerCase(std::string_view str) {
    return MapChars(str, [](char c) { return AnsiLower(static_cast<unsigned char>(c)); });
}

std::string AnsiUpperCase(std::string_view str) {
    return MapChars(str, [](char c) { return AnsiUpper(static_cast<unsigned char>(c)); });
}

int64_t Pos(std::string_view subStr, std::string_view str) noexcept {
    if (subStr.empty()) return 0;
    const size_t at = str.find(subStr);
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

void SetLength(std::string& s, int64_t newLength) {
    CheckLength(newLength);
    // New characters are blanks, so a lengthened string prints as what it looks like.
    s.resize(static_cast<size_t>(std::max<int64_t>(newLength, 0)), ' ');
}

std::string TrimLeft(std::string_view str) {
    size_t begin = 0;
    while (begin < str.size() && IsBlank(static_cast<unsigned char>(str[begin])))
        ++begin;
    return std::string(str.substr(begin));
}

std::string TrimRight(std::string_view str) {
    size_t end = str.size();
    while (end > 0 && IsBlank(static_cast<unsigned char>(str[end - 1])))
        --end;
    return std::string(str.substr(0, end));
}

std::string Trim(std::string_view str) {
    return TrimLeft(TrimRight(str));
}

int64_t CompareText(std::string_view str1, std::string_view str2) noexcept {
    const size_t common = std::min(str1.size(), str2.size());
    for (size_t i = 0; i < common; ++i) {
        const int a = static_cast<unsigned char>(Upper(str1[i]));
        const int b = static_cast<unsigned char>(Upper(str2[i]));
        if (a != b) return a - b;
    }
    return static_cast<int64_t>(str1.size()) - static_cast<int64_t>(str2.size());
}

int64_t CompareStr(std::string_view str1, std::string_view str2) noexcept {
    const size_t common = std::min(str1.size(), str2.size());
    for (size_t i = 0; i < common; ++i) {
        const int a = static_cast<unsigned char>(str1[i]);
        const int b = static_cast<unsigned char>(str2[i]);
        if (a != b) return a - b;
    }
    return static_cast<int64_t>(str1.size()) - static_cast<int64_t>(str2.size());
}

int64_t AnsiCompareText(std::string_view str1, std::string_view str2) noexcept {
    const size_t common = std::min(str1.size(), str2.size());
    for (size_t i = 0; i < common; ++i) {
        const int a = AnsiLower(static_cast<unsigned char>(str1[i]));
        const int b = AnsiLower(static_cast<unsigned char>(str2[i]));
        if (a != b) return Sign(a - b);
    }
    return Sign(static_cast<int64_t>(str1.size()) - static_cast<int64_t>(str2.size()));
}

int64_t AnsiCompareStr(std::string_view str1, std::string_view str2) noexcept {
    if (const int64_t folded = AnsiCompareText(str1, str2); folded != 0) return folded;
    // Equal but for case: the first difference decides, the small letter first.
    for (size_t i = 0; i < str1.size(); ++i) {
        const int a = static_cast<unsigned char>(str1[i]);
        const int b = static_cast<unsigned char>(str2[i]);
        if (a != b) return Sign(b - a);
    }
    return 0;
}

bool IsDelimiter(std::string_view delims, std::string_view s, int64_t index) noexcept {
    if (index < 1 || index > static_cast<int64_t>(s.size())) return false;
    return delims.find(s[static_cast<size_t>(index - 1)]) != std::string_view::npos;
}

int64_t LastDelimiter(std::string_view delims, std::string_view s) noexcept {
    const size_t at = s.find_last_of(delims);
    return at == std::string_view::npos ? 0 : static_cast<int64_t>(at) + 1;
}

std::string QuotedStr(std::string_view str) {
    std::string result = "'";
    for (const char c : str) {
        result += c;
        if (c == '\'') result += c;
    }
    return result + "'";
}

std::string Copy(std::string_view str, int64_t index, int64_t len) {
    const auto size = static_cast<int64_t>(str.size());
    const int64_t from = std::max<int64_t>(index, 1);
    if (from > size || len <= 0) return {};
    return std::string(
        str.substr(static_cast<size_t>(from - 1), static_cast<size_t>(std::min(len, size - from + 1))));
}

std::string LeftStr(std::string_view text, int64_t count) {
    return Copy(text, 1, count);
}

std::string RightStr(std::string_view text, int64_t count) {
    const auto size = static_cast<int64_t>(text.size());
    if (count <= 0) return {};
    return std::string(text.substr(static_cast<size_t>(size - std::min(count, size))));
}

std::string StringOfChar(std::string_view ch, int64_t count) {
    if (count <= 0) return {};
    CheckLength(count);
    return std::string(static_cast<size_t>(count), FirstChar(ch, "StringOfChar"));
}

} // namespace Builtin
