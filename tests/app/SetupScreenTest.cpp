// The setup screen driven by pushed events one frame at a time: the mode boxes, the
// character and map arrows, the AI box, the address field, BACK, the lists it builds on
// entry, the waiting client, and what each mode shows.
#include "MenuTestGame.h"
#include "media/BriskImage.h"
#include "net/NetworkUnit.h"
#include "world/AIPlayers.h"

namespace menutest {
namespace {

class SetupScreenTest : public MenuGameTest {
protected:
    // Not the game's own port, so a game running beside the tests is not disturbed.
    static constexpr uint16_t kTestPort = 23082;
    void SetUp() override {
        MenuGameTest::SetUp();
        TheGame->SetState(TGameState::Setup);
    }
    void Frame() { TheGame->RunFrame(TheGame->State, TheGame->SetupHooks()); }
    void Click(int32_t x, int32_t y) {
        PushMouseUp(x, y);
        Frame();
    }
    void Type(std::string_view keys) {
        for (const char key : keys)
            PushKeyUp(key);
        Frame();
    }
    void SetMode(int32_t mode) {
        TheGame->NetMode = mode;
        TheGame->LocalBox = mode == 0;
        TheGame->ServerBox = mode == 1;
        TheGame->ClientBox = mode == 2;
    }
    // The portrait drawn at (x, y): its middle shows the character's own colour.
    [[nodiscard]] static bool PortraitShown(int32_t x, int32_t y, TColor color) {
        return ScreenColor(x + 40, y + 20) == color.Packed();
    }
    [[nodiscard]] static bool CellShown(int32_t x, int32_t y, int32_t cell) {
        return ScreenColor(x + 16, y + 16) == kCellColors[cell].Packed();
    }
    // The characters in the order the screen lists them, by name without regard to case.
    const TColor Alpha = kThreeCharacters[1].Portrait;
    const TColor Beta = kThreeCharacters[2].Portrait;
    const TColor Gamma = kThreeCharacters[0].Portrait;
};

TEST_F(SetupScreenTest, ModeBoxesSwitchExactlyOneBoxOnInsideTheirRectangles) {
    struct TCase {
        int32_t X, Y, From, Expected;
    };
    const TCase cases[] = {{1, 125, 2, 0},   {299, 125, 2, 0}, {0, 125, 2, 2},   {300, 125, 2, 2},
                           {150, 101, 2, 0}, {150, 100, 2, 2}, {150, 150, 0, 0}, {150, 151, 0, 1},
                           {150, 199, 0, 1}, {150, 200, 0, 0}, {1, 175, 0, 1},   {311, 125, 0, 2},
                           {599, 125, 1, 2}, {310, 125, 0, 0}, {600, 125, 0, 0}, {450, 100, 0, 0},
                           {450, 101, 1, 2}, {450, 149, 0, 2}, {450, 150, 0, 0}, {305, 125, 1, 1}};
    for (const TCase& c : cases) {
        SetMode(c.From);
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->NetMode, c.Expected) << c.X << ", " << c.Y;
        EXPECT_EQ(TheGame->LocalBox + TheGame->ServerBox + TheGame->ClientBox, 1) << c.X << ", " << c.Y;
        const int32_t boxes[3] = {TheGame->LocalBox, TheGame->ServerBox, TheGame->ClientBox};
        EXPECT_EQ(boxes[c.Expected], 1) << c.X << ", " << c.Y;
    }
}

TEST_F(SetupScreenTest, ChoosingAModeSetsWhatComesWithIt) {
    TheGame->ServerIP = "10.1.2.3";
    Click(450, 125);
    EXPECT_EQ(TheGame->IPText, "10.1.2.3") << "the client starts from the remembered address";
    Click(150, 175);
    EXPECT_EQ(TheGame->Player2Char, -1) << "a server's player 2 has no character until a client names one";
    Click(150, 125);
    EXPECT_EQ(TheGame->Player2Char, 2) << "back in a local game the click wraps it to the last character";
}

TEST_F(SetupScreenTest, ChoosingServerAgainKeepsTheCharacterAClientAnnounced) {
    TheGame->NetPort = kTestPort;
    Click(150, 175);
    ASSERT_NE(TheGame->Server, nullptr);
    auto client = std::make_unique<TBriskTCPClient>();
    client->SetMessageSize(kNetMessageSize);
    client->Connect("127.0.0.1", kTestPort);
    for (int frame = 0; frame < 200 && TheGame->Server->ClientCount() == 0; ++frame) {
        Frame();
        SDL_Delay(5);
    }
    TheGame->OpponentReady = true;
    TheGame->Player2Char = 1;
    Click(150, 175);
    EXPECT_EQ(TheGame->Player2Char, 1);
    EXPECT_TRUE(TheGame->OpponentReady);
    // The client goes: the server waits for the next one and says why.
    client.reset();
    for (int frame = 0; frame < 200 && TheGame->OpponentReady; ++frame) {
        Frame();
        SDL_Delay(5);
    }
    EXPECT_FALSE(TheGame->OpponentReady);
    EXPECT_EQ(TheGame->Player2Char, -1);
    Frame();
    EXPECT_TRUE(TextShown(kFontSmall, 20, 235, "The client has left."));
    EXPECT_TRUE(TextShown(kFontSmall, 180, 390, "Waiting for someone to connect."));
}

TEST_F(SetupScreenTest, CharacterArrowsStepAndWrapInsideTheirRectangles) {
    struct TCase {
        int32_t X, Y, Player1, Player2;
    };
    // From player 1 on character 0 and player 2 on character 2 of three.
    const TCase cases[] = {{31, 350, 2, 2},  {59, 350, 2, 2},  {30, 350, 0, 2},  {60, 350, 0, 2},
                           {45, 331, 2, 2},  {45, 369, 2, 2},  {45, 330, 0, 2},  {45, 370, 0, 2},
                           {131, 350, 1, 2}, {159, 350, 1, 2}, {130, 350, 0, 2}, {160, 350, 0, 2},
                           {231, 350, 0, 1}, {259, 350, 0, 1}, {230, 350, 0, 2}, {260, 350, 0, 2},
                           {331, 350, 0, 0}, {359, 350, 0, 0}, {330, 350, 0, 2}, {360, 350, 0, 2},
                           {345, 331, 0, 0}, {345, 370, 0, 2}};
    for (const TCase& c : cases) {
        TheGame->Player1Char = 0;
        TheGame->Player2Char = 2;
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->Player1Char, c.Player1) << c.X << ", " << c.Y;
        EXPECT_EQ(TheGame->Player2Char, c.Player2) << c.X << ", " << c.Y;
    }
}

