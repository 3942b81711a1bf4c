// The mathematics group: Pascal's rounding rules and the scripts' random generator.
#include "script/BuiltinsMath.h"

#include "script/BuiltinsError.h"
#include "script/Variant.h"

#include <chrono>
#include <cmath>
#include <numbers>
#include <string>

namespace Builtin {

namespace {

// 2^63 is exactly representable, so this bound is exact; every double below it in magnitude
// converts to int64_t without overflow.
constexpr double kIntegerLimit = 9223372036854775808.0;

int64_t ToInteger(double whole) {
    if (!(whole >= -kIntegerLimit && whole < kIntegerLimit)) {
        ThrowRangeError("Invalid floating point operation: " + FloatToText(whole) +
                        " does not fit an Integer");
    }
    return static_cast<int64_t>(whole);
}

uint32_t& Seed() {
    static uint32_t seed = 0;
    return seed;
}

// One step of the sequence; the multiplier and increment give the full period of 2^32.
uint32_t NextSeed() noexcept {
    Seed() = Seed() * 0x08088405U + 1U;
    return Seed();
}

} // namespace

int64_t Trunc(double v) {
    return ToInteger(std::trunc(v));
}

int64_t Round(double v) {
    if (std::isnan(v)) return ToInteger(v);
    const double below = std::floor(v);
    const double fraction = v - below;
    double whole = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) whole = below + 1.0;
    return ToInteger(whole);
}

double Int(double v) {
    return std::trunc(v);
}

double Frac(double v) {
    return v - std::trunc(v);
}

int64_t Inc(int64_t a, int64_t b) noexcept {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

double Cotan(double a) noexcept {
    return 1.0 / std::tan(a);
}

double LogN(double n, double x) noexcept {
    return std::log(x) / std::log(n);
}

double DegToRad(double a) noexcept {
    return a * (std::numbers::pi / 180.0);
}

double RadToDeg(double a) noexcept {
    return a * (180.0 / std::numbers::pi);
}

double Max(double v1, double v2) noexcept {
    return v1 > v2 ? v1 : v2;
}

double Min(double v1, double v2) noexcept {
    return v1 < v2 ? v1 : v2;
}

double Random() noexcept {
    return NextSeed() / 4294967296.0;
}

int64_t RandomInt(int64_t range) noexcept {
    if (range <= 1) return 0;
    if (range <= 0xFFFFFFFFLL) return static_cast<int64_t>((uint64_t{NextSeed()} * uint64_t(range)) >> 32);
    // Beyond 32 bits one step has too few bits to reach every value; two steps make 64.
    const uint64_t high = NextSeed();
    const uint64_t wide = (high << 32) | NextSeed();
    return static_cast<int64_t>(wide % static_cast<uint64_t>(range));
}

double RandG(double mean, double stdDev) noexcept {
    // Marsaglia's polar method: a point drawn uniformly inside the unit circle gives a
    // standard normal value without calling the trigonometric functions.
    double u = 0.0;
    double s = 0.0;
    do {
        u = 2.0 * Random() - 1.0;
        const double w = 2.0 * Random() - 1.0;
        s = u * u + w * w;
    } while (s >= 1.0 || s == 0.0);
    return mean + stdDev * u * std::sqrt(-2.0 * std::log(s) / s);
}

void Randomize() noexcept {
    const auto wall = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const auto mono = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    Seed() = static_cast<uint32_t>(wall ^ (wall >> 32) ^ (mono * 2654435761U));
}

int64_t RandSeed() noexcept {
    return static_cast<int32_t>(Seed());
}

void SetRandSeed(int64_t seed) noexcept {
    Seed() = static_cast<uint32_t>(seed);
}

} // namespace Builtin
