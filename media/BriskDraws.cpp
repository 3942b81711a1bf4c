// SDL video start, the window at its scale, full screen, the per-frame present and its pacing,
// and events in picture pixels.
#include "media/BriskDraws.h"

#include "media/BriskLogger.h"
#include "media/StartupFile.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"

#include <SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

TBriskDraw* Screen = nullptr;
bool VideoFailed = false;

namespace {

constexpr int kScreenDepth = 24;
// Room a window needs on the desktop beyond its picture: its borders and title bar, and a
// panel or task bar beside it.
constexpr int32_t kWindowRoomX = 64;
constexpr int32_t kWindowRoomY = 96;
// A slot of 1 ms is the finest the millisecond tick can keep.
constexpr int32_t kHighestFps = 1000;

void LogError(const std::string& message, std::string_view location) {
    if (Logger != nullptr) Logger->LogError(message, location);
}

void LogStatus(const std::string& message, std::string_view location) {
    if (Logger != nullptr) Logger->LogStatus(message, location);
}

void LogVideoModeError(std::string_view location) {
    // The message has always named 16 bits although 24 are asked for; log readers match it.
    LogError(std::string("Couldn't set 640x480x16 video mode : ") + SDL_GetError(), location);
}

bool IsFullScreenKey(const SDL_keysym& key) {
    const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
    return key.sym == SDLK_F11 || (enter && (key.mod & KMOD_ALT) != 0);
}

// Window pixels back to picture pixels: the window shows each picture pixel as a scale by
// scale block from its top left corner.
Uint16 ToPicture(Uint16 windowPixel, int32_t scale) {
    return static_cast<Uint16>(windowPixel / scale);
}

} // namespace

bool FullScreenFromText(std::string_view text) {
    return !text.empty() && (text.front() == 'Y' || text.front() == 'y');
}

int32_t FittingScale(int32_t desktopWidth, int32_t desktopHeight, bool fullScreen) {
    const int32_t roomX = fullScreen ? 0 : kWindowRoomX;
    const int32_t roomY = fullScreen ? 0 : kWindowRoomY;
    for (int32_t scale = kMaxScale; scale > 1; --scale)
        if (kPictureWidth * scale + roomX <= desktopWidth && kPictureHeight * scale + roomY <= desktopHeight)
            return scale;
    return 1;
}

int32_t ScaleFromText(std::string_view text, int32_t fitting) {
    const auto value = ParseProfileInteger(text);
    return value && *value >= 1 && *value <= kMaxScale ? *value : fitting;
}

int32_t MaxFpsFromText(std::string_view text) {
    const auto value = ParseProfileInteger(text);
    if (!value || *value < 0) return kDefaultMaxFps;
    return std::min(*value, kHighestFps);
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
    const auto startup = [&](std::string_view key) {
        return ReadStartupValue(appPath, exeName, key).value_or("");
    };
    FullScreen = FullScreenFromText(startup("FullScreen"));
    // Before the first mode is set, SDL reports the desktop's size (0 when the driver has none)
    // and its pixel format.
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    const int32_t fitting =
        desktop != nullptr ? FittingScale(desktop->current_w, desktop->current_h, FullScreen) : 1;
    if (desktop != nullptr && desktop->vfmt != nullptr &&
        (desktop->vfmt->BytesPerPixel == 2 || desktop->vfmt->BytesPerPixel == 3))
        WindowDepth = kScreenDepth;
    Scale = ScaleFromText(startup("Scale"), fitting);
    MatchFps = MaxFpsFromText(startup("MaxFPS"));
    MenuFps = std::min(MatchFps, kMenuFps);
    char driver[32] = {};
    Headless = SDL_VideoDriverName(driver, sizeof driver) != nullptr && std::string_view(driver) == "dummy";

    if (!OpenWindow() && Scale > 1) {
        // A mode the screen cannot take at this size may still work unscaled.
        Scale = 1;
        OpenWindow();
    }
    VideoFailed = Window == nullptr;
    if (VideoFailed) LogVideoModeError("BriskDraw.Create");
    ScreenRect = MakeRect(0, 0, Surface != nullptr ? Surface->w : 0, Surface != nullptr ? Surface->h : 0);
    AppPath = std::move(appPath);
}

TBriskDraw::~TBriskDraw() {
    if (Logger != nullptr) Logger->LogStatus("BriskDraw surface being cleared", "TBriskDraw.Destroy");
    // The window's surface belongs to SDL and goes with SDL_Quit, which the library calls next.
    Window = nullptr;
    Surface = nullptr;
}

