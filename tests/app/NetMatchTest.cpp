// A game against a test peer over loopback, the peer speaking the message protocol through
// its own endpoint: the handshake from both ends, the periodic state message and its timing,
// strikes and hits told to the peer, a failed connect, and a peer that leaves or falls silent.
#include "NetTestGame.h"
#include "world/GameDisplays.h"
#include "world/Weapons.h"

#include <optional>
#include <vector>

namespace {

class NetMatch : public NetTestGame {
protected:
    // Pumps both ends until the peer has a record (at most ~2 s of real time).
    template <class Peer> std::optional<TNetMessage> NextAtPeer(Peer& peer) {
        for (int turn = 0; turn < 400 && Received.empty(); ++turn) {
            Game->Messaging();
            peer.Poll();
            if (Received.empty()) SDL_Delay(5);
        }
        if (Received.empty()) return std::nullopt;
        TNetMessage first = Received.front();
        Received.erase(Received.begin());
        return first;
    }
    template <class Peer> void Listen(Peer& peer) {
        peer.SetMessageSize(kNetMessageSize);
        peer.SetOnData([this](TBriskNetBase&, std::span<const uint8_t> data) {
            Received.push_back(DecodeMessage(data.first<kNetMessageSize>()));
        });
    }
    // Pumps both ends until done() holds (bounded like NextAtPeer).
    template <class Peer, class Done> bool PumpUntil(Peer& peer, Done done) {
        for (int turn = 0; turn < 400 && !done(); ++turn) {
            Game->Messaging();
            peer.Poll();
            SDL_Delay(5);
        }
        return done();
    }
    // A server game whose client (the test) has announced the Knight.
    void ServerWithClient(TBriskTCPClient& peer) {
        Game->SetNetMode(1);
        Game->StartServer();
        ASSERT_NE(Game->Server, nullptr);
        Listen(peer);
        peer.Connect("127.0.0.1", kTestPort);
        ASSERT_TRUE(peer.Connected());
        TNetMessage choose;
        choose.Sender = "Client";
        choose.Text = "MESSAGE";
        choose.Kind = static_cast<uint8_t>(TMessageKind::ChoosePlayer);
        choose.Body = TChoosePlayerBody{"Knight", "Player2", ""};
        peer.Send(EncodeMessage(choose));
        ASSERT_TRUE(PumpUntil(peer, [this] { return Game->OpponentReady; }));
    }

    std::vector<TNetMessage> Received;
};

TEST_F(NetMatch, TheServerLearnsItsClientAndAnnouncesTheMatch) {
    TBriskTCPClient peer;
    ServerWithClient(peer);
    EXPECT_EQ(Game->Player2Char, kKnight);
    Game->Player1Char = kElf;
    Game->SetState(TGameState::Initialization);
    Game->GameInitialization();
    ASSERT_EQ(Game->State, TGameState::Game);
    const std::optional<TNetMessage> start = NextAtPeer(peer);
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->Sender, "Server");
    EXPECT_EQ(start->Player, "Player1");
    EXPECT_EQ(start->Text, "MESSAGE");
    EXPECT_EQ(start->Body, TMessageBody(TChoosePlayerBody{"Elf", "Player1", "Maps\\Arena.map"}));
}

TEST_F(NetMatch, TheClientAnnouncesItselfWaitsAndPlaysTheServersMatch) {
    TBriskTCPServer peer(kTestPort);
    ASSERT_TRUE(peer.Listening());
    Listen(peer);
    Game->SetNetMode(2);
    Game->IPText = "127.0.0.1";
    Game->Player2Char = kBarbar;
    Game->SetState(TGameState::Initialization);
    // The connect waits for the peer to accept, which its Poll does: let it run beside.
    Game->GameInitialization();
    ASSERT_EQ(Game->State, TGameState::WaitForServer);
    const std::optional<TNetMessage> hello = NextAtPeer(peer);
    ASSERT_TRUE(hello.has_value());
    EXPECT_EQ(hello->Sender, "Client");
    EXPECT_EQ(hello->Text, "MESSAGE");
    EXPECT_EQ(hello->Body, TMessageBody(TChoosePlayerBody{"Barbar", "Player2", ""}));

    TNetMessage start;
    start.Sender = "Server";
    start.Player = "Player1";
    start.Kind = static_cast<uint8_t>(TMessageKind::ChoosePlayer);
    start.Body = TChoosePlayerBody{"Elf", "Player1", "Maps\\Arena.map"};
    peer.Send(EncodeMessage(start));
    ASSERT_TRUE(PumpUntil(peer, [this] { return Game->State == TGameState::Game; }));
    EXPECT_EQ(Game->Player1Char, kElf);
    EXPECT_EQ(Game->MapName, "Maps\\Arena.map");
    EXPECT_EQ(Game->Displays[0]->Player, Game->Players[1]);
}

