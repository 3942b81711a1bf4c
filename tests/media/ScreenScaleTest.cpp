// The window at scale 1 to 3 showing the 640 by 480 picture enlarged, mouse positions taken
// back to picture pixels, full screen switched by F11 and Alt+Enter, and the frame wait asked
// of the clock at the cap of the frame's pace.
#include "media/BriskDraws.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(ScreenSettings, ScaleFitsTheDesktopWithRoomForBordersUnlessFullScreen) {
    const struct {
        int32_t Width, Height;
        bool FullScreen;
        int32_t Expected;
    } cases[] = {
        {0, 0, false, 1},       {1920, 1080, false, 2}, {1920, 1080, true, 2},  {1344, 1056, false, 2},
        {1343, 1056, false, 1}, {1344, 1055, false, 1}, {1280, 960, true, 2},   {1280, 960, false, 1},
        {2560, 1440, false, 2}, {2560, 1440, true, 3},  {3840, 2160, false, 3}, {7680, 4320, false, 3},
        {1024, 768, false, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FittingScale(c.Width, c.Height, c.FullScreen), c.Expected)
            << c.Width << "x" << c.Height << (c.FullScreen ? " full screen" : " window");
}

TEST(ScreenSettings, StartupValuesGiveScaleAndFrameCapOrTheirDefaults) {
    const struct {
        const char* Text;
        int32_t Scale, MaxFps;
    } cases[] = {
        {"", 2, 100},
        {"1", 1, 1},
        {"2", 2, 2},
        {" 3 ", 3, 3},
        {"0", 2, 0},
        {"4", 2, 4},
        {"-1", 2, 100},
        {"x", 2, 100},
        {"60", 2, 60},
        {"1000", 2, 1000},
        {"1001", 2, 1000},
        {"$1E", 2, 30},
        {"99999999999", 2, 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleFromText(c.Text, 2), c.Scale) << '"' << c.Text << '"';
        EXPECT_EQ(MaxFpsFromText(c.Text), c.MaxFps) << '"' << c.Text << '"';
    }
}

class ScaledScreenTest : public MediaFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=" + std::to_string(GetParam()) + "\n";
        return options;
    }
    void SetUp() override {
        MediaFixture::SetUp();
        SDL_Event stale;
        while (SDL_PollEvent(&stale) != 0) {
        }
    }
};

TEST_P(ScaledScreenTest, WindowIsScaledWhileThePictureStays640By480At24Bits) {
    const int32_t scale = GetParam();
    ASSERT_FALSE(VideoFailed);
    EXPECT_EQ(Screen->Scale, scale);
    EXPECT_EQ(Screen->Window->w, 640 * scale);
    EXPECT_EQ(Screen->Window->h, 480 * scale);
    EXPECT_EQ(Screen->Surface->w, 640);
    EXPECT_EQ(Screen->Surface->h, 480);
    EXPECT_EQ(Screen->Surface->format->BitsPerPixel, 24);
    EXPECT_EQ(Screen->ScreenRect.W, 640);
    EXPECT_EQ(Screen->ScreenRect.H, 480);
    EXPECT_EQ(Screen->Window->format->BitsPerPixel, 32) << "a desktop of unknown depth gets 32 bits";
}

TEST_P(ScaledScreenTest, PresentShowsEachPicturePixelAsAScaleByScaleBlock) {
    const int32_t scale = GetParam();
    SDL_FillRect(Screen->Surface, nullptr, SDL_MapRGB(Screen->Surface->format, 0, 0, 0));
    const struct {
        int32_t X, Y;
        uint8_t Red, Green, Blue;
    } pixels[] = {{0, 0, 200, 10, 20}, {1, 0, 30, 210, 40}, {639, 479, 50, 60, 220}, {320, 17, 1, 2, 3}};
    for (const auto& p : pixels)
        WritePixel(Screen->Surface, p.X, p.Y, p.Red, p.Green, p.Blue);
    Screen->Present();
    for (const auto& p : pixels) {
        const uint32_t color = p.Red | p.Green << 8 | p.Blue << 16;
        for (int32_t dy = 0; dy < scale; ++dy)
            for (int32_t dx = 0; dx < scale; ++dx)
                EXPECT_EQ(ReadColor(Screen->Window, p.X * scale + dx, p.Y * scale + dy), color)
                    << p.X << ", " << p.Y << " + " << dx << ", " << dy;
    }
    EXPECT_EQ(ReadColor(Screen->Window, 2 * scale, 0), 0U) << "the pixel right of (1, 0) is black";
    EXPECT_EQ(ReadColor(Screen->Window, 320 * scale, 18 * scale), 0U) << "the pixel below (320, 17)";
}

