// The eight sound effects, synthesised as 22050 Hz unsigned 8-bit mono WAV files.
#pragma once

#include <string>
#include <vector>

namespace content {

inline constexpr int kSampleRate = 22050;

[[nodiscard]] std::vector<std::string> SoundNames();
// Samples in -1..1.
[[nodiscard]] std::vector<float> SynthesiseSound(const std::string& name);
void WriteWav(const std::string& fileName, const std::vector<float>& samples);

} // namespace content
