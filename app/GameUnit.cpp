// The game object's life cycle, main loop, state machine, shared frame loop and common
// event rules.
#include "app/GameUnit.h"

#include "app/Gamepads.h"
#include "media/BriskDraws.h"
#include "media/BriskLogger.h"
#include "media/BriskSound.h"
#include "media/StartupFile.h"
#include "platform/GameClock.h"
#include "platform/IniFile.h"
#include "platform/Random.h"
#include "world/AIPlayers.h"
#include "world/GameDisplays.h"
#include "world/KeyBindings.h"
#include "world/KeyState.h"
#include "world/Map.h"
#include "world/Players.h"

#include <cstdlib>
#include <exception>
#include <string>
#include <utility>
#include <vector>

TBriskGame* Game = nullptr;

static_assert(kKeyCount == SDLK_LAST + 1, "the key table holds one entry per SDL 1.2 key code");

namespace {

// The ground buffer covers the 640 by 480 view plus two ground tiles of 64 across and three
// of 48 down, so the camera can move inside it before the ground must be painted again.
constexpr int32_t kGroundBufferWidth = 768;
constexpr int32_t kGroundBufferHeight = 624;
constexpr int32_t kGroundBufferDepth = 24;
// The remembered character choices: positions in the setup screen's list, -1 for a server's
// player 2 before a client named one. Far more characters than any folder holds, and a step of
// the arrows past either end stays within 32 bits.
constexpr TIntRange kChoiceRange{-1, 1000000};

} // namespace

TBriskGame::TBriskGame() {
    RandomizeFromClock();
    PlaySound("Waiting");
    ClearKeyState();
    if (VideoFailed) std::exit(1);
    LoadImages();
    LoadFonts();
    const std::string caption = std::string(kGameTitle) + " " + std::string(kGameVersion);
    Screen->SetCaption(caption);
    Logger->LogStatus(caption, "Initialize");
    // Display 0 always shows the fighter of the person at this keyboard.
    for (const auto& [box, x] : {std::pair{"PlayerBoxLocal", 30}, std::pair{"PlayerBox", 240}}) {
        auto display = std::make_unique<TBaseDisplay>();
        display->SetBoxImage(ImageList->Find(box));
        display->SetX(x);
        display->SetY(382);
        Displays.push_back(std::move(display));
    }
    ReadSettings();
    Gamepads = std::make_unique<TGamepads>();
    GroundBuffer = std::make_unique<TBriskImage>();
    GroundBuffer->CreateSurface(kGroundBufferWidth, kGroundBufferHeight, kGroundBufferDepth);
}

TBriskGame::~TBriskGame() {
    GroundBuffer.reset();
    Gamepads.reset();
    // A game that ends paused leaves no stopped clock behind it.
    SetGameClockStopped(false);
    MapNames.clear();
    WriteSettings();
}

std::string TBriskGame::SettingsPath() {
    // AppPath already ends in a separator; the doubled one is harmless.
    return Screen->AppPath + "\\" + std::string(kSettingsFileName);
}

void TBriskGame::ReadSettings() {
    // A game killed while writing its settings leaves its temporary file behind.
    RemoveStaleTemporaries(SettingsPath());
    // A port other than the game's lets a relay sit between two games on one machine.
    const std::string port = ReadStartupValue(Logger->AppPath, Logger->ExeName, "NetPort").value_or("");
    const std::optional<int32_t> portNumber = ParseProfileInteger(port);
    if (portNumber && *portNumber >= 1 && *portNumber <= 65535) NetPort = static_cast<uint16_t>(*portNumber);
    const TIniFile settings(SettingsPath());
    ServerIP = settings.ReadString("Server", "IP", kDefaultServerIP);
    Player1Char = settings.ReadClamped("Select", "Server", 1, kChoiceRange);
    Player2Char = settings.ReadClamped("Select", "Client", 2, kChoiceRange);
    MapName = settings.ReadString("Select", "MapName", "Default");
    Rounds = ValidRounds(settings.ReadInteger("Select", "Rounds", 1));
    KeyBindings.Read(settings);
    AILevel = AILevelFromName(settings.ReadString("Select", "AILevel", AILevelName(kAILevelNormal)));
}

void TBriskGame::WriteSettings() const {
    TIniFile settings(SettingsPath());
    std::vector<TIniWrite> writes{{"Server", "IP", ServerIP},
                                  {"Select", "Server", std::to_string(Player1Char)},
                                  {"Select", "Client", std::to_string(Player2Char)},
                                  {"Select", "MapName", MapEntryName(MapName)},
                                  {"Select", "Rounds", std::to_string(Rounds)},
                                  {"Select", "AILevel", std::string(AILevelName(AILevel))}};
    for (TIniWrite& write : KeyBindings.Writes())
        writes.push_back(std::move(write));
    if (!settings.WriteAll(writes))
        Logger->LogError("Could not write " + settings.FileName(), "TBriskGame.Destroy");
}

