// The course of a match: choosing the map, building the field with both fighters, the
// camera and the status displays, the match frame, its end when a dying animation has
// played out, and the game's answer to the fighters' events.
#include "app/GameUnit.h"
#include "app/MatchOverlay.h"
#include "media/BriskImage.h"
#include "media/BriskLogger.h"
#include "platform/Clock.h"
#include "platform/GameClock.h"
#include "world/GameDisplays.h"
#include "world/Map.h"
#include "world/Players.h"

#include <array>
#include <string>
#include <string_view>

namespace {

// Who steers which fighter, by NetMode. In a local game both people share this keyboard;
// in a networked match the person here plays with key set 0 and the peer's fighter reads no
// keys, moving by the peer's messages instead.
struct TSeats {
    int32_t LocalRow;               // this keyboard's fighter: followed by the camera, display 0
    std::array<int32_t, 2> KeySets; // by row
    bool Networked;                 // the fighter that is not LocalRow is the peer's
};
constexpr std::array<TSeats, 3> kSeats{{
    {0, {0, 1}, false}, // 0 local
    {0, {0, -1}, true}, // 1 server: player 1 here
    {1, {-1, 0}, true}, // 2 client: player 2 here
}};

const TSeats& SeatsOf(int32_t netMode) {
    return netMode >= 0 && netMode < static_cast<int32_t>(kSeats.size())
               ? kSeats[static_cast<size_t>(netMode)]
               : kSeats[0];
}

// The portrait list holds the check box first, so character n is item n + 1. A choice that
// names no portrait gives no name, and the fighter gets every default.
std::string CharacterName(const TBriskImageList& setupImages, int32_t choice) {
    const TBriskImage* portrait = setupImages.Items(choice + 1);
    return portrait != nullptr ? portrait->Name : std::string();
}

// The dying animation has reached its last frame.
bool DoneDying(const TBasePlayer* fighter) {
    return fighter != nullptr && fighter->Action() == kActionDie && fighter->Frame() == fighter->MaxFrame();
}

// The log's words for a match's end; the checks of a networked match compare them.
std::string_view MatchOverLine(TMatchResult result) {
    switch (result) {
    case TMatchResult::Player1Wins:
        return "Match over: Player 1 wins";
    case TMatchResult::Player2Wins:
        return "Match over: Player 2 wins";
    case TMatchResult::OpponentLeft:
        return "Match over: the opponent left";
    case TMatchResult::None:
        break;
    }
    return {};
}

} // namespace

int32_t TBriskGame::LocalRow() const {
    return SeatsOf(NetMode).LocalRow;
}

int32_t TBriskGame::KeySetOf(int32_t row) const {
    return SeatsOf(NetMode).KeySets.at(static_cast<size_t>(row));
}

bool TBriskGame::IsRemote(int32_t row) const {
    return SeatsOf(NetMode).Networked && row != LocalRow();
}

bool TBriskGame::DyingByOwnersWord(int32_t row) const {
    const TBasePlayer* fighter = Map != nullptr ? Map->Players.at(static_cast<size_t>(row)) : nullptr;
    if (fighter == nullptr || fighter->Action() != kActionDie) return false;
    if (NetMode == 0) return true;
    // A fighter whose health is left only takes the dying action for a moment (F3, a message
    // that overtook another): that is nobody's death.
    if (fighter->Health() > 0) return false;
    return IsRemote(row) || Net.LocalDeathSent;
}

void TBriskGame::EndMatch(TMatchResult result) {
    if (MatchResult != TMatchResult::None) return;
    MatchResult = result;
    // The menus after a match run on the clock the world reads.
    Paused = false;
    SetGameClockStopped(false);
    Logger->LogStatus(std::string(MatchOverLine(result)), "GameProcess");
    SetState(TGameState::End);
}

