// The calendar under the date routines over all of its 10000 years, too many days for a script
// to walk in a test.
#include "script/BuiltinsDateTime.h"

#include <gtest/gtest.h>

namespace {

using namespace Builtin;

TEST(BuiltinsCalendar, DecodeDateUndoesEncodeDateOnEveryDayOfTheCalendar) {
    int64_t expectedWeekDay = DayOfWeek(EncodeDate(1, 1, 1));
    TDateParts previous = DecodeDate(EncodeDate(1, 1, 1));
    for (int64_t day = -693592; day <= 2958465; ++day) {
        // Before day 0 the time of day is subtracted: -1.75 is 1899-12-29 18:00.
        const double dt = day < 0 ? static_cast<double>(day) - 0.75 : static_cast<double>(day) + 0.75;
        const TDateParts d = DecodeDate(dt);
        ASSERT_EQ(EncodeDate(d.Year, d.Month, d.Day), static_cast<double>(day)) << d.Year << "-" << d.Month;
        // Consecutive days: the next day of the month, or the first of the next month or year.
        const bool nextDay =
            d.Year == previous.Year && d.Month == previous.Month && d.Day == previous.Day + 1;
        const bool nextMonth =
            d.Day == 1 && ((d.Year == previous.Year && d.Month == previous.Month + 1) ||
                           (d.Year == previous.Year + 1 && d.Month == 1 && previous.Month == 12));
        ASSERT_TRUE(nextDay || nextMonth) << d.Year << "-" << d.Month << "-" << d.Day;
        expectedWeekDay = expectedWeekDay % 7 + 1;
        ASSERT_EQ(DayOfWeek(dt), expectedWeekDay) << day;
        const TTimeParts t = DecodeTime(dt);
        ASSERT_EQ(t.Hour * 60 + t.Minute, 18 * 60) << day;
        previous = d;
    }
    EXPECT_EQ(previous.Year * 10000 + previous.Month * 100 + previous.Day, 99991231);
}

} // namespace