TEST_F(SetupScreenTest, ArrowsOfAHiddenPlayerDoNothing) {
    SetMode(2);
    TheGame->Player1Char = 1;
    Click(45, 350);
    Click(145, 350);
    EXPECT_EQ(TheGame->Player1Char, 1) << "a client shows no player 1";
    SetMode(1);
    TheGame->Player2Char = -1;
    Click(245, 350);
    Click(345, 350);
    EXPECT_EQ(TheGame->Player2Char, -1) << "a server shows no player 2";
}

TEST_F(SetupScreenTest, MapArrowsStepAndWrapInsideTheirRectangles) {
    struct TCase {
        int32_t X, Y, Expected;
    };
    // From the first of three maps.
    const TCase cases[] = {{411, 350, 2}, {459, 350, 2}, {410, 350, 0}, {460, 350, 0}, {430, 331, 2},
                           {430, 369, 2}, {430, 330, 0}, {430, 370, 0}, {591, 350, 1}, {639, 350, 1},
                           {590, 350, 0}, {610, 331, 1}, {610, 370, 0}};
    for (const TCase& c : cases) {
        TheGame->MapIndex = 0;
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->MapIndex, c.Expected) << c.X << ", " << c.Y;
    }
    TheGame->MapIndex = 2;
    Click(600, 350);
    EXPECT_EQ(TheGame->MapIndex, 0) << "past the last map back to the first";
    SetMode(2);
    Click(600, 350);
    EXPECT_EQ(TheGame->MapIndex, 0) << "a client shows no map";
}