TEST_P(ScaledScreenTest, OnlyRowsThatChangedAreEnlargedAgainUntilTheModeChanges) {
    const int32_t scale = GetParam();
    SDL_FillRect(Screen->Surface, nullptr, SDL_MapRGB(Screen->Surface->format, 40, 40, 40));
    Screen->Present();
    // A mark in the window where the picture's row 10 is shown, then a change in row 20 only.
    WritePixel(Screen->Window, 5, 10 * scale, 250, 0, 0);
    WritePixel(Screen->Surface, 5, 20, 0, 250, 0);
    Screen->Present();
    if (scale == 1)
        EXPECT_EQ(ReadColor(Screen->Window, 5, 10), 40U * 0x010101U)
            << "unscaled, the window itself is compared with the picture, so the mark is painted over";
    else
        EXPECT_EQ(ReadColor(Screen->Window, 5, 10 * scale), 250U) << "row 10 did not change, so it was kept";
    EXPECT_EQ(ReadColor(Screen->Window, 5 * scale, 20 * scale), 250U << 8) << "row 20 is enlarged anew";
    Screen->ToggleFullScreen();
    WritePixel(Screen->Window, 5, 10 * scale, 250, 0, 0);
    Screen->Present();
    EXPECT_EQ(ReadColor(Screen->Window, 5, 10 * scale), 40U * 0x010101U)
        << "a new mode shows every row again";
    Screen->ToggleFullScreen();
}

TEST_P(ScaledScreenTest, ChangedPiecesOfARowAreShownAndTheRestOfItIsKept) {
    const int32_t scale = GetParam();
    SDL_FillRect(Screen->Surface, nullptr, SDL_MapRGB(Screen->Surface->format, 40, 40, 40));
    Screen->Present();
    // Changes at both ends of row 30, at both sides of a piece's edge, and a run across
    // several pieces; a mark in the window over an unchanged part of the same row.
    for (const int32_t x : {0, 15, 16, 300, 639})
        WritePixel(Screen->Surface, x, 30, 200, static_cast<uint8_t>(x / 3), 10);
    FillRect(Screen->Surface, 100, 30, 70, 1, 0, 0, 250);
    WritePixel(Screen->Window, 500 * scale, 30 * scale, 250, 0, 0);
    Screen->Present();
    int32_t wrong = 0;
    for (int32_t y = 30 * scale; y < 31 * scale; ++y)
        for (int32_t x = 0; x < 640 * scale; ++x)
            if (x != 500 * scale || y != 30 * scale)
                wrong += ReadColor(Screen->Window, x, y) != ReadColor(Screen->Surface, x / scale, y / scale);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(ReadColor(Screen->Window, 500 * scale, 30 * scale), scale == 1 ? 40U * 0x010101U : 250U)
        << (scale == 1 ? "unscaled, the window itself is compared, so the mark is painted over"
                       : "the piece under the mark did not change, so it was kept");
}

TEST_P(ScaledScreenTest, MousePositionsArriveInPicturePixels) {
    const int32_t scale = GetParam();
    // Window pixels at both ends of a picture pixel's block, and the next block's first.
    const struct {
        int32_t WindowX, WindowY, PictureX, PictureY;
    } cases[] = {
        {0, 0, 0, 0},
        {scale - 1, scale - 1, 0, 0},
        {scale, scale, 1, 1},
        {200 * scale - 1, 430 * scale, 199, 430},
        {200 * scale, 430 * scale - 1, 200, 429},
        {640 * scale - 1, 480 * scale - 1, 639, 479},
    };
    for (const auto& c : cases) {
        PushMouseUp(c.WindowX, c.WindowY);
        SDL_Event event{};
        ASSERT_TRUE(Screen->PollEvent(event));
        ASSERT_EQ(event.type, SDL_MOUSEBUTTONUP);
        EXPECT_EQ(event.button.x, c.PictureX) << c.WindowX;
        EXPECT_EQ(event.button.y, c.PictureY) << c.WindowY;
    }
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = static_cast<Uint16>(100 * scale);
    motion.motion.y = static_cast<Uint16>(50 * scale + scale - 1);
    motion.motion.xrel = static_cast<Sint16>(-6 * scale);
    SDL_PushEvent(&motion);
    SDL_Event event{};
    ASSERT_TRUE(Screen->PollEvent(event));
    EXPECT_EQ(event.motion.x, 100);
    EXPECT_EQ(event.motion.y, 50);
    EXPECT_EQ(event.motion.xrel, -6);
    EXPECT_FALSE(Screen->PollEvent(event));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledScreenTest, ::testing::Values(1, 2, 3));

