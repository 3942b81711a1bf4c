// The mathematics routines on their own: Pascal's rounding, Integer overflow and the seeded
// generator's repeatability.
#include "script/BuiltinsMath.h"

#include "script/ScriptError.h"

#include <array>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <set>
#include <string>

namespace {

struct TRoundCase {
    double Value;
    int64_t Round;
    int64_t Trunc;
};

TEST(BuiltinsMath, RoundHalvesToEvenAndTruncGoesTowardZero) {
    const TRoundCase cases[] = {
        {2.5, 2, 2},
        {3.5, 4, 3},
        {-2.5, -2, -2},
        {-3.5, -4, -3},
        {0.5, 0, 0},
        {-0.5, 0, 0},
        {1.5, 2, 1},
        {2.4999, 2, 2},
        {2.5000001, 3, 2},
        {-2.9, -3, -2},
        {0.0, 0, 0},
        {1e15 + 1, 1000000000000001, 1000000000000001},
        {-9223372036854775808.0, INT64_MIN, INT64_MIN},
    };
    for (const TRoundCase& c : cases) {
        EXPECT_EQ(Builtin::Round(c.Value), c.Round) << c.Value;
        EXPECT_EQ(Builtin::Trunc(c.Value), c.Trunc) << c.Value;
    }
}

TEST(BuiltinsMath, RoundAndTruncOutsideIntegerRaiseInsteadOfWrapping) {
    for (const double v : {9223372036854775808.0, -1e19, 1e300, std::nan(""), HUGE_VAL}) {
        for (const auto& fn : {std::function<int64_t(double)>(Builtin::Round),
                               std::function<int64_t(double)>(Builtin::Trunc)}) {
            try {
                (void)fn(v);
                ADD_FAILURE() << v << " converted";
            } catch (const EHostError& e) {
                EXPECT_EQ(e.ClassName, "ERangeError");
                EXPECT_NE(std::string(e.what()).find("does not fit an Integer"), std::string::npos)
                    << e.what();
            }
        }
    }
}

TEST(BuiltinsMath, IncAddsAndWrapsAtTheIntegerEnds) {
    EXPECT_EQ(Builtin::Inc(1, 5), 6);
    EXPECT_EQ(Builtin::Inc(1, -5), -4);
    EXPECT_EQ(Builtin::Inc(INT64_MAX, 1), INT64_MIN);
    EXPECT_EQ(Builtin::Inc(INT64_MIN, -1), INT64_MAX);
}

TEST(BuiltinsMath, SmallHelpersGiveTheTextbookValues) {
    EXPECT_DOUBLE_EQ(Builtin::Int(-2.75), -2.0);
    EXPECT_DOUBLE_EQ(Builtin::Frac(-2.75), -0.75);
    EXPECT_DOUBLE_EQ(Builtin::Frac(2.75), 0.75);
    EXPECT_DOUBLE_EQ(Builtin::LogN(2, 8), 3.0);
    EXPECT_DOUBLE_EQ(Builtin::LogN(10, 0.001), -3.0);
    EXPECT_NEAR(Builtin::Cotan(std::numbers::pi / 4), 1.0, 1e-15);
    EXPECT_DOUBLE_EQ(Builtin::DegToRad(180), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Builtin::RadToDeg(std::numbers::pi / 2), 90.0);
    EXPECT_EQ(Builtin::Max(-1, -2), -1);
    EXPECT_EQ(Builtin::Min(-1, -2), -2);
}

TEST(BuiltinsMath, RandomIntStaysBelowItsRangeAndReachesEveryValue) {
    Builtin::SetRandSeed(12345);
    std::set<int64_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int64_t v = Builtin::RandomInt(10);
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 9);
        seen.insert(v);
        ASSERT_EQ(Builtin::RandomInt(1), 0);
        const double r = Builtin::Random();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
    EXPECT_EQ(seen.size(), 10U);
    EXPECT_EQ(Builtin::RandomInt(0), 0);
    EXPECT_EQ(Builtin::RandomInt(-7), 0);
    const int64_t wide = int64_t{1} << 40;
    for (int i = 0; i < 100; ++i) {
        const int64_t v = Builtin::RandomInt(wide);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, wide);
    }
}

TEST(BuiltinsMath, ASeedReadBackReplaysTheSameNumbers) {
    Builtin::SetRandSeed(-42);
    EXPECT_EQ(Builtin::RandSeed(), -42);
    std::array<double, 5> first{};
    for (double& v : first)
        v = Builtin::Random() + static_cast<double>(Builtin::RandomInt(1000));
    Builtin::SetRandSeed(-42);
    for (const double v : first)
        EXPECT_EQ(Builtin::Random() + static_cast<double>(Builtin::RandomInt(1000)), v);

    Builtin::Randomize();
    const int64_t saved = Builtin::RandSeed();
    const double a = Builtin::RandG(0, 1);
    Builtin::SetRandSeed(saved);
    EXPECT_EQ(Builtin::RandG(0, 1), a);
}

TEST(BuiltinsMath, RandGCentresOnItsMeanWithItsSpread) {
    Builtin::SetRandSeed(7);
    double sum = 0.0;
    double squares = 0.0;
    constexpr int kDraws = 20000;
    for (int i = 0; i < kDraws; ++i) {
        const double v = Builtin::RandG(10.0, 2.0);
        sum += v;
        squares += (v - 10.0) * (v - 10.0);
    }
    EXPECT_NEAR(sum / kDraws, 10.0, 0.05);
    EXPECT_NEAR(std::sqrt(squares / kDraws), 2.0, 0.05);
}

} // namespace
