// The strings group of the scripts' built-in library as plain functions on C++ strings.
// Strings hold 8-bit characters; positions count from 1 as in Pascal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Builtin {

// No routine builds a string longer than this: a script asking for StringOfChar('x', 2e9)
// gets a run-time error instead of taking the machine's memory. It is the limit of the
// language's own string building, so "+" and the routines stop at the same length.
inline constexpr int64_t kMaxStringLength = int64_t{1} << 28;

[[nodiscard]] std::string IntToStr(int64_t i);
// Decimal with an optional sign, or hexadecimal after "$" or "0x"; leading blanks are skipped.
[[nodiscard]] int64_t StrToInt(std::string_view str);
[[nodiscard]] int64_t StrToIntDef(std::string_view str, int64_t def) noexcept;
// Upper-case hexadecimal, at least digits digits; a negative value that fits 32 bits shows
// as the 32-bit two's complement, as a Pascal Integer would.
[[nodiscard]] std::string IntToHex(int64_t v, int64_t digits);
// Up to 15 significant digits without trailing zeros; "E" notation below 1E-4 and from 1E15.
[[nodiscard]] std::string FloatToStr(double f);
// Blanks around the number are allowed, the decimal separator is ".".
[[nodiscard]] double StrToFloat(std::string_view str);
[[nodiscard]] double StrToFloatDef(std::string_view str, double def) noexcept;

[[nodiscard]] std::string Chr(int64_t x);
// The code of the first character; 0 for the empty string.
[[nodiscard]] int64_t Ord(std::string_view s) noexcept;
[[nodiscard]] std::string CharAt(std::string_view s, int64_t x);
void SetCharAt(std::string& s, int64_t x, std::string_view c);
void Delete(std::string& s, int64_t index, int64_t len);
void Insert(std::string_view src, std::string& s, int64_t index);

[[nodiscard]] std::string LowerCase(std::string_view str);
[[nodiscard]] std::string UpperCase(std::string_view str);
// The scripts' locale is Latin-1: the accented letters change case too.
[[nodiscard]] std::string AnsiLowerCase(std::string_view str);
[[nodiscard]] std::string AnsiUpperCase(std::string_view str);

[[nodiscard]] int64_t Pos(std::string_view subStr, std::string_view str) noexcept;
void SetLength(std::string& s, int64_t newLength);
[[nodiscard]] std::string TrimLeft(std::string_view str);
[[nodiscard]] std::string TrimRight(std::string_view str);
[[nodiscard]] std::string Trim(std::string_view str);

// Differences of the first unequal characters (or of the lengths), as Pascal returns them.
[[nodiscard]] int64_t CompareText(std::string_view str1, std::string_view str2) noexcept;
[[nodiscard]] int64_t CompareStr(std::string_view str1, std::string_view str2) noexcept;
// -1, 0 or 1 in the locale's order: letters alphabetically whatever their case and accent
// of case, and for AnsiCompareStr a lower-case letter before its upper-case form.
[[nodiscard]] int64_t AnsiCompareText(std::string_view str1, std::string_view str2) noexcept;
[[nodiscard]] int64_t AnsiCompareStr(std::string_view str1, std::string_view str2) noexcept;

[[nodiscard]] bool IsDelimiter(std::string_view delims, std::string_view s, int64_t index) noexcept;
[[nodiscard]] int64_t LastDelimiter(std::string_view delims, std::string_view s) noexcept;
[[nodiscard]] std::string QuotedStr(std::string_view str);

// Positions before 1 start at 1 and counts past the end take what is there.
[[nodiscard]] std::string Copy(std::string_view str, int64_t index, int64_t len);
[[nodiscard]] std::string LeftStr(std::string_view text, int64_t count);
[[nodiscard]] std::string RightStr(std::string_view text, int64_t count);
[[nodiscard]] std::string StringOfChar(std::string_view ch, int64_t count);

} // namespace Builtin