class ScreenKeysTest : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=2\n";
        return options;
    }
    static void PushKey(Uint8 type, SDLKey key, SDLMod mod) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }
};

TEST_F(ScreenKeysTest, F11AndAltEnterSwitchFullScreenAndNeverReachTheGame) {
    const struct {
        Uint8 Type;
        SDLKey Key;
        SDLMod Mod;
        bool Toggles;
    } cases[] = {
        {SDL_KEYDOWN, SDLK_F11, KMOD_NONE, true},      {SDL_KEYDOWN, SDLK_F11, KMOD_NONE, true},
        {SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, true},   {SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT, true},
        {SDL_KEYDOWN, SDLK_KP_ENTER, KMOD_LALT, true}, {SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE, false},
        {SDL_KEYDOWN, SDLK_RETURN, KMOD_LCTRL, false}, {SDL_KEYUP, SDLK_F11, KMOD_NONE, false},
        {SDL_KEYDOWN, SDLK_F10, KMOD_NONE, false},
    };
    for (const auto& c : cases) {
        const bool before = Screen->FullScreen;
        PushKey(c.Type, c.Key, c.Mod);
        SDL_Event event{};
        EXPECT_EQ(Screen->PollEvent(event), !c.Toggles) << c.Key << " mod " << c.Mod;
        EXPECT_EQ(Screen->FullScreen, c.Toggles ? !before : before) << c.Key << " mod " << c.Mod;
        EXPECT_EQ(Screen->Window->w, 1280) << "the scale stays";
        EXPECT_EQ(Screen->Surface->w, 640);
    }
}

struct TPaceStep {
    TFramePace Pace;
    uint32_t BusyMs; // how long the frame took before its flip
    std::vector<uint32_t> Waits;
};

struct TPaceCase {
    const char* StartupText;
    std::vector<TPaceStep> Steps;
    const char* Label;
};
void PrintTo(const TPaceCase& c, std::ostream* os) {
    *os << c.Label;
}

class FramePaceTest : public MediaFixture, public ::testing::WithParamInterface<TPaceCase> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = GetParam().StartupText;
        return options;
    }
};

TEST_P(FramePaceTest, EachFrameWaitsOutTheRestOfItsSlotOnTheClock) {
    const std::vector<TPaceStep>& steps = GetParam().Steps;
    for (size_t frame = 0; frame < steps.size(); ++frame) {
        Media->Clock.Waits.clear();
        Media->Clock.Advance(steps[frame].BusyMs);
        Screen->Flip(steps[frame].Pace);
        EXPECT_EQ(Media->Clock.Waits, steps[frame].Waits) << "frame " << frame;
    }
}

constexpr TFramePace kMatch = TFramePace::Match;
constexpr TFramePace kMenu = TFramePace::Menu;