void TBriskGame::GameInitialization() {
    // A client plays the server's map: it connects, announces its character and waits for
    // the server to start the match, or goes back to the setup screen when that failed.
    if (NetMode == 2) {
        if (ConnectToServer()) SetState(TGameState::WaitForServer);
        PlaySound("StartSomething");
        return;
    }
    // The setup screen starts a match only with a map to choose; anything else goes back.
    if (MapIndex < 0 || MapIndex >= static_cast<int32_t>(MapNames.size())) {
        SetState(TGameState::Setup);
        return;
    }
    // A match the client has already taken was announced with the map it names.
    if (!Net.OfferAccepted) MapName = MapFileName(MapNames[static_cast<size_t>(MapIndex)]);
    if (NetMode == 1 && !Net.OfferAccepted) AnnounceMatch();
    Net.OfferAccepted = false;
    StartMatch();
    PlaySound("StartSomething");
}

void TBriskGame::StartMatch() {
    MatchResult = TMatchResult::None;
    Paused = false;
    // A client plays as many rounds as its server chose.
    Score = TMatchScore{};
    Score.Rounds = ValidRounds(NetMode == 2 ? Net.ServerRounds : Rounds);
    Net.AwaitingAnswer = false;
    // The peer's silence is counted from the start of the match.
    LastHeardTick = SystemTicks();
    StartRound();
}

void TBriskGame::StartRound() {
    // The last round's fighters leave with their map; nothing may show them any more.
    Players = {};
    for (const auto& display : Displays)
        display->SetPlayer(nullptr);
    Net.LocalDeathSent = false;
    Net.TakenItems.clear();
    Net.PeerAliveHeard = false;
    Map = std::make_unique<TBaseMap>();
    Map->SetOnShoot([this](TBasePlayer& striker, TWeapon& weapon) { PlayerShoot(striker, weapon); });
    Map->SetOnHurt([this](TBasePlayer& hurt, int32_t value) { PlayerHurt(hurt, value); });
    Map->LoadFromFile(MapName);
    Map->SetViewX(0);
    Map->SetViewY(0);
    Map->PlayMode = NetMode;
    // A map file's StartY keys are horizontal and its StartX keys vertical coordinates.
    MakePlayer(1, CharacterName(SetupImages, Player2Char), Map->StartY1, Map->StartX1);
    MakePlayer(0, CharacterName(SetupImages, Player1Char), Map->StartY0, Map->StartX0);
    for (size_t i = 0; i < Players.size(); ++i) {
        Players[i]->SetMap(Map.get());
        Map->Players[i] = Players[i];
        // The peer's fighter is not shown while it is invisible, and only its owner moves,
        // equips and kills it; the peer decides the hits on ours.
        if (IsRemote(static_cast<int32_t>(i))) {
            Players[i]->HideWhenInvisible = true;
            Players[i]->OwnedByPeer = true;
        }
        if (IsRemote(1 - static_cast<int32_t>(i))) Players[i]->PeerDecidesHits = true;
    }
    const auto local = static_cast<size_t>(LocalRow());
    // At one keyboard the camera keeps both fighters in view while it can; in a networked
    // match it follows this keyboard's fighter.
    Map->SetFollowed(Players[local], NetMode == 0 ? Players[1 - local] : nullptr);
    Map->CenterOnFollowed();
    Displays.at(0)->SetPlayer(Players[local]);
    Displays.at(1)->SetPlayer(Players[1 - local]);
    Map->DrawGround(*GroundBuffer);
    // A match of several rounds names each round before it starts, counted once the field is
    // ready; a single round starts at once.
    Score.BannerShown = Score.Rounds > 1;
    Score.BannerUntilTick = SystemTicks() + TMatchScore::kBannerMs;
    SetState(TGameState::Game);
}

