// The date and time group: the proleptic Gregorian calendar over day numbers, the format
// picture and the scripts' date and time texts.
#include "script/BuiltinsDateTime.h"

#include "script/BuiltinsError.h"
#include "script/BuiltinsStrings.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <ctime>

namespace Builtin {

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day numbers of 0001-01-01 and 9999-12-31: the calendar the routines accept.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;
// 1899-12-30 counted from 1970-01-01.
constexpr int64_t kEpochOffset = 25569;

constexpr std::string_view kShortDateFormat = "yyyy/mm/dd";
constexpr std::string_view kLongDateFormat = "dddd, mmmm d, yyyy";
constexpr std::string_view kShortTimeFormat = "hh:nn";
constexpr std::string_view kLongTimeFormat = "hh:nn:ss";
constexpr char kDateSeparator = '/';
constexpr char kTimeSeparator = ':';

constexpr std::array<std::string_view, 12> kShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 12> kLongMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 7> kLongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                           "Thursday", "Friday", "Saturday"};

int64_t DaysInMonth(int64_t y, int64_t m) noexcept {
    constexpr std::array<int64_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[static_cast<size_t>(m - 1)];
}

bool ValidDate(int64_t y, int64_t m, int64_t d) noexcept {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

// Howard Hinnant's civil-calendar algorithms, shifted to count from 1899-12-30.
int64_t DayNumber(int64_t y, int64_t m, int64_t d) noexcept {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468 + kEpochOffset;
}

TDateParts CivilDate(int64_t dayNumber) noexcept {
    const int64_t z = dayNumber - kEpochOffset + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t dayOfEra = z - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t d = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    return {yearOfEra + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// A DateTime taken apart: its day number and the milliseconds since that day's midnight.
struct TStamp {
    int64_t Day = 0;
    int64_t MsOfDay = 0;
    TDateParts Date;
    TTimeParts Time;
};

TStamp Split(double dt) {
    if (!(dt > static_cast<double>(kFirstDay - 1) && dt < static_cast<double>(kLastDay + 1)))
        ThrowConvertError("DateTime value " + FloatToStr(dt) + " is outside the years 1 to 9999");
    TStamp stamp;
    stamp.Day = static_cast<int64_t>(std::trunc(dt));
    stamp.MsOfDay = std::llround(std::fabs(dt - std::trunc(dt)) * kMsPerDay);
    // 23:59:59.9996 rounds to the next midnight, which belongs to the next day.
    if (stamp.MsOfDay >= kMsPerDay) {
        stamp.MsOfDay -= kMsPerDay;
        stamp.Day += dt < 0 ? -1 : 1;
        if (stamp.Day > kLastDay || stamp.Day < kFirstDay)
            ThrowConvertError("DateTime value " + FloatToStr(dt) + " is outside the years 1 to 9999");
    }
    stamp.Date = CivilDate(stamp.Day);
    stamp.Time = {stamp.MsOfDay / 3600000, stamp.MsOfDay / 60000 % 60, stamp.MsOfDay / 1000 % 60,
                  stamp.MsOfDay % 1000};
    return stamp;
}

// Puts a day number and a time of day back together under the same sign rule as Split.
double Combine(int64_t day, double timeOfDay) noexcept {
    return day < 0 ? static_cast<double>(day) - timeOfDay : static_cast<double>(day) + timeOfDay;
}

int64_t WeekDay(int64_t day) noexcept {
    // Day 0, 1899-12-30, was a Saturday.
    return ((day + 6) % 7 + 7) % 7 + 1;
}

void AppendNumber(std::string& out, int64_t value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) out.append(static_cast<size_t>(width) - digits.size(), '0');
    out += digits;
}

char UpperAscii(char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view prefix) noexcept {
    if (text.size() - at < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (UpperAscii(text[at + i]) != prefix[i]) return false;
    return true;
}

// Whether an am/pm marker follows, outside quotes: it makes the hours before it 12-hour ones.
bool AmPmFollows(std::string_view frm, size_t from) noexcept {
    for (size_t i = from; i < frm.size(); ++i) {
        if (frm[i] == '\'' || frm[i] == '"') {
            const size_t close = frm.find(frm[i], i + 1);
            if (close == std::string_view::npos) return false;
            i = close;
        } else if (StartsWithNoCase(frm, i, "AM/PM") || StartsWithNoCase(frm, i, "A/P") ||
                   StartsWithNoCase(frm, i, "AMPM")) {
            return true;
        }
    }
    return false;
}

void AppendFormat(std::string& out, std::string_view frm, const TStamp& st) {
    char lastLetter = 0;
    bool twelveHour = false;
    size_t i = 0;
    while (i < frm.size()) {
        const char starter = frm[i];
        char token = UpperAscii(starter);
        if (token >= 'A' && token <= 'Z') {
            // "m" straight after an hour (separators between do not count) means minutes.
            if (token == 'M' && lastLetter == 'H') token = 'N';
            lastLetter = token;
        }
        size_t count = 1;
        while (i + count < frm.size() && frm[i + count] == starter)
            ++count;
        switch (token) {
        case 'Y':
            if (count <= 2)
                AppendNumber(out, st.Date.Year % 100, 2);
            else
                AppendNumber(out, st.Date.Year, 4);
            break;
        case 'M':
            if (count <= 2)
                AppendNumber(out, st.Date.Month, static_cast<int>(count));
            else if (count == 3)
                out += kShortMonthNames[static_cast<size_t>(st.Date.Month - 1)];
            else
                out += kLongMonthNames[static_cast<size_t>(st.Date.Month - 1)];
            break;
        case 'D':
            if (count <= 2)
                AppendNumber(out, st.Date.Day, static_cast<int>(count));
            else if (count == 3)
                out += kShortDayNames[static_cast<size_t>(WeekDay(st.Day) - 1)];
            else if (count == 4)
                out += kLongDayNames[static_cast<size_t>(WeekDay(st.Day) - 1)];
            else if (count == 5)
                AppendFormat(out, kShortDateFormat, st);
            else
                AppendFormat(out, kLongDateFormat, st);
            break;
        case 'H': {
            twelveHour = AmPmFollows(frm, i + count);
            int64_t hour = st.Time.Hour;
            if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
            AppendNumber(out, hour, count == 1 ? 1 : 2);
            break;
        }
        case 'N':
            AppendNumber(out, st.Time.Minute, count == 1 ? 1 : 2);
            break;
        case 'S':
            AppendNumber(out, st.Time.Second, count == 1 ? 1 : 2);
            break;
        case 'Z':
            AppendNumber(out, st.Time.MSec, count == 1 ? 1 : 3);
            break;
        case 'T':
            AppendFormat(out, count == 1 ? kShortTimeFormat : kLongTimeFormat, st);
            break;
        case 'C':
            AppendFormat(out, kShortDateFormat, st);
            if (st.MsOfDay != 0) {
                out += ' ';
                AppendFormat(out, kLongTimeFormat, st);
            }
            break;
        case 'A': {
            const bool pm = st.Time.Hour >= 12;
            count = 1;
            if (StartsWithNoCase(frm, i, "AM/PM")) {
                out += frm.substr(pm ? i + 3 : i, 2);
                count = 5;
            } else if (StartsWithNoCase(frm, i, "A/P")) {
                out += frm[pm ? i + 2 : i];
                count = 3;
            } else if (StartsWithNoCase(frm, i, "AMPM")) {
                out += pm ? "PM" : "AM";
                count = 4;
            } else {
                out += starter;
            }
            break;
        }
        case '/':
            out += kDateSeparator;
            count = 1;
            break;
        case ':':
            out += kTimeSeparator;
            count = 1;
            break;
        case '\'':
        case '"': {
            // An unclosed quote runs to the end of the picture.
            const size_t close = frm.find(starter, i + 1);
            const size_t end = close == std::string_view::npos ? frm.size() : close;
            out += frm.substr(i + 1, end - i - 1);
            count = (close == std::string_view::npos ? end : end + 1) - i;
            break;
        }
        default:
            out += frm.substr(i, count);
            break;
        }
        i += count;
    }
}

// A small cursor over a date or time text; every reader returns false on a mismatch.
struct TScanner {
    std::string_view Text;
    size_t At = 0;

    void SkipBlanks() noexcept {
        while (At < Text.size() && Text[At] == ' ')
            ++At;
    }
    bool Number(int64_t& value, size_t& digits) noexcept {
        SkipBlanks();
        value = 0;
        digits = 0;
        while (At < Text.size() && Text[At] >= '0' && Text[At] <= '9' && digits < 9) {
            value = value * 10 + (Text[At++] - '0');
            ++digits;
        }
        return digits > 0;
    }
    bool Char(char c) noexcept {
        SkipBlanks();
        if (At < Text.size() && Text[At] == c) {
            ++At;
            return true;
        }
        return false;
    }
    [[nodiscard]] bool AtEnd() noexcept {
        SkipBlanks();
        return At == Text.size();
    }
};

bool ScanDate(TScanner& scan, double& value) noexcept {
    int64_t y = 0;
    int64_t m = 0;
    int64_t d = 0;
    size_t yearDigits = 0;
    size_t digits = 0;
    if (!scan.Number(y, yearDigits)) return false;
    const char separator = scan.Char(kDateSeparator) ? kDateSeparator : scan.Char('-') ? '-' : 0;
    if (separator == 0 || !scan.Number(m, digits) || !scan.Char(separator) || !scan.Number(d, digits))
        return false;
    // Two-digit years fall in the 100 years around 2000, as people write them.
    if (yearDigits <= 2) y += y < 50 ? 2000 : 1900;
    if (!ValidDate(y, m, d)) return false;
    value = static_cast<double>(DayNumber(y, m, d));
    return true;
}

bool ScanTime(TScanner& scan, double& value) noexcept {
    int64_t h = 0;
    int64_t n = 0;
    int64_t s = 0;
    int64_t ms = 0;
    size_t digits = 0;
    if (!scan.Number(h, digits)) return false;
    const bool hasMinutes = scan.Char(kTimeSeparator);
    if (hasMinutes) {
        if (!scan.Number(n, digits)) return false;
        if (scan.Char(kTimeSeparator)) {
            if (!scan.Number(s, digits)) return false;
            if (scan.Char('.')) {
                if (!scan.Number(ms, digits) || digits > 3) return false;
                for (; digits < 3; ++digits)
                    ms *= 10;
            }
        }
    }
    scan.SkipBlanks();
    const std::string_view rest = scan.Text.substr(scan.At);
    if (StartsWithNoCase(rest, 0, "AM") || StartsWithNoCase(rest, 0, "PM")) {
        if (h < 1 || h > 12) return false;
        h = h % 12 + (UpperAscii(rest[0]) == 'P' ? 12 : 0);
        scan.At += 2;
    } else if (!hasMinutes) {
        return false;
    }
    if (h > 23 || n > 59 || s > 59) return false;
    value = static_cast<double>(((h * 60 + n) * 60 + s) * 1000 + ms) / kMsPerDay;
    return true;
}

} // namespace

double Now() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const int64_t day = DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const int64_t msOfDay = ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000 + ms;
    return Combine(day, static_cast<double>(msOfDay) / kMsPerDay);
}

double Date() {
    return std::trunc(Now());
}

double Time() {
    return Now() - Date();
}

std::string DateTimeToStr(double dt) {
    return FormatDateTime("c", dt);
}

std::string DateToStr(double dt) {
    return FormatDateTime(kShortDateFormat, dt);
}

std::string TimeToStr(double dt) {
    return FormatDateTime(kLongTimeFormat, dt);
}

double StrToDateTime(std::string_view str) {
    TScanner scan{str};
    double date = 0.0;
    double time = 0.0;
    if (ScanDate(scan, date)) {
        const size_t afterDate = scan.At;
        if (scan.AtEnd()) return date;
        scan.At = afterDate;
        if (ScanTime(scan, time) && scan.AtEnd()) return Combine(static_cast<int64_t>(date), time);
    } else {
        scan.At = 0;
        if (ScanTime(scan, time) && scan.AtEnd()) return time;
    }
    ThrowConvertError("'" + std::string(str) + "' is not a valid date and time");
}

double StrToDate(std::string_view str) {
    TScanner scan{str};
    double date = 0.0;
    if (!ScanDate(scan, date) || !scan.AtEnd())
        ThrowConvertError("'" + std::string(str) + "' is not a valid date");
    return date;
}

double StrToTime(std::string_view str) {
    TScanner scan{str};
    double time = 0.0;
    if (!ScanTime(scan, time) || !scan.AtEnd())
        ThrowConvertError("'" + std::string(str) + "' is not a valid time");
    return time;
}

int64_t DayOfWeek(double dt) {
    return WeekDay(Split(dt).Day);
}

std::string FormatDateTime(std::string_view frm, double dt) {
    const TStamp stamp = Split(dt);
    std::string out;
    AppendFormat(out, frm, stamp);
    return out;
}

bool IsLeapYear(int64_t year) noexcept {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

double IncMonth(double dt, int64_t nb) {
    const TStamp stamp = Split(dt);
    // Any count beyond the 9999 years' months leaves the calendar; checking first keeps the
    // month arithmetic below from overflowing.
    constexpr int64_t kMonthsInCalendar = 9999 * 12;
    const int64_t months = stamp.Date.Year * 12 + stamp.Date.Month - 1 +
                           std::clamp<int64_t>(nb, -kMonthsInCalendar, kMonthsInCalendar);
    const int64_t y = months / 12;
    const int64_t m = months % 12 + 1;
    if (y < 1 || y > 9999)
        ThrowConvertError("IncMonth: " + std::to_string(nb) + " months from " + DateToStr(dt) +
                          " leave the years 1 to 9999");
    const int64_t d = std::min(stamp.Date.Day, DaysInMonth(y, m));
    return Combine(DayNumber(y, m, d), static_cast<double>(stamp.MsOfDay) / kMsPerDay);
}

TDateParts DecodeDate(double dt) {
    return Split(dt).Date;
}

double EncodeDate(int64_t y, int64_t m, int64_t d) {
    if (!ValidDate(y, m, d))
        ThrowConvertError("Invalid argument to date encode: year " + std::to_string(y) + ", month " +
                          std::to_string(m) + ", day " + std::to_string(d));
    return static_cast<double>(DayNumber(y, m, d));
}

TTimeParts DecodeTime(double dt) {
    return Split(dt).Time;
}

double EncodeTime(int64_t h, int64_t m, int64_t s, int64_t ms) {
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        ThrowConvertError("Invalid argument to time encode: hour " + std::to_string(h) + ", minute " +
                          std::to_string(m) + ", second " + std::to_string(s) + ", millisecond " +
                          std::to_string(ms));
    return static_cast<double>(((h * 60 + m) * 60 + s) * 1000 + ms) / kMsPerDay;
}

} // namespace Builtin