INSTANTIATE_TEST_SUITE_P(
    Caps, FramePaceTest,
    ::testing::Values(
        // 100 frames a second in a match: slots of 10 ms that follow each other; a frame that
        // overran its slot waits nothing and the next slot starts from its end.
        TPaceCase{"",
                  {{kMatch, 0, {}},
                   {kMatch, 3, {7}},
                   {kMatch, 0, {10}},
                   {kMatch, 10, {}},
                   {kMatch, 14, {}},
                   {kMatch, 9, {1}},
                   {kMatch, 11, {}}},
                  "MatchAt100"},
        // 30 on the menus: slots of 33 ms; going into the match's faster pace starts anew.
        TPaceCase{"",
                  {{kMenu, 0, {}}, {kMenu, 5, {28}}, {kMenu, 33, {}}, {kMatch, 0, {}}, {kMatch, 2, {8}}},
                  "MenusAt30"},
        TPaceCase{
            "MaxFPS=0\n", {{kMatch, 0, {}}, {kMatch, 0, {}}, {kMenu, 0, {}}, {kMenu, 1, {}}}, "Unpaced"},
        TPaceCase{"MaxFPS=50\n",
                  // The first menu frame waits out the match slot it started in.
                  {{kMatch, 0, {}}, {kMatch, 5, {15}}, {kMenu, 0, {20}}, {kMenu, 0, {33}}},
                  "MatchAt50MenusStayAt30"},
        TPaceCase{
            "MaxFPS=20\n", {{kMenu, 0, {}}, {kMenu, 0, {50}}, {kMatch, 0, {50}}}, "MenusNeverAboveTheCap"},
        TPaceCase{"MaxFPS=abc\n", {{kMatch, 0, {}}, {kMatch, 0, {10}}}, "UnreadableGivesTheDefault"}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(Screen, DummyDriverCountsAsHeadless) {
    TMediaEnvironment media;
    EXPECT_TRUE(Screen->Headless);
}

TEST(SurfaceScale, EnlargesWithinOneFormatOrFrom24To32BitsOnly) {
    const struct {
        int32_t FromDepth, ToDepth, Factor;
        bool Drawn;
    } cases[] = {{24, 24, 1, true}, {24, 24, 2, true},  {24, 24, 3, true},
                 {24, 32, 1, true}, {24, 32, 2, true},  {32, 32, 3, true},
                 {16, 16, 2, true}, {32, 24, 2, false}, {16, 32, 2, false}};
    for (const auto& c : cases) {
        const TSurfacePtr from = NewSurface(4, 3, c.FromDepth);
        const TSurfacePtr to = NewSurface(4 * c.Factor + 1, 3 * c.Factor, c.ToDepth);
        SDL_FillRect(to.get(), nullptr, SDL_MapRGB(to->format, 9, 9, 9));
        WritePixel(from.get(), 3, 2, 248, 0, 248);
        WritePixel(from.get(), 2, 2, 0, 252, 0);
        ScaleUp(from.get(), to.get(), c.Factor);
        const uint32_t magenta = ReadColor(from.get(), 3, 2);
        const uint32_t green = ReadColor(from.get(), 2, 2);
        const auto label = [&] {
            return std::to_string(c.FromDepth) + " to " + std::to_string(c.ToDepth) + " by " +
                   std::to_string(c.Factor);
        };
        if (!c.Drawn) {
            EXPECT_EQ(ReadColor(to.get(), 0, 0), ReadColor(to.get(), 4 * c.Factor, 0)) << label();
            continue;
        }
        EXPECT_EQ(ReadColor(to.get(), 3 * c.Factor, 2 * c.Factor), magenta) << label();
        EXPECT_EQ(ReadColor(to.get(), 4 * c.Factor - 1, 3 * c.Factor - 1), magenta) << label();
        EXPECT_EQ(ReadColor(to.get(), 3 * c.Factor - 1, 3 * c.Factor - 1), green) << label();
        EXPECT_NE(ReadColor(to.get(), 4 * c.Factor, 0), ReadColor(to.get(), 0, 0))
            << label() << ": the column past the enlarged picture is left alone";
    }
}

} // namespace

TEST(SurfaceScale, WideningKeepsEveryPixelOfRowsOfAnyWidth) {
    // Rows are widened several pixels at a time where the CPU allows; every width checks that
    // the blocks and the pixels after them meet, and that nothing is written past the row.
    for (const int32_t width : {1, 5, 6, 7, 9, 10, 13, 640}) {
        for (const int32_t factor : {1, 2, 3}) {
            const TSurfacePtr from = NewSurface(width, 2, 24);
            const TSurfacePtr to = NewSurface(width * factor + 1, 2 * factor, 32);
            SDL_FillRect(to.get(), nullptr, SDL_MapRGB(to->format, 9, 9, 9));
            for (int32_t y = 0; y < 2; ++y)
                for (int32_t x = 0; x < width; ++x)
                    WritePixel(from.get(), x, y, static_cast<uint8_t>(x * 7 + y),
                               static_cast<uint8_t>(x * 13), static_cast<uint8_t>(255 - x));
            ScaleUp(from.get(), to.get(), factor);
            int32_t wrong = 0;
            for (int32_t y = 0; y < 2 * factor; ++y) {
                for (int32_t x = 0; x < width * factor; ++x)
                    wrong += ReadPixel(to.get(), x, y) != ReadPixel(from.get(), x / factor, y / factor);
                wrong += ReadColor(to.get(), width * factor, y) != 0x090909U;
            }
            EXPECT_EQ(wrong, 0) << "width " << width << " by " << factor;
        }
    }
}

TEST(SurfaceScale, RefreshWritesWhatDiffersUntilTheTargetShowsThePicture) {
    // The target starts with pixels of its own; a refresh must leave it equal to the enlarged
    // picture, report the rows it wrote, and then find nothing left to write. Widths around the
    // groups of sixteen pixels check that groups and the pixels after them meet.
    for (const int32_t depth : {24, 32}) {
        for (const int32_t width : {1, 15, 16, 17, 33, 640}) {
            for (const int32_t factor : {1, 2, 3}) {
                const std::string label = std::to_string(depth) + " bits, width " + std::to_string(width) +
                                          " by " + std::to_string(factor);
                const TSurfacePtr from = NewSurface(width, 4, depth);
                const TSurfacePtr to = NewSurface(width * factor + 1, 4 * factor, 32);
                for (int32_t y = 0; y < 4 * factor; ++y)
                    for (int32_t x = 0; x < width * factor + 1; ++x)
                        WritePixel(to.get(), x, y, static_cast<uint8_t>(x * 5 + y), 9,
                                   static_cast<uint8_t>(y * 3));
                for (int32_t y = 0; y < 4; ++y)
                    for (int32_t x = 0; x < width; ++x)
                        WritePixel(from.get(), x, y, static_cast<uint8_t>(x * 7 + y),
                                   static_cast<uint8_t>(x * 13), static_cast<uint8_t>(255 - x));
                std::vector<uint32_t> edge;
                for (int32_t y = 0; y < 4 * factor; ++y)
                    edge.push_back(ReadColor(to.get(), width * factor, y));
                const auto wrong = [&] {
                    int32_t count = 0;
                    for (int32_t y = 0; y < 4 * factor; ++y) {
                        for (int32_t x = 0; x < width * factor; ++x)
                            count +=
                                ReadColor(to.get(), x, y) != ReadColor(from.get(), x / factor, y / factor);
                        count += ReadColor(to.get(), width * factor, y) != edge[y];
                    }
                    return count;
                };
                const TRowRange first = RefreshScaled(from.get(), to.get(), factor);
                EXPECT_EQ(wrong(), 0) << label;
                EXPECT_EQ(first.First, 0) << label;
                EXPECT_EQ(first.Last, 3) << label;
                const TRowRange again = RefreshScaled(from.get(), to.get(), factor);
                EXPECT_EQ(again.First, -1) << label << ": nothing changed since";
                // One pixel changed at the row's last place, then one in a group's middle.
                uint8_t shade = 0;
                for (const int32_t changedX : {width - 1, std::min(8, width - 1)}) {
                    shade = static_cast<uint8_t>(shade + 40);
                    WritePixel(from.get(), changedX, 2, shade, 2, 3);
                    const TRowRange one = RefreshScaled(from.get(), to.get(), factor);
                    EXPECT_EQ(one.First, 2) << label << ", pixel " << changedX;
                    EXPECT_EQ(one.Last, 2) << label << ", pixel " << changedX;
                    EXPECT_EQ(wrong(), 0) << label << ", pixel " << changedX;
                }
            }
        }
    }
}

TEST(SurfaceScale, ChangedPiecesAreEnlargedAndCopiedWhileTheRestIsLeftAlone) {
    // The copy of what is shown has no row padding, unlike the surfaces; narrow 16-bit rows
    // and widths around the groups of sixteen check that pieces, groups and the pixels after
    // them meet. A window pixel under an unchanged piece is spoiled on purpose: it must stay
    // spoiled, as nothing there was to be written.
    const struct { int32_t FromDepth, ToDepth; } formats[] = {{24, 32}, {24, 24}, {16, 16}, {32, 32}};
    for (const auto& format : formats) {
        for (const int32_t width : {1, 15, 16, 17, 33, 640}) {
            for (const int32_t factor : {1, 2, 3}) {
                const std::string label = std::to_string(format.FromDepth) + " to " +
                                          std::to_string(format.ToDepth) + " bits, width " +
                                          std::to_string(width) + " by " + std::to_string(factor);
                const int32_t height = 5;
                const TSurfacePtr from = NewSurface(width, height, format.FromDepth);
                const TSurfacePtr to = NewSurface(width * factor + 1, height * factor, format.ToDepth);
                for (int32_t y = 0; y < height; ++y)
                    for (int32_t x = 0; x < width; ++x)
                        WritePixel(from.get(), x, y, static_cast<uint8_t>(x * 7 + y),
                                   static_cast<uint8_t>(x * 13), static_cast<uint8_t>(255 - x));
                ScaleUp(from.get(), to.get(), factor);
                const int32_t bytes = from->format->BytesPerPixel;
                std::vector<uint8_t> shown;
                for (int32_t y = 0; y < height; ++y) {
                    const auto* row = static_cast<const uint8_t*>(from->pixels) + y * from->pitch;
                    shown.insert(shown.end(), row, row + width * bytes);
                }
                const auto wrong = [&] {
                    int32_t count = 0;
                    for (int32_t y = 0; y < height * factor; ++y)
                        for (int32_t x = 0; x < width * factor; ++x)
                            count +=
                                ReadColor(to.get(), x, y) != ReadColor(from.get(), x / factor, y / factor);
                    for (int32_t y = 0; y < height; ++y)
                        count += std::memcmp(static_cast<const uint8_t*>(from->pixels) + y * from->pitch,
                                             shown.data() + y * width * bytes,
                                             static_cast<size_t>(width * bytes)) != 0;
                    return count;
                };
                const TRowRange none = ShowChangedPieces(from.get(), shown.data(), to.get(), factor);
                EXPECT_EQ(none.First, -1) << label << ": nothing changed";
                const struct {
                    int32_t Row, First, Count;
                } changes[] = {{2, width - 1, 1},
                               {1, std::min(8, width - 1), 1},
                               {3, 0, width},
                               {4, std::min(17, width - 1), std::min(20, width - std::min(17, width - 1))}};
                uint8_t shade = 0;
                for (const auto& change : changes) {
                    shade = static_cast<uint8_t>(shade + 40);
                    for (int32_t x = change.First; x < change.First + change.Count; ++x)
                        WritePixel(from.get(), x, change.Row, shade, static_cast<uint8_t>(x), 3);
                    // Pixel 0 of row 4 lies in a piece that does not change there when the row is
                    // longer than that piece.
                    const bool spoil = change.Row == 4 && width > 16;
                    if (spoil) WritePixel(to.get(), 0, 4 * factor, 1, 2, 3);
                    const uint32_t spoiled = ReadColor(to.get(), 0, 4 * factor);
                    const TRowRange one = ShowChangedPieces(from.get(), shown.data(), to.get(), factor);
                    const std::string which = label + ", row " + std::to_string(change.Row);
                    EXPECT_EQ(one.First, change.Row) << which;
                    EXPECT_EQ(one.Last, change.Row) << which;
                    if (spoil) {
                        EXPECT_EQ(ReadColor(to.get(), 0, 4 * factor), spoiled) << which;
                        // Mended as a present of a new mode would, so the rest can be checked.
                        ScaleUp(from.get(), to.get(), factor, 4, 1);
                    }
                    EXPECT_EQ(wrong(), 0) << which;
                }
                // Two rows apart in one present report both and what lies between.
                WritePixel(from.get(), 0, 0, 1, 1, 1);
                WritePixel(from.get(), width - 1, 4, 2, 2, 2);
                const TRowRange two = ShowChangedPieces(from.get(), shown.data(), to.get(), factor);
                EXPECT_EQ(two.First, 0) << label;
                EXPECT_EQ(two.Last, 4) << label;
                EXPECT_EQ(wrong(), 0) << label;
            }
        }
    }
}
