// A scaled match whose view stands still, where the present compares only what was drawn over
// the kept ground: after every present each window pixel must still be its picture pixel
// enlarged, while fighters walk and strike, a missile flies, an item's name and a wound's
// number come and go, the status panels change, the pause notice comes and goes, and at last
// the view moves off.
#include "GameTestSetup.h"
#include "app/GameUnit.h"
#include "app/MatchOverlay.h"
#include "media/BriskDraws.h"
#include "media/SurfaceUtils.h"
#include "support/MediaFixture.h"
#include "world/Equipment.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"
#include "world/Weapons.h"

#include <SDL.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFrameMs = 20;
constexpr int kKeyRight = 275;
constexpr int kKeyLeft = 276;
constexpr int kKeySpace = 32;
constexpr int kKeyA = 97;
constexpr int kKeyD = 100;
constexpr int kKeyLeftCtrl = 306;

class StillViewMatch : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Scale=2\nMaxFPS=0\n";
        return options;
    }
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound", "maps"}));
        ResetInput();
        Game = StartMatchOnDefault();
        ASSERT_EQ(Game->State, TGameState::Game);
        ASSERT_EQ(Screen->Scale, 2);
        // Player 2 comes into player 1's view, close enough to be struck.
        TBasePlayer& second = *Game->Players[1];
        auto held = Game->Map->Remove(second);
        second.SetX(Game->Players[0]->X() + 60);
        second.SetY(Game->Players[0]->Y());
        Game->Map->Add(std::move(held));
        for (int i = 0; i < 3; ++i)
            ASSERT_NO_FATAL_FAILURE(Frame({}));
        Frames = 0;
        StillFrames = 0;
        NarrowFrames = 0;
    }
    void TearDown() override {
        Game.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }
    // One match frame with these keys held, then every window pixel checked.
    void Frame(const std::vector<int>& keys) {
        ClearKeyState();
        for (const int key : keys)
            SetKeyState(key, true);
        const int32_t viewX = Game->Map->ViewX();
        const int32_t viewY = Game->Map->ViewY();
        const uint32_t narrow = Screen->NarrowPresents;
        Game->RunFrame(TGameState::Game, Game->GameHooks());
        Media->Clock.Advance(kFrameMs);
        if (Game->Map->ViewX() == viewX && Game->Map->ViewY() == viewY) ++StillFrames;
        NarrowFrames += Screen->NarrowPresents - narrow;
        ++Frames;
        ASSERT_EQ(WrongWindowPixels(), 0) << "frame " << Frames;
    }
    // Window pixels that differ from the picture pixel they enlarge, read straight from both
    // surfaces: the window has 4-byte pixels of the picture's channels.
    static int32_t WrongWindowPixels() {
        SDL_Surface* picture = Screen->Surface;
        SDL_Surface* window = Screen->Window;
        EXPECT_EQ(picture->format->BytesPerPixel, 3);
        EXPECT_EQ(window->format->BytesPerPixel, 4);
        int32_t wrong = 0;
        for (int32_t y = 0; y < kPictureHeight * 2; ++y) {
            const auto* shown =
                static_cast<const Uint8*>(window->pixels) + static_cast<ptrdiff_t>(y) * window->pitch;
            const auto* drawn =
                static_cast<const Uint8*>(picture->pixels) + static_cast<ptrdiff_t>(y / 2) * picture->pitch;
            for (int32_t x = 0; x < kPictureWidth * 2; ++x)
                wrong += std::memcmp(shown + 4 * x, drawn + 3 * (x / 2), 3) != 0 ? 1 : 0;
        }
        return wrong;
    }
    // The frame's keys for both fighters walking towards each other or striking.
    static std::vector<int> Walk() { return {kKeyRight, kKeyA}; }
    static std::vector<int> WalkBack() { return {kKeyLeft, kKeyD}; }
    static std::vector<int> Strike() { return {kKeySpace, kKeyLeftCtrl}; }
    [[nodiscard]] int FlyingMissiles() const {
        int count = 0;
        for (const auto& item : Game->Map->Items())
            if (const auto* missile = dynamic_cast<const TWeapon*>(item.get());
                missile && missile->ExpireTick != 0)
                ++count;
        return count;
    }

    std::unique_ptr<TBriskGame> Game;
    int Frames = 0;
    int StillFrames = 0;
    uint32_t NarrowFrames = 0;
};

TEST_F(StillViewMatch, FightersWalkStrikeAndTheirMissilesFlyWhileTheViewStands) {
    for (int i = 0; i < 6; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame(Walk()));
    // A strike sends a missile off; it flies on over the next frames.
    int framesWithMissiles = 0;
    for (int i = 0; i < 30; ++i) {
        if (i % 10 == 0) {
            for (TBasePlayer* fighter : Game->Players) {
                ASSERT_NE(fighter->Weapon, nullptr);
                fighter->Strike(*fighter->Weapon);
            }
        }
        ASSERT_NO_FATAL_FAILURE(Frame(i % 10 < 2 ? Strike() : std::vector<int>{}));
        framesWithMissiles += FlyingMissiles() > 0 ? 1 : 0;
    }
    EXPECT_GT(framesWithMissiles, 6);
    for (int i = 0; i < 6; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame(WalkBack()));
    EXPECT_EQ(StillFrames, Frames);
    EXPECT_GT(NarrowFrames, static_cast<uint32_t>(Frames) - 4u)
        << "the still frames compared only what was drawn";
}

TEST_F(StillViewMatch, NamesNumbersPanelsAndPauseComeAndGoWhileTheViewStands) {
    TBasePlayer& first = *Game->Players[0];
    TBasePlayer& second = *Game->Players[1];
    first.Hurt(7);
    second.Hurt(12);
    for (int i = 0; i < 4; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));
    Media->Clock.Advance(kHurtNumberMs);
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));

    auto potion = std::make_unique<TPotion>();
    potion->Name = "Speed";
    first.PickUp(std::move(potion));
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));
    Media->Clock.Advance(kTakenNameMs);
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));

    // The panels show health and the fighters' state.
    first.SetHealth(first.MaxHealth() / 3);
    ASSERT_NO_FATAL_FAILURE(Frame({}));
    second.SetHealth(second.MaxHealth() / 2);
    ASSERT_NO_FATAL_FAILURE(Frame({}));
    first.SetHealth(first.MaxHealth());
    second.SetHealth(second.MaxHealth());
    ASSERT_NO_FATAL_FAILURE(Frame({}));

    Game->TogglePause();
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame(Walk()));
    Game->TogglePause();
    for (int i = 0; i < 3; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));
    EXPECT_EQ(StillFrames, Frames);
    EXPECT_GT(NarrowFrames, static_cast<uint32_t>(Frames) - 4u);
}

TEST_F(StillViewMatch, TheViewMovingOffAfterStandingStillIsShownWhole) {
    for (int i = 0; i < 4; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));
    const int32_t viewX = Game->Map->ViewX();
    // Both walk right until the view follows, and on across ground tiles.
    for (int i = 0; i < 60; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({kKeyRight, kKeyD}));
    EXPECT_NE(Game->Map->ViewX(), viewX) << "the view moved";
    for (int i = 0; i < 4; ++i)
        ASSERT_NO_FATAL_FAILURE(Frame({}));
}

} // namespace
