// The one game object: its screen state machine, main loop, settings file, the frame loop
// every screen shares and the event rules common to all screens. The screens themselves
// live in TitleScreens.cpp, SetupScreen.cpp, Resources.cpp and MatchFlow.cpp.
#pragma once

#include "app/MatchScore.h"
#include "app/NetSession.h"
#include "media/BriskImage.h"
#include "net/BriskNet.h"

#include <SDL.h>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TBaseDisplay;
class TBaseMap;
class TBasePlayer;
class TEquipment;
class TGamepads;
class TWeapon;
struct TChoosePlayerBody;
struct TNetMessage;
enum class THandshakeStep : uint8_t;
enum class TRefusal : uint8_t;

// The window caption and the title line of the menu screens.
inline constexpr std::string_view kGameTitle = "Duelmark - Blades at Dusk";
inline constexpr std::string_view kGameVersion = "v1.12 (Rel 1.1)";

// The settings file, in the settings folder (beside a writable executable's folder).
inline constexpr std::string_view kSettingsFileName = "Duelmark.def";
inline constexpr std::string_view kDefaultServerIP = "127.0.0.1";

// The screens of the state machine; the numbers are the ones the log and the tests name.
enum class TGameState : uint8_t {
    Title = 0,
    Setup = 1,
    Initialization = 2,
    Game = 3,
    End = 4,
    Quit = 5,
    WaitForServer = 6,
    Help = 7,
    Keys = 8,
};

// SDL 1.2 key codes the common rules react to.
inline constexpr int32_t kKeyEscape = 27;
inline constexpr int32_t kKeyF3 = 284;
// M mutes and unmutes the sound on every screen.
inline constexpr int32_t kKeyMute = 109;
// P and the Pause key pause and resume a local match.
inline constexpr int32_t kKeyP = 112;
inline constexpr int32_t kKeyPause = 19;

// The four fonts by their position in FontList, in the order LoadFonts loads them.
inline constexpr int32_t kFontBlue = 0;
inline constexpr int32_t kFontYellow = 1;
inline constexpr int32_t kFontEmbossed = 2;
inline constexpr int32_t kFontSmall = 3;

// How a match ended, as the end screen and the log say it.
enum class TMatchResult : uint8_t { None, Player1Wins, Player2Wins, OpponentLeft };

// A button's click area: open intervals, so a click on an edge misses.
struct TClickRect {
    int32_t Left, Right, Top, Bottom;
    [[nodiscard]] bool Contains(int32_t x, int32_t y) const {
        return Left < x && x < Right && Top < y && y < Bottom;
    }
};

// A released left, middle or right mouse button. SDL reports the wheel as buttons 4 and 5,
// which click nothing.
[[nodiscard]] bool IsClick(const SDL_Event& event);

// "ErrorScreen" value of the start-up file -> whether the error screen waits for the player:
// a value starting with "N" or "n" does not; anything else (or none) does.
[[nodiscard]] bool ErrorScreenFromText(std::string_view text);

// A key that repeats while held: nothing before the delay, then one step per interval.
struct TKeyRepeat {
    static constexpr uint32_t kDelayMs = 500;
    static constexpr uint32_t kIntervalMs = 50;
    void Press(uint32_t now) {
        Held = true;
        DownTick = now;
        Repeats = 0;
    }
    void Release() { Held = false; }
    // Steps due by now that have not been taken yet; each call takes them.
    [[nodiscard]] int32_t TakeDue(uint32_t now);

    bool Held = false;
    uint32_t DownTick = 0;
    int32_t Repeats = 0;
};

// A key's name as the KEYS screen shows it ("Left Alt", "W"); "Key <code>" for a code SDL
// has no name for.
[[nodiscard]] std::string KeyName(int32_t key);

// A screen's own rule for one event; true when it took the event, so the common rules skip it.
using TEventHandler = std::function<bool(const SDL_Event&)>;

// What one screen adds to the shared frame: its own events, its drawing, and its per-frame
// work after Messaging (network refresh, end test). Empty members do nothing.
struct TFrameHooks {
    TEventHandler OnEvent;
    std::function<void()> Render;
    std::function<void()> PerFrame;
};

class TBriskGame {
public:
    // Loads the shared pictures and fonts, sets the caption and reads the settings file once.
    // Ends the process with exit code 1 when the video mode could not be set.
    TBriskGame();
    // Writes the settings file once: the four keys of the choices, "Rounds" and [Keys].
    ~TBriskGame();
    TBriskGame(const TBriskGame&) = delete;
    TBriskGame& operator=(const TBriskGame&) = delete;

    // The main loop: the current state's handler, then Messaging, until Quit. Any exception
    // ends it: its text as an error line, then the status line "Error" / "End", and Run
    // returns normally.
    void Run();
    // Runs loop under the main loop's guard; Run is RunGuarded of the state machine. An
    // escaping exception is logged ("Error" / "End") and its text shown by ShowErrorScreen.
    void RunGuarded(const std::function<void()>& loop);
    // "The game stopped: <message>" and where the details are, drawn and presented; then,
    // unless the game runs headless or the start-up file says "ErrorScreen=No", the screen
    // stays until a key or a click.
    void ShowErrorScreen(std::string_view message);
    // Draws the error screen; false when no font could draw it, so nobody would read it.
    bool RenderErrorScreen(std::string_view message);
    // The only way the state changes; runs the transition actions first.
    void SetState(TGameState newState);
    void SetNetMode(int32_t mode) { NetMode = mode; }

