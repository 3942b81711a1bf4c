// A match seen through the window at every scale while the view follows a walking fighter:
// after each present the window shows exactly the picture, each pixel as a scale by scale block,
// however little or much of it the present chose to write.
#include "GameTestSetup.h"
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/SurfaceUtils.h"
#include "support/MediaFixture.h"
#include "world/KeyState.h"
#include "world/Map.h"

#include <SDL.h>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 20;
constexpr int kKeyRight = 275;
constexpr int kKeyLeft = 276;

class ScaledMatch : public MediaFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=" + std::to_string(GetParam()) + "\nMaxFPS=0\n";
        return options;
    }
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound", "maps"}));
        ResetInput();
        Game = StartMatchOnDefault();
        ASSERT_EQ(Game->State, TGameState::Game);
    }
    void TearDown() override {
        Game.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }
    // Window pixels that differ from the picture pixel they enlarge.
    static int32_t WrongWindowPixels() {
        const int32_t scale = Screen->Scale;
        int32_t wrong = 0;
        for (int32_t y = 0; y < kPictureHeight * scale; ++y)
            for (int32_t x = 0; x < kPictureWidth * scale; ++x)
                wrong += ReadColor(Screen->Window, x, y) != ReadColor(Screen->Surface, x / scale, y / scale);
        return wrong;
    }

    std::unique_ptr<TBriskGame> Game;
};

TEST_P(ScaledMatch, WindowShowsTheEnlargedPictureWhileTheViewMoves) {
    ASSERT_EQ(Screen->Scale, GetParam());
    // Right for a while (the view follows and crosses ground tiles), then back, then still.
    const struct {
        int Key;
        int Frames;
    } legs[] = {{kKeyRight, 40}, {kKeyLeft, 25}, {0, 3}};
    int frame = 0;
    int moves = 0;
    for (const auto& leg : legs) {
        for (int i = 0; i < leg.Frames; ++i, ++frame) {
            ClearKeyState();
            if (leg.Key != 0) SetKeyState(leg.Key, true);
            const int32_t viewX = Game->Map->ViewX();
            Game->RunFrame(TGameState::Game, Game->GameHooks());
            Media->Clock.Advance(kFrameMs);
            moves += Game->Map->ViewX() != viewX ? 1 : 0;
            // Every pixel is checked on a few frames only: at scale 3 that is 2.8 million.
            if (frame % 16 == 1 || i + 1 == leg.Frames) {
                ASSERT_EQ(WrongWindowPixels(), 0) << "frame " << frame;
            }
        }
    }
    EXPECT_GT(moves, 50) << "the view followed the walk";
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledMatch, ::testing::Values(1, 2, 3));

} // namespace
