// Loading effects on first request and starting them through SDL_mixer.
#include "media/BriskSound.h"

#include "media/BriskLogger.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <filesystem>

TBriskSoundEngine* SoundEngine = nullptr;

namespace {

constexpr int32_t kEffectVolume = 100; // of the mixer's 128

} // namespace

void TChunkFree::operator()(Mix_Chunk* chunk) const {
    Mix_FreeChunk(chunk);
}

void TBriskSound::LoadFromFile(std::string_view fileName) {
    const std::string path = ResolvePath(fileName);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return;
    // A device or pipe never ends; a huge file would be held whole.
    const bool regular = std::filesystem::is_regular_file(path, error);
    const uintmax_t size = regular ? std::filesystem::file_size(path, error) : 0;
    if (!regular || error || size > static_cast<uintmax_t>(kMaxSoundFileBytes)) {
        const std::string reason =
            regular && !error ? "larger than " + std::to_string(kMaxSoundFileBytes / (1024 * 1024)) + " MB"
                              : "not a regular file";
        if (Logger != nullptr)
            Logger->LogError("Refused sound " + std::string(fileName) + ": " + reason,
                             "TBriskSound.LoadFromFile");
        return;
    }
    SDL_RWops* reader = SDL_RWFromFile(path.c_str(), "rb");
    if (reader == nullptr) return;
    // The mixer closes the reader (last argument 1), whether or not the file decodes.
    Chunk.reset(Mix_LoadWAV_RW(reader, 1));
}

void TBriskSound::Play(int32_t volume) {
    const uint32_t now = SystemTicks();
    // Unsigned difference, so the limit holds across the tick's wrap as well.
    if (now - LastPlayed < kSoundRepeatMs) return;
    LastPlayed = now;
    if (!Chunk) return;
    Channel = Mix_PlayChannelTimed(-1, Chunk.get(), 0, -1);
    // With no free channel the play is lost; there is no channel whose volume to set.
    if (Channel >= 0) Mix_Volume(Channel, volume);
}

TBriskSoundEngine::~TBriskSoundEngine() {
    while (!List.empty())
        List.erase(List.begin());
}

void TBriskSoundEngine::Add(std::unique_ptr<TBriskSound> sound) {
    sound->Engine = this;
    List.push_back(std::move(sound));
}

TBriskSound* TBriskSoundEngine::Find(std::string_view name) const {
    for (const auto& sound : List)
        if (sound->Name == name) return sound.get();
    return nullptr;
}

void TBriskSoundEngine::LoadSound(std::string_view name, std::string_view fileName) {
    auto sound = std::make_unique<TBriskSound>();
    sound->LoadFromFile(fileName);
    sound->Name = name;
    Add(std::move(sound));
}

void TBriskSoundEngine::SetMuted(bool muted) {
    Muted = muted;
    if (muted) Mix_HaltChannel(-1);
}

void PlaySound(std::string_view name) {
    if (SoundEngine == nullptr || SoundEngine->Muted || SoundEngine->Volume == 0) return;
    TBriskSound* sound = SoundEngine->Find(name);
    if (sound == nullptr) {
        // A file that does not load still leaves a sound object, so it is tried once per run.
        SoundEngine->LoadSound(name, "sound\\" + std::string(name) + ".wav");
        sound = SoundEngine->Find(name);
    }
    sound->Play(kEffectVolume * SoundEngine->Volume / kFullVolumePercent);
}

bool ToggleSoundMute() {
    if (SoundEngine == nullptr) return false;
    SoundEngine->SetMuted(!SoundEngine->Muted);
    return SoundEngine->Muted;
}

int32_t VolumeFromText(std::string_view text) {
    const auto value = ParseProfileInteger(text);
    return value ? std::clamp(*value, 0, kFullVolumePercent) : kFullVolumePercent;
}