TEST_F(NetMatch, AConnectNobodyAnswersGoesBackToTheSetupScreen) {
    Game->SetNetMode(2);
    Game->IPText = "127.0.0.1";
    Game->SetState(TGameState::Initialization);
    Game->GameInitialization();
    EXPECT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->Client, nullptr);
}

TEST_F(NetMatch, MovePlayerGoesOutOnlyAfterMoreThanAHundredMilliseconds) {
    TBriskTCPClient peer;
    ServerWithClient(peer);
    BuildMatch(1);
    Game->LastSendTick = Media->Clock.Ticks();
    struct TStep {
        uint32_t AdvanceMs;
        bool Sent;
    };
    for (const TStep& step :
         std::vector<TStep>{{50, false}, {50, false}, {1, true}, {100, false}, {1, true}}) {
        Media->Clock.Advance(step.AdvanceMs);
        Game->NetRefresh();
        const std::optional<TNetMessage> got = step.Sent ? NextAtPeer(peer) : std::nullopt;
        if (!step.Sent) {
            SDL_Delay(20);
            peer.Poll();
            EXPECT_TRUE(Received.empty()) << step.AdvanceMs;
            Received.clear();
            continue;
        }
        ASSERT_TRUE(got.has_value());
        const auto* body = std::get_if<TMovePlayerBody>(&got->Body);
        ASSERT_NE(body, nullptr);
        EXPECT_EQ(body->X, 300);
        EXPECT_EQ(body->Y, 300);
        EXPECT_EQ(body->Health, static_cast<int32_t>(Local().Health()));
        EXPECT_EQ(body->Action, Local().Action());
    }
}

TEST_F(NetMatch, OurStrikesAndTheWoundsWeSeeAreToldToThePeer) {
    TBriskTCPClient peer;
    ServerWithClient(peer);
    BuildMatch(1);
    Local().Strike(*Local().Weapon);
    std::optional<TNetMessage> got = NextAtPeer(peer);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->Body, TMessageBody(TStartThrowBody{Local().PixelX(), Local().PixelY(), Local().Direction(),
                                                      0, Local().Weapon->Name}));
    // The peer's fighter strikes here only as the peer's replay: nothing goes back.
    Media->Clock.Advance(151);
    Remote().Strike(*Remote().Weapon);
    Remote().Hurt(6);
    got = NextAtPeer(peer);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->Body, TMessageBody(THitPlayerBody{6}));
    EXPECT_TRUE(Received.empty());
}

TEST_F(NetMatch, APeerThatLeavesOrFallsSilentIsShownAndItsFighterStands) {
    auto peer = std::make_unique<TBriskTCPClient>();
    ServerWithClient(*peer);
    BuildMatch(1);
    Game->LastHeardTick = Media->Clock.Ticks();
    TMovePlayerBody walking;
    walking.X = walking.Y = 400;
    walking.Action = kActionWalk;
    walking.Direction = 2;
    walking.Health = 20;
    walking.Speed = 100;
    Deliver(FromPeer(TMessageKind::MovePlayer, walking));
    Media->Clock.Advance(10000);
    Game->NetRefresh();
    EXPECT_EQ(Game->PeerStatusLine(), "");
    EXPECT_EQ(Remote().Action(), kActionWalk);
    Media->Clock.Advance(1);
    EXPECT_EQ(Game->PeerStatusLine(), "The opponent is not answering.");
    Game->NetRefresh();
    EXPECT_EQ(Remote().Action(), kActionStand);

    // Heard again, then gone for good.
    Deliver(FromPeer(TMessageKind::MovePlayer, walking));
    EXPECT_EQ(Game->PeerStatusLine(), "");
    peer.reset();
    ASSERT_TRUE(PumpUntil(*Game->Server, [this] { return Game->Server->ClientCount() == 0; }));
    EXPECT_EQ(Game->PeerStatusLine(), "The opponent has left the match.");
    Game->NetRefresh();
    EXPECT_EQ(Remote().Action(), kActionStand);
    // The match screen says so, and Escape still ends it.
    Game->RunFrame(TGameState::Game, Game->GameHooks());
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.keysym.sym = static_cast<SDLKey>(kKeyEscape);
    SDL_PushEvent(&escape);
    Game->RunFrame(TGameState::Game, Game->GameHooks());
    EXPECT_EQ(Game->State, TGameState::Quit);
}

} // namespace