TEST_F(SetupScreenTest, AIBoxTogglesInsideItsRectangleInALocalGameOnly) {
    struct TCase {
        int32_t X, Y;
        bool Toggles;
    };
    const TCase cases[] = {{251, 390, true},  {359, 390, true},  {300, 371, true},  {300, 409, true},
                           {250, 390, false}, {360, 390, false}, {300, 370, false}, {300, 410, false}};
    for (const TCase& c : cases) {
        TheGame->AIBox = 1;
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->AIBox, c.Toggles ? 0 : 1) << c.X << ", " << c.Y;
    }
    Click(300, 390);
    Click(300, 390);
    EXPECT_EQ(TheGame->AIBox, 1) << "a second click ticks it again";
    for (const int32_t mode : {1, 2}) {
        SetMode(mode);
        Click(300, 390);
        EXPECT_EQ(TheGame->AIBox, 1) << "mode " << mode;
    }
}

TEST_F(SetupScreenTest, AILevelCyclesInsideItsRectangleInALocalGameOnly) {
    struct TCase {
        int32_t X, Y;
        bool Steps;
    };
    const TCase cases[] = {{366, 390, true},  {454, 390, true},  {400, 371, true},  {400, 409, true},
                           {365, 390, false}, {455, 390, false}, {400, 370, false}, {400, 410, false}};
    for (const TCase& c : cases) {
        TheGame->AILevel = kAILevelEasy;
        TheGame->AIBox = 1;
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->AILevel, c.Steps ? kAILevelNormal : kAILevelEasy) << c.X << ", " << c.Y;
        EXPECT_EQ(TheGame->AIBox, 1) << "the level leaves the AI box alone";
    }
    TheGame->AILevel = kAILevelNormal;
    Click(400, 390);
    EXPECT_EQ(TheGame->AILevel, kAILevelHard);
    Click(400, 390);
    EXPECT_EQ(TheGame->AILevel, kAILevelEasy) << "Hard wraps to Easy";
    for (const int32_t mode : {1, 2}) {
        SetMode(mode);
        Click(400, 390);
        EXPECT_EQ(TheGame->AILevel, kAILevelEasy) << "mode " << mode;
    }
}

TEST_F(SetupScreenTest, TypedAddressShowsConnectOnlyForADottedQuad) {
    TheGame->ServerIP = "";
    Click(450, 125);
    struct TStep {
        std::string_view Keys;
        std::string_view Text;
        bool Connect;
    };
    const TStep steps[] = {{"1", "1", false},
                           {"0.0.0", "10.0.0", false},
                           {".", "10.0.0.", false},
                           {"1", "10.0.0.1", true},
                           {"\b", "10.0.0.", false},
                           {"255", "10.0.0.255", true},
                           {"6", "10.0.0.2556", false},
                           {"\b\b\b\b\b\b\b\b\b\b\b\b", "", false},
                           {"999.1.1.1", "999.1.1.1", false},
                           {"\b\b\b\b\b\b\b\b\b1.2.3", "1.2.3", false},
                           {".4.5", "1.2.3.4.5", true}};
    for (const TStep& step : steps) {
        Type(step.Keys);
        EXPECT_EQ(TheGame->IPText, step.Text);
        EXPECT_EQ(TheGame->ServerIP, step.Text) << "the remembered address follows every key";
        TheGame->RenderGameSetup();
        EXPECT_EQ(TextShown(kFontYellow, 230, 430, "[  CONNECT  ]"), step.Connect) << step.Text;
        EXPECT_EQ(TextShown(kFontSmall, 180, 390, "Enter the server ip address."), !step.Connect)
            << step.Text;
        EXPECT_TRUE(TextShown(kFontYellow, 330, 150, step.Text)) << step.Text;
    }
}

