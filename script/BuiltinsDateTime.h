// The date and time group of the scripts' built-in library as plain functions. A DateTime is
// a double: whole days since 1899-12-30, the time of day as the fraction. Before that day the
// whole part counts back and the fraction still counts forward from midnight, so -1.25 is
// 1899-12-29 06:00. The scripts' locale writes dates as "yyyy/mm/dd" and times as "hh:nn:ss".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Builtin {

struct TDateParts {
    int64_t Year = 0;
    int64_t Month = 0;
    int64_t Day = 0;
};

struct TTimeParts {
    int64_t Hour = 0;
    int64_t Minute = 0;
    int64_t Second = 0;
    int64_t MSec = 0;
};

[[nodiscard]] double Now();
[[nodiscard]] double Date();
[[nodiscard]] double Time();

[[nodiscard]] std::string DateTimeToStr(double dt);
[[nodiscard]] std::string DateToStr(double dt);
[[nodiscard]] std::string TimeToStr(double dt);
[[nodiscard]] double StrToDateTime(std::string_view str);
[[nodiscard]] double StrToDate(std::string_view str);
[[nodiscard]] double StrToTime(std::string_view str);

// 1 = Sunday .. 7 = Saturday.
[[nodiscard]] int64_t DayOfWeek(double dt);
// Picture letters: yyyy yy m mm mmm mmmm d dd ddd dddd ddddd dddddd h hh n nn s ss z zzz
// t tt c am/pm a/p ampm, "/" and ":" for the locale's separators, '...' and "..." literals.
[[nodiscard]] std::string FormatDateTime(std::string_view frm, double dt);
[[nodiscard]] bool IsLeapYear(int64_t year) noexcept;
// Keeps the time of day; a day past the new month's end becomes its last day.
[[nodiscard]] double IncMonth(double dt, int64_t nb);
// Years 1 to 9999; anything else raises instead of giving a nonsense date.
[[nodiscard]] TDateParts DecodeDate(double dt);
[[nodiscard]] double EncodeDate(int64_t y, int64_t m, int64_t d);
[[nodiscard]] TTimeParts DecodeTime(double dt);
[[nodiscard]] double EncodeTime(int64_t h, int64_t m, int64_t s, int64_t ms);

} // namespace Builtin
