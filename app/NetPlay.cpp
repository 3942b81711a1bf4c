// The networked match: becoming a server or connecting as a client, following the connection
// until the client has announced itself, the state of this keyboard's fighter sent every
// 100 ms, and the peer's messages applied to the peer's fighter (or, for a hit, to ours). A
// peer is untrusted: every record passes CheckPeerRecord first, and every number it carries
// is brought into the range the fighter's tables can take. The handshake's judgement of the
// match's files is NetHandshake.cpp's, the items taken NetItems.cpp's.
#include "app/GameUnit.h"
#include "app/NetFighterState.h"
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
// A running peer sends ten Move Player messages a second. After this long without one the
// match screen says that the peer is not answering; after kPeerSilenceMs the match is over.
constexpr uint32_t kPeerQuietMs = 2000;
constexpr uint32_t kPeerSilenceMs = 10000;
// Speed travels in thousandths of a pixel per millisecond.
constexpr float kSpeedScale = 1000.0f;
// The largest frame number, frame base and frame count taken from a peer: far more than any
// sprite sheet holds, and small enough that base + frame never overflows.
constexpr int32_t kMaxPeerFrame = 4095;

constexpr std::string_view kOpponentSilent = "The opponent is not answering.";
// Where the match screen says so: the top of the field, clear of the status panels.
constexpr int32_t kPeerStatusX = 20;
constexpr int32_t kPeerStatusY = 20;

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

// What the setup screen says about a connect that did not come about.
std::string ConnectFailureText(TConnectFailure failure, const std::string& address) {
    switch (failure) {
    case TConnectFailure::Unresolved:
        return address + " is not an address to connect to.";
    case TConnectFailure::Refused:
        return "Nobody is serving a game at " + address + ".";
    case TConnectFailure::TimedOut:
        return "No answer from " + address + " within " + std::to_string(kConnectTimeoutMs / 1000) +
               " seconds.";
    case TConnectFailure::Unreachable:
    case TConnectFailure::None:
        break;
    }
    return "Could not connect to " + address + ".";
}

} // namespace

