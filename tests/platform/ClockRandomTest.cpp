// The clock seam, the random seam and the time-of-day format.
#include "platform/Clock.h"
#include "platform/LocalTime.h"
#include "platform/Random.h"

#include <gtest/gtest.h>
#include <regex>
#include <vector>

TEST(Clock, SystemTickIsAtLeast10000AndManualClockTakesOver) {
    EXPECT_GE(SystemTicks(), 10000U);
    TManualClock manual;
    SetClock(&manual);
    EXPECT_EQ(SystemTicks(), 10000U);
    manual.Advance(149);
    EXPECT_EQ(SystemTicks(), 10149U);
    manual.Set(0xFFFFFFFFU);
    manual.Advance(2);
    EXPECT_EQ(SystemTicks(), 1U) << "the tick wraps at 2^32";
    SetClock(nullptr);
    EXPECT_GE(SystemTicks(), 10000U);
}

TEST(Clock, WaitsGoToTheInstalledClockWhichRecordsThemAndMovesOn) {
    TManualClock manual;
    SetClock(&manual);
    WaitTicks(7);
    WaitTicks(0);
    WaitTicks(33);
    EXPECT_EQ(manual.Waits, (std::vector<uint32_t>{7, 0, 33}));
    EXPECT_EQ(SystemTicks(), 10040U) << "a manual clock's wait passes at once";
    SetClock(nullptr);
}

TEST(Random, ValuesStayInUnitRangeAndSourceCanBeScripted) {
    RandomizeFromClock();
    for (int i = 0; i < 10000; ++i) {
        const double value = RandomFloat();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
    }
    SetRandomSource([] { return 0.25; });
    EXPECT_EQ(RandomFloat(), 0.25);
    SetRandomSource({});
    EXPECT_NE(RandomFloat(), 0.25);
}

TEST(LocalTime, FormatsHoursMinutesSeconds) {
    EXPECT_TRUE(std::regex_match(LocalTimeOfDay(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]")));
}
