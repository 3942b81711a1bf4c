// The networked match: becoming a server or connecting as a client, the handshake of the two
// Choose Player messages, the state of this keyboard's fighter sent every 100 ms, and the
// peer's messages applied to the peer's fighter (or, for a hit, to ours). A peer is untrusted:
// every record passes CheckPeerRecord first, and every number it carries is brought into the
// range the fighter's tables can take.
#include "app/GameUnit.h"
#include "app/NetPlayChecks.h"
#include "media/BriskLogger.h"
#include "media/BriskText.h"
#include "net/BriskNet.h"
#include "net/NetworkUnit.h"
#include "platform/Clock.h"
#include "world/Map.h"
#include "world/Players.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int32_t kNetServer = 1;
constexpr int32_t kNetClient = 2;

// A Move Player goes out only when more than this has passed since the last one.
constexpr uint32_t kRefreshIntervalMs = 100;
// A peer that sends nothing for this long is said not to answer; a running peer sends ten
// Move Player messages a second.
constexpr uint32_t kPeerSilenceMs = 10000;
// Speed travels in thousandths of a pixel per millisecond.
constexpr float kSpeedScale = 1000.0f;
// The largest frame number, frame base and frame count taken from a peer: far more than any
// sprite sheet holds, and small enough that base + frame never overflows.
constexpr int32_t kMaxPeerFrame = 4095;

constexpr std::string_view kOpponentLeft = "The opponent has left the match.";
constexpr std::string_view kOpponentSilent = "The opponent is not answering.";
// Where the match screen says so: the top of the field, clear of the status panels.
constexpr int32_t kPeerStatusX = 20;
constexpr int32_t kPeerStatusY = 20;

// Nearest integer, halves to even, within int32 (a NaN travels as 0).
int32_t RoundForWire(double value) {
    if (std::isnan(value)) return 0;
    const double clamped = std::clamp(value, double{std::numeric_limits<int32_t>::min()},
                                      double{std::numeric_limits<int32_t>::max()});
    return static_cast<int32_t>(std::nearbyint(clamped));
}

TNetMessage ChoosePlayerMessage(std::string_view character, std::string_view player, std::string_view map) {
    TNetMessage message;
    message.Text = "MESSAGE";
    // Only the server's names its player in the header as well.
    if (player == "Player1") message.Player = player;
    message.Kind = static_cast<uint8_t>(TMessageKind::ChoosePlayer);
    message.Body = TChoosePlayerBody{std::string(character.substr(0, kBodyTextCapacity)), std::string(player),
                                     std::string(map.substr(0, kBodyTextCapacity))};
    return message;
}

TMovePlayerBody MoveBodyOf(const TBasePlayer& fighter) {
    TMovePlayerBody body;
    body.X = RoundForWire(fighter.X());
    body.Y = RoundForWire(fighter.Y());
    body.Speed = RoundForWire(double{fighter.Speed()} * kSpeedScale);
    body.Armor = fighter.Armor;
    body.Health = RoundForWire(fighter.Health());
    body.Action = fighter.Action();
    body.Direction = fighter.Direction();
    body.FrameBase = fighter.FrameBase();
    body.Frame = fighter.Frame();
    body.MaxFrame = fighter.MaxFrame();
    for (size_t k = 1; k <= kNetSlotCount; ++k) {
        body.MagicItems[k - 1] = fighter.MagicItems[k] ? 1 : 0;
        body.AbilitiesActive[k - 1] = fighter.Abilities(static_cast<int32_t>(k)).Active ? 1 : 0;
    }
    return body;
}

// The peer's fighter takes the state its owner sent. Values outside what the fighter's tables
// hold are brought into range, so no later step indexes past them.
void ApplyMoveBody(TBasePlayer& fighter, const TMovePlayerBody& body) {
    const int32_t maxFrame = std::clamp(body.MaxFrame, 0, kMaxPeerFrame);
    fighter.SetX(static_cast<float>(body.X));
    fighter.SetY(static_cast<float>(body.Y));
    fighter.SetDirection(std::clamp(body.Direction, 0, 7));
    fighter.SetAction(std::clamp(body.Action, kActionAttack, kActionDie));
    fighter.SetFrame(std::clamp(body.Frame, 0, maxFrame));
    fighter.SetMaxFrame(maxFrame);
    fighter.SetFrameBase(std::clamp(body.FrameBase, 0, kMaxPeerFrame));
    fighter.SetHealth(static_cast<float>(body.Health));
    fighter.SetSpeed(static_cast<float>(body.Speed) / kSpeedScale);
    fighter.Armor = body.Armor;
    for (size_t k = 1; k <= kNetSlotCount; ++k) {
        fighter.MagicItems[k] = body.MagicItems[k - 1] != 0;
        fighter.ResetAbility(static_cast<int32_t>(k), body.AbilitiesActive[k - 1] != 0);
    }
}

} // namespace

