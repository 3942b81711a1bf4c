// Local matches driven through the real game object with pushed SDL events and the manual
// clock, on the game's generated data: from the title screen through setup and the fight to
// the end screen and back, the map names, start positions, the end test and F3.
#include "GameTestSetup.h"
#include "ScreenFrame.h"
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskText.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/GameDisplays.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 20;
// Key set 1: player 2's keys.
constexpr int kA = 97, kD = 100, kLeftCtrl = 306;

// A small field of plain ground: player 1 stands at x 300, player 2 300 px to its right on
// the same row of squares, with blue boots lying between them.
constexpr const char* kArenaMap = "[Map]\r\nStartY0=300\r\nStartX0=300\r\nStartY1=600\r\nStartX1=300\r\n"
                                  "[Objects]\r\nObjectCount=1\r\nObject0=Blue,Boot\r\nObjectX0=436\r\n"
                                  "ObjectY0=346\r\n";

class MatchFlow : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        const fs::path game = DUELMARK_GAME_DIR;
        ASSERT_TRUE(fs::exists(game / "maps" / "Default.map")) << "build the game_data target first";
        // The test folder is both the program's folder and the working folder: pictures come
        // through the one, data and maps through the other.
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound"}));
        fs::create_directory(Media->Folder() / "maps");
        for (const auto& map : fs::directory_iterator(game / "maps"))
            fs::create_symlink(map.path(), Media->Folder() / "maps" / map.path().filename());
        WriteMap("Arena", kArenaMap);
        ResetInput();
        Game = std::make_unique<TBriskGame>();
        // The character list as the setup screen reads it; the tests then pick the maps. Both
        // fighters are keyboard-driven.
        Game->EnterSetup();
        Game->AIBox = 0;
    }
    void TearDown() override {
        Game.reset();
        ClearKeyState();
        MediaFixture::TearDown();
    }
    void WriteMap(const std::string& name, const std::string& text) const {
        std::ofstream(Media->Folder() / "maps" / (name + ".map"), std::ios::binary) << text;
    }

    // A match on the named map, as if it were the one chosen on the setup screen.
    void StartOn(const std::string& map) {
        Game->MapNames = {map};
        Game->MapIndex = 0;
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
        ASSERT_EQ(Game->State, TGameState::Game);
    }
    // One turn of the main loop: the current screen's frame (or initialisation), Messaging,
    // and 20 ms of game time.
    void Frame() {
        RunScreenFrame(*Game);
        Game->Messaging();
        Media->Clock.Advance(kFrameMs);
    }
    // Presses and releases keys so that exactly those of held are down from the next frame on.
    void HoldOnly(const std::set<int>& held) {
        for (int key : Held)
            if (held.count(key) == 0) PushKeyUp(key);
        for (int key : held)
            if (Held.count(key) == 0) PushKeyDown(key);
        Held = held;
    }
    // The screen's pixels in the rectangle of the winner line.
    static std::vector<uint32_t> WinnerLine() {
        std::vector<uint32_t> pixels;
        for (int y = 318; y < 352; ++y)
            for (int x = 160; x < 420; ++x)
                pixels.push_back(ReadColor(Screen->Surface, x, y));
        return pixels;
    }
    // What the winner line looks like when it reads text.
    std::vector<uint32_t> WinnerLineReading(std::string_view text) {
        Game->DrawMenuBackground();
        FontList->Items(kFontBlue).TextOut(170, 320, text);
        return WinnerLine();
    }
    // Plays the match on: player 2 walks left along its row until it stands beside player 1,
    // then strikes at it, until the end screen shows.
    void PlayerTwoFightsUntilTheEnd() {
        for (int frame = 0; frame < 20000 && Game->State == TGameState::Game; ++frame) {
            const TBasePlayer& first = *Game->Players[0];
            const TBasePlayer& second = *Game->Players[1];
            const bool beside = second.FootX() / 32 <= first.FootX() / 32 + 1;
            HoldOnly(beside ? std::set<int>{kA, kLeftCtrl} : std::set<int>{kA});
            Frame();
        }
        HoldOnly({});
    }

    [[nodiscard]] size_t LogLinesWith(const std::string& text) const {
        size_t count = 0;
        for (const auto& line : Media->LogLines())
            count += line.find(text) != std::string::npos;
        return count;
    }

    std::unique_ptr<TBriskGame> Game;
    std::set<int> Held;
};