bool TBriskDraw::OpenWindow() {
    // A software surface in both cases: no hardware-surface or double-buffer flag.
    const Uint32 flags = FullScreen ? (SDL_FULLSCREEN | SDL_HWPALETTE) : SDL_HWPALETTE;
    Window = SDL_SetVideoMode(kPictureWidth * Scale, kPictureHeight * Scale, WindowDepth, flags);
    ShownPicture.clear();
    // Whatever was drawn before, the next two presents compare the whole picture.
    DrawnAreas.Incomplete = true;
    if (Window == nullptr) {
        Surface = nullptr;
        DrawnAreas.Picture = nullptr;
        return false;
    }
    if (Scale == 1 && Window->format->BitsPerPixel == kScreenDepth) {
        OwnPicture.reset();
        Surface = Window;
        DrawnAreas.Picture = Surface;
        return true;
    }
    // The picture stays at 24 bits with the window's channel masks, so pictures converted for
    // it at load stay fast to draw and the present only enlarges (and widens) its pixels.
    const SDL_PixelFormat& format = *Window->format;
    if (!OwnPicture || OwnPicture->format->Rmask != format.Rmask ||
        OwnPicture->format->Gmask != format.Gmask || OwnPicture->format->Bmask != format.Bmask) {
        OwnPicture.reset(SDL_CreateRGBSurface(SDL_SWSURFACE, kPictureWidth, kPictureHeight, kScreenDepth,
                                              format.Rmask, format.Gmask, format.Bmask, 0));
    }
    Surface = OwnPicture.get();
    DrawnAreas.Picture = Surface;
    return Surface != nullptr;
}

void TBriskDraw::Flip(TFramePace pace) {
    ++FrameCount;
    Present();
    WaitForNextFrame(pace == TFramePace::Match ? MatchFps : MenuFps);
}

void TBriskDraw::DrawBackdrop(SDL_Surface* image, bool watchable, int32_t x, int32_t y,
                              const std::function<void()>& draw) {
    ++FrameBackdrops;
    BackdropKept = watchable && image != nullptr && image == LastBackdrop.Image && x == LastBackdrop.X &&
                   y == LastBackdrop.Y && DrawnAreas.Backdrop == image && !DrawnAreas.BackdropDrawnOn;
    struct TPause {
        TPause() { DrawnAreas.Paused = true; }
        ~TPause() { DrawnAreas.Paused = false; }
        TPause(const TPause&) = delete;
        TPause& operator=(const TPause&) = delete;
    };
    {
        const TPause pause;
        draw();
    }
    FrameBackdrop = watchable ? TBackdrop{image, x, y} : TBackdrop{};
    DrawnAreas.Backdrop = FrameBackdrop.Image;
    DrawnAreas.BackdropDrawnOn = false;
}

bool TBriskDraw::MarkDrawnGroups() {
    // Any doubt compares everything: no backdrop or a second one, a changed or moved one, or
    // draws of this frame or the last that were not all recorded.
    if (!BackdropKept || FrameBackdrops != 1 || !LastAreasKnown || DrawnAreas.Incomplete ||
        DrawnAreas.Picture != Surface)
        return false;
    const int32_t perRow = (Surface->w + kGroupPixels - 1) / kGroupPixels;
    if (perRow > 64) return false;
    Groups.assign(static_cast<size_t>(Surface->h), 0);
    const auto mark = [&](const TBriskRect& area) {
        if (area.W == 0 || area.H == 0) return;
        const int32_t first = std::clamp(area.X / kGroupPixels, 0, perRow - 1);
        const int32_t last = std::clamp((area.X + area.W - 1) / kGroupPixels, first, perRow - 1);
        const uint64_t upTo = last == 63 ? ~uint64_t{0} : (uint64_t{1} << (last + 1)) - 1;
        const uint64_t bits = upTo & ~((uint64_t{1} << first) - 1);
        const int32_t bottom = std::min(area.Y + area.H, Surface->h);
        for (int32_t y = std::max<int32_t>(area.Y, 0); y < bottom; ++y)
            Groups[static_cast<size_t>(y)] |= bits;
    };
    for (const TBriskRect& area : DrawnAreas.Areas)
        mark(area);
    for (const TBriskRect& area : LastAreas)
        mark(area);
    ++NarrowPresents;
    return true;
}

void TBriskDraw::EndFrameRecord() {
    LastAreas.swap(DrawnAreas.Areas);
    DrawnAreas.Areas.clear();
    LastAreasKnown = !DrawnAreas.Incomplete && DrawnAreas.Picture == Surface && Surface != nullptr;
    DrawnAreas.Incomplete = false;
    LastBackdrop = FrameBackdrops == 1 ? FrameBackdrop : TBackdrop{};
    FrameBackdrop = {};
    FrameBackdrops = 0;
    BackdropKept = false;
}

void TBriskDraw::Present() {
    ShowPicture();
    EndFrameRecord();
}