void TBriskGame::StartServer() {
    Client.reset();
    if (!Server) {
        Server = std::make_unique<TBriskTCPServer>(NetPort);
        // Left without a port, the server would never hear anyone; dropping it lets the next
        // choice of Server try again.
        if (!Server->Listening()) {
            Logger->LogError("Could not listen on port " + std::to_string(NetPort), "StartServer");
            Server.reset();
            return;
        }
    }
    Server->SetMessageSize(kNetMessageSize);
    // The transport's notices ("New Client ", "Client Closed ") are not the game's business.
    Server->SetOnError([](TBriskNetBase&, std::string_view) {});
    Server->SetOnData(
        [this](TBriskNetBase& endpoint, std::span<const uint8_t> data) { ReceiveMessage(endpoint, data); });
    Server->Poll();
}

bool TBriskGame::ConnectToServer() {
    Server.reset();
    // A connection that failed or that the server closed is made anew.
    if (Client && !Client->Connected()) Client.reset();
    if (!Client) {
        Client = std::make_unique<TBriskTCPClient>();
        Client->SetMessageSize(kNetMessageSize);
        Client->Connect(IPText, NetPort);
    }
    Client->SetMessageSize(kNetMessageSize);
    Client->SetOnData(
        [this](TBriskNetBase& endpoint, std::span<const uint8_t> data) { ReceiveMessage(endpoint, data); });
    const TBriskImage* character = Player2Char >= 0 ? SetupImages.Items(Player2Char + 1) : nullptr;
    if (!Client->Connected() || character == nullptr) {
        // Back to the setup screen; the next CONNECT tries again with a new connection.
        Client.reset();
        SetState(TGameState::Setup);
        return false;
    }
    SendMessage(ChoosePlayerMessage(character->Name, "Player2", ""));
    return true;
}

void TBriskGame::SendMessage(const TNetMessage& message) {
    TNetMessage stamped = message;
    if (Server) {
        stamped.Sender = "Server";
        Server->Send(EncodeMessage(stamped));
    }
    if (Client) {
        stamped.Sender = "Client";
        Client->Send(EncodeMessage(stamped));
    }
}

void TBriskGame::AnnounceMatch() {
    const TBriskImage* character = SetupImages.Items(Player1Char + 1);
    SendMessage(ChoosePlayerMessage(character != nullptr ? character->Name : "", "Player1", MapName));
    // The peer has just been heard from: its Choose Player let this match start.
    LastHeardTick = SystemTicks();
}

void TBriskGame::SendStartThrow(const TBasePlayer& fighter, const TWeapon& weapon) {
    TNetMessage message;
    message.Kind = static_cast<uint8_t>(TMessageKind::StartThrow);
    message.Body = TStartThrowBody{fighter.PixelX(), fighter.PixelY(), fighter.Direction(),
                                   RoundForWire(fighter.Speed()), weapon.Name};
    SendMessage(message);
}

void TBriskGame::SendHitPlayer(int32_t value) {
    TNetMessage message;
    message.Kind = static_cast<uint8_t>(TMessageKind::HitPlayer);
    message.Body = THitPlayerBody{value};
    SendMessage(message);
}

void TBriskGame::NetRefresh() {
    if (NetMode == 0 || Map == nullptr) return;
    TBasePlayer* local = Players.at(static_cast<size_t>(LocalRow()));
    TBasePlayer* remote = Players.at(static_cast<size_t>(1 - LocalRow()));
    // A peer that has gone leaves its fighter standing where it was last seen, not walking
    // or striking on by itself.
    if (remote != nullptr && !PeerStatusLine().empty() &&
        (remote->Action() == kActionWalk || remote->Action() == kActionAttack))
        remote->SetAction(kActionStand);
    const uint32_t now = SystemTicks();
    if (now - LastSendTick <= kRefreshIntervalMs || local == nullptr) return;
    TNetMessage message;
    message.Kind = static_cast<uint8_t>(TMessageKind::MovePlayer);
    const TMovePlayerBody body = MoveBodyOf(*local);
    if (body.X < 0) Logger->LogError("Negative X :" + std::to_string(body.X), "Send Message");
    if (body.Y < 0) Logger->LogError("Negative Y :" + std::to_string(body.Y), "Send Message");
    message.Body = body;
    SendMessage(message);
    LastSendTick = now;
}

