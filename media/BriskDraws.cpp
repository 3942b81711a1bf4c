// SDL video start, the window and the per-frame present.
#include "media/BriskDraws.h"

#include "media/BriskLogger.h"
#include "media/StartupFile.h"

#include <SDL.h>
#include <cstdlib>

TBriskDraw* Screen = nullptr;
bool VideoFailed = false;

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kScreenDepth = 24;

void LogError(const std::string& message, std::string_view location) {
    if (Logger != nullptr) Logger->LogError(message, location);
}

} // namespace

bool FullScreenFromText(std::string_view text) {
    return !text.empty() && (text.front() == 'Y' || text.front() == 'y');
}

uint32_t TBriskDraw::MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

TBriskDraw::TBriskDraw(std::string appPath, std::string_view exeName) {
    VideoFailed = false;
    if (SDL_Init(SDL_INIT_VIDEO) == -1) {
        LogError(std::string("Could not initialize SDL : ") + SDL_GetError(), "BriskDraw.Create");
        SDL_Quit();
        std::exit(1);
    }
    FullScreen = FullScreenFromText(ReadStartupValue(appPath, exeName, "FullScreen").value_or(""));
    // A software surface in both cases: no hardware-surface or double-buffer flag.
    const Uint32 flags = FullScreen ? (SDL_FULLSCREEN | SDL_HWPALETTE) : SDL_HWPALETTE;
    Surface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, kScreenDepth, flags);
    if (Surface == nullptr) {
        // The message has always named 16 bits although 24 are asked for; log readers match it.
        LogError(std::string("Couldn't set 640x480x16 video mode : ") + SDL_GetError(), "BriskDraw.Create");
        VideoFailed = true;
    } else {
        ScreenRect = MakeRect(0, 0, Surface->w, Surface->h);
    }
    AppPath = std::move(appPath);
}

TBriskDraw::~TBriskDraw() {
    if (Logger != nullptr) Logger->LogStatus("BriskDraw surface being cleared", "TBriskDraw.Destroy");
    // The video surface belongs to SDL and goes with SDL_Quit, which the library calls next.
    Surface = nullptr;
}

void TBriskDraw::Flip() {
    ++FrameCount;
    if (Surface != nullptr) SDL_Flip(Surface);
}

void TBriskDraw::SetCaption(std::string_view text) {
    SDL_WM_SetCaption(std::string(text).c_str(), nullptr);
}
