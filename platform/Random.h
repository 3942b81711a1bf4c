// The one process-wide generator of uniform values in [0, 1), with a seam for tests.
#pragma once

#include <cstdint>
#include <functional>

[[nodiscard]] double RandomFloat();

// Seeds the generator from the clock, as the game does once at start.
void RandomizeFromClock();

// Seeds the generator with a number: the same seed gives the same values (the duel runner's
// --seed).
void SeedRandom(uint32_t seed);

// Replaces the generator with a scripted source; an empty function restores the generator.
void SetRandomSource(std::function<double()> source);
