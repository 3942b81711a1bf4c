// The one video surface: SDL video start, the window (or full screen) showing the 640 by 480
// picture at 24 bits, scaled up by a whole factor, its caption, the per-frame present with
// its frame pacing, and the events with mouse positions taken back to the picture's pixels.
// Every draw of the library blits onto Screen->Surface; nothing above learns the window's size.
#pragma once

#include "media/SurfaceUtils.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

union SDL_Event;

// The picture every screen draws, in pixels.
inline constexpr int32_t kPictureWidth = 640;
inline constexpr int32_t kPictureHeight = 480;
inline constexpr int32_t kMaxScale = 3;

// Which cap a frame is held to: a match runs at "MaxFPS", the menu screens at no more than
// kMenuFps.
enum class TFramePace { Menu, Match };
inline constexpr int32_t kDefaultMaxFps = 100;
inline constexpr int32_t kMenuFps = 30;

class TBriskDraw {
public:
    // Starts SDL video and opens the window; sets VideoFailed when no surface came back. The
    // folder and executable name locate the start-up file ("FullScreen", "Scale", "MaxFPS").
    TBriskDraw(std::string appPath, std::string_view exeName);
    ~TBriskDraw();
    TBriskDraw(const TBriskDraw&) = delete;
    TBriskDraw& operator=(const TBriskDraw&) = delete;

    // Presents the finished frame, then waits out the rest of its time slot at the pace's cap.
    void Flip(TFramePace pace = TFramePace::Menu);
    // Shows the picture in the window. Unless the picture is the window itself, only what
    // changed since the last present is enlarged (and widened) into the window, and only the
    // rows holding it are sent to the screen.
    void Present();
    // Draws the frame's backdrop, the layer everything else is drawn over, with draw. When it
    // is the same image, watchable for change and unchanged since, at the same place as the last
    // frame's, the picture can differ from the shown one only where the library drew this
    // frame or the last, and the scaled present compares only there.
    void DrawBackdrop(SDL_Surface* image, bool watchable, int32_t x, int32_t y,
                      const std::function<void()>& draw);
    // SDL_PollEvent with mouse positions in picture pixels. F11 and Alt+Enter switch between
    // window and full screen here and never reach the caller.
    bool PollEvent(SDL_Event& event);
    void ToggleFullScreen();
    // Reopens the window at 640·scale by 480·scale (1 to 3); the picture keeps its contents.
    void SetScale(int32_t scale);
    void SetCaption(std::string_view text);
    // r | g << 8 | b << 16, the byte order of an SDL colour record.
    [[nodiscard]] static uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue);

    SDL_Surface* Surface = nullptr; // the 640 by 480 picture at 24 bits; may be the window's own surface
    SDL_Surface* Window = nullptr;  // owned by SDL, valid until the next mode change or SDL_Quit
    TBriskRect ScreenRect;          // the whole picture
    std::string AppPath;            // with the trailing "/"
    bool FullScreen = false;
    int32_t Scale = 1;
    // Frames per second at most: in a match and on the menu screens; 0 leaves frames unpaced.
    int32_t MatchFps = kDefaultMaxFps;
    int32_t MenuFps = kMenuFps;
    // SDL's dummy driver: nobody looks at the window, so nothing waits for a player.
    bool Headless = false;
    uint32_t FrameCount = 0; // frames presented since start
    // Scaled presents that compared only what was drawn over a kept backdrop.
    uint32_t NarrowPresents = 0;

private:
    // Sets the video mode for FullScreen and Scale; false when SDL refused it.
    bool OpenWindow();
    void WaitForNextFrame(int32_t fps);

    // The picture whenever the window cannot be drawn on directly: when it is scaled or not at
    // 24 bits.
    TSurfacePtr OwnPicture;
    // The picture as the scaled window shows it, row after row; empty when the window's
    // contents are unknown (a new mode), so the next present enlarges every row. Unused
    // unscaled, where the window itself is compared with the picture.
    std::vector<uint8_t> ShownPicture;
    // The window has 32 bits, as desktops do, so presenting it needs no conversion of SDL's
    // own, which costs many times our enlargement; a 16- or 24-bit desktop gets 24.
    int32_t WindowDepth = 32;
    // The backdrops of the last frame and this one; Image is null when a frame had none.
    struct TBackdrop {
        SDL_Surface* Image = nullptr;
        int32_t X = 0;
        int32_t Y = 0;
    };
    TBackdrop LastBackdrop;
    TBackdrop FrameBackdrop;
    int32_t FrameBackdrops = 0;
    // This frame's backdrop is the last frame's, pixel for pixel.
    bool BackdropKept = false;
    // What the library drew over the last frame's backdrop; LastAreasKnown is false when that
    // is not known in full.
    std::vector<TBriskRect> LastAreas;
    bool LastAreasKnown = false;
    // A row's groups of pixels the present compares, one bit each, reused from frame to frame.
    std::vector<uint64_t> Groups;
    void ShowPicture();
    [[nodiscard]] bool MarkDrawnGroups();
    void EndFrameRecord();
    uint32_t NextFrameTick = 0;
};

// "FullScreen" value -> full screen when it starts with "Y" or "y".
[[nodiscard]] bool FullScreenFromText(std::string_view text);
// The largest scale (1 to 3) whose window fits the desktop, with room for window borders and
// a panel unless it is full screen; 1 when the desktop size is unknown (0).
[[nodiscard]] int32_t FittingScale(int32_t desktopWidth, int32_t desktopHeight, bool fullScreen);
// "Scale" value -> 1, 2 or 3; anything else gives fitting.
[[nodiscard]] int32_t ScaleFromText(std::string_view text, int32_t fitting);
// "MaxFPS" value -> frames per second: 0 (unpaced) up to 1000; a missing, negative or
// unreadable value gives kDefaultMaxFps.
[[nodiscard]] int32_t MaxFpsFromText(std::string_view text);

extern TBriskDraw* Screen;
// True when the video mode could not be set; the game then ends with exit code 1.
extern bool VideoFailed;