TEST_F(SetupScreenTest, TypingOutsideClientModeChangesNoAddress) {
    for (const int32_t mode : {0, 1}) {
        SetMode(mode);
        TheGame->IPText = "1.2.3.4";
        TheGame->ServerIP = "5.6.7.8";
        Type("9.\b0");
        EXPECT_EQ(TheGame->IPText, "1.2.3.4") << "mode " << mode;
        EXPECT_EQ(TheGame->ServerIP, "5.6.7.8") << "mode " << mode;
    }
}

TEST_F(SetupScreenTest, AddressKeysNeverReachTheKeyTableOtherKeysDo) {
    SetMode(2);
    PushKeyDown('5');
    PushKeyDown('w');
    Frame();
    ASSERT_TRUE(KeyHeld('5'));
    Type("5w");
    EXPECT_TRUE(KeyHeld('5')) << "the address field took the release";
    EXPECT_FALSE(KeyHeld('w'));
}

TEST_F(SetupScreenTest, SpaceDoesNotStartAMatch) {
    PushKeyDown(' ');
    Frame();
    Frame();
    EXPECT_EQ(TheGame->State, TGameState::Setup);
}

TEST_F(SetupScreenTest, PlayAnswersInsideItsRectangleWhenShown) {
    struct TCase {
        int32_t X, Y;
        bool Plays;
    };
    const TCase cases[] = {{251, 455, true},  {419, 455, true},  {300, 431, true},  {300, 479, true},
                           {250, 455, false}, {420, 455, false}, {300, 430, false}, {300, 480, false}};
    for (const TCase& c : cases) {
        TheGame->State = TGameState::Setup;
        Click(c.X, c.Y);
        EXPECT_EQ(TheGame->State, c.Plays ? TGameState::Initialization : TGameState::Setup)
            << c.X << ", " << c.Y;
    }
}

TEST_F(SetupScreenTest, ServerShowsPlayOnlyOnceItsClientHasAnnouncedItself) {
    Click(150, 175);
    TheGame->RenderGameSetup();
    EXPECT_TRUE(BackgroundAt(250, 430));
    EXPECT_TRUE(TextShown(kFontSmall, 180, 390, "Waiting for someone to connect."));
    Click(300, 455);
    EXPECT_EQ(TheGame->State, TGameState::Setup);
    TheGame->OpponentReady = true;
    TheGame->Player2Char = 0;
    TheGame->RenderGameSetup();
    EXPECT_TRUE(TextShown(kFontYellow, 250, 430, "[  PLAY  ]"));
    Click(300, 455);
    EXPECT_EQ(TheGame->State, TGameState::Initialization);
}