void TBriskDraw::ShowPicture() {
    if (Window == nullptr || Surface == nullptr) return;
    if (Surface == Window) {
        SDL_Flip(Window);
        return;
    }
    // Enlarging writes Scale² times the picture's bytes, more than drawing the whole frame
    // costs, so only what changed since the last present is written. Unscaled, the window is
    // compared with the picture itself: its row is a third larger than the picture's, and a
    // moving view, which changes every row, is spared copying each into a picture of what is
    // shown. Scaled, the window's rows are many times the picture's, and that copy is the
    // cheaper thing to compare with.
    if (Scale == 1) {
        const TRowRange written = RefreshScaled(Surface, Window, 1);
        if (written.First >= 0)
            SDL_UpdateRect(Window, 0, written.First, static_cast<Uint32>(Window->w),
                           static_cast<Uint32>(written.Last - written.First + 1));
        return;
    }
    const auto rowBytes = static_cast<size_t>(Surface->w) * Surface->format->BytesPerPixel;
    const auto rows = static_cast<size_t>(Surface->h);
    TRowRange written;
    if (ShownPicture.size() != rowBytes * rows) {
        ShownPicture.resize(rowBytes * rows);
        for (size_t y = 0; y < rows; ++y)
            std::memcpy(ShownPicture.data() + y * rowBytes,
                        static_cast<const uint8_t*>(Surface->pixels) +
                            y * static_cast<size_t>(Surface->pitch),
                        rowBytes);
        ScaleUp(Surface, Window, Scale);
        written = {0, Surface->h - 1};
    } else {
        written = ShowChangedPieces(Surface, ShownPicture.data(), Window, Scale,
                                    MarkDrawnGroups() ? std::span<const uint64_t>(Groups)
                                                      : std::span<const uint64_t>());
    }
    if (written.First < 0) return;
    SDL_UpdateRect(Window, 0, written.First * Scale, static_cast<Uint32>(Window->w),
                   static_cast<Uint32>((written.Last - written.First + 1) * Scale));
}

void TBriskDraw::WaitForNextFrame(int32_t fps) {
    if (fps <= 0) return;
    const uint32_t slotMs = static_cast<uint32_t>(1000 / fps);
    const uint32_t now = SystemTicks();
    // Signed, so the comparison holds across the tick's wrap.
    const auto aheadMs = static_cast<int32_t>(NextFrameTick - now);
    if (aheadMs > 0 && static_cast<uint32_t>(aheadMs) <= slotMs) {
        WaitTicks(static_cast<uint32_t>(aheadMs));
        // Slots follow each other, so a frame that ends early does not shift the ones after it.
        NextFrameTick += slotMs;
    } else {
        // The first frame, one that overran its slot, or a change to a faster pace: the next
        // slot starts now instead of catching up with frames that were never drawn.
        NextFrameTick = now + slotMs;
    }
}

bool TBriskDraw::PollEvent(SDL_Event& event) {
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_KEYDOWN && IsFullScreenKey(event.key.keysym)) {
            ToggleFullScreen();
            continue;
        }
        if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
            event.button.x = ToPicture(event.button.x, Scale);
            event.button.y = ToPicture(event.button.y, Scale);
        } else if (event.type == SDL_MOUSEMOTION) {
            event.motion.x = ToPicture(event.motion.x, Scale);
            event.motion.y = ToPicture(event.motion.y, Scale);
            event.motion.xrel = static_cast<Sint16>(event.motion.xrel / Scale);
            event.motion.yrel = static_cast<Sint16>(event.motion.yrel / Scale);
        }
        return true;
    }
    return false;
}

void TBriskDraw::ToggleFullScreen() {
    FullScreen = !FullScreen;
    // The mode is set anew, as at start, rather than switched in place: every driver can do
    // that (SDL_WM_ToggleFullScreen works on X11 only), so the switch behaves alike everywhere,
    // the tests' dummy driver included.
    if (!OpenWindow()) {
        LogVideoModeError("TBriskDraw.ToggleFullScreen");
        FullScreen = !FullScreen;
        OpenWindow();
        return;
    }
    LogStatus(FullScreen ? "Switched to full screen" : "Switched to a window", "TBriskDraw.ToggleFullScreen");
}

void TBriskDraw::SetScale(int32_t scale) {
    const int32_t previous = Scale;
    Scale = std::clamp(scale, 1, kMaxScale);
    if (!OpenWindow()) {
        LogVideoModeError("TBriskDraw.SetScale");
        Scale = previous;
        OpenWindow();
    }
}

void TBriskDraw::SetCaption(std::string_view text) {
    SDL_WM_SetCaption(std::string(text).c_str(), nullptr);
}