TEST_F(MatchFlow, AWholeLocalMatchFromTheTitleScreenToTheEndScreenAndBackToSetup) {
    PushMouseUp(300, 450); // PLAY
    Frame();
    ASSERT_EQ(Game->State, TGameState::Setup);
    ASSERT_GE(Game->MapNames.size(), 2u);
    ASSERT_EQ(Game->MapNames[0], "Arena");
    Game->AIBox = 1;
    PushMouseUp(300, 390); // "AI Player" off: both fighters at this keyboard
    PushMouseUp(145, 350); // player 1: next character, twice
    PushMouseUp(145, 350);
    PushMouseUp(435, 350); // the map before Default: Arena
    Frame();
    const int32_t player1Char = Game->Player1Char;
    const int32_t player2Char = Game->Player2Char;
    EXPECT_EQ(Game->AIBox, 0);
    EXPECT_EQ(Game->MapIndex, 0);
    PushMouseUp(300, 450); // PLAY
    Frame();
    ASSERT_EQ(Game->State, TGameState::Initialization);
    Frame();
    ASSERT_EQ(Game->State, TGameState::Game);
    EXPECT_EQ(Game->MapName, "Maps\\Arena.map");
    ASSERT_NE(Game->Map, nullptr);
    TBasePlayer* first = Game->Players[0];
    TBasePlayer* second = Game->Players[1];
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Game->Map->Players[0], first);
    EXPECT_EQ(Game->Map->FollowedItem(), first);
    EXPECT_EQ(first->X(), 300.0f);
    EXPECT_EQ(second->X(), 600.0f);

    PlayerTwoFightsUntilTheEnd();
    ASSERT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(first->Action(), kActionDie);
    EXPECT_EQ(first->Frame(), first->MaxFrame());
    EXPECT_GT(second->Health(), 0.0f);
    EXPECT_NE(second->BootItem, nullptr) << "the boots on the way were picked up";
    Frame(); // the end screen
    const std::vector<uint32_t> shown = WinnerLine();
    EXPECT_EQ(shown, WinnerLineReading("Player 2!!"));
    EXPECT_NE(shown, WinnerLineReading("Player 1!!"));
    EXPECT_EQ(LogLinesWith("MSG : Match over: Player 2 wins IN : GameProcess"), 1u);

    PushMouseUp(300, 450); // PLAY AGAIN
    Frame();
    ASSERT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->Player1Char, player1Char);
    EXPECT_EQ(Game->Player2Char, player2Char);
    EXPECT_EQ(Game->AIBox, 0);
    EXPECT_EQ(Game->MapNames[static_cast<size_t>(Game->MapIndex)], "Arena");
    EXPECT_EQ(Game->Players[0], first) << "the last match's fighters stay until the next one";

    PushMouseUp(300, 450); // PLAY: a new match on a new map
    Frame();
    Frame();
    ASSERT_EQ(Game->State, TGameState::Game);
    EXPECT_EQ(Game->Players[0]->Action(), kActionAttack);
    EXPECT_EQ(Game->Players[0]->Health(), Game->Players[0]->MaxHealth());
    for (int i = 0; i < 10; ++i)
        Frame();
    PushKeyDown(27); // Escape
    Frame();
    EXPECT_EQ(Game->State, TGameState::Quit);
    EXPECT_EQ(LogLinesWith("Match over"), 1u) << "a match left by Escape has no result";
}

TEST_F(MatchFlow, TheChosenMapNameIsCompletedOnceAndAMissingMapGivesTheDefaultStarts) {
    const struct {
        const char* Chosen;
        const char* MapName;
    } cases[] = {
        {"Desert", "Maps\\Desert.map"},
        {"Arena.MAP", "Maps\\Arena.MAP"},
        {"maps\\Desert", "maps\\Desert.map"},
        {"MAPS\\x.map", "MAPS\\x.map"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Chosen);
        Game->MapNames = {"Default", c.Chosen};
        Game->MapIndex = 1;
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
        EXPECT_EQ(Game->MapName, c.MapName);
        EXPECT_EQ(Game->State, TGameState::Game);
    }
    // Maps\Desert.map does not exist: a field of default tiles with the default starts.
    Game->MapNames = {"Desert"};
    Game->MapIndex = 0;
    Game->GameInitialization();
    EXPECT_EQ(Game->Players[0]->X(), 380.0f);
    EXPECT_EQ(Game->Players[0]->Y(), 300.0f);
    EXPECT_EQ(Game->Players[1]->X(), 350.0f);
    EXPECT_EQ(Game->Players[1]->Y(), 250.0f);
}