    // Pumps the network endpoints once: the server accepts and receives, then the client
    // receives; every record reaches ReceiveMessage.
    void Messaging();
    // The free PlaySound: found or loaded from "sound\<name>.wav", played at volume 100.
    void PlaySound(std::string_view name);

    // One frame of a screen: every pending event into Event, each offered to hooks.OnEvent
    // and then, unless it took it, to the common rules of screen; then Render, Messaging,
    // PerFrame and Screen->Flip.
    void RunFrame(TGameState screen, const TFrameHooks& hooks);
    // Frames while State stays screen.
    void RunFrameLoop(TGameState screen, const TFrameHooks& hooks);
    // The rules every screen shares: Escape and window close quit (logging "Quit Event" /
    // "TitleProcess"), the key table, F3 on Title, Help and Game. False for events the
    // screen handles itself (mouse button up) and for what the screen ignores.
    bool HandleCommonEvent(const SDL_Event& event, TGameState screen);

    // Start-up resources.
    void LoadImages();
    void LoadFonts();

    // Screen handlers and their drawing.
    void TitleProcess();
    void RenderTitle();
    void HelpProcess();
    void RenderHelp();
    void EndProcess();
    void RenderEndGame();
    void GameSetupProcess();
    void RenderGameSetup();
    void EnterSetup();
    // BACK on the setup and end screens: to the title, closing a server or client; a server's
    // setup comes back as a local game, since its endpoint is gone.
    void BackToTitle();
    // The menu screens' own event rules and drawing, one frame of which RunFrame runs.
    [[nodiscard]] TFrameHooks TitleHooks();
    [[nodiscard]] TFrameHooks HelpHooks();
    [[nodiscard]] TFrameHooks EndHooks();
    [[nodiscard]] TFrameHooks SetupHooks();
    // The match screen's frame: RenderGame, then the end test and the ground redraw.
    [[nodiscard]] TFrameHooks GameHooks();
    // The first two things every menu screen draws: its background and the title line.
    void DrawMenuBackground();
    void DrawTitleLine();
    // The KEYS screen (KeysScreen.cpp): each player's six controls, rebound by a click and a key.
    void KeysProcess();
    void RenderKeys();
    [[nodiscard]] TFrameHooks KeysHooks();
    void GameInitialization();
    void GameProcess();
    void RenderGame();
    // A new match: the score to 0 : 0, then its first round.
    void StartMatch();
    // A round: the map loaded afresh and both fighters made anew; between rounds the banner.
    void StartRound();
    // A round decided for result: counted and logged ("Round over: ..."); the match ends when
    // that decides it, else the next round starts. A match of one round just ends.
    void EndRound(TMatchResult result);
    // The world stands still: the match is paused, or the banner between rounds shows. The
    // game clock is stopped while it does.
    [[nodiscard]] bool WorldStands() const;
    // P or Pause in a local match; a networked match runs on.
    void TogglePause();
    // What the match screen draws over the field: the score, the round banner, "Paused"
    // (MatchOverlays.cpp).
    void DrawMatchOverlays();
    // Fighter row (0 player 1, 1 player 2) from character name at world (x, y), added to Map.
    void MakePlayer(int32_t row, std::string_view name, int32_t x, int32_t y);
    // The fighters' events: a hurt ends invisibility on both fighters; in a networked match
    // hurts, strikes and the items our fighter takes are told to the peer.
    void PlayerHurt(TBasePlayer& fighter, int32_t value);
    void PlayerShoot(TBasePlayer& fighter, TWeapon& weapon);
    void PlayerPickUp(TBasePlayer& fighter, const TEquipment& item);
    // Ends the running match: one status line "Match over: ..." naming the result, then the
    // end screen. Every end of a match, local or networked, comes here, once per match.
    void EndMatch(TMatchResult result);
    // Whether the fighter of row is dying as the one who decides it says: in a local game its
    // action; in a networked match the owner's word, that is for ours health gone and the peer
    // told so, for the peer's the health its owner sent gone.
    [[nodiscard]] bool DyingByOwnersWord(int32_t row) const;
    // Who steers which fighter in this kind of match (NetMode): the row of the fighter at
    // this keyboard (the camera's and display 0's), the key set of each row, and whether a
    // row is the peer's fighter, whose state comes from the network.
    [[nodiscard]] int32_t LocalRow() const;
    [[nodiscard]] int32_t KeySetOf(int32_t row) const;
    [[nodiscard]] bool IsRemote(int32_t row) const;

