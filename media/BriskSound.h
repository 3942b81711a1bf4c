// Sound effects: WAV files loaded on their first request by name and kept for the run, each
// started at most once every 500 ms, at the start-up file's "Volume" unless muted. PlaySound
// is all the rest of the program calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct Mix_Chunk;

struct TChunkFree {
    void operator()(Mix_Chunk* chunk) const;
};
using TChunkPtr = std::unique_ptr<Mix_Chunk, TChunkFree>;

class TBriskSoundEngine;

inline constexpr int32_t kFullVolumePercent = 100;

// One effect may start again only this long after its last start; requests in between are dropped.
constexpr uint32_t kSoundRepeatMs = 500;
// Sound files larger than this are refused: the mixer holds a whole effect in memory, and the
// game's effects are a few kilobytes (16 MB is some six minutes of CD-quality sound).
constexpr int64_t kMaxSoundFileBytes = 16 * 1024 * 1024;

class TBriskSound {
public:
    TBriskSound() = default;
    // A game path; a file that does not load leaves Chunk empty, without a message. A file
    // larger than kMaxSoundFileBytes, or one that is no regular file, is refused with an error
    // line naming it.
    void LoadFromFile(std::string_view fileName);
    // Volume on the mixer's 0..128 scale. Without a sample nothing is heard.
    void Play(int32_t volume);

    std::string Name;
    TChunkPtr Chunk;
    TBriskSoundEngine* Engine = nullptr;
    int32_t Channel = -1;
    uint32_t LastPlayed = 0;
};

class TBriskSoundEngine {
public:
    TBriskSoundEngine() = default;
    ~TBriskSoundEngine(); // frees the sounds from the first on
    TBriskSoundEngine(const TBriskSoundEngine&) = delete;
    TBriskSoundEngine& operator=(const TBriskSoundEngine&) = delete;

    void Add(std::unique_ptr<TBriskSound> sound);
    // The first sound of exactly that name (case matters); nullptr when absent.
    [[nodiscard]] TBriskSound* Find(std::string_view name) const;
    [[nodiscard]] TBriskSound* GetSound(std::string_view name) const { return Find(name); }
    void LoadSound(std::string_view name, std::string_view fileName);
    [[nodiscard]] int32_t Count() const { return static_cast<int32_t>(List.size()); }
    // Muting also stops what is playing; effects asked for while muted are dropped.
    void SetMuted(bool muted);

    // Percent of the effects' own volume, 0 to 100.
    int32_t Volume = kFullVolumePercent;
    bool Muted = false;

private:
    std::vector<std::unique_ptr<TBriskSound>> List;
};

// Finds or loads "sound\" + name + ".wav" and plays it at volume 100 scaled by the engine's
// Volume; silence when no audio device could be opened or the sound is muted.
void PlaySound(std::string_view name);

// Mutes or unmutes every effect; true when the effects are muted now. Nothing happens without
// an audio device.
bool ToggleSoundMute();

// "Volume" value of the start-up file -> 0 to 100 percent; a value past either end is held
// at it; a missing or unreadable one gives full volume.
[[nodiscard]] int32_t VolumeFromText(std::string_view text);

// Null when the audio device could not be opened.
extern TBriskSoundEngine* SoundEngine;
