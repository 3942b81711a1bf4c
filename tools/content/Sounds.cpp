// Each effect is a few lines of additive and subtractive synthesis: tones with envelopes,
// filtered noise for whooshes and thuds.
#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

struct TNoise {
    uint32_t State = 22222;
    float Next() {
        State = State * 1664525u + 1013904223u;
        return ((State >> 8) & 0xffff) / 32767.5f - 1;
    }
};

std::vector<float> Silence(float seconds) {
    return std::vector<float>(static_cast<size_t>(seconds * kSampleRate), 0);
}

// A bell-like tone: a few inharmonic partials decaying at their own rates.
void Bell(std::vector<float>& out, float start, float freq, float length, float gain) {
    const int s0 = static_cast<int>(start * kSampleRate);
    const float partials[4][3] = {{1, 1, 1}, {2.76f, 0.5f, 1.8f}, {5.4f, 0.25f, 3}, {0.5f, 0.3f, 0.7f}};
    for (int i = 0; i < static_cast<int>(length * kSampleRate) && s0 + i < static_cast<int>(out.size());
         ++i) {
        const float t = static_cast<float>(i) / kSampleRate;
        float v = 0;
        for (const auto& p : partials)
            v += p[1] * std::sin(2 * kPi * freq * p[0] * t) * std::exp(-t * p[2] * 3 / length);
        const float attack = std::min(1.0f, t * 400);
        out[s0 + i] += v * gain * attack;
    }
}

void Tone(std::vector<float>& out, float start, float length, float f0, float f1, float gain,
          bool square = false) {
    const int s0 = static_cast<int>(start * kSampleRate);
    float phase = 0;
    const int n = static_cast<int>(length * kSampleRate);
    for (int i = 0; i < n && s0 + i < static_cast<int>(out.size()); ++i) {
        const float t = static_cast<float>(i) / n;
        phase += 2 * kPi * (f0 + (f1 - f0) * t) / kSampleRate;
        float v = std::sin(phase);
        if (square) v = std::tanh(v * 4);
        const float env = std::min(1.0f, t * 30) * std::pow(1 - t, 1.5f);
        out[s0 + i] += v * gain * env;
    }
}

// Noise through a one-pole low-pass whose cut-off sweeps from c0 to c1 (0..1).
void Whoosh(std::vector<float>& out, float start, float length, float c0, float c1, float gain,
            float attack) {
    TNoise noise;
    const int s0 = static_cast<int>(start * kSampleRate);
    const int n = static_cast<int>(length * kSampleRate);
    float low = 0, band = 0;
    for (int i = 0; i < n && s0 + i < static_cast<int>(out.size()); ++i) {
        const float t = static_cast<float>(i) / n;
        const float cut = c0 + (c1 - c0) * t;
        low += cut * (noise.Next() - low);
        band += cut * (low - band);
        const float env = std::min(1.0f, t / attack) * std::pow(1 - t, 2.0f);
        out[s0 + i] += (low - band * 0.5f) * gain * env * 2.5f;
    }
}

void Normalise(std::vector<float>& s, float peak) {
    float m = 1e-6f;
    for (float v : s)
        m = std::max(m, std::fabs(v));
    for (float& v : s)
        v = v / m * peak;
}

} // namespace

std::vector<std::string> SoundNames() {
    return {"Waiting", "StartSomething", "ReadyToPlay", "PickUpItem",
            "Shoot",   "HitHurt",        "Die",         "AttackMissShort"};
}

std::vector<float> SynthesiseSound(const std::string& name) {
    std::vector<float> s;
    if (name == "Waiting") {
        // A slow rising arpeggio on bells: the game is up and waiting.
        s = Silence(2.2f);
        const float notes[] = {220.0f, 277.2f, 329.6f, 440.0f};
        for (int k = 0; k < 4; ++k)
            Bell(s, k * 0.28f, notes[k], 1.4f, 0.5f);
    } else if (name == "StartSomething") {
        // A gong struck for the start of a match, with a short horn call.
        s = Silence(1.8f);
        Bell(s, 0, 98, 1.8f, 0.9f);
        Tone(s, 0.05f, 0.25f, 196, 196, 0.25f, true);
        Tone(s, 0.32f, 0.45f, 294, 294, 0.25f, true);
    } else if (name == "ReadyToPlay") {
        s = Silence(0.7f);
        Bell(s, 0, 659, 0.5f, 0.5f);
        Bell(s, 0.16f, 880, 0.55f, 0.5f);
    } else if (name == "PickUpItem") {
        // Quick rising sparkle.
        s = Silence(0.32f);
        Tone(s, 0, 0.1f, 660, 990, 0.5f);
        Tone(s, 0.08f, 0.12f, 990, 1320, 0.45f);
        Bell(s, 0.16f, 1760, 0.16f, 0.25f);
    } else if (name == "Shoot") {
        // Air torn by a thrown blade: a fast band of noise rising and falling.
        s = Silence(0.3f);
        Whoosh(s, 0, 0.3f, 0.08f, 0.45f, 1.0f, 0.35f);
    } else if (name == "HitHurt") {
        // A dull thud and a short low grunt.
        s = Silence(0.35f);
        Whoosh(s, 0, 0.12f, 0.2f, 0.05f, 1.2f, 0.02f);
        Tone(s, 0, 0.12f, 140, 60, 0.9f);
        Tone(s, 0.05f, 0.28f, 190, 120, 0.35f, true);
    } else if (name == "Die") {
        // A long falling groan and the body hitting the ground.
        s = Silence(1.1f);
        Tone(s, 0, 0.85f, 240, 70, 0.55f, true);
        Tone(s, 0, 0.85f, 243, 72, 0.3f);
        Whoosh(s, 0.8f, 0.3f, 0.25f, 0.03f, 1.2f, 0.02f);
        Tone(s, 0.8f, 0.2f, 90, 40, 0.7f);
    } else if (name == "AttackMissShort") {
        // Steel glancing off: a short swish and a bright clink.
        s = Silence(0.28f);
        Whoosh(s, 0, 0.16f, 0.15f, 0.5f, 0.7f, 0.3f);
        Bell(s, 0.1f, 2400, 0.16f, 0.25f);
    } else {
        throw std::runtime_error("unknown sound " + name);
    }
    Normalise(s, 0.85f);
    return s;
}

void WriteWav(const std::string& fileName, const std::vector<float>& samples) {
    std::ofstream f(fileName, std::ios::binary);
    if (!f) throw std::runtime_error("could not write " + fileName);
    auto u32 = [&f](uint32_t v) {
        const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
        f.write(b, 4);
    };
    auto u16 = [&f](uint16_t v) {
        const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
        f.write(b, 2);
    };
    const uint32_t n = static_cast<uint32_t>(samples.size());
    f.write("RIFF", 4);
    u32(36 + n + n % 2);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(kSampleRate);
    u32(kSampleRate); // bytes per second at one byte per sample
    u16(1);
    u16(8);
    f.write("data", 4);
    u32(n);
    for (float v : samples) {
        const int q = static_cast<int>(std::lround(128 + std::clamp(v, -1.0f, 1.0f) * 127));
        f.put(static_cast<char>(q));
    }
    if (n % 2) f.put(static_cast<char>(128));
    if (!f) throw std::runtime_error("could not write " + fileName);
}

} // namespace content
