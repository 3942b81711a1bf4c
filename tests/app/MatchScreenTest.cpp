// The match screen as players see it, on the game's generated data: the pointer to player 2
// from the first frame, the player tags, a wound's number and an item's name shown for their
// time by the game's clock, the controls page, and the map choice kept after a match and
// across a restart.
#include "GameTestSetup.h"
#include "app/ControlsPage.h"
#include "app/GameUnit.h"
#include "app/MatchOverlay.h"
#include "media/BriskDraws.h"
#include "media/SurfaceUtils.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/Camera.h"
#include "world/Equipment.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 20;
// The players' colours as the overlay draws them, packed as ReadColor packs them.
constexpr uint32_t kPlayer1Color = 240 | 72 << 8 | 56 << 16;
constexpr uint32_t kPlayer2Color = 72 | 156 << 8 | 255 << 16;
constexpr uint32_t kWoundColor = 255 | 226 << 8 | 64 << 16;

class MatchScreen : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound", "maps"}));
        ResetInput();
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 0;
    }
    void TearDown() override {
        Game.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }
    void StartOn(const std::string& map) {
        Game->EnterSetup();
        Game->AIBox = 0;
        for (size_t i = 0; i < Game->MapNames.size(); ++i)
            if (Game->MapNames[i] == map) Game->MapIndex = static_cast<int32_t>(i);
        ASSERT_EQ(Game->MapNames.at(static_cast<size_t>(Game->MapIndex)), map);
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
        ASSERT_EQ(Game->State, TGameState::Game);
    }
    void MatchFrame() {
        Game->RunFrame(TGameState::Game, Game->GameHooks());
        Media->Clock.Advance(kFrameMs);
    }
    // How many pixels of a colour the rectangle holds.
    static int Count(uint32_t color, int32_t left, int32_t top, int32_t right, int32_t bottom) {
        int count = 0;
        for (int32_t y = std::max(top, 0); y < std::min(bottom, 480); ++y)
            for (int32_t x = std::max(left, 0); x < std::min(right, 640); ++x)
                count += ReadColor(Screen->Surface, x, y) == color ? 1 : 0;
        return count;
    }
    // The screen rectangle above a fighter's health bar, where its tag and feedback stand.
    [[nodiscard]] std::array<int32_t, 4> AboveBar(const TBasePlayer& fighter) const {
        const int32_t x = fighter.PixelX() - Game->Map->ViewX();
        const int32_t y = fighter.PixelY() - Game->Map->ViewY();
        return {x, y - 50, x + 110, y + 10};
    }

    std::unique_ptr<TBriskGame> Game;
};

TEST_F(MatchScreen, PlayerTwoFarAwayIsPointedToFromTheFirstFrameAndTheTagsShow) {
    StartOn("Default");
    MatchFrame();
    const TBasePlayer& first = *Game->Players[0];
    const TBasePlayer& second = *Game->Players[1];
    const TViewPoint view{Game->Map->ViewX(), Game->Map->ViewY()};
    ASSERT_TRUE(InView(first, view));
    ASSERT_FALSE(InView(second, view)) << "Default's fighters start far apart";
    // Player 2 lies to the right on the same row: the pointer stands at the right edge.
    EXPECT_GT(Count(kPlayer2Color, 560, 0, 640, kFieldViewHeight), 30);
    EXPECT_EQ(Count(kPlayer2Color, 0, 0, 320, kFieldViewHeight), 0);
    const auto [left, top, right, bottom] = AboveBar(first);
    EXPECT_GT(Count(kPlayer1Color, left, top, right, bottom), 20) << "the P1 tag";
}

TEST_F(MatchScreen, FightersThatMeetShareTheViewWithoutAPointer) {
    StartOn("Default");
    TBasePlayer& second = *Game->Players[1];
    auto held = Game->Map->Remove(second);
    second.SetX(Game->Players[0]->X() + 200);
    second.SetY(Game->Players[0]->Y() + 60);
    Game->Map->Add(std::move(held));
    MatchFrame();
    MatchFrame();
    const TViewPoint view{Game->Map->ViewX(), Game->Map->ViewY()};
    EXPECT_TRUE(InView(*Game->Players[0], view));
    EXPECT_TRUE(InView(second, view));
    const auto [left, top, right, bottom] = AboveBar(second);
    const int tag = Count(kPlayer2Color, left, top, right, bottom);
    EXPECT_GT(tag, 20) << "the P2 tag";
    EXPECT_EQ(Count(kPlayer2Color, 0, 0, 640, kFieldViewHeight), tag) << "no pointer besides the tag";
}

