// The date and time routines on their own: the calendar over day numbers, the format picture,
// the locale's texts and the errors for dates that do not exist.
#include "script/BuiltinsDateTime.h"

#include "script/ScriptError.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace Builtin;

TEST(BuiltinsDateTime, DayNumbersCountFrom18991230) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0) << "1900 is no leap year";
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), (86400000.0 - 1) / 86400000.0);
}

TEST(BuiltinsDateTime, DecodeDateUndoesEncodeDateOverTheWholeCalendar) {
    for (int64_t day = -693593; day <= 2958465; day += 97) {
        // Before day 0 the time of day is subtracted: -1.75 is 1899-12-29 18:00.
        const TDateParts d =
            DecodeDate(day < 0 ? static_cast<double>(day) - 0.75 : static_cast<double>(day) + 0.75);
        ASSERT_EQ(EncodeDate(d.Year, d.Month, d.Day), static_cast<double>(day)) << d.Year << "-" << d.Month;
    }
    const TDateParts leap = DecodeDate(EncodeDate(2024, 2, 29));
    EXPECT_EQ(leap.Year * 10000 + leap.Month * 100 + leap.Day, 20240229);
    const TTimeParts t = DecodeTime(EncodeTime(13, 45, 30, 250));
    EXPECT_EQ(t.Hour * 10000000 + t.Minute * 100000 + t.Second * 1000 + t.MSec, 134530250);
}

TEST(BuiltinsDateTime, ATimeThatRoundsToMidnightBelongsToTheNextDay) {
    const double almost = EncodeDate(2020, 12, 31) + 0.999999999999;
    const TDateParts d = DecodeDate(almost);
    const TTimeParts t = DecodeTime(almost);
    EXPECT_EQ(d.Year * 10000 + d.Month * 100 + d.Day, 20210101);
    EXPECT_EQ(t.Hour + t.Minute + t.Second + t.MSec, 0);
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25), "1899-12-29 06:00") << "the fraction counts forward";
}

TEST(BuiltinsDateTime, DayOfWeekStartsOnSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 29) - 0.5), 6);
    EXPECT_EQ(DayOfWeek(-0.5), 7) << "-0.5 is noon of day 0";
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 6)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 8)), 3);
    EXPECT_EQ(DayOfWeek(EncodeDate(1, 1, 1)), 2) << "0001-01-01 was a Monday";
}

TEST(BuiltinsDateTime, IncMonthClampsTheDayAndKeepsTheTime) {
    struct TCase {
        double From;
        int64_t Months;
        double To;
    };
    const double noon = 0.5;
    const TCase cases[] = {
        {EncodeDate(2020, 1, 31) + noon, 1, EncodeDate(2020, 2, 29) + noon},
        {EncodeDate(2021, 1, 31), 1, EncodeDate(2021, 2, 28)},
        {EncodeDate(2020, 3, 31), -1, EncodeDate(2020, 2, 29)},
        {EncodeDate(2020, 12, 15), 1, EncodeDate(2021, 1, 15)},
        {EncodeDate(2020, 1, 15), -1, EncodeDate(2019, 12, 15)},
        {EncodeDate(2020, 2, 29), 12, EncodeDate(2021, 2, 28)},
        {EncodeDate(2020, 5, 10), -24, EncodeDate(2018, 5, 10)},
        {EncodeDate(9999, 11, 30), 1, EncodeDate(9999, 12, 30)},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(IncMonth(c.From, c.Months), c.To) << FormatDateTime("c", c.From);
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
}

TEST(BuiltinsDateTime, FormatDateTimeFollowsThePictureLetters) {
    const double dt = EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 45);
    const double night = EncodeDate(2026, 3, 7) + EncodeTime(0, 30, 0, 0);
    const struct {
        const char* Picture;
        double Value;
        const char* Expected;
    } cases[] = {
        {"yyyy-mm-dd", dt, "2026-03-07"},
        {"yy/m/d", dt, "26/3/7"},
        {"hh:nn:ss.zzz", dt, "14:05:09.045"},
        {"h:n:s.z", dt, "14:5:9.45"},
        {"hh:mm", dt, "14:05"},
        {"mm hh", dt, "03 14"},
        {"h:mm am/pm", dt, "2:05 pm"},
        {"h AM/PM", dt, "2 PM"},
        {"h a/p", dt, "2 p"},
        {"hh ampm", dt, "02 PM"},
        {"h am/pm", night, "12 am"},
        {"hh", night, "00"},
        {"mmm mmmm ddd dddd", dt, "Mar March Sat Saturday"},
        {"\"Day\" d", dt, "Day 7"},
        {"'yyyy' yyyy", dt, "yyyy 2026"},
        {"'open", dt, "open"},
        {"ddddd", dt, "2026/03/07"},
        {"dddddd", dt, "Saturday, March 7, 2026"},
        {"c", dt, "2026/03/07 14:05:09"},
        {"c", EncodeDate(2026, 3, 7), "2026/03/07"},
        {"t|tt", dt, "14:05|14:05:09"},
        {"dd.mm.yyyy", dt, "07.03.2026"},
        {"", dt, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.Picture, c.Value), c.Expected) << c.Picture;
}