void TBriskGame::Run() {
    RunGuarded([this] {
        RandomizeFromClock();
        SetState(TGameState::Title);
        do {
            CallStateHandler();
            Messaging();
        } while (State != TGameState::Quit);
    });
}

void TBriskGame::RunGuarded(const std::function<void()>& loop) {
    std::string message;
    try {
        loop();
        return;
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
        message = "an unknown error";
    }
    // The error's own text names the file and key it came from; it is logged at every level
    // that logs errors, before the fact. The game is still freed and the settings written.
    Logger->LogError(message, "TBriskGame.Run");
    Logger->LogStatus("Error", "End");
    ShowErrorScreen(message);
}

void TBriskGame::CallStateHandler() {
    switch (State) {
    case TGameState::Title:
        TitleProcess();
        break;
    case TGameState::Setup:
    case TGameState::WaitForServer:
        GameSetupProcess();
        break;
    case TGameState::Initialization:
        GameInitialization();
        break;
    case TGameState::Game:
        GameProcess();
        break;
    case TGameState::End:
        EndProcess();
        break;
    case TGameState::Help:
        HelpProcess();
        break;
    case TGameState::Keys:
        KeysProcess();
        break;
    case TGameState::Quit:
        break;
    }
}

void TBriskGame::SetState(TGameState newState) {
    const TGameState old = State;
    // The KEYS screen is part of setting up: coming back from it keeps the setup as it was,
    // a server's announced client included.
    if (old != TGameState::Setup && old != TGameState::Keys && newState == TGameState::Setup) EnterSetup();
    if (old == TGameState::End && newState != TGameState::End) OpponentReady = false;
    if (old != TGameState::Help && newState == TGameState::Help) HelpPage = 1;
    State = newState;
}

void TBriskGame::Messaging() {
    if (Server) Server->Poll();
    if (Client) Client->Poll();
    FollowConnection();
}

void TBriskGame::PlaySound(std::string_view name) {
    ::PlaySound(name);
}

bool IsClick(const SDL_Event& event) {
    return event.type == SDL_MOUSEBUTTONUP &&
           (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_MIDDLE ||
            event.button.button == SDL_BUTTON_RIGHT);
}

void TBriskGame::RunFrame(TGameState screen, const TFrameHooks& hooks) {
    while (Screen->PollEvent(Event)) {
        if (hooks.OnEvent && hooks.OnEvent(Event)) continue;
        HandleCommonEvent(Event, screen);
    }
    if (hooks.Render) hooks.Render();
    Messaging();
    if (hooks.PerFrame) hooks.PerFrame();
    Screen->Flip(screen == TGameState::Game ? TFramePace::Match : TFramePace::Menu);
    if (QuitAfterFrames > 0 && ++FramesShown == QuitAfterFrames) {
        // Through the event queue, so the quit takes the path a closed window takes.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

void TBriskGame::RunFrameLoop(TGameState screen, const TFrameHooks& hooks) {
    do {
        RunFrame(screen, hooks);
    } while (State == screen);
}

bool TBriskGame::HandleCommonEvent(const SDL_Event& event, TGameState screen) {
    const bool waiting = screen == TGameState::WaitForServer;
    if (Gamepads != nullptr && Gamepads->HandleEvent(event)) return true;
    switch (event.type) {
    case SDL_KEYDOWN: {
        const int32_t code = event.key.keysym.sym;
        if (code == kKeyEscape) {
            SetState(TGameState::Quit);
            Logger->LogError("Quit Event", "TitleProcess");
            return true;
        }
        if (code == kKeyMute) {
            if (SoundEngine != nullptr)
                Logger->LogStatus(ToggleSoundMute() ? "Sound muted" : "Sound on", "TBriskGame.Mute");
            return true;
        }
        if (waiting) return false;
        SetKeyState(code, true);
        return true;
    }
    case SDL_KEYUP: {
        const int32_t code = event.key.keysym.sym;
        if (waiting) return false;
        if (code == kKeyF3 &&
            (screen == TGameState::Title || screen == TGameState::Help || screen == TGameState::Game)) {
            // Player 1 takes the dying action; with health left it takes its normal action
            // again at its next update.
            if (Map != nullptr && Map->Players[0] != nullptr) Map->Players[0]->SetAction(kActionDie);
            return true;
        }
        SetKeyState(code, false);
        return true;
    }
    case SDL_QUIT:
        // Logged before the state changes, unlike Escape.
        Logger->LogError("Quit Event", "TitleProcess");
        SetState(TGameState::Quit);
        return true;
    case SDL_MOUSEBUTTONUP:
        return false;
    default:
        return true; // button presses and motion are taken and ignored
    }
}
