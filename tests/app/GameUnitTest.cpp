// The game object driven with real SDL events: the settings file, quitting, the main loop's
// guard, state changes, the shared frame loop and the common key rules.
#include "GameTestSetup.h"
#include "app/GameUnit.h"

#include "media/BriskDraws.h"
#include "media/BriskSound.h"
#include "support/MediaFixture.h"
#include "support/TestFiles.h"
#include "world/AIPlayers.h"
#include "world/KeyState.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class GameTest : public MediaFixture {
protected:
    void SetUp() override {
        MediaFixture::SetUp();
        ResetInput();
    }
    [[nodiscard]] fs::path SettingsFile() const { return Media->Folder() / "Duelmark.def"; }
    [[nodiscard]] size_t LogLinesWith(const std::string& text) const {
        size_t count = 0;
        for (const auto& line : Media->LogLines())
            count += line.find(text) != std::string::npos;
        return count;
    }
    static SDL_Event Key(Uint8 type, int code) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = static_cast<SDLKey>(code);
        return event;
    }
};

TEST_F(GameTest, NoSettingsFileGivesDefaultsAndEveryKeyIsWrittenAtTheEnd) {
    {
        TBriskGame game;
        EXPECT_EQ(game.ServerIP, "127.0.0.1");
        EXPECT_EQ(game.Player1Char, 1);
        EXPECT_EQ(game.Player2Char, 2);
        EXPECT_EQ(game.MapName, "Default");
        EXPECT_EQ(game.AILevel, kAILevelNormal);
        EXPECT_FALSE(fs::exists(SettingsFile())) << "read once, written only at the end";
        game.Player1Char = 3;
        game.ServerIP = "10.0.0.7";
    }
    EXPECT_EQ(ReadLines(SettingsFile()),
              (std::vector<std::string>{"[Server]", "IP=10.0.0.7", "", "[Select]", "Server=3", "Client=2",
                                        "MapName=Default", "Rounds=1", "AILevel=Normal", "", "[Keys]", "P1Up=273", "P1Down=274",
                                        "P1Left=276", "P1Right=275", "P1Fire=32", "P1SecondFire=307", "P2Up=119",
                                        "P2Down=115", "P2Left=97", "P2Right=100", "P2Fire=306",
                                        "P2SecondFire=308"}));
    TBriskGame again;
    EXPECT_EQ(again.Player1Char, 3);
    EXPECT_EQ(again.ServerIP, "10.0.0.7");
}

TEST_F(GameTest, TheComputerOpponentsLevelIsReadByNameAndWrittenBack) {
    const struct {
        const char* Text;
        int32_t Level;
        const char* Written;
    } cases[] = {
        {"[Select]\nAILevel=Hard\n", kAILevelHard, "AILevel=Hard"},
        {"[select]\nailevel=easy\n", kAILevelEasy, "ailevel=Easy"},
        {"[Select]\nAILevel=2\n", kAILevelNormal, "AILevel=Normal"},
        {"[Select]\nAILevel=Hardest\n", kAILevelNormal, "AILevel=Normal"},
        {"[Select]\nAILevel=\n", kAILevelNormal, "AILevel=Normal"},
    };
    for (const auto& c : cases) {
        std::ofstream(SettingsFile(), std::ios::binary) << c.Text;
        {
            TBriskGame game;
            EXPECT_EQ(game.AILevel, c.Level) << c.Text;
        }
        const auto lines = ReadLines(SettingsFile());
        EXPECT_NE(std::find(lines.begin(), lines.end(), std::string(c.Written)), lines.end()) << c.Text;
    }
}