TEST(BuiltinsDateTime, TextsRoundTripInTheLocaleFormats) {
    const double dt = EncodeDate(2020, 2, 29) + EncodeTime(7, 8, 9, 0);
    EXPECT_EQ(DateTimeToStr(dt), "2020/02/29 07:08:09");
    EXPECT_EQ(DateToStr(dt), "2020/02/29");
    EXPECT_EQ(TimeToStr(dt), "07:08:09");
    EXPECT_EQ(StrToDateTime(DateTimeToStr(dt)), dt);
    EXPECT_EQ(StrToDate(DateToStr(dt)), EncodeDate(2020, 2, 29));
    EXPECT_DOUBLE_EQ(StrToTime(TimeToStr(dt)), EncodeTime(7, 8, 9, 0));
    EXPECT_EQ(StrToDate("2020-2-9"), EncodeDate(2020, 2, 9));
    EXPECT_EQ(StrToDate("20/2/9"), EncodeDate(2020, 2, 9));
    EXPECT_DOUBLE_EQ(StrToTime("2:30 pm"), EncodeTime(14, 30, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("12 AM"), 0.0);
    EXPECT_DOUBLE_EQ(StrToTime("10:20:30.5"), EncodeTime(10, 20, 30, 500));
    EXPECT_DOUBLE_EQ(StrToDateTime("10:20"), EncodeTime(10, 20, 0, 0));
    const double now = Now();
    EXPECT_EQ(Date(), std::trunc(now)) << "unless the test runs across midnight";
    EXPECT_GE(Time(), 0.0);
    EXPECT_LT(Time(), 1.0);
}

TEST(BuiltinsDateTime, DatesThatDoNotExistRaiseClearErrors) {
    const struct {
        const char* Call;
        std::function<void()> Run;
        std::string Message;
    } cases[] = {
        {"EncodeDate(2020, 13, 1)", [] { (void)EncodeDate(2020, 13, 1); },
         "Invalid argument to date encode: year 2020, month 13, day 1"},
        {"EncodeDate(2021, 2, 29)", [] { (void)EncodeDate(2021, 2, 29); },
         "Invalid argument to date encode: year 2021, month 2, day 29"},
        {"EncodeDate(0, 1, 1)", [] { (void)EncodeDate(0, 1, 1); },
         "Invalid argument to date encode: year 0, month 1, day 1"},
        {"EncodeTime(24, 0, 0, 0)", [] { (void)EncodeTime(24, 0, 0, 0); },
         "Invalid argument to time encode: hour 24, minute 0, second 0, millisecond 0"},
        {"EncodeTime(1, 2, 3, 1000)", [] { (void)EncodeTime(1, 2, 3, 1000); },
         "Invalid argument to time encode: hour 1, minute 2, second 3, millisecond 1000"},
        {"FormatDateTime('yyyy', 1e300)", [] { (void)FormatDateTime("yyyy", 1e300); },
         "DateTime value 1E300 is outside the years 1 to 9999"},
        {"DayOfWeek(NaN)", [] { (void)DayOfWeek(std::nan("")); },
         "DateTime value NAN is outside the years 1 to 9999"},
        {"DecodeDate(-693594)", [] { (void)DecodeDate(-693594); },
         "DateTime value -693594 is outside the years 1 to 9999"},
        {"IncMonth(9999-12-01, 1)", [] { (void)IncMonth(EncodeDate(9999, 12, 1), 1); },
         "IncMonth: 1 months from 9999/12/01 leave the years 1 to 9999"},
        {"IncMonth(x, huge)", [] { (void)IncMonth(0, INT64_MIN); },
         "IncMonth: -9223372036854775808 months from 1899/12/30 leave the years 1 to 9999"},
        {"StrToDate('2020/13/01')", [] { (void)StrToDate("2020/13/01"); },
         "'2020/13/01' is not a valid date"},
        {"StrToDate('2020/1')", [] { (void)StrToDate("2020/1"); }, "'2020/1' is not a valid date"},
        {"StrToTime('25:00')", [] { (void)StrToTime("25:00"); }, "'25:00' is not a valid time"},
        {"StrToTime('13 pm')", [] { (void)StrToTime("13 pm"); }, "'13 pm' is not a valid time"},
        {"StrToTime('10')", [] { (void)StrToTime("10"); }, "'10' is not a valid time"},
        {"StrToDateTime('2020/01/01 x')", [] { (void)StrToDateTime("2020/01/01 x"); },
         "'2020/01/01 x' is not a valid date and time"},
    };
    for (const auto& c : cases) {
        try {
            c.Run();
            ADD_FAILURE() << c.Call << " did not raise";
        } catch (const EHostError& e) {
            EXPECT_EQ(e.ClassName, "EConvertError") << c.Call;
            EXPECT_EQ(e.what(), c.Message) << c.Call;
        }
    }
}

} // namespace
