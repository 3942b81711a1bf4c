// The mathematics group of the scripts' built-in library as plain functions on C++ values,
// and the one random generator behind Random, RandomInt, RandG and RandSeed.
#pragma once

#include <cstdint>

namespace Builtin {

// Toward zero and to nearest with halves to even, as Pascal does. A value outside the
// Integer range (or NaN) raises instead of wrapping to some unrelated number.
[[nodiscard]] int64_t Trunc(double v);
[[nodiscard]] int64_t Round(double v);
[[nodiscard]] double Int(double v);
[[nodiscard]] double Frac(double v);

// Pascal Integers wrap on overflow rather than stop the script.
[[nodiscard]] int64_t Inc(int64_t a, int64_t b) noexcept;

[[nodiscard]] double Cotan(double a) noexcept;
[[nodiscard]] double LogN(double n, double x) noexcept;
[[nodiscard]] double DegToRad(double a) noexcept;
[[nodiscard]] double RadToDeg(double a) noexcept;
[[nodiscard]] double Max(double v1, double v2) noexcept;
[[nodiscard]] double Min(double v1, double v2) noexcept;

// The generator: a 32-bit linear congruential sequence whose whole state is the seed, so
// RandSeed read back and handed to SetRandSeed replays the same numbers. It starts at seed 0,
// so a script that never calls Randomize draws the same numbers on every run.
[[nodiscard]] double Random() noexcept;
// 0 .. range - 1; a range of 1 or less always gives 0.
[[nodiscard]] int64_t RandomInt(int64_t range) noexcept;
[[nodiscard]] double RandG(double mean, double stdDev) noexcept;
void Randomize() noexcept;
[[nodiscard]] int64_t RandSeed() noexcept;
void SetRandSeed(int64_t seed) noexcept;

} // namespace Builtin