int32_t RoundForWire(double value) {
    if (std::isnan(value)) return 0;
    const double clamped = std::clamp(value, double{std::numeric_limits<int32_t>::min()},
                                      double{std::numeric_limits<int32_t>::max()});
    return static_cast<int32_t>(std::nearbyint(clamped));
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

void TBriskGame::StartServer() {
    Client.reset();
    if (!Server) {
        Server = std::make_unique<TBriskTCPServer>(NetPort);
        // Left without a port, the server would never hear anyone; dropping it lets the next
        // choice of Server try again.
        if (!Server->Listening()) {
            Logger->LogError("Could not listen on port " + std::to_string(NetPort), "StartServer");
            SetupNotice =
                "Could not listen on port " + std::to_string(NetPort) + ": is another game serving on it?";
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
    // A connection that failed or that the server closed is made anew; a live one is reused.
    if (Client && !Client->Connected() && !Client->Connecting()) Client.reset();
    const TBriskImage* character = Player2Char >= 0 ? SetupImages.Items(Player2Char + 1) : nullptr;
    if (character == nullptr) {
        Client.reset();
        SetState(TGameState::Setup);
        return false;
    }
    SetupNotice.clear();
    Net.Announced = false;
    if (!Client) {
        Client = std::make_unique<TBriskTCPClient>();
        Client->SetMessageSize(kNetMessageSize);
        Client->StartConnect(IPText, NetPort);
    }
    Client->SetMessageSize(kNetMessageSize);
    Client->SetOnData(
        [this](TBriskNetBase& endpoint, std::span<const uint8_t> data) { ReceiveMessage(endpoint, data); });
    if (!Client->Connected() && !Client->Connecting()) {
        // Back to the setup screen, which says why; the next CONNECT tries again.
        SetupNotice = ConnectFailureText(Client->Failure(), IPText);
        Client.reset();
        SetState(TGameState::Setup);
        return false;
    }
    return true;
}

void TBriskGame::FollowConnection() {
    if (Client && State == TGameState::WaitForServer && !Client->Connecting()) {
        if (Client->Connected() && !Net.Announced) {
            // The character goes out once the connection is made, with the check of its files.
            SendChoice(THandshakeStep::Announce);
            Net.Announced = true;
            LastHeardTick = SystemTicks();
        } else if (!Client->Connected()) {
            SetupNotice = Client->Failure() != TConnectFailure::None
                              ? ConnectFailureText(Client->Failure(), IPText)
                              : std::string("The server has closed the connection.");
            Client.reset();
            SetState(TGameState::Setup);
        }
    }
    // A server whose client leaves before the match starts waits for the next one.
    if (NetMode == kNetServer && State == TGameState::Setup && (OpponentReady || Net.AwaitingAnswer) &&
        (!Server || Server->ClientCount() == 0)) {
        OpponentReady = false;
        Net.AwaitingAnswer = false;
        Player2Char = -1;
        SetupNotice = "The client has left.";
    }
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

void TBriskGame::SendStartThrow(const TBasePlayer& fighter, const TWeapon& weapon) {
    TNetMessage message;
    message.Kind = static_cast<uint8_t>(TMessageKind::StartThrow);
    message.Body = TStartThrowBody{fighter.PixelX(), fighter.PixelY(), fighter.Direction(),
                                   RoundForWire(fighter.Speed()), weapon.Name};
    SendMessage(message);
}

void TBriskGame::SendHitPlayer(int32_t value) {
    SendMessage(
        TNetMessage{{}, {}, {}, static_cast<uint8_t>(TMessageKind::HitPlayer), THitPlayerBody{value}});
}

void TBriskGame::NetRefresh() {
    if (NetMode == 0 || Map == nullptr) return;
    const TBasePlayer* local = Players.at(static_cast<size_t>(LocalRow()));
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
    // From now on the peer knows our fighter is dead, and the match may end here as it will there.
    if (!(local->Health() > 0)) Net.LocalDeathSent = true;
}

void TBriskGame::ReceiveMessage(TBriskNetBase&, std::span<const uint8_t> data) {
    if (NetMode == 0 || data.size() != static_cast<size_t>(kNetMessageSize)) return;
    const TPeerContext context{NetMode, State == TGameState::Game && Map != nullptr,
                               [this](std::string_view name) { return SetupImages.IndexOf(name) >= 1; }};
    const TPeerMessage checked = CheckPeerRecord(data.first<kNetMessageSize>(), context);
    if (checked.FromPeer) LastHeardTick = SystemTicks();
    if (checked.Verdict == TPeerVerdict::Reject || checked.Verdict == TPeerVerdict::Refuse)
        Logger->LogError(checked.Error, "Get Message");
    if (checked.Verdict == TPeerVerdict::Ignore || checked.Verdict == TPeerVerdict::Reject) return;

    const size_t localRow = static_cast<size_t>(LocalRow());
    TBasePlayer* remote = Players.at(1 - localRow);
    TBasePlayer* local = Players.at(localRow);
    const TMessageBody& body = checked.Message.Body;
    // In a match of several rounds the peer's word about its fighter counts once it has been
    // heard alive in this round, and a fighter its owner let die stays dead until the round ends
    // here: each machine starts the next round when its own screen has seen the last one out.
    const bool rounds = Score.Rounds > 1 && State == TGameState::Game;
    const bool aboutTheRound =
        std::holds_alternative<TMovePlayerBody>(body) || std::holds_alternative<TStartThrowBody>(body) ||
        std::holds_alternative<THitPlayerBody>(body) || std::holds_alternative<TItemStateBody>(body);
    if (rounds && aboutTheRound && !Net.PeerAliveHeard) {
        const auto* move = std::get_if<TMovePlayerBody>(&body);
        if (move == nullptr || move->Health <= 0) return;
        Net.PeerAliveHeard = true;
    }
    if (const auto* move = std::get_if<TMovePlayerBody>(&body)) {
        if (remote == nullptr) return;
        if (rounds && !(remote->Health() > 0) && move->Health > 0) return;
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
        local->ShowHurt(hit->Damage);
        PlayerHurt(*local, hit->Damage);
        PlaySound("HitHurt");
    } else if (const auto* item = std::get_if<TItemStateBody>(&body)) {
        ApplyItemState(item->ItemId);
    } else if (const auto* choice = std::get_if<TChoosePlayerBody>(&body)) {
        LastSendTick = SystemTicks();
        ReceiveChoice(*choice);
    }
}

bool TBriskGame::PeerGone() const {
    if (NetMode == kNetServer && (!Server || Server->ClientCount() == 0)) return true;
    if (NetMode == kNetClient && (!Client || !Client->Connected())) return true;
    if (NetMode != kNetServer && NetMode != kNetClient) return false;
    return SystemTicks() - LastHeardTick > kPeerSilenceMs;
}

std::string TBriskGame::PeerStatusLine() const {
    if (NetMode != kNetServer && NetMode != kNetClient) return {};
    if (SystemTicks() - LastHeardTick > kPeerQuietMs) return std::string(kOpponentSilent);
    return {};
}

void TBriskGame::DrawPeerStatus() {
    const std::string line = PeerStatusLine();
    if (!line.empty()) FontList->Items(kFontSmall).TextOut(kPeerStatusX, kPeerStatusY, line);
}