TEST_F(SetupScreenTest, EachModeDrawsOnlyItsOwnControls) {
    struct TCase {
        int32_t Mode;
        bool PlayerOne, PlayerTwo, AI;
    };
    TheGame->Player1Char = 0;
    TheGame->Player2Char = 1;
    for (const TCase c :
         {TCase{0, true, true, true}, TCase{1, true, false, false}, TCase{2, false, true, false}}) {
        SetMode(c.Mode);
        TheGame->RenderGameSetup();
        EXPECT_TRUE(TextShown(kFontYellow, 100, 5, kGameTitle));
        EXPECT_TRUE(CellShown(10, 100, c.Mode == 0 ? kCellTicked : kCellEmpty)) << c.Mode;
        EXPECT_TRUE(CellShown(10, 150, c.Mode == 1 ? kCellTicked : kCellEmpty)) << c.Mode;
        EXPECT_TRUE(CellShown(310, 100, c.Mode == 2 ? kCellTicked : kCellEmpty)) << c.Mode;
        EXPECT_TRUE(TextShown(kFontBlue, 50, 100, "Local Game"));
        EXPECT_TRUE(TextShown(kFontBlue, 350, 100, "Client"));
        EXPECT_EQ(TextShown(kFontBlue, 20, 260, "Player 1"), c.PlayerOne) << c.Mode;
        EXPECT_EQ(PortraitShown(50, 300, Alpha), c.PlayerOne) << c.Mode;
        EXPECT_EQ(CellShown(30, 330, kCellPrevious), c.PlayerOne) << c.Mode;
        EXPECT_EQ(CellShown(130, 330, kCellNext), c.PlayerOne) << c.Mode;
        EXPECT_EQ(TextShown(kFontBlue, 450, 260, "Map"), c.PlayerOne) << c.Mode;
        EXPECT_EQ(TextShown(kFontYellow, 460, 330, "default"), c.PlayerOne) << c.Mode;
        EXPECT_EQ(CellShown(600, 330, kCellNext), c.PlayerOne) << c.Mode;
        EXPECT_EQ(TextShown(kFontBlue, 220, 260, "Player 2"), c.PlayerTwo) << c.Mode;
        EXPECT_EQ(PortraitShown(250, 300, Beta), c.PlayerTwo) << c.Mode;
        EXPECT_EQ(CellShown(330, 330, kCellNext), c.PlayerTwo) << c.Mode;
        EXPECT_EQ(TextShown(kFontBlue, 300, 370, "AI Player"), c.AI) << c.Mode;
        EXPECT_EQ(CellShown(250, 370, kCellTicked), c.AI) << c.Mode;
        EXPECT_EQ(TextShown(kFontBlue, 280, 150, "IP:"), c.Mode == 2) << c.Mode;
        EXPECT_EQ(TextShown(kFontYellow, 250, 430, "[  PLAY  ]"), c.Mode == 0) << c.Mode;
    }
}

TEST_F(SetupScreenTest, PortraitsUseTheirCharactersTransparentColour) {
    TheGame->Player1Char = 0;
    TheGame->RenderGameSetup();
    EXPECT_TRUE(PortraitShown(50, 300, Alpha));
    EXPECT_EQ(ScreenColor(52, 302), kBackgroundColors[0].Packed()) << "the character's key is transparent";
    EXPECT_EQ(ScreenColor(50 + kPortraitSize - 2, 302), 0U) << "black is not, for this portrait";
}

TEST_F(SetupScreenTest, ListsAreSortedWithoutCaseAndBuiltOnceOnEveryEntry) {
    for (int32_t visit = 0; visit < 3; ++visit) {
        TheGame->SetState(TGameState::End);
        TheGame->SetState(TGameState::Setup);
        ASSERT_EQ(TheGame->SetupImages.Count(), 4);
        EXPECT_EQ(TheGame->SetupImages.Items(0)->Name, "CheckBox");
        EXPECT_EQ(TheGame->SetupImages.Items(1)->Name, "alpha");
        EXPECT_EQ(TheGame->SetupImages.Items(2)->Name, "Beta");
        EXPECT_EQ(TheGame->SetupImages.Items(3)->Name, "Gamma");
        EXPECT_EQ(TheGame->MapNames, (std::vector<std::string>{"default", "Lake", "Ruins"}));
    }
}

TEST_F(SetupScreenTest, NewFilesArePickedUpOnTheNextEntry) {
    WriteText(Media->Folder() / "data" / "Delta.Dark.plr", "[Pic]\nIDImage=none.png\n");
    WriteText(Media->Folder() / "maps" / "Zebra.MAP", "");
    TheGame->SetState(TGameState::Title);
    TheGame->SetState(TGameState::Setup);
    ASSERT_EQ(TheGame->SetupImages.Count(), 5);
    EXPECT_EQ(TheGame->SetupImages.Items(3)->Name, "Delta") << "a name ends at its first dot";
    EXPECT_EQ(TheGame->SetupImages.Items(3)->Surface, nullptr);
    EXPECT_EQ(TheGame->MapNames.back(), "Zebra");
    TheGame->Player1Char = 2;
    TheGame->RenderGameSetup();
    EXPECT_TRUE(BackgroundAt(80, 310)) << "a portrait without picture draws nothing";
}