TEST_F(GameTest, SettingsValuesAreReadWithProfileRulesAndOtherLinesSurvive) {
    const struct {
        const char* Text;
        int32_t Player1, Player2;
        const char* MapName;
    } cases[] = {
        {"[Select]\nServer=$2\nClient=$A\n", 2, 10, "Default"},
        {"[select]\nserver=abc\nclient=\nMAPNAME=Arena\n", 1, 2, "Arena"},
        {"garbage\x01\x02\n[[[\n=\n", 1, 2, "Default"},
        {"[Select]\nServer=-1\nClient=99999999999\n", -1, 2, "Default"},
        {"[Select]\nServer=2147483647\nClient=-2147483648\n", 1000000, -1, "Default"},
    };
    for (const auto& c : cases) {
        std::ofstream(SettingsFile(), std::ios::binary) << c.Text;
        TBriskGame game;
        EXPECT_EQ(game.Player1Char, c.Player1) << c.Text;
        EXPECT_EQ(game.Player2Char, c.Player2) << c.Text;
        EXPECT_EQ(game.MapName, c.MapName) << c.Text;
    }
    std::ofstream(SettingsFile(), std::ios::binary)
        << "; my notes\n[Window]\nX=5\n[Select]\nServer=$2\n; kept\n";
    { const TBriskGame game; }
    EXPECT_EQ(ReadLines(SettingsFile()),
              (std::vector<std::string>{"; my notes", "[Window]", "X=5", "[Select]", "Server=2", "; kept",
                                        "Client=2", "MapName=Default", "Rounds=1", "AILevel=Normal", "", "[Server]", "IP=127.0.0.1",
                                        "", "[Keys]", "P1Up=273", "P1Down=274", "P1Left=276", "P1Right=275",
                                        "P1Fire=32", "P1SecondFire=307", "P2Up=119", "P2Down=115", "P2Left=97",
                                        "P2Right=100", "P2Fire=306", "P2SecondFire=308"}));
}

TEST_F(GameTest, TemporaryFilesOfAnInterruptedSettingsWriteAreRemovedAtStart) {
    // 999999999 is above the highest process number the kernel hands out.
    const std::vector<std::pair<std::string, bool>> files = {
        {"Duelmark.def.tmp999999999", false},
        {"Duelmark.def.tmp" + std::to_string(getpid()), true},
        {"Duelmark.def.tmpx", true},
        {"Notes.tmp999999999", true}};
    for (const auto& [name, kept] : files)
        std::ofstream(Media->Folder() / name) << "[Select]\n";
    const TBriskGame game;
    for (const auto& [name, kept] : files)
        EXPECT_EQ(fs::exists(Media->Folder() / name), kept) << name;
}

TEST_F(GameTest, CaptionNamesTheGameAndItsVersion) {
    const TBriskGame game;
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Duelmark - Blades at Dusk v1.12 (Rel 1.1)");
    EXPECT_EQ(LogLinesWith(" MSG : Duelmark - Blades at Dusk v1.12 (Rel 1.1) IN : Initialize"), 1U);
}

TEST_F(GameTest, EscapeOrWindowCloseEndsTheRunWithOneQuitEventLine) {
    for (const bool close : {false, true}) {
        const size_t before = LogLinesWith("*** ERROR *** : @ ");
        TBriskGame game;
        if (close)
            PushQuit();
        else
            PushKeyDown(kKeyEscape);
        game.Run();
        EXPECT_EQ(game.State, TGameState::Quit);
        EXPECT_EQ(LogLinesWith("*** ERROR *** : @ ") - before, 1U);
        EXPECT_EQ(LogLinesWith(" MSG : Quit Event IN : TitleProcess"), close ? 2U : 1U);
    }
}

TEST_F(GameTest, EscapeOnEveryScreenEndsItAfterTheCurrentFrame) {
    for (const TGameState screen : {TGameState::Title, TGameState::Help, TGameState::Setup, TGameState::Game,
                                    TGameState::End, TGameState::WaitForServer}) {
        TBriskGame game;
        game.State = screen;
        int frames = 0;
        PushKeyDown(kKeyEscape);
        game.RunFrameLoop(screen, {nullptr, [&] { ++frames; }, nullptr});
        EXPECT_EQ(frames, 1) << static_cast<int>(screen);
        EXPECT_EQ(game.State, TGameState::Quit);
    }
}

TEST_F(GameTest, ExceptionInTheLoopLogsItsTextThenErrorEndAndSettingsAreStillWritten) {
    {
        TBriskGame game;
        game.Player2Char = 4;
        game.RunGuarded(
            [] { throw std::runtime_error("Invalid tile code \"x?\" for Tile5-5 in Maps\\Lake.map"); });
    }
    const auto log = Media->LogLines();
    const auto text = std::find_if(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("*** ERROR *** : @ ") &&
               line.ends_with(
                   " MSG : Invalid tile code \"x?\" for Tile5-5 in Maps\\Lake.map IN : TBriskGame.Run");
    });
    ASSERT_NE(text, log.end()) << Media->LogText();
    ASSERT_NE(text + 1, log.end());
    EXPECT_TRUE(text[1].ends_with(" MSG : Error IN : End")) << "the error's text comes first";
    const auto lines = ReadLines(SettingsFile());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Client=4"), lines.end());
}

