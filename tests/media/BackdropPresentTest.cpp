// The scaled present over a kept backdrop: it compares only what the library drew this frame
// and the last, so every way the picture can change under it must still reach the window:
// the backdrop drawn on, moved, drawn twice or not at all, too many draws to keep, and a new
// window.
#include "media/BriskDraws.h"
#include "support/MediaFixture.h"

#include <SDL.h>
#include <cstring>
#include <functional>

namespace {

class BackdropPresent : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=2\nMaxFPS=0\n";
        return options;
    }
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_EQ(Screen->Scale, 2);
        const SDL_PixelFormat& format = *Screen->Surface->format;
        Backdrop.reset(SDL_CreateRGBSurface(SDL_SWSURFACE, kPictureWidth, kPictureHeight, 24, format.Rmask,
                                            format.Gmask, format.Bmask, 0));
        ASSERT_NE(Backdrop, nullptr);
        // Stripes, so a backdrop moved by a pixel shows everywhere.
        for (int32_t x = 0; x < kPictureWidth; x += 2)
            FillRect(Backdrop.get(), x, 0, 1, kPictureHeight, 40, static_cast<uint8_t>(x), 90);
    }

public:
    void DrawBackdrop(int32_t x = 0, int32_t y = 0, bool watchable = true) {
        Screen->DrawBackdrop(Backdrop.get(), watchable, x, y, [&] {
            BlitRect(Backdrop.get(), MakeRect(0, 0, kPictureWidth, kPictureHeight), Screen->Surface, x, y);
        });
    }
    // Presents, then counts window pixels that differ from the picture pixel they enlarge.
    int32_t PresentAndCountWrong() {
        Screen->Present();
        SDL_Surface* picture = Screen->Surface;
        SDL_Surface* window = Screen->Window;
        const int32_t scale = Screen->Scale;
        int32_t wrong = 0;
        for (int32_t y = 0; y < kPictureHeight * scale; ++y) {
            const auto* shown =
                static_cast<const Uint8*>(window->pixels) + static_cast<ptrdiff_t>(y) * window->pitch;
            const auto* drawn = static_cast<const Uint8*>(picture->pixels) +
                                static_cast<ptrdiff_t>(y / scale) * picture->pitch;
            for (int32_t x = 0; x < kPictureWidth * scale; ++x)
                wrong += std::memcmp(shown + 4 * x, drawn + 3 * (x / scale), 3) != 0 ? 1 : 0;
        }
        return wrong;
    }
    // A frame: the backdrop, then a small sprite at (x, y).
    int32_t Frame(int32_t x, int32_t y) {
        DrawBackdrop();
        FillRect(Screen->Surface, x, y, 5, 7, 250, 250, 10);
        return PresentAndCountWrong();
    }

    TSurfacePtr Backdrop;
};

TEST_F(BackdropPresent, ASpriteMovingOverAKeptBackdropLeavesNoTrace) {
    // The window is new: its first two frames are shown whole.
    EXPECT_EQ(Frame(100, 100), 0);
    EXPECT_EQ(Frame(100, 100), 0);
    const uint32_t narrow = Screen->NarrowPresents;
    // Off group boundaries and across them, then off the picture's edges.
    for (const auto& [x, y] : {std::pair{103, 101}, {121, 140}, {637, 478}, {-3, -4}, {300, 200}})
        EXPECT_EQ(Frame(x, y), 0) << x << "," << y;
    EXPECT_EQ(Screen->NarrowPresents - narrow, 5u);
    // Nothing drawn over the backdrop: nothing compared, and last frame's sprite is gone.
    DrawBackdrop();
    EXPECT_EQ(PresentAndCountWrong(), 0);
    DrawBackdrop();
    EXPECT_EQ(PresentAndCountWrong(), 0);
}

TEST_F(BackdropPresent, EveryChangeUnderTheDrawsComparesTheWholePicture) {
    const struct {
        const char* What;
        std::function<void(BackdropPresent&)> Frame;
    } cases[] = {
        {"backdrop drawn on",
         [](BackdropPresent& t) {
             FillRect(t.Backdrop.get(), 400, 300, 30, 30, 1, 2, 3);
             t.DrawBackdrop();
         }},
        {"backdrop moved", [](BackdropPresent& t) { t.DrawBackdrop(1, 0); }},
        {"backdrop moved back", [](BackdropPresent& t) { t.DrawBackdrop(0, 0); }},
        {"backdrop drawn twice",
         [](BackdropPresent& t) {
             t.DrawBackdrop(0, 0);
             t.DrawBackdrop(0, 1);
         }},
        {"no backdrop", [](BackdropPresent&) { FillRect(Screen->Surface, 0, 0, 640, 480, 9, 9, 9); }},
        {"backdrop after none", [](BackdropPresent& t) { t.DrawBackdrop(); }},
        {"unwatchable backdrop", [](BackdropPresent& t) { t.DrawBackdrop(0, 0, false); }},
        {"watchable again after one that was not", [](BackdropPresent& t) { t.DrawBackdrop(); }},
        {"backdrop freed and another made in its place",
         [](BackdropPresent& t) {
             // Black where the old one had stripes, and likely at the old one's address.
             t.Backdrop.reset();
             const SDL_PixelFormat& format = *Screen->Surface->format;
             t.Backdrop.reset(SDL_CreateRGBSurface(SDL_SWSURFACE, kPictureWidth, kPictureHeight, 24,
                                                   format.Rmask, format.Gmask, format.Bmask, 0));
             t.DrawBackdrop();
         }},
        {"more draws than are kept",
         [](BackdropPresent& t) {
             t.DrawBackdrop();
             for (int32_t i = 0; i < 1500; ++i)
                 WritePixel(Screen->Surface, i % 640, i / 640 * 7, 255, 0, 0);
         }},
        {"the frame after too many draws", [](BackdropPresent& t) { t.DrawBackdrop(); }},
    };
    EXPECT_EQ(Frame(10, 10), 0);
    EXPECT_EQ(Frame(10, 10), 0);
    for (const auto& c : cases) {
        const uint32_t narrow = Screen->NarrowPresents;
        c.Frame(*this);
        EXPECT_EQ(PresentAndCountWrong(), 0) << c.What;
        EXPECT_EQ(Screen->NarrowPresents, narrow) << c.What;
    }
    // Settled again: the next frame compares only its draws.
    const uint32_t narrow = Screen->NarrowPresents;
    EXPECT_EQ(Frame(50, 60), 0);
    EXPECT_EQ(Screen->NarrowPresents, narrow + 1);
}

TEST_F(BackdropPresent, ANewWindowIsShownWholeBeforeDrawsAreComparedAgain) {
    EXPECT_EQ(Frame(10, 10), 0);
    EXPECT_EQ(Frame(20, 10), 0);
    const uint32_t narrow = Screen->NarrowPresents;
    DrawBackdrop();
    FillRect(Screen->Surface, 30, 10, 5, 5, 0, 255, 0);
    Screen->SetScale(3);
    EXPECT_EQ(PresentAndCountWrong(), 0);
    EXPECT_EQ(Frame(40, 10), 0);
    Screen->SetScale(2);
    EXPECT_EQ(Frame(50, 10), 0);
    EXPECT_EQ(Frame(60, 10), 0);
    EXPECT_EQ(Frame(70, 10), 0);
    EXPECT_EQ(Frame(80, 10), 0);
    EXPECT_EQ(Screen->NarrowPresents, narrow + 2) << "only from the third frame after the change";
}

} // namespace
