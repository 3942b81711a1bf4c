// The game setup screen: the kind of match, both characters, the map and a client's server
// address, chosen with check boxes, arrows and the address field; also the screen a client
// sees while it waits for its server to start the match.
#include "app/GameUnit.h"
#include "media/BriskDraws.h"
#include "media/BriskImage.h"
#include "media/BriskText.h"
#include "net/BriskNet.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "world/AIPlayers.h"
#include "world/KeyState.h"
#include "world/Map.h"

#include <SDL.h>
#include <string>
#include <string_view>

namespace {

constexpr int32_t kNetLocal = 0;
constexpr int32_t kNetServer = 1;
constexpr int32_t kNetClient = 2;

// The "CheckBox" sheet: 32 by 32 cells, 0 empty, 1 ticked, 3 and 4 the arrows.
constexpr int32_t kCheckBoxCellSize = 32;
constexpr int32_t kCellPrevious = 3;
constexpr int32_t kCellNext = 4;

// The address field takes "." and the digits, from the top row or the keypad, and
// Backspace, all on release; Backspace also repeats while held.
constexpr int32_t kKeyBackspace = 8;
constexpr int32_t kKeyDot = 46;
constexpr int32_t kKeyDigit0 = 48;
constexpr int32_t kKeyDigit9 = 57;
constexpr int32_t kKeyKeypad0 = 256;
constexpr int32_t kKeyKeypad9 = 265;
constexpr int32_t kKeyKeypadPeriod = 266;
// The longest dotted quad, "255.255.255.255".
constexpr size_t kMaxAddressLength = 15;

// BACK, on the setup screen in both of its states; the same place as on the end screen.
constexpr TClickRect kBackRect{10, 200, 430, 480};
// The computer opponent's level, right of "AI Player".
constexpr TClickRect kAILevelRect{365, 455, 370, 410};
constexpr int32_t kAILevelTextX = 392;
// The match's length and the KEYS screen, at the right under the map.
constexpr TClickRect kRoundsRect{470, 640, 370, 410};
constexpr TClickRect kKeysRect{450, 640, 430, 480};

// Where the screen says that a list came out empty: the free band between the mode boxes
// and the player columns.
constexpr int32_t kNoCharactersX = 20;
constexpr int32_t kNoMapsX = 420;
constexpr int32_t kEmptyListY = 215;
// Where it says what became of the last network attempt: the same band, under those.
// The portraits' size and the strip along their lower edge that names the character.
constexpr int32_t kPortraitWidth = 80;
constexpr int32_t kPortraitHeight = 68;
constexpr int32_t kNameStripHeight = 14;
constexpr int32_t kNoticeX = 20;
constexpr int32_t kNoticeY = 235;

// A character or map is named by its file name up to the first dot: "Dark.Elf.plr" is Dark.
[[nodiscard]] std::string NameBeforeFirstDot(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.find('.')));
}

// The arrows' wrap: below the list goes to its end, past its end back to the start.
[[nodiscard]] int32_t WrapIntoList(int32_t value, int32_t count) {
    if (value < 0) return count - 1;
    if (value > count - 1) return 0;
    return value;
}

// Item 0 of SetupImages is the check box sheet; every later item is a character's portrait.
[[nodiscard]] int32_t CharacterCount(const TBriskGame& game) {
    return game.SetupImages.Count() > 0 ? game.SetupImages.Count() - 1 : 0;
}

[[nodiscard]] int32_t MapCount(const TBriskGame& game) {
    return static_cast<int32_t>(game.MapNames.size());
}

// PLAY for a local game and for a server whose client has announced itself; CONNECT for a
// client with a usable address. The same place answers to both.
[[nodiscard]] bool PlayOrConnectShown(const TBriskGame& game) {
    if (game.NetMode == kNetLocal) return true;
    // While an offered match waits for the client's answer, PLAY is not offered again.
    if (game.NetMode == kNetServer) return game.OpponentReady && !game.Net.AwaitingAnswer;
    return IsDottedQuad(game.IPText);
}

void SetModeBoxes(TBriskGame& game, int32_t local, int32_t server, int32_t client) {
    game.LocalBox = local;
    game.ServerBox = server;
    game.ClientBox = client;
}