    // The networked match (NetPlay.cpp). StartServer makes this instance the server (the
    // Server choice of the setup screen), or says on the setup screen why it cannot be one;
    // ConnectToServer starts connecting a client (its character is announced once connected),
    // or goes back to the setup screen and returns false.
    void StartServer();
    [[nodiscard]] bool ConnectToServer();
    // After each Messaging: a client announces itself once connected, and a connect that
    // failed or a peer that left during setup is said on the setup screen.
    void FollowConnection();
    // Stamps Sender with this side's role and sends through whichever endpoint exists.
    void SendMessage(const TNetMessage& message);
    // The endpoints' data handler: checks a peer's record and applies what it may.
    void ReceiveMessage(TBriskNetBase& endpoint, std::span<const uint8_t> data);
    // Once per match frame: this keyboard's fighter to the peer, at most every 100 ms, and the
    // peer's fighter kept standing while the peer is gone.
    void NetRefresh();
    // The server's Choose Player at the start of a match: player 1's character, the map and
    // the check of both.
    void AnnounceMatch();
    // The server's PLAY when its client checks files: the match is announced, and starts when
    // the client takes it (or the setup screen says why it did not).
    void OfferMatch();
    // Choose Player with this side's character and the check of its files at this step.
    void SendChoice(THandshakeStep step, TRefusal refusal = {});
    // A peer's Choose Player, judged against the files here (NetHandshake.cpp).
    void ReceiveChoice(const TChoosePlayerBody& choice);
    // Item State when this keyboard's fighter takes an item; the peer's, applied here.
    void SendItemState(const TBasePlayer& fighter, int32_t itemId);
    void ApplyItemState(int32_t itemId);
    // Start Throw when this keyboard's fighter strikes, Hit Player when the peer's is hurt.
    void SendStartThrow(const TBasePlayer& fighter, const TWeapon& weapon);
    void SendHitPlayer(int32_t value);
    // The peer's connection has closed, or nothing has come from it for 10 seconds.
    [[nodiscard]] bool PeerGone() const;
    // The match screen's line about a peer that has fallen silent for a while ("" if none).
    [[nodiscard]] std::string PeerStatusLine() const;
    void DrawPeerStatus();

    // The settings file's path: AppPath (the settings folder) + "\Duelmark.def".
    [[nodiscard]] static std::string SettingsPath();

    TGameState State = TGameState::Title;
    int32_t NetMode = 0; // 0 local, 1 server, 2 client
    SDL_Event Event{};
    std::unique_ptr<TBriskImage> GroundBuffer;
    // The map of the current or last match; the next match replaces (and frees) it.
    std::unique_ptr<TBaseMap> Map;
    // The two player status boxes: display 0 shows this keyboard's fighter.
    std::vector<std::unique_ptr<TBaseDisplay>> Displays;
    TBriskImageList SetupImages;
    std::vector<std::string> MapNames;
    int32_t MapIndex = 0;
    int32_t LocalBox = 1;
    int32_t ServerBox = 0;
    int32_t ClientBox = 0;
    int32_t AIBox = 1;
    // The computer opponent's level: kAILevelEasy, kAILevelNormal or kAILevelHard.
    int32_t AILevel = 1;
    int32_t Player1Char = 1;
    int32_t Player2Char = 2;
    TBriskImageList Backgrounds;
    int32_t HelpPage = 0;
    std::string MapName = "Default";
    // The setup screen's match length, saved as [Select] "Rounds": 1, 3 or 5.
    int32_t Rounds = 1;
    // The rounds and score of the current or last match.
    TMatchScore Score;
    // A local match stands paused.
    bool Paused = false;
    // The KEYS screen: the control waiting for its key (player * 6 + control; -1 none), and
    // what it says about the last key pressed.
    int32_t KeysChoice = -1;
    std::string KeysNotice;
    std::unique_ptr<TGamepads> Gamepads;
    // At most one of them exists; they outlive a match.
    std::unique_ptr<TBriskTCPServer> Server;
    std::unique_ptr<TBriskTCPClient> Client;
    // The port a server listens on and a client connects to: the start-up file's "NetPort"
    // (so a relay can sit between two games on one machine); tests set others.
    uint16_t NetPort = kGamePort;
    // When the peer was last heard from, for the "not answering" line and the match's end.
    uint32_t LastHeardTick = 0;
    // The command line's --quit-after-frames: after this many frames the game quits as if its
    // window were closed, so an installed game can be started headless and checked. 0: never.
    uint32_t QuitAfterFrames = 0;
    uint32_t FramesShown = 0;
    TNetSession Net;
    // What the setup screen says about the last network attempt: a refused check of the
    // match's files, a connect that failed, a peer that left ("" for nothing).
    std::string SetupNotice;
    // The result of the current or last match.
    TMatchResult MatchResult = TMatchResult::None;
    std::string ServerIP{kDefaultServerIP};
    std::string IPText = "999.999.999.999";
    uint32_t LastSendTick = 0;
    bool OpponentReady = false;
    // Backspace held in the address field.
    TKeyRepeat BackspaceRepeat;
    // Player 1 and player 2 of the current or last match, borrowed from Map.
    std::array<TBasePlayer*, 2> Players{};

private:
    void ReadSettings();
    void WriteSettings() const;
    void CallStateHandler();
};

// The one game object, set by the entry point.
extern TBriskGame* Game;