// The name a match leaves ("Maps\Lake.map") chooses its entry again.
TEST_F(SetupScreenTest, MapIsPreselectedByNameWithoutRegardToCase) {
    struct TCase {
        std::string_view MapName;
        int32_t Index;
    };
    for (const TCase c : {TCase{"LAKE", 1}, TCase{"ruins", 2}, TCase{"Default", 0},
                          TCase{"Maps\\Lake.map", 1}, TCase{"maps\\RUINS.MAP", 2}, TCase{"Nowhere", 0}}) {
        TheGame->MapName = c.MapName;
        TheGame->SetState(TGameState::Title);
        TheGame->SetState(TGameState::Setup);
        EXPECT_EQ(TheGame->MapIndex, c.Index) << c.MapName;
    }
}

TEST_F(SetupScreenTest, RememberedCharactersOutsideTheListAreWrappedOnEntry) {
    struct TCase {
        int32_t Mode, Player1, Player2, Expected1, Expected2;
    };
    const TCase cases[] = {{0, -1, -1, 2, 2}, {0, 3, 7, 0, 0},   {0, 1, 2, 1, 2},
                           {2, -5, -1, 2, 2}, {1, 0, -1, 0, -1}, {1, 9, -1, 0, -1}};
    for (const TCase& c : cases) {
        SetMode(c.Mode);
        TheGame->Player1Char = c.Player1;
        TheGame->Player2Char = c.Player2;
        TheGame->SetState(TGameState::Title);
        TheGame->SetState(TGameState::Setup);
        EXPECT_EQ(TheGame->Player1Char, c.Expected1) << c.Player1;
        EXPECT_EQ(TheGame->Player2Char, c.Expected2) << c.Player2;
    }
    SetMode(0);
    TheGame->Player2Char = -1;
    TheGame->SetState(TGameState::Title);
    TheGame->SetState(TGameState::Setup);
    TheGame->RenderGameSetup();
    EXPECT_TRUE(PortraitShown(250, 300, Gamma)) << "a portrait, never the check box sheet";
}

TEST_F(SetupScreenTest, WaitingClientAnswersOnlyToCancelAndIgnoresKeys) {
    SetMode(2);
    TheGame->IPText = "10.0.0.1";
    TheGame->State = TGameState::WaitForServer;
    PushKeyDown('w');
    Type("5\b");
    EXPECT_EQ(TheGame->IPText, "10.0.0.1");
    EXPECT_FALSE(KeyHeld('w'));
    TheGame->RenderGameSetup();
    EXPECT_TRUE(TextShown(kFontYellow, 235, 430, "[  CANCEL  ]"));
    EXPECT_TRUE(TextShown(kFontSmall, 120, 390, "Waiting for the Server to Start the Game."));
    for (const auto& [x, y] : {std::pair{250, 455}, std::pair{420, 455}, std::pair{300, 430},
                               std::pair{300, 480}, std::pair{150, 125}, std::pair{450, 125}}) {
        Click(x, y);
        EXPECT_EQ(TheGame->State, TGameState::WaitForServer) << x << ", " << y;
    }
    EXPECT_EQ(TheGame->NetMode, 2);
    Click(251, 455);
    EXPECT_EQ(TheGame->State, TGameState::Setup);
    EXPECT_EQ(TheGame->SetupImages.Count(), 4) << "cancel enters the setup screen again";
}