// The click rules run in this order, each on the same click; a control that the current mode
// does not show does not answer.
void SetupClick(TBriskGame& game, int32_t x, int32_t y) {
    const bool modeClicked = TClickRect{0, 300, 100, 150}.Contains(x, y) ||
                             TClickRect{0, 300, 150, 200}.Contains(x, y) ||
                             TClickRect{310, 600, 100, 150}.Contains(x, y);
    // A new choice of mode starts afresh: what was said of the last attempt no longer holds.
    if (modeClicked) {
        game.SetupNotice.clear();
        game.Net.AwaitingAnswer = false;
    }
    if (TClickRect{0, 300, 100, 150}.Contains(x, y)) {
        SetModeBoxes(game, 1, 0, 0);
        game.SetNetMode(kNetLocal);
    }
    if (TClickRect{0, 300, 150, 200}.Contains(x, y)) {
        SetModeBoxes(game, 0, 1, 0);
        game.SetNetMode(kNetServer);
        // A client connection is closed and the listening endpoint opened, once; its address
        // is the one shown.
        game.StartServer();
        if (game.Server) game.IPText = game.Server->AddressText;
        // A client that has already announced its character keeps it when Server is chosen
        // again; otherwise player 2 has none until a client announces one.
        if (!game.OpponentReady) game.Player2Char = -1;
    }
    if (TClickRect{310, 600, 100, 150}.Contains(x, y)) {
        SetModeBoxes(game, 0, 0, 1);
        game.SetNetMode(kNetClient);
        game.IPText = game.ServerIP;
    }

    // Without character files there is nothing to choose or to wrap into.
    const int32_t characters = CharacterCount(game);
    const bool playerOneArrows = characters > 0 && game.NetMode != kNetClient;
    const bool playerTwoArrows = characters > 0 && game.NetMode != kNetServer;
    if (playerOneArrows && TClickRect{30, 60, 330, 370}.Contains(x, y)) --game.Player1Char;
    if (playerOneArrows && TClickRect{130, 160, 330, 370}.Contains(x, y)) ++game.Player1Char;
    if (characters > 0) game.Player1Char = WrapIntoList(game.Player1Char, characters);
    if (playerTwoArrows && TClickRect{230, 260, 330, 370}.Contains(x, y)) --game.Player2Char;
    if (playerTwoArrows && TClickRect{330, 360, 330, 370}.Contains(x, y)) ++game.Player2Char;
    // A server's player 2 stays without a character until its client names one.
    if (characters > 0 && game.NetMode != kNetServer)
        game.Player2Char = WrapIntoList(game.Player2Char, characters);

    // A match needs a portrait behind each choice and a map to load.
    if (TClickRect{250, 420, 430, 480}.Contains(x, y) && PlayOrConnectShown(game) && characters > 0 &&
        MapCount(game) > 0) {
        // A server whose client checks files offers the match and starts when it is taken;
        // otherwise (and for a client's CONNECT, which connects) match initialization follows.
        if (game.NetMode == kNetServer && game.Net.PeerChecksFiles)
            game.OfferMatch();
        else
            game.SetState(TGameState::Initialization);
    }

    const bool mapShown = game.NetMode != kNetClient && MapCount(game) > 0;
    if (mapShown && TClickRect{410, 460, 330, 370}.Contains(x, y))
        game.MapIndex = WrapIntoList(game.MapIndex - 1, MapCount(game));
    if (mapShown && TClickRect{590, 640, 330, 370}.Contains(x, y))
        game.MapIndex = WrapIntoList(game.MapIndex + 1, MapCount(game));
    if (game.NetMode == kNetLocal && TClickRect{250, 360, 370, 410}.Contains(x, y))
        game.AIBox = 1 - game.AIBox;
    // The level beside "AI Player": each click the next, Hard back to Easy.
    if (game.NetMode == kNetLocal && kAILevelRect.Contains(x, y))
        game.AILevel = game.AILevel >= kAILevelHard ? kAILevelEasy : game.AILevel + 1;
    // A client plays as many rounds as its server chose.
    if (game.NetMode != kNetClient && kRoundsRect.Contains(x, y)) game.Rounds = NextRoundsChoice(game.Rounds);
    if (kKeysRect.Contains(x, y)) {
        game.SetState(TGameState::Keys);
        return;
    }
    if (kBackRect.Contains(x, y)) game.BackToTitle();
}

// The character an address key types: the keypad's digits and period type as their top-row
// twins; 0 for every other key.
char AddressCharacter(int32_t key) {
    if (key == kKeyDot || (key >= kKeyDigit0 && key <= kKeyDigit9)) return static_cast<char>(key);
    if (key >= kKeyKeypad0 && key <= kKeyKeypad9) return static_cast<char>('0' + (key - kKeyKeypad0));
    if (key == kKeyKeypadPeriod) return '.';
    return 0;
}

void EraseAddressCharacter(TBriskGame& game) {
    if (!game.IPText.empty()) game.IPText.pop_back();
    game.ServerIP = game.IPText;
}

// Key releases of state 1: the address keys edit the client's address and never reach the
// key table, whatever the mode; every other release clears its key as usual.
bool SetupKeyUp(TBriskGame& game, int32_t key) {
    const char typed = AddressCharacter(key);
    if (typed == 0 && key != kKeyBackspace) return false;
    if (key == kKeyBackspace) game.BackspaceRepeat.Release();
    if (game.NetMode != kNetClient) return true;
    if (typed == 0) {
        EraseAddressCharacter(game);
        return true;
    }
    if (game.IPText.size() < kMaxAddressLength) game.IPText.push_back(typed);
    game.ServerIP = game.IPText;
    return true;
}

