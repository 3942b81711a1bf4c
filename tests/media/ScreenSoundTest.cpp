// The window from the start-up file, and effects limited to one start per 500 ms, played at
// the start-up volume or muted.
#include "media/BriskDraws.h"
#include "media/BriskSound.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fstream>

namespace {

struct TScreenCase {
    std::optional<std::string> StartupText;
    bool FullScreen;
    const char* Label;
};
void PrintTo(const TScreenCase& c, std::ostream* os) {
    *os << c.Label;
}

class ScreenTest : public MediaFixture, public ::testing::WithParamInterface<TScreenCase> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = GetParam().StartupText;
        return options;
    }
};

TEST_P(ScreenTest, OpensA640By480WindowAt24BitsOrFullScreen) {
    ASSERT_FALSE(VideoFailed);
    ASSERT_NE(Screen->Surface, nullptr);
    EXPECT_EQ(Screen->Surface->w, 640);
    EXPECT_EQ(Screen->Surface->h, 480);
    EXPECT_EQ(Screen->Surface->format->BitsPerPixel, 24);
    EXPECT_EQ(Screen->ScreenRect.W, 640);
    EXPECT_EQ(Screen->ScreenRect.H, 480);
    EXPECT_EQ(Screen->FullScreen, GetParam().FullScreen);
    EXPECT_EQ(Screen->AppPath, Media->AppPath());
}

INSTANTIATE_TEST_SUITE_P(StartupFiles, ScreenTest,
                         ::testing::Values(TScreenCase{std::nullopt, false, "NoFile"},
                                           TScreenCase{"", false, "Empty"},
                                           TScreenCase{"FullScreen=Yes\n", true, "Yes"},
                                           TScreenCase{"fullscreen=y\n", true, "LowerY"},
                                           TScreenCase{"FullScreen=1\n", false, "One"},
                                           TScreenCase{"FullScreen=\n", false, "EmptyValue"},
                                           TScreenCase{"FullScreen=No\n", false, "No"}),
                         [](const auto& info) { return std::string(info.param.Label); });

TEST(Screen, LevelsBelowThreeLogNoStatusLines) {
    for (const char* level : {"1", "2"}) {
        TMediaOptions options;
        options.StartupText = std::string("Debug=") + level + "\n";
        TMediaEnvironment media(options);
        media.Stop();
        EXPECT_EQ(media.LogText().find("SDL being"), std::string::npos) << "level " << level;
    }
}

class SoundTest : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_NE(SoundEngine, nullptr) << "the dummy audio driver opens a device";
        std::filesystem::create_directories(Media->Folder() / "sound");
        for (const char* name : {"Shoot", "HitHurt"})
            WriteSilentWav(Media->Folder() / "sound" / (std::string(name) + ".wav"), 3000);
    }
};

TEST_F(SoundTest, OneEffectStartsAtMostOnceEvery500Ms) {
    const struct {
        uint32_t AfterMs;
        int Playing;
    } steps[] = {{0, 1}, {300, 1}, {199, 1}, {1, 2}, {499, 2}, {1, 3}};
    for (const auto& step : steps) {
        Media->Clock.Advance(step.AfterMs);
        PlaySound("Shoot");
        EXPECT_EQ(Mix_Playing(-1), step.Playing) << "after " << step.AfterMs << " ms more";
    }
    EXPECT_EQ(SoundEngine->Count(), 1);
}

TEST_F(SoundTest, DifferentEffectsAtTheSameMomentBothPlay) {
    PlaySound("Shoot");
    PlaySound("HitHurt");
    EXPECT_EQ(Mix_Playing(-1), 2);
    EXPECT_NE(SoundEngine->Find("Shoot")->Channel, SoundEngine->Find("HitHurt")->Channel);
}