TEST_F(SetupScreenTest, KeypadDigitsAndPeriodTypeLikeTheTopRow) {
    constexpr int kKeypad0 = 256, kKeypadPeriod = 266;
    TheGame->ServerIP = "";
    Click(450, 125);
    for (const int key :
         {kKeypad0 + 1, kKeypad0 + 9, kKeypad0 + 2, kKeypadPeriod, kKeypad0 + 0, int{'.'}, int{'7'}})
        PushKeyUp(key);
    Frame();
    EXPECT_EQ(TheGame->IPText, "192.0.7");
    EXPECT_EQ(TheGame->ServerIP, "192.0.7");
    SetKeyState(kKeypad0 + 5, true);
    PushKeyUp(kKeypad0 + 5);
    Frame();
    EXPECT_EQ(TheGame->IPText, "192.0.75");
    EXPECT_TRUE(KeyHeld(kKeypad0 + 5)) << "address keys never reach the key table";
    SetMode(0);
    PushKeyUp(kKeypad0 + 3);
    Frame();
    EXPECT_EQ(TheGame->IPText, "192.0.75") << "a local game has no address field";
}

TEST_F(SetupScreenTest, AddressHoldsAtMostFifteenCharacters) {
    TheGame->ServerIP = "";
    Click(450, 125);
    Type("255.255.255.2550");
    EXPECT_EQ(TheGame->IPText, "255.255.255.255");
    Type("\b1");
    EXPECT_EQ(TheGame->IPText, "255.255.255.251");
    TheGame->ServerIP = "1234567890.1234567";
    Click(450, 125);
    Type("9");
    EXPECT_EQ(TheGame->IPText, "1234567890.1234567") << "a longer remembered address takes no more";
    Type("\b\b\b\b");
    EXPECT_EQ(TheGame->IPText, "1234567890.123");
}

TEST_F(SetupScreenTest, BackspaceRepeatsWhileHeldAfterHalfASecond) {
    constexpr int kBackspace = 8;
    TheGame->ServerIP = "10.20.30.40";
    Click(450, 125);
    const uint32_t start = Media->Clock.Ticks();
    PushKeyDown(kBackspace);
    Frame();
    EXPECT_EQ(TheGame->IPText, "10.20.30.40") << "pressing alone erases nothing";
    // Held for this long in all -> characters erased so far.
    const struct {
        uint32_t HeldMs;
        const char* Text;
    } steps[] = {{499, "10.20.30.40"}, {500, "10.20.30.4"}, {549, "10.20.30.4"}, {550, "10.20.30."},
                 {700, "10.20."},      {700, "10.20."},     {1000, ""},          {1100, ""}};
    for (const auto& step : steps) {
        Media->Clock.Set(start + step.HeldMs);
        Frame();
        EXPECT_EQ(TheGame->IPText, step.Text) << step.HeldMs << " ms";
    }
    TheGame->IPText = "1.2.3.4";
    PushKeyUp(kBackspace);
    Frame();
    EXPECT_EQ(TheGame->IPText, "1.2.3.") << "the release erases one as before";
    Media->Clock.Advance(2000);
    Frame();
    EXPECT_EQ(TheGame->IPText, "1.2.3.") << "released, it repeats no more";
}

TEST_F(SetupScreenTest, BackAnswersInsideItsRectangleInEveryModeAndLeavesForTheTitle) {
    struct TCase {
        int32_t X, Y;
        bool Back;
    };
    const TCase cases[] = {{11, 455, true},  {199, 455, true},  {100, 431, true},  {100, 479, true},
                           {10, 455, false}, {200, 455, false}, {100, 430, false}, {100, 480, false}};
    for (const int32_t mode : {0, 2}) {
        for (const TCase& c : cases) {
            SetMode(mode);
            TheGame->SetState(TGameState::Setup);
            TheGame->RenderGameSetup();
            EXPECT_TRUE(TextShown(kFontYellow, 50, 430, "[  BACK  ]")) << "mode " << mode;
            Click(c.X, c.Y);
            EXPECT_EQ(TheGame->State, c.Back ? TGameState::Title : TGameState::Setup)
                << "mode " << mode << " at " << c.X << ", " << c.Y;
            EXPECT_EQ(TheGame->NetMode, mode) << "a local or client setup keeps its mode";
        }
    }
}