// Once per frame of state 1: the erasures a held Backspace has become due for.
void RepeatBackspace(TBriskGame& game) {
    if (!game.BackspaceRepeat.Held) return;
    for (int32_t due = game.BackspaceRepeat.TakeDue(SystemTicks()); due > 0; --due)
        if (game.NetMode == kNetClient) EraseAddressCharacter(game);
}

// A waiting client answers only to CANCEL and BACK; keys other than Escape and M are ignored
// by the common rules of that state.
void WaitingClick(TBriskGame& game, int32_t x, int32_t y) {
    if (kBackRect.Contains(x, y)) {
        game.BackToTitle();
        return;
    }
    if (!TClickRect{250, 420, 430, 480}.Contains(x, y)) return;
    game.Client.reset();
    game.SetState(TGameState::Setup);
}

} // namespace

int32_t TKeyRepeat::TakeDue(uint32_t now) {
    const uint32_t heldMs = now - DownTick;
    if (!Held || heldMs < kDelayMs) return 0;
    const auto due = static_cast<int32_t>(1 + (heldMs - kDelayMs) / kIntervalMs);
    const int32_t taken = due - Repeats;
    Repeats = due;
    return taken;
}

void TBriskGame::BackToTitle() {
    Server.reset();
    Client.reset();
    if (NetMode == kNetServer) {
        SetModeBoxes(*this, 1, 0, 0);
        SetNetMode(kNetLocal);
    }
    SetState(TGameState::Title);
}

void TBriskGame::EnterSetup() {
    OpponentReady = false;
    BackspaceRepeat.Release();
    SetupImages.Clear();
    SetupImages.LoadImage("CheckBox", "images\\CheckBox.PNG");
    TBriskImage& checkBox = *SetupImages.Items(0);
    checkBox.FrameWidth = kCheckBoxCellSize;
    checkBox.FrameHeight = kCheckBoxCellSize;

    for (const std::string& file : ListFiles("data\\*.plr")) {
        const TIniFile character("data\\" + file);
        SetupImages.LoadImage(NameBeforeFirstDot(file),
                              "images\\" + character.ReadString("Pic", "IDImage", ""));
        // The character's own key replaces the black one that LoadImage set.
        ApplyColorKeyFrom(*SetupImages.Items(SetupImages.Count() - 1), character, "Pic");
    }

    MapNames.clear();
    for (const std::string& file : ListFiles("maps\\*.map"))
        MapNames.push_back(NameBeforeFirstDot(file));
    // After a match MapName holds "Maps\<name>.map"; its entry is chosen again, so PLAY AGAIN
    // and the next start keep the map. A map that is gone leaves the first one chosen.
    MapIndex = 0;
    for (int32_t i = 0; i < MapCount(*this); ++i)
        if (SameTextNoCase(MapNames[static_cast<size_t>(i)], MapEntryName(MapName))) {
            MapIndex = i;
            break;
        }

    // Numbers remembered from an earlier run need not fit today's files ("Client" is -1 after
    // a server run that ended before anyone connected, or the files were removed); each shown
    // choice needs a portrait, so they are brought into the list as the arrows would.
    const int32_t characters = CharacterCount(*this);
    if (characters > 0) {
        Player1Char = WrapIntoList(Player1Char, characters);
        if (NetMode != kNetServer) Player2Char = WrapIntoList(Player2Char, characters);
    }
}

TFrameHooks TBriskGame::SetupHooks() {
    const bool waiting = State == TGameState::WaitForServer;
    return {[this, waiting](const SDL_Event& event) {
                if (IsClick(event)) {
                    if (waiting)
                        WaitingClick(*this, event.button.x, event.button.y);
                    else
                        SetupClick(*this, event.button.x, event.button.y);
                    return true;
                }
                if (event.type == SDL_KEYUP && !waiting) return SetupKeyUp(*this, event.key.keysym.sym);
                // The press only starts the repeat; the key table still takes it.
                if (event.type == SDL_KEYDOWN && !waiting && event.key.keysym.sym == kKeyBackspace)
                    BackspaceRepeat.Press(SystemTicks());
                return false;
            },
            [this] { RenderGameSetup(); },
            [this, waiting] {
                if (!waiting) RepeatBackspace(*this);
            }};
}

void TBriskGame::GameSetupProcess() {
    // A waiting client runs one frame per call and the main loop calls again; Space does
    // nothing here, PLAY starts the match.
    if (State == TGameState::WaitForServer)
        RunFrame(TGameState::WaitForServer, SetupHooks());
    else
        RunFrameLoop(TGameState::Setup, SetupHooks());
}