TEST_F(SoundTest, MissingFileIsTriedOnceAndStaysSilent) {
    PlaySound("Waiting");
    TBriskSound* waiting = SoundEngine->Find("Waiting");
    ASSERT_NE(waiting, nullptr);
    EXPECT_FALSE(waiting->Chunk);
    WriteSilentWav(Media->Folder() / "sound" / "Waiting.wav", 1000);
    Media->Clock.Advance(600);
    PlaySound("Waiting");
    EXPECT_FALSE(SoundEngine->Find("Waiting")->Chunk) << "later requests do not touch the disk";
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(SoundEngine->Count(), 1);
    EXPECT_EQ(SoundEngine->Find("waiting"), nullptr);
}

TEST_F(SoundTest, AHugeFileOrAFolderIsRefusedByName) {
    std::ofstream(Media->Folder() / "sound" / "Roar.wav", std::ios::binary)
        << std::string(static_cast<size_t>(kMaxSoundFileBytes) + 1, '\0');
    std::filesystem::create_directory(Media->Folder() / "sound" / "Echo.wav");
    for (const auto& [name, reason] :
         {std::pair{"Roar", "larger than 16 MB"}, std::pair{"Echo", "not a regular file"}}) {
        PlaySound(name);
        ASSERT_NE(SoundEngine->Find(name), nullptr);
        EXPECT_FALSE(SoundEngine->Find(name)->Chunk);
        EXPECT_NE(Media->LogText().find(std::string("MSG : Refused sound sound\\") + name +
                                        ".wav: " + reason + " IN : TBriskSound.LoadFromFile"),
                  std::string::npos)
            << Media->LogText();
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST(SoundVolume, StartupValueGivesPercentHeldToItsRange) {
    const struct {
        const char* Text;
        int32_t Percent;
    } cases[] = {{"", 100},    {"0", 0},  {"1", 1},      {"50", 50}, {"100", 100},
                 {"101", 100}, {"-3", 0}, {"loud", 100}, {"$20", 32}};
    for (const auto& c : cases)
        EXPECT_EQ(VolumeFromText(c.Text), c.Percent) << '"' << c.Text << '"';
}

class VolumeTest : public MediaFixture, public ::testing::WithParamInterface<std::pair<const char*, int>> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = GetParam().first;
        return options;
    }
};

TEST_P(VolumeTest, EveryEffectPlaysAtTheStartupVolume) {
    ASSERT_NE(SoundEngine, nullptr);
    std::filesystem::create_directories(Media->Folder() / "sound");
    WriteSilentWav(Media->Folder() / "sound" / "Shoot.wav", 3000);
    PlaySound("Shoot");
    const int expected = GetParam().second;
    if (expected == 0) {
        EXPECT_EQ(Mix_Playing(-1), 0) << "nothing is started at volume 0";
        return;
    }
    ASSERT_EQ(Mix_Playing(-1), 1);
    EXPECT_EQ(Mix_Volume(SoundEngine->Find("Shoot")->Channel, -1), expected);
}

INSTANTIATE_TEST_SUITE_P(StartupFiles, VolumeTest,
                         ::testing::Values(std::pair{"", 100}, std::pair{"Volume=50\n", 50},
                                           std::pair{"volume=1\n", 1}, std::pair{"Volume=0\n", 0},
                                           std::pair{"Volume=250\n", 100}));

TEST_F(SoundTest, MutingStopsWhatPlaysAndDropsEffectsUntilUnmuted) {
    PlaySound("Shoot");
    ASSERT_EQ(Mix_Playing(-1), 1);
    EXPECT_TRUE(ToggleSoundMute());
    EXPECT_EQ(Mix_Playing(-1), 0) << "muting stops what plays";
    Media->Clock.Advance(600);
    PlaySound("HitHurt");
    PlaySound("Shoot");
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_FALSE(ToggleSoundMute());
    PlaySound("HitHurt");
    EXPECT_EQ(Mix_Playing(-1), 1);
}

TEST(Sound, NoAudioDeviceMeansSilence) {
    TMediaEnvironment media;
    TBriskSoundEngine* const engine = SoundEngine;
    SoundEngine = nullptr; // as after a failed Mix_OpenAudio
    PlaySound("Shoot");
    EXPECT_FALSE(ToggleSoundMute());
    SoundEngine = engine;
    SUCCEED();
}

} // namespace