TEST_F(MatchScreen, AWoundsNumberRisesForItsTimeAndAnItemsNameShowsForASecond) {
    StartOn("Default");
    TBasePlayer& first = *Game->Players[0];
    MatchFrame();
    auto area = AboveBar(first);
    EXPECT_EQ(Count(kWoundColor, area[0], area[1], area[2] + 40, area[3]), 0);
    first.Hurt(7);
    MatchFrame();
    area = AboveBar(first);
    EXPECT_GT(Count(kWoundColor, area[0], area[1], area[2] + 40, area[3]), 10);
    Media->Clock.Advance(kHurtNumberMs);
    MatchFrame();
    area = AboveBar(first);
    EXPECT_EQ(Count(kWoundColor, area[0], area[1], area[2] + 40, area[3]), 0);

    // The name's dark plate stands above the tag while the second lasts.
    constexpr uint32_t kPlate = 16 | 16 << 8 | 16 << 16;
    const auto plate = [&] {
        const auto [left, top, right, bottom] = AboveBar(first);
        return Count(kPlate, left - 40, top - 10, right + 40, bottom - 30);
    };
    const int before = plate();
    auto potion = std::make_unique<TPotion>();
    potion->Name = "Speed";
    first.PickUp(std::move(potion));
    EXPECT_EQ(first.Feedback.TakenName, "Speed Potion");
    MatchFrame();
    EXPECT_GT(plate(), before + 100);
    Media->Clock.Advance(kTakenNameMs);
    MatchFrame();
    EXPECT_LT(plate(), before + 100);
}

TEST_F(MatchScreen, AFighterAtTheBottomOfRuinsStandsWholeAboveThePanels) {
    StartOn("Ruins");
    TBasePlayer& first = *Game->Players[0];
    auto held = Game->Map->Remove(first);
    first.SetY(kMaxItemY);
    Game->Map->Add(std::move(held));
    MatchFrame();
    MatchFrame();
    const int32_t footOnScreen = first.FootY() - Game->Map->ViewY();
    EXPECT_LE(footOnScreen + 10, kFieldViewHeight);
    EXPECT_GE(footOnScreen - 70, 0);
}

TEST_F(MatchScreen, TheControlsPageNamesBothKeySetsAfterTheFourPagesOfText) {
    const std::vector<std::string> lines = ControlsPageLines();
    std::string page;
    for (const std::string& line : lines)
        page += line + "\n";
    EXPECT_NE(page.find("Player 1: walk Up Arrow, Down Arrow, Left Arrow, Right Arrow;\n     fire Space, second fire Right Alt."),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("Player 2: walk W, S, A, D;\n     fire Left Ctrl, second fire Left Alt."), std::string::npos)
        << page;
    EXPECT_NE(page.find("won by the fighter left standing"), std::string::npos);
    // NEXT leads from the fourth page to the controls, and no further.
    Game->SetState(TGameState::Help);
    Game->HelpPage = 4;
    PushMouseUp(500, 450);
    Game->RunFrame(TGameState::Help, Game->HelpHooks());
    EXPECT_EQ(Game->HelpPage, 5);
    PushMouseUp(500, 450);
    Game->RunFrame(TGameState::Help, Game->HelpHooks());
    EXPECT_EQ(Game->HelpPage, 5);
}

TEST_F(MatchScreen, TheMapChoiceSurvivesPlayAgainAndARestart) {
    StartOn("Lake");
    Game->EndMatch(TMatchResult::Player1Wins);
    ASSERT_EQ(Game->State, TGameState::End);
    PushMouseUp(300, 450); // PLAY AGAIN
    Game->RunFrame(TGameState::End, Game->EndHooks());
    ASSERT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->MapNames.at(static_cast<size_t>(Game->MapIndex)), "Lake");
    Game.reset(); // writes the settings
    std::ifstream file(Media->Folder() / "Duelmark.def");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("MapName=Lake"), std::string::npos) << text.str();
    Game = std::make_unique<TBriskGame>();
    Game->EnterSetup();
    EXPECT_EQ(Game->MapNames.at(static_cast<size_t>(Game->MapIndex)), "Lake");
}

} // namespace