TEST_F(SetupScreenTest, BackClosesTheServerAndTheSetupComesBackAsALocalGame) {
    Click(150, 175);
    ASSERT_NE(TheGame->Server, nullptr);
    TheGame->RenderGameSetup();
    EXPECT_TRUE(TextShown(kFontYellow, 50, 430, "[  BACK  ]"));
    Click(100, 455);
    EXPECT_EQ(TheGame->State, TGameState::Title);
    EXPECT_EQ(TheGame->Server, nullptr);
    EXPECT_EQ(TheGame->NetMode, 0);
    EXPECT_EQ(TheGame->LocalBox + 2 * TheGame->ServerBox + 4 * TheGame->ClientBox, 1);
    TheGame->SetState(TGameState::Setup);
    EXPECT_EQ(TheGame->Player2Char, 2) << "player 2 has a character again";
}

TEST_F(SetupScreenTest, BackFromTheWaitingClientLeavesForTheTitle) {
    SetMode(2);
    TheGame->IPText = "10.0.0.1";
    TheGame->State = TGameState::WaitForServer;
    TheGame->RenderGameSetup();
    EXPECT_TRUE(TextShown(kFontYellow, 50, 430, "[  BACK  ]"));
    Click(200, 455);
    EXPECT_EQ(TheGame->State, TGameState::WaitForServer) << "the edge does nothing";
    Click(199, 455);
    EXPECT_EQ(TheGame->State, TGameState::Title);
    EXPECT_EQ(TheGame->Client, nullptr);
    EXPECT_EQ(TheGame->NetMode, 2);
}

TEST_F(SetupScreenTest, WheelButtonsClickNothingTheOtherButtonsDo) {
    for (const int button : {SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
        PushMouseUp(300, 455, button);
        PushMouseUp(300, 390, button);
        Frame();
        EXPECT_EQ(TheGame->State, TGameState::Setup) << "button " << button;
        EXPECT_EQ(TheGame->AIBox, 1) << "button " << button;
    }
    for (const int button : {SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
        PushMouseUp(300, 390, button);
        Frame();
        EXPECT_EQ(TheGame->AIBox, 0) << "button " << button;
        TheGame->AIBox = 1;
    }
}

class EmptySetupScreenTest : public SetupScreenTest {
protected:
    [[nodiscard]] std::vector<TCharacterFile> Characters() const override { return {}; }
    [[nodiscard]] std::vector<std::string> Maps() const override { return {}; }
};

TEST_F(EmptySetupScreenTest, EmptyListsAreSaidAndNothingStarts) {
    TheGame->RenderGameSetup();
    EXPECT_TRUE(TextShown(kFontSmall, 20, 215, "No characters found in data."));
    EXPECT_TRUE(TextShown(kFontSmall, 420, 215, "No maps found in maps."));
    EXPECT_TRUE(TextShown(kFontYellow, 250, 430, "[  PLAY  ]"));
    for (const auto& [x, y] :
         {std::pair{45, 350}, std::pair{145, 350}, std::pair{245, 350}, std::pair{345, 350},
          std::pair{430, 350}, std::pair{610, 350}, std::pair{300, 455}}) {
        Click(x, y);
        EXPECT_EQ(TheGame->State, TGameState::Setup) << x << ", " << y;
    }
    EXPECT_EQ(TheGame->MapIndex, 0);
    EXPECT_EQ(TheGame->Player1Char, 1) << "nothing to choose from";
    EXPECT_EQ(TheGame->Player2Char, 2);
    TheGame->RenderGameSetup();
}

TEST_F(EmptySetupScreenTest, CharactersWithoutMapsStillStartNothing) {
    WriteGameFolder(Media->Folder(), kThreeCharacters, {});
    TheGame->SetState(TGameState::Title);
    TheGame->SetState(TGameState::Setup);
    TheGame->RenderGameSetup();
    EXPECT_TRUE(BackgroundAt(20, 215));
    EXPECT_TRUE(TextShown(kFontSmall, 420, 215, "No maps found in maps."));
    Click(300, 455);
    EXPECT_EQ(TheGame->State, TGameState::Setup);
}

} // namespace
} // namespace menutest
