// Matches as players know them, through the real game object with pushed events and the
// manual clock on the game's generated data: rounds and their score, pause, the KEYS screen
// and the saved bindings, and gamepads steering the fighters.
#include "GameTestSetup.h"
#include "ScreenFrame.h"
#include "app/GameUnit.h"
#include "app/Gamepads.h"
#include "media/BriskDraws.h"
#include "media/BriskText.h"
#include "media/SurfaceUtils.h"
#include "platform/GameClock.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/KeyBindings.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <fstream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kFrameMs = 20;
constexpr int kUp = 273, kRight = 275, kLeft = 276, kSpace = 32;
constexpr int kA = 97, kLeftCtrl = 306, kP = 112;

// Player 1 at x 300, player 2 300 px to its right on the same row of squares, boots between.
constexpr const char* kArenaMap = "[Map]\r\nStartY0=300\r\nStartX0=300\r\nStartY1=600\r\nStartX1=300\r\n"
                                  "[Objects]\r\nObjectCount=1\r\nObject0=Blue,Boot\r\nObjectX0=436\r\n"
                                  "ObjectY0=346\r\n";

class MatchRules : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(LinkGameFolders(Media->Folder(), {"images", "data", "sound"}));
        fs::create_directory(Media->Folder() / "maps");
        std::ofstream(Media->Folder() / "maps" / "Arena.map", std::ios::binary) << kArenaMap;
        ResetInput();
        MakeGame();
    }
    void TearDown() override {
        Game.reset();
        KeyBindings.RestoreDefaults();
        ClearKeyState();
        SetGameClockStopped(false);
        MediaFixture::TearDown();
    }
    void MakeGame() {
        Game = std::make_unique<TBriskGame>();
        Game->EnterSetup();
        Game->AIBox = 0;
        Game->MapNames = {"Arena"};
        Game->MapIndex = 0;
    }
    void StartMatch() {
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
        ASSERT_EQ(Game->State, TGameState::Game);
    }
    void Frame() {
        RunScreenFrame(*Game);
        Media->Clock.Advance(kFrameMs);
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i)
            Frame();
    }
    void HoldOnly(const std::set<int>& held) {
        for (int key : Held)
            if (held.count(key) == 0) PushKeyUp(key);
        for (int key : held)
            if (Held.count(key) == 0) PushKeyDown(key);
        Held = held;
    }
    // The attacker (0 or 1) walks toward the other along their row and strikes once beside
    // it, until the round is over.
    void FightOutRound(int attacker) {
        const int32_t round = Game->Score.Round;
        for (int frame = 0; frame < 20000 && Game->State == TGameState::Game && Game->Score.Round == round;
             ++frame) {
            const TBasePlayer& first = *Game->Players[0];
            const TBasePlayer& second = *Game->Players[1];
            const bool beside = second.FootX() / 32 <= first.FootX() / 32 + 1;
            if (attacker == 0)
                HoldOnly(beside ? std::set<int>{kRight, kSpace} : std::set<int>{kRight});
            else
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
    static std::vector<uint32_t> Pixels(int left, int top, int right, int bottom) {
        std::vector<uint32_t> pixels;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                pixels.push_back(ReadColor(Screen->Surface, x, y));
        return pixels;
    }
    static void PushJoystick(const SDL_Event& event) {
        SDL_Event copy = event;
        ASSERT_EQ(SDL_PushEvent(&copy), 0);
    }
    static SDL_Event Axis(uint8_t pad, uint8_t axis, int16_t value) {
        SDL_Event event{};
        event.type = SDL_JOYAXISMOTION;
        event.jaxis.which = pad;
        event.jaxis.axis = axis;
        event.jaxis.value = value;
        return event;
    }

    std::unique_ptr<TBriskGame> Game;
    std::set<int> Held;
};

TEST_F(MatchRules, ABestOfThreeIsPlayedToTwoOneWithBannerScoreFreshMapsAndTheEndScreen) {
    Game->Rounds = 3;
    StartMatch();
    EXPECT_EQ(Game->Score.WinsNeeded(), 2);
    // Round 1 opens with its banner; the world stands meanwhile, keys held or not.
    ASSERT_TRUE(Game->Score.BannerShowing(SystemTicks()));
    EXPECT_EQ(Game->Score.BannerText(), "Round 1 - 0 : 0");
    HoldOnly({kRight});
    Frames(10);
    EXPECT_EQ(Game->Players[0]->X(), 300.0f);
    EXPECT_EQ(ReadColor(Screen->Surface, 110, 180), ReadColor(Screen->Surface, 530, 260))
        << "the banner's band";
    HoldOnly({});
    Frames(100);
    ASSERT_FALSE(Game->Score.BannerShowing(SystemTicks()));

    const size_t itemsAtStart = Game->Map->Items().size();
    FightOutRound(0);
    ASSERT_EQ(Game->State, TGameState::Game);
    EXPECT_EQ(Game->Score.Wins, (std::array<int32_t, 2>{1, 0}));
    EXPECT_EQ(LogLinesWith("MSG : Round over: Player 1 wins, 1 : 0 IN : GameProcess"), 1u);
    // The next round: a fresh map with fresh fighters at their starts, under its banner.
    EXPECT_EQ(Game->Score.BannerText(), "Round 2 - 1 : 0");
    EXPECT_TRUE(Game->Score.BannerShowing(SystemTicks()));
    EXPECT_EQ(Game->Players[1]->X(), 600.0f);
    EXPECT_EQ(Game->Players[1]->Health(), Game->Players[1]->MaxHealth());
    EXPECT_EQ(Game->Map->Items().size(), itemsAtStart);
    Frames(110);

    FightOutRound(1);
    EXPECT_EQ(Game->Score.Wins, (std::array<int32_t, 2>{1, 1}));
    EXPECT_EQ(LogLinesWith("MSG : Round over: Player 2 wins, 1 : 1 IN : GameProcess"), 1u);
    EXPECT_EQ(Game->Players[1]->BootItem, nullptr) << "the boots it took lie on the fresh map again";
    Frames(110);
    // The score is drawn at the top of the field.
    const std::vector<uint32_t> drawn = Pixels(260, 4, 380, 30);
    Game->Score.Wins = {2, 1};
    Frame();
    EXPECT_NE(Pixels(260, 4, 380, 30), drawn) << "the drawn score follows the score";
    Game->Score.Wins = {1, 1};

    FightOutRound(0);
    ASSERT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(LogLinesWith("MSG : Round over: Player 1 wins, 2 : 1 IN : GameProcess"), 1u);
    EXPECT_EQ(LogLinesWith("Match over: Player 1 wins"), 1u);
    EXPECT_EQ(LogLinesWith("Match over"), 1u);
    Frame();
    const std::vector<uint32_t> endScore = Pixels(160, 358, 420, 376);
    Game->DrawMenuBackground();
    FontList->Items(kFontSmall).TextOut(170, 358, "Rounds won 2 : 1");
    EXPECT_EQ(endScore, Pixels(160, 358, 420, 376));
}

TEST_F(MatchRules, OneRoundPlaysAsBeforeAndTheRoundsChoiceIsSavedAndRead) {
    StartMatch();
    EXPECT_FALSE(Game->Score.BannerShowing(SystemTicks()));
    Game->Players[1]->SetHealth(0);
    Frames(100);
    ASSERT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(LogLinesWith("Round over"), 0u);
    EXPECT_EQ(LogLinesWith("Match over: Player 1 wins"), 1u);

    // The setup screen's choice cycles 1, 3, 5 and is kept in the settings file.
    Game->SetState(TGameState::Setup);
    for (int expected : {3, 5, 1, 3}) {
        PushMouseUp(550, 390);
        Frame();
        EXPECT_EQ(Game->Rounds, expected);
    }
    PushMouseUp(470, 390); // on the edge: nothing
    Frame();
    EXPECT_EQ(Game->Rounds, 3);
    Game.reset();
    std::ifstream saved(Media->Folder() / "Duelmark.def");
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_NE(text.str().find("Rounds=3"), std::string::npos) << text.str();
    MakeGame();
    EXPECT_EQ(Game->Rounds, 3);
    Game.reset();
    std::ofstream(Media->Folder() / "Duelmark.def") << "[Select]\nRounds=4\n";
    MakeGame();
    EXPECT_EQ(Game->Rounds, 1) << "a count that is no choice plays one round";
}

TEST_F(MatchRules, PStopsTheWorldForAnyTimeAndResumesItWhereItStood) {
    StartMatch();
    HoldOnly({kA});
    Frames(20);
    TBasePlayer& second = *Game->Players[1];
    ASSERT_LT(second.X(), 600.0f);
    PushKeyDown(kP);
    Frame();
    ASSERT_TRUE(Game->Paused);
    EXPECT_TRUE(GameClockStopped());
    const float x = second.X();
    Frame();
    const std::vector<uint32_t> first = Pixels(0, 0, 640, 480);
    Frames(50); // a second later
    EXPECT_EQ(Pixels(0, 0, 640, 480), first);
    Frames(450);
    EXPECT_EQ(second.X(), x) << "ten seconds paused with the key held";
    PushKeyDown(19); // the Pause key resumes as well
    Frame();
    EXPECT_FALSE(Game->Paused);
    Frames(10);
    EXPECT_LT(second.X(), x);
    EXPECT_GT(second.X(), x - 0.5f * 12 * kFrameMs) << "the pause is not walked off at once";
    EXPECT_EQ(LogLinesWith("Match paused"), 1u);
    EXPECT_EQ(LogLinesWith("Match resumed"), 1u);
    HoldOnly({});
    // A networked match runs on.
    Game->NetMode = 1;
    Game->TogglePause();
    EXPECT_FALSE(Game->Paused);
    Game->NetMode = 0;
    // A match that ends leaves the clock running.
    PushKeyDown(kP);
    Frame();
    Game->EndMatch(TMatchResult::Player1Wins);
    EXPECT_FALSE(GameClockStopped());
}

TEST_F(MatchRules, KeysAreReboundOnTheKeysScreenSavedAndUsedInTheNextMatch) {
    Game->SetState(TGameState::Setup);
    PushMouseUp(500, 450); // KEYS
    Frame();
    ASSERT_EQ(Game->State, TGameState::Keys);
    PushMouseUp(100, 125 + 3 * 40 + 10); // player 1's Right
    Frame();
    EXPECT_EQ(Game->KeysChoice, 3);
    PushKeyDown(119); // w: player 2's Up
    Frame();
    EXPECT_EQ(KeyBindings.Key(0, TControl::Right), kRight) << "a key bound elsewhere is refused";
    EXPECT_NE(Game->KeysNotice.find("taken by Player 2's Up"), std::string::npos) << Game->KeysNotice;
    PushKeyDown(kP);
    Frame();
    EXPECT_NE(Game->KeysNotice.find("the game's own key"), std::string::npos) << Game->KeysNotice;
    PushKeyDown(108); // l
    Frame();
    EXPECT_EQ(KeyBindings.Key(0, TControl::Right), 108);
    EXPECT_EQ(Game->KeysChoice, -1);
    EXPECT_FALSE(KeyHeld(108)) << "the key that binds reaches no fighter";
    PushMouseUp(100, 450); // BACK
    Frame();
    ASSERT_EQ(Game->State, TGameState::Setup);

    StartMatch();
    Frames(2);
    HoldOnly({108});
    Frames(10);
    EXPECT_GT(Game->Players[0]->X(), 300.0f);
    EXPECT_EQ(Game->Players[0]->Direction(), 2);
    HoldOnly({});
    Game->EndMatch(TMatchResult::Player1Wins);

    Game.reset();
    std::ifstream saved(Media->Folder() / "Duelmark.def");
    std::stringstream text;
    text << saved.rdbuf();
    EXPECT_NE(text.str().find("[Keys]"), std::string::npos);
    EXPECT_NE(text.str().find("P1Right=108"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("P2SecondFire=308"), std::string::npos) << text.str();
    KeyBindings.RestoreDefaults();
    MakeGame();
    EXPECT_EQ(KeyBindings.Key(0, TControl::Right), 108) << "read back at the next start";

    // DEFAULTS brings the shipped sets back.
    Game->SetState(TGameState::Setup);
    PushMouseUp(500, 450);
    Frame();
    PushMouseUp(300, 450);
    Frame();
    EXPECT_EQ(KeyBindings.Set(0), kDefaultKeySets[0]);
}

TEST_F(MatchRules, GamepadsSteerTheirPlayersWithADeadZoneTheHatAndTwoButtons) {
    StartMatch();
    Frames(2);
    TBasePlayer& first = *Game->Players[0];
    TBasePlayer& second = *Game->Players[1];
    PushJoystick(Axis(1, 0, -20000)); // the second pad: player 2 left
    Frames(5);
    EXPECT_EQ(second.Action(), kActionWalk);
    EXPECT_EQ(second.Direction(), 6);
    EXPECT_EQ(first.Action(), kActionStand);
    PushJoystick(Axis(1, 0, static_cast<int16_t>(-TGamepads::kDeadZone)));
    Frames(2);
    EXPECT_EQ(second.Action(), kActionStand) << "inside the dead zone";
    PushJoystick(Axis(1, 0, static_cast<int16_t>(-TGamepads::kDeadZone - 1)));
    PushJoystick(Axis(1, 1, 30000));
    Frames(2);
    EXPECT_EQ(second.Direction(), 5) << "down and left";
    PushJoystick(Axis(1, 0, 0));
    PushJoystick(Axis(1, 1, 0));
    SDL_Event hat{};
    hat.type = SDL_JOYHATMOTION;
    hat.jhat.which = 0;
    hat.jhat.value = SDL_HAT_RIGHTUP;
    PushJoystick(hat);
    Frames(2);
    EXPECT_EQ(first.Action(), kActionWalk);
    EXPECT_EQ(first.Direction(), 1);
    EXPECT_EQ(second.Action(), kActionStand);
    hat.jhat.value = SDL_HAT_CENTERED;
    PushJoystick(hat);
    SDL_Event button{};
    button.type = SDL_JOYBUTTONDOWN;
    button.jbutton.which = 0;
    button.jbutton.button = 0;
    PushJoystick(button);
    Frames(2);
    EXPECT_EQ(first.Action(), kActionAttack);
    button.type = SDL_JOYBUTTONUP;
    PushJoystick(button);
    Frames(2);
    EXPECT_EQ(first.Action(), kActionAttack) << "a tap of the button strikes like a tap of the key";
    // A third pad drives nobody.
    PushJoystick(Axis(2, 0, 30000));
    Frames(100);
    EXPECT_EQ(first.Action(), kActionStand);
    EXPECT_EQ(second.Action(), kActionStand);
}

} // namespace