void TBriskGame::RenderGameSetup() {
    TBriskFont& blue = FontList->Items(kFontBlue);
    TBriskFont& yellow = FontList->Items(kFontYellow);
    TBriskFont& small = FontList->Items(kFontSmall);
    TBriskImage* checkBox = SetupImages.Find("CheckBox");
    const auto drawCell = [checkBox](int32_t x, int32_t y, int32_t cell) {
        if (checkBox != nullptr) checkBox->DrawFrame(x, y, cell);
    };
    const auto drawPortrait = [this, &small](int32_t x, int32_t y, int32_t character) {
        if (CharacterCount(*this) == 0) return;
        TBriskImage* portrait = SetupImages.Items(character + 1);
        if (portrait == nullptr) return;
        portrait->Draw(x, y);
        // The character's name on a dark strip along the portrait's lower edge.
        FillRect(Screen->Surface, x, y + kPortraitHeight - kNameStripHeight, kPortraitWidth, kNameStripHeight, 24,
                 20, 16);
        small.TextOut(x + (kPortraitWidth - small.TextWidth(portrait->Name)) / 2,
                      y + kPortraitHeight - kNameStripHeight + 1, portrait->Name);
    };
    const bool waiting = State == TGameState::WaitForServer;
    const bool addressValid = IsDottedQuad(IPText);
    const bool connecting = waiting && Client != nullptr && Client->Connecting();

    DrawMenuBackground();
    if (NetMode == kNetLocal || (NetMode == kNetServer && OpponentReady && !Net.AwaitingAnswer))
        yellow.TextOut(250, 430, "[  PLAY  ]");
    if (NetMode == kNetClient && addressValid && !waiting) yellow.TextOut(230, 430, "[  CONNECT  ]");
    if (NetMode == kNetClient && addressValid && waiting) yellow.TextOut(235, 430, "[  CANCEL  ]");
    // A server that could not listen waits for nobody; the notice says why.
    if (NetMode == kNetServer && !OpponentReady && Server != nullptr)
        small.TextOut(180, 390, "Waiting for someone to connect.");
    if (NetMode == kNetServer && Net.AwaitingAnswer) small.TextOut(180, 390, "Starting the match ...");
    if (NetMode == kNetClient && !addressValid) small.TextOut(180, 390, "Enter the server ip address.");
    if (NetMode == kNetClient && connecting) small.TextOut(120, 390, "Connecting to " + IPText + " ...");
    if (NetMode == kNetClient && waiting && !connecting)
        small.TextOut(120, 390, "Waiting for the Server to Start the Game.");
    yellow.TextOut(50, 430, "[  BACK  ]");
    drawCell(10, 100, LocalBox);
    drawCell(10, 150, ServerBox);
    DrawTitleLine();
    blue.TextOut(50, 100, "Local Game");
    blue.TextOut(50, 150, "Server");
    drawCell(310, 100, ClientBox);
    blue.TextOut(350, 100, "Client");
    if (NetMode == kNetClient) {
        blue.TextOut(280, 150, "IP:");
        yellow.TextOut(330, 150, IPText);
    }
    if (NetMode != kNetClient) {
        blue.TextOut(20, 260, "Player 1");
        drawPortrait(50, 300, Player1Char);
        drawCell(30, 330, kCellPrevious);
        drawCell(130, 330, kCellNext);
        blue.TextOut(450, 260, "Map");
        if (MapIndex >= 0 && MapIndex < MapCount(*this))
            yellow.TextOut(460, 330, MapNames[static_cast<size_t>(MapIndex)]);
        drawCell(420, 330, kCellPrevious);
        drawCell(600, 330, kCellNext);
        if (MapCount(*this) == 0) small.TextOut(kNoMapsX, kEmptyListY, "No maps found in maps.");
    }
    if (NetMode != kNetServer) {
        blue.TextOut(220, 260, "Player 2");
        drawPortrait(250, 300, Player2Char);
        drawCell(230, 330, kCellPrevious);
        drawCell(330, 330, kCellNext);
    }
    if (NetMode != kNetClient) blue.TextOut(480, 375, "Rounds: " + std::to_string(Rounds));
    if (!waiting) yellow.TextOut(460, 430, "[  KEYS  ]");
    if (NetMode == kNetLocal) {
        drawCell(250, 370, AIBox);
        blue.TextOut(300, 370, "AI Player");
        // Just clear of the end of "AI Player", which reaches into the level's rectangle.
        yellow.TextOut(kAILevelTextX, 370, std::string(AILevelName(AILevel)));
    }
    if (CharacterCount(*this) == 0)
        small.TextOut(kNoCharactersX, kEmptyListY, "No characters found in data.");
    if (!SetupNotice.empty()) small.TextOut(kNoticeX, kNoticeY, SetupNotice);
}
