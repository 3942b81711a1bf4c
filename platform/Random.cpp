// Uniform random values from one Mersenne Twister, or from a source a test installed.
#include "platform/Random.h"

#include <chrono>
#include <random>

namespace {

std::mt19937& Generator() {
    static std::mt19937 generator(5489U);
    return generator;
}

std::function<double()>& Source() {
    static std::function<double()> source;
    return source;
}

} // namespace

double RandomFloat() {
    if (Source()) return Source()();
    // generate_canonical can round up to exactly 1.0 on some libraries; keep [0, 1).
    const double value = std::generate_canonical<double, 53>(Generator());
    return value < 1.0 ? value : 0.0;
}

void RandomizeFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    const auto mono = std::chrono::steady_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32),
                       static_cast<uint32_t>(mono)};
    Generator().seed(seed);
}

void SeedRandom(uint32_t seed) {
    Generator().seed(seed);
}

void SetRandomSource(std::function<double()> source) {
    Source() = std::move(source);
}
