// The media library's start and end, in the order every other unit relies on.
#include "media/BriskLibrary.h"

#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "media/BriskLogger.h"
#include "media/BriskSound.h"
#include "media/BriskText.h"
#include "media/StartupFile.h"
#include "platform/GameFolders.h"
#include "platform/Paths.h"
#include "platform/Problems.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <string>

namespace {

// Mono unsigned 8-bit at 22050 Hz with a 512-frame buffer: small effects, low latency.
constexpr int kAudioRate = 22050;
constexpr int kAudioChannels = 1;
constexpr int kAudioBufferFrames = 512;

} // namespace

TBriskLibrary::TBriskLibrary() {
    Start(SettingsFolder(), ExecutableFileName(), LogFolder());
}

TBriskLibrary::TBriskLibrary(std::string appPath, std::string exeName, std::string logPath) {
    Start(std::move(appPath), std::move(exeName), std::move(logPath));
}

void TBriskLibrary::Start(std::string appPath, std::string exeName, std::string logPath) {
    OwnedLogger = std::make_unique<TLogger>(appPath, exeName, std::move(logPath));
    Logger = OwnedLogger.get();
    Logger->LogStatus("Starting Application", "Initialization");
    // What the platform layer meets and handles (a data file refused for its size) is logged.
    SetProblemListener([](std::string_view message, std::string_view location) {
        if (Logger != nullptr) Logger->LogError(message, location);
    });

    Logger->LogStatus("SDL being started up.", "BriskDraws.Initialization");
    // 1.2.50 and later is sdl12-compat, SDL 1.2 on top of SDL 2: the log tells which one ran.
    const SDL_version* linked = SDL_Linked_Version();
    Logger->LogStatus("Using SDL " + std::to_string(linked->major) + "." + std::to_string(linked->minor) +
                          "." + std::to_string(linked->patch),
                      "BriskDraws.Initialization");
    OwnedScreen = std::make_unique<TBriskDraw>(appPath, exeName);
    Screen = OwnedScreen.get();

    OwnedImageList = std::make_unique<TBriskImageList>();
    ImageList = OwnedImageList.get();

    TrueTypeStarted = TTF_Init() == 0;
    if (!TrueTypeStarted)
        Logger->LogError(std::string("Couldn't initialize TTF: ") + SDL_GetError(), "BriskText.Initialize");
    OwnedFontList = std::make_unique<TBriskFontList>();
    FontList = OwnedFontList.get();

    AudioOpened = Mix_OpenAudio(kAudioRate, AUDIO_U8, kAudioChannels, kAudioBufferFrames) == 0;
    if (AudioOpened) {
        OwnedSoundEngine = std::make_unique<TBriskSoundEngine>();
        OwnedSoundEngine->Volume = VolumeFromText(ReadStartupValue(appPath, exeName, "Volume").value_or(""));
        SoundEngine = OwnedSoundEngine.get();
    } else {
        Logger->LogError(std::string("Couldn't set 22050 Hz 8-bit audio - Reason : ") + SDL_GetError(),
                         "Main");
    }
}

TBriskLibrary::~TBriskLibrary() {
    SoundEngine = nullptr;
    OwnedSoundEngine.reset();
    if (AudioOpened) Mix_CloseAudio();

    Logger->LogStatus("Closing down fonts", "BriskText.Finalization");
    FontList = nullptr;
    OwnedFontList.reset();
    if (TrueTypeStarted) TTF_Quit();

    ImageList = nullptr;
    OwnedImageList.reset();

    Logger->LogStatus("SDL being closed down.", "BriskDraws.Finalization");
    OwnedScreen.reset();
    Screen = nullptr;
    SDL_Quit();

    Logger->LogStatus("Terminating Application", "Finalization");
    SetProblemListener({});
    Logger = nullptr;
    OwnedLogger.reset();
}