TEST_F(MatchFlow, AChoiceOutsideTheMapListGoesBackToSetup) {
    for (const int32_t index : {-1, 4, 5}) {
        Game->MapNames = {"A", "B", "C", "D"};
        Game->MapIndex = index;
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
        EXPECT_EQ(Game->State, TGameState::Setup) << index;
        EXPECT_EQ(Game->Map, nullptr);
    }
}

TEST_F(MatchFlow, StartPositionsReadStartYAsHorizontalAndStartXAsVertical) {
    WriteMap("Swap", "[Map]\nStartX0=100\nStartY0=500\nStartX1=40\nStartY1=900\n");
    StartOn("Swap");
    EXPECT_EQ(Game->Players[0]->X(), 500.0f);
    EXPECT_EQ(Game->Players[0]->Y(), 100.0f);
    EXPECT_EQ(Game->Players[1]->X(), 900.0f);
    EXPECT_EQ(Game->Players[1]->Y(), 40.0f);
    // Local game: the camera and display 0 follow player 1, display 1 shows player 2.
    EXPECT_EQ(Game->Map->FollowedItem(), Game->Players[0]);
    EXPECT_EQ(Game->Displays[0]->Player, Game->Players[0]);
    EXPECT_EQ(Game->Displays[1]->Player, Game->Players[1]);
    EXPECT_FALSE(Game->Players[1]->HideWhenInvisible);
}

TEST_F(MatchFlow, BothFightersDyingInTheSameFrameEndTheMatchNamingPlayerTwo) {
    Game->Player1Char = Game->Player2Char; // the same dying animation for both
    StartOn("Arena");
    Game->Players[0]->SetHealth(0);
    Game->Players[1]->SetHealth(0);
    int frames = 0;
    while (Game->State == TGameState::Game && frames++ < 1000)
        Frame();
    ASSERT_EQ(Game->State, TGameState::End);
    for (const TBasePlayer* fighter : Game->Players) {
        EXPECT_EQ(fighter->Action(), kActionDie);
        EXPECT_EQ(fighter->Frame(), fighter->MaxFrame());
    }
    Frame();
    EXPECT_EQ(WinnerLine(), WinnerLineReading("Player 2!!"));
}

TEST_F(MatchFlow, TheMatchEndsOnlyWhenTheDyingAnimationShowsItsLastFrame) {
    StartOn("Arena");
    TBasePlayer& second = *Game->Players[1];
    second.SetHealth(-5);
    Frame(); // the update that finds no health starts the dying
    ASSERT_EQ(second.Action(), kActionDie);
    ASSERT_GT(second.MaxFrame(), 0);
    int frames = 0;
    while (Game->State == TGameState::Game && frames < 1000) {
        EXPECT_LT(second.Frame(), second.MaxFrame()) << "ended on frame " << second.Frame();
        Frame();
        ++frames;
    }
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(second.Frame(), second.MaxFrame());
    Frame();
    EXPECT_EQ(WinnerLine(), WinnerLineReading("Player 1!!"));
    EXPECT_EQ(LogLinesWith("MSG : Match over: Player 1 wins IN : GameProcess"), 1u);
}

TEST_F(MatchFlow, ReleasingF3SetsPlayerOneDyingUntilItsNextUpdate) {
    SDL_Event f3{};
    f3.type = SDL_KEYUP;
    f3.key.keysym.sym = static_cast<SDLKey>(kKeyF3);
    EXPECT_TRUE(Game->HandleCommonEvent(f3, TGameState::Title)) << "before any match: nothing happens";
    StartOn("Arena");
    TBasePlayer& first = *Game->Players[0];
    Frame();
    ASSERT_EQ(first.Action(), kActionStand);
    Game->HandleCommonEvent(f3, TGameState::Game);
    EXPECT_EQ(first.Action(), kActionDie);
    EXPECT_EQ(Game->Players[1]->Action(), kActionStand);
    Frame();
    EXPECT_EQ(first.Action(), kActionStand) << "with health left it takes its normal action again";
    EXPECT_EQ(Game->State, TGameState::Game);
}

} // namespace