void TBriskGame::ReceiveMessage(TBriskNetBase&, std::span<const uint8_t> data) {
    if (NetMode == 0 || data.size() != static_cast<size_t>(kNetMessageSize)) return;
    const TPeerContext context{NetMode, State == TGameState::Game && Map != nullptr,
                               [this](std::string_view name) { return SetupImages.IndexOf(name) >= 1; }};
    const TPeerMessage checked = CheckPeerRecord(data.first<kNetMessageSize>(), context);
    if (checked.FromPeer) LastHeardTick = SystemTicks();
    if (checked.Verdict == TPeerVerdict::Reject) Logger->LogError(checked.Error, "Get Message");
    if (checked.Verdict != TPeerVerdict::Apply) return;

    const size_t localRow = static_cast<size_t>(LocalRow());
    TBasePlayer* remote = Players.at(1 - localRow);
    TBasePlayer* local = Players.at(localRow);
    const TMessageBody& body = checked.Message.Body;
    if (const auto* move = std::get_if<TMovePlayerBody>(&body)) {
        if (remote == nullptr) return;
        if (move->X < 0) Logger->LogError("Received -X :" + std::to_string(move->X), "Get Message");
        if (move->Y < 0) Logger->LogError("Received -Y :" + std::to_string(move->Y), "Get Message");
        // Off the map and back on, so its square and place in the drawing order follow.
        std::unique_ptr<TBaseItem> held = Map->Remove(*remote);
        ApplyMoveBody(*remote, *move);
        if (held) Map->Add(std::move(held));
    } else if (const auto* strike = std::get_if<TStartThrowBody>(&body)) {
        if (remote == nullptr) return;
        // Only the weapon's name is used; the peer's fighter strikes from where it stands here.
        TWeapon* weapon = remote->Weapon != nullptr && remote->Weapon->Name == strike->WeaponName
                              ? remote->Weapon.get()
                              : nullptr;
        if (remote->SecondWeapon != nullptr && remote->SecondWeapon->Name == strike->WeaponName)
            weapon = remote->SecondWeapon.get();
        if (weapon == nullptr) {
            remote->PickUp(Map->CreateWeapon(strike->WeaponName, 0, 0));
            weapon = remote->SecondWeapon.get();
        }
        if (weapon == nullptr) return;
        try {
            remote->Strike(*weapon);
        } catch (const EWorldError& error) {
            // A weapon this machine cannot launch (no file, too slow) must not end our game.
            Logger->LogError("Refused Start Throw of \"" + strike->WeaponName + "\": " + error.what(),
                             "Get Message");
        }
    } else if (const auto* hit = std::get_if<THitPlayerBody>(&body)) {
        if (local == nullptr) return;
        // The peer saw our fighter hit and decided it; here that hit counts once, with the
        // hurt's sound and its end of invisibility.
        local->SetHealth(local->Health() - static_cast<float>(hit->Damage));
        PlayerHurt(*local, hit->Damage);
        PlaySound("HitHurt");
    } else if (const auto* choice = std::get_if<TChoosePlayerBody>(&body)) {
        const int32_t character = SetupImages.IndexOf(choice->CharacterName) - 1;
        LastSendTick = SystemTicks();
        if (NetMode == kNetServer) {
            Player2Char = character;
            OpponentReady = true;
            PlaySound("ReadyToPlay");
        } else if (NetMode == kNetClient) {
            Player1Char = character;
            MapName = MapFileName(choice->MapName);
            LastHeardTick = SystemTicks();
            StartMatch();
        }
    }
}

std::string TBriskGame::PeerStatusLine() const {
    if (NetMode == kNetServer && (!Server || Server->ClientCount() == 0)) return std::string(kOpponentLeft);
    if (NetMode == kNetClient && (!Client || !Client->Connected())) return std::string(kOpponentLeft);
    if (NetMode != kNetServer && NetMode != kNetClient) return {};
    if (SystemTicks() - LastHeardTick > kPeerSilenceMs) return std::string(kOpponentSilent);
    return {};
}

void TBriskGame::DrawPeerStatus() {
    const std::string line = PeerStatusLine();
    if (!line.empty()) FontList->Items(kFontSmall).TextOut(kPeerStatusX, kPeerStatusY, line);
}