TFrameHooks TBriskGame::GameHooks() {
    // P and Pause pause a local match; the common rules take every other event, and mouse
    // buttons do nothing during a match.
    return {[this](const SDL_Event& event) {
                if (event.type != SDL_KEYDOWN) return false;
                const int32_t key = event.key.keysym.sym;
                if (key != kKeyP && key != kKeyPause) return false;
                TogglePause();
                return true;
            },
            [this] { RenderGame(); },
            [this] {
                NetRefresh();
                // The frame still finishes after the end is decided. A death is counted by its
                // owner's word, so both machines of a networked match name the same winner:
                // player 2 when player 1 is dying, player 1 otherwise.
                const TMatchResult winner =
                    DyingByOwnersWord(0) ? TMatchResult::Player2Wins : TMatchResult::Player1Wins;
                const auto ended = [this](int32_t row) {
                    return DoneDying(Map->Players.at(static_cast<size_t>(row))) && DyingByOwnersWord(row);
                };
                if (ended(0) || ended(1))
                    EndRound(winner);
                else if (NetMode != 0 && PeerGone())
                    // A peer that leaves a match already decided does not change the winner.
                    EndMatch(DyingByOwnersWord(0) || DyingByOwnersWord(1) ? winner
                                                                          : TMatchResult::OpponentLeft);
                if (Map->GroundDirty()) Map->ScrollGround(*GroundBuffer);
            }};
}

void TBriskGame::EndRound(TMatchResult result) {
    if (Score.Rounds <= 1) {
        EndMatch(result);
        return;
    }
    const int32_t winner = result == TMatchResult::Player1Wins ? 0 : 1;
    const bool decided = Score.CountRound(winner);
    Logger->LogStatus("Round over: Player " + std::to_string(winner + 1) + " wins, " + Score.ScoreText(),
                      "GameProcess");
    if (decided) {
        EndMatch(result);
        return;
    }
    ++Score.Round;
    StartRound();
}

bool TBriskGame::WorldStands() const {
    return Paused || Score.BannerShowing(SystemTicks());
}

void TBriskGame::TogglePause() {
    if (NetMode != 0 || State != TGameState::Game) return;
    Paused = !Paused;
    Logger->LogStatus(Paused ? "Match paused" : "Match resumed", "GameProcess");
}

void TBriskGame::GameProcess() {
    RunFrameLoop(TGameState::Game, GameHooks());
}

void TBriskGame::RenderGame() {
    // Items are drawn where the last update left them; this frame's update shows next frame.
    GroundBuffer->DrawAsBackdrop(Map->TileCol() * kTileWidth - Map->ViewX() - kSquareWidth,
                                 Map->TileRow() * kTileHeight - Map->ViewY() - kSquareHeight);
    // The world reads a clock that stands while the match is paused or between rounds, so
    // nothing it times runs on meanwhile; the network and the menus keep the system's.
    const bool stands = WorldStands();
    SetGameClockStopped(stands);
    Map->Draw();
    DrawMatchOverlay(*Map, Players, Players.at(static_cast<size_t>(1 - LocalRow())));
    if (!stands) Map->Update();
    for (const auto& display : Displays)
        display->Draw();
    DrawPeerStatus();
    DrawMatchOverlays();
}

void TBriskGame::PlayerHurt(TBasePlayer& fighter, int32_t value) {
    // Any hurt ends invisibility on both fighters. The slot is released as well, so a later
    // potion can make its drinker invisible again.
    for (TBasePlayer* each : Map->Players)
        if (each != nullptr) each->ResetAbility(kInvisibility, false);
    // The peer owns its fighter's health: it applies the wound we saw.
    if (NetMode != 0 && &fighter == Players.at(static_cast<size_t>(1 - LocalRow()))) SendHitPlayer(value);
}

void TBriskGame::PlayerShoot(TBasePlayer& fighter, TWeapon& weapon) {
    // The peer replays this keyboard's strikes; a local game sends nothing.
    if (NetMode != 0 && &fighter == Players.at(static_cast<size_t>(LocalRow())))
        SendStartThrow(fighter, weapon);
}
