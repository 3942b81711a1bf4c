// The one video surface: SDL video start, the 640 by 480 window at 24 bits (or full screen),
// its caption and the per-frame present. Every draw of the library blits onto Screen->Surface.
#pragma once

#include "media/SurfaceUtils.h"

#include <cstdint>
#include <string>
#include <string_view>

class TBriskDraw {
public:
    // Starts SDL video and sets the mode; sets VideoFailed when no surface came back. The
    // folder and executable name locate the start-up file ("FullScreen").
    TBriskDraw(std::string appPath, std::string_view exeName);
    ~TBriskDraw();
    TBriskDraw(const TBriskDraw&) = delete;
    TBriskDraw& operator=(const TBriskDraw&) = delete;

    void Flip();
    void SetCaption(std::string_view text);
    // r | g << 8 | b << 16, the byte order of an SDL colour record.
    [[nodiscard]] static uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue);

    SDL_Surface* Surface = nullptr; // owned by SDL, valid until SDL_Quit
    TBriskRect ScreenRect;
    std::string AppPath; // with the trailing "/"
    bool FullScreen = false;
    uint32_t FrameCount = 0; // frames presented since start
};

// "FullScreen" value -> full screen when it starts with "Y" or "y".
[[nodiscard]] bool FullScreenFromText(std::string_view text);

extern TBriskDraw* Screen;
// True when the video mode could not be set; the game then ends with exit code 1.
extern bool VideoFailed;