class GameErrorsOnlyTest : public GameTest {
protected:
    [[nodiscard]] TMediaOptions Options() const override {
        TMediaOptions options;
        options.StartupText = "Debug=1\n";
        return options;
    }
};

TEST_F(GameErrorsOnlyTest, AtLevelOneTheErrorTextIsLoggedAndTheStatusLineIsNot) {
    {
        TBriskGame game;
        game.RunGuarded([] { throw std::runtime_error("Could not open AI script data\\Elf.ai"); });
        game.RunGuarded([] { throw 7; });
    }
    EXPECT_EQ(LogLinesWith(" MSG : Could not open AI script data\\Elf.ai IN : TBriskGame.Run"), 1U);
    EXPECT_EQ(LogLinesWith("Error IN : End"), 0U);
}

TEST_F(GameTest, StateChangesRunTheirTransitionActions) {
    TBriskGame game;
    game.SetState(TGameState::Help);
    EXPECT_EQ(game.HelpPage, 1);
    game.HelpPage = 3;
    game.SetState(TGameState::Help);
    EXPECT_EQ(game.HelpPage, 3) << "staying on the help screen keeps its page";

    game.SetState(TGameState::End);
    game.OpponentReady = true;
    game.SetState(TGameState::End);
    EXPECT_TRUE(game.OpponentReady);
    game.SetState(TGameState::Setup);
    EXPECT_FALSE(game.OpponentReady) << "leaving the end screen forgets the opponent";
    EXPECT_EQ(game.State, TGameState::Setup);
}

TEST_F(GameTest, CommonKeyRulesWriteTheKeyTablePerScreen) {
    constexpr int kSpace = 32;
    const struct {
        TGameState Screen;
        Uint8 Type;
        int Code;
        bool HeldBefore, HeldAfter, Handled;
    } cases[] = {
        {TGameState::Title, SDL_KEYDOWN, kSpace, false, true, true},
        {TGameState::Game, SDL_KEYUP, kSpace, true, false, true},
        {TGameState::Setup, SDL_KEYUP, kSpace, true, false, true},
        {TGameState::WaitForServer, SDL_KEYDOWN, kSpace, false, false, false},
        {TGameState::WaitForServer, SDL_KEYUP, kSpace, true, true, false},
        {TGameState::Title, SDL_KEYUP, kKeyF3, true, true, true},
        {TGameState::Help, SDL_KEYUP, kKeyF3, true, true, true},
        {TGameState::Game, SDL_KEYUP, kKeyF3, true, true, true},
        {TGameState::End, SDL_KEYUP, kKeyF3, true, false, true},
        {TGameState::Setup, SDL_KEYUP, kKeyF3, true, false, true},
        {TGameState::Game, SDL_KEYDOWN, 323, false, true, true},
        {TGameState::Game, SDL_KEYDOWN, 400, false, false, true},
    };
    TBriskGame game;
    for (const auto& c : cases) {
        ClearKeyState();
        SetKeyState(c.Code, c.HeldBefore);
        EXPECT_EQ(game.HandleCommonEvent(Key(c.Type, c.Code), c.Screen), c.Handled)
            << "screen " << static_cast<int>(c.Screen) << " code " << c.Code;
        EXPECT_EQ(KeyHeld(c.Code), c.HeldAfter)
            << "screen " << static_cast<int>(c.Screen) << " code " << c.Code;
    }
    SDL_Event mouseUp{};
    mouseUp.type = SDL_MOUSEBUTTONUP;
    EXPECT_FALSE(game.HandleCommonEvent(mouseUp, TGameState::Title)) << "buttons belong to the screen";
}

TEST_F(GameTest, FrameOffersEventsToTheScreenFirstThenDrawsMessagesAndPresents) {
    TBriskGame game;
    game.State = TGameState::Setup;
    std::vector<std::string> calls;
    PushKeyUp('5');
    PushKeyDown('a');
    PushMouseUp(250, 430);
    const uint32_t framesBefore = Screen->FrameCount;
    const TFrameHooks hooks{[&](const SDL_Event& event) {
                                if (event.type == SDL_MOUSEBUTTONUP) {
                                    calls.push_back("click " + std::to_string(event.button.x) + "," +
                                                    std::to_string(event.button.y));
                                    return true;
                                }
                                if (event.type == SDL_KEYUP) {
                                    calls.push_back("key up " + std::to_string(event.key.keysym.sym));
                                    return true; // the address field takes digits
                                }
                                return false;
                            },
                            [&] { calls.push_back("render"); },
                            [&] {
                                calls.push_back("per frame, presented " +
                                                std::to_string(Screen->FrameCount - framesBefore));
                            }};
    SetKeyState('5', true);
    game.RunFrame(TGameState::Setup, hooks);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"key up 53", "click 250,430", "render", "per frame, presented 0"}));
    EXPECT_EQ(Screen->FrameCount - framesBefore, 1U);
    EXPECT_TRUE(KeyHeld('a'));
    EXPECT_TRUE(KeyHeld('5')) << "a key the screen took leaves the table alone";
}

TEST_F(GameTest, MenuFramesAndMatchFramesWaitOutTheirOwnSlotsOnTheClock) {
    TBriskGame game;
    Media->Clock.Waits.clear();
    const struct {
        TGameState Screen;
        std::vector<uint32_t> Waits; // of this frame, which took no time itself
    } frames[] = {{TGameState::Title, {}},           {TGameState::Title, {33}},
                  {TGameState::Setup, {33}},         {TGameState::Game, {}},
                  {TGameState::Game, {10}},          {TGameState::Game, {10}},
                  {TGameState::WaitForServer, {10}}, {TGameState::End, {33}},
                  {TGameState::Help, {33}}};
    for (const auto& frame : frames) {
        game.State = frame.Screen;
        Media->Clock.Waits.clear();
        game.RunFrame(frame.Screen, {});
        EXPECT_EQ(Media->Clock.Waits, frame.Waits) << static_cast<int>(frame.Screen);
    }
}

TEST_F(GameTest, MTogglesTheSoundOnEveryScreenWithoutTouchingTheKeyTable) {
    ASSERT_NE(SoundEngine, nullptr);
    TBriskGame game;
    bool muted = false;
    for (const TGameState screen : {TGameState::Title, TGameState::Game, TGameState::Setup,
                                    TGameState::WaitForServer, TGameState::End, TGameState::Help}) {
        game.State = screen;
        PushKeyDown(kKeyMute);
        game.RunFrame(screen, {});
        muted = !muted;
        EXPECT_EQ(SoundEngine->Muted, muted) << static_cast<int>(screen);
        EXPECT_FALSE(KeyHeld(kKeyMute)) << static_cast<int>(screen);
    }
    EXPECT_EQ(LogLinesWith(" MSG : Sound muted IN : TBriskGame.Mute"), 3U);
    EXPECT_EQ(LogLinesWith(" MSG : Sound on IN : TBriskGame.Mute"), 3U);
}

TEST_F(GameTest, WaitingClientRunsOneFramePerCallAndInitialisationNeverStays) {
    TBriskGame game;
    game.SetState(TGameState::WaitForServer);
    game.GameSetupProcess();
    EXPECT_EQ(game.State, TGameState::WaitForServer) << "a waiting client runs one frame per call";
    game.SetState(TGameState::Initialization);
    game.GameInitialization();
    EXPECT_NE(game.State, TGameState::Initialization) << "initialisation never stays";
}

} // namespace

namespace {

class NetPortTest : public MediaFixture {
protected:
    [[nodiscard]] TMediaOptions Options() const override { return {Startup, {}, true}; }
    std::optional<std::string> Startup;
};

// The start-up file may move the game's port, so a relay can sit between two games on one
// machine; anything but a port number leaves 2080.
TEST_F(NetPortTest, TheStartupFilesNetPortMovesTheGamesPort) {
    struct TCase {
        std::optional<std::string> Text;
        uint16_t Port;
    };
    for (const TCase& c : {TCase{std::nullopt, 2080}, TCase{"NetPort=2081\r\n", 2081},
                           TCase{"Debug=3\nnetport = $FFFF\n", 65535}, TCase{"NetPort=0\n", 2080},
                           TCase{"NetPort=65536\n", 2080}, TCase{"NetPort=port\n", 2080}}) {
        SCOPED_TRACE(c.Text.value_or("no file"));
        Startup = c.Text;
        TearDown();
        SetUp();
        const TBriskGame game;
        EXPECT_EQ(game.NetPort, c.Port);
    }
}

} // namespace
