// A game against a test peer over loopback, the peer speaking the message protocol through
// its own endpoint: the handshake from both ends, the periodic state message and its timing,
// strikes and hits told to the peer, a failed connect, and a peer that leaves or falls silent.
#include "NetTestGame.h"
#include "media/BriskDraws.h"
#include "media/BriskText.h"
#include "media/SurfaceUtils.h"
#include "net/Loopback.h"
#include "support/TestFiles.h"
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
    const auto& choice = std::get<TChoosePlayerBody>(start->Body);
    EXPECT_EQ(choice.CharacterName, "Elf");
    EXPECT_EQ(choice.PlayerName, "Player1");
    EXPECT_EQ(choice.MapName, "Maps\\Arena.map");
    // The check of the files goes along; a client without it (this one) is not waited for.
    ASSERT_TRUE(choice.Handshake.has_value());
    EXPECT_EQ(choice.Handshake->Step, THandshakeStep::Start);
    EXPECT_EQ(choice.Handshake->MapPath, "Maps\\Arena.map");
    EXPECT_TRUE(choice.Handshake->MapPresent);
    EXPECT_TRUE(choice.Handshake->CharacterPresent);
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
    const auto& choice = std::get<TChoosePlayerBody>(hello->Body);
    EXPECT_EQ(choice.CharacterName, "Barbar");
    EXPECT_EQ(choice.PlayerName, "Player2");
    EXPECT_EQ(choice.MapName, "");
    ASSERT_TRUE(choice.Handshake.has_value());
    EXPECT_EQ(choice.Handshake->Step, THandshakeStep::Announce);
    EXPECT_TRUE(choice.Handshake->CharacterPresent);

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
    // A server that sends no check of the files expects no answer to its match.
    for (int turn = 0; turn < 20; ++turn) {
        Game->Messaging();
        peer.Poll();
    }
    EXPECT_TRUE(Received.empty());
}

TEST_F(NetMatch, AConnectNobodyAnswersGoesBackToTheSetupScreenSayingSo) {
    Game->SetNetMode(2);
    Game->IPText = "127.0.0.1";
    Game->SetState(TGameState::Initialization);
    Game->GameInitialization();
    for (int turn = 0; turn < 100 && Game->State != TGameState::Setup; ++turn)
        Game->Messaging();
    EXPECT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->Client, nullptr);
    EXPECT_EQ(Game->SetupNotice, "Nobody is serving a game at 127.0.0.1.");
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

// The one who stays gets the end screen without a winner, and the log says why; a peer that
// falls quiet for a while is shown first.
TEST_F(NetMatch, APeerThatFallsSilentOrLeavesEndsTheMatchWithoutAWinner) {
    auto peer = std::make_unique<TBriskTCPClient>();
    ServerWithClient(*peer);
    BuildMatch(1);
    const auto frame = [this] { Game->RunFrame(TGameState::Game, Game->GameHooks()); };
    Game->LastHeardTick = Media->Clock.Ticks();
    Media->Clock.Advance(2000);
    EXPECT_EQ(Game->PeerStatusLine(), "");
    Media->Clock.Advance(1);
    EXPECT_EQ(Game->PeerStatusLine(), "The opponent is not answering.");
    Media->Clock.Advance(10000 - 2001);
    frame();
    EXPECT_EQ(Game->State, TGameState::Game);
    Media->Clock.Advance(1);
    frame();
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(Game->MatchResult, TMatchResult::OpponentLeft);
    EXPECT_EQ(LogLinesWith("MSG : Match over: the opponent left IN : GameProcess"), 1u);

    // Heard again in a new match, then gone for good.
    BuildMatch(1);
    frame();
    EXPECT_EQ(Game->State, TGameState::Game);
    peer.reset();
    ASSERT_TRUE(PumpUntil(*Game->Server, [this] { return Game->Server->ClientCount() == 0; }));
    frame();
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(Game->MatchResult, TMatchResult::OpponentLeft);
    EXPECT_EQ(LogLinesWith("MSG : Match over: the opponent left IN : GameProcess"), 2u);
    Game->RenderEndGame();
}

// A peer whose fighter's death has reached us leaves a decided match: its end stands.
TEST_F(NetMatch, APeerThatLeavesAfterItsFighterDiedLeavesTheWinnerStanding) {
    auto peer = std::make_unique<TBriskTCPClient>();
    ServerWithClient(*peer);
    BuildMatch(1);
    TMovePlayerBody dead;
    dead.X = dead.Y = 400;
    dead.Action = kActionDie;
    dead.Direction = 4;
    dead.MaxFrame = 7;
    Deliver(FromPeer(TMessageKind::MovePlayer, dead));
    peer.reset();
    ASSERT_TRUE(PumpUntil(*Game->Server, [this] { return Game->Server->ClientCount() == 0; }));
    Game->RunFrame(TGameState::Game, Game->GameHooks());
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(Game->MatchResult, TMatchResult::Player1Wins);
    EXPECT_EQ(LogLinesWith("MSG : Match over: Player 1 wins IN : GameProcess"), 1u);
}

} // namespace

namespace {

// What our fighter takes goes to the peer at once, named by the item's id in the body and the
// text; the peer's fighter takes nothing here.
TEST_F(NetMatch, TheItemsOurFighterTakesAreToldToThePeer) {
    std::ofstream(Media->Folder() / "maps" / "Boots.map", std::ios::binary)
        << "[Map]\r\nStartY0=300\r\nStartX0=300\r\nStartY1=500\r\nStartX1=300\r\n"
           "[Objects]\r\nObjectCount=1\r\nObject0=Red,Boot\r\nObjectX0=332\r\nObjectY0=346\r\n";
    TBriskTCPClient peer;
    ServerWithClient(peer);
    Game->SetNetMode(1);
    Game->Player1Char = kElf;
    Game->Player2Char = kKnight;
    Game->MapName = "Maps\\Boots.map";
    Game->StartMatch();
    Game->LastSendTick = Media->Clock.Ticks();
    // The boots lie on our fighter's square: its first step takes them.
    SetKeyState(275, true);
    Game->Map->Update();
    Media->Clock.Advance(20);
    Game->Map->Update();
    ClearKeyState();
    ASSERT_NE(Local().BootItem, nullptr);
    const std::optional<TNetMessage> got = NextAtPeer(peer);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->Kind, 7);
    EXPECT_EQ(got->Text, std::to_string(kFirstMapItemId));
    const auto* body = std::get_if<TItemStateBody>(&got->Body);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->ItemId, kFirstMapItemId);
    EXPECT_EQ(body->Fighter.X, 300) << "where it stood as it took them";
}

// A match ends on each machine only on its owner's word about the fighter that died: ours
// once the peer has been told, the peer's when the health its owner sent is gone.
TEST_F(NetMatch, AMatchEndsOnlyOnTheOwnersWordAboutTheFighterThatDied) {
    TBriskTCPClient peer;
    ServerWithClient(peer);
    BuildMatch(1);
    const auto frame = [this] { Game->RunFrame(TGameState::Game, Game->GameHooks()); };
    const auto playOut = [&](int frames) {
        for (int i = 0; i < frames && Game->State == TGameState::Game; ++i) {
            Media->Clock.Advance(20);
            Game->LastHeardTick = Media->Clock.Ticks();
            frame();
        }
    };
    // The peer's fighter shows the dying action with health left: nobody's death.
    TMovePlayerBody body;
    body.X = body.Y = 500;
    body.Action = kActionDie;
    body.Health = 30;
    body.MaxFrame = 7;
    Deliver(FromPeer(TMessageKind::MovePlayer, body));
    Remote().SetFrame(Remote().MaxFrame());
    playOut(3);
    EXPECT_EQ(Game->State, TGameState::Game);
    // Its owner says its health is gone: once its dying has played out, player 1 has won.
    body.Health = 0;
    Deliver(FromPeer(TMessageKind::MovePlayer, body));
    playOut(100);
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(Game->MatchResult, TMatchResult::Player1Wins);

    // Ours dies: the match ends here only after a Move Player has told the peer so.
    BuildMatch(1);
    Game->LastSendTick = Media->Clock.Ticks();
    Local().SetHealth(0);
    Local().SetAction(kActionDie);
    Local().SetFrame(Local().MaxFrame());
    Game->Net.LocalDeathSent = false;
    Media->Clock.Advance(50);
    frame();
    EXPECT_EQ(Game->State, TGameState::Game) << "the peer has not heard yet";
    playOut(100);
    EXPECT_EQ(Game->State, TGameState::End);
    EXPECT_EQ(Game->MatchResult, TMatchResult::Player2Wins);
    EXPECT_EQ(LogLinesWith("MSG : Match over: Player 1 wins IN : GameProcess"), 1u);
    EXPECT_EQ(LogLinesWith("MSG : Match over: Player 2 wins IN : GameProcess"), 1u);
}

} // namespace

namespace {

// The screen's pixels in a band where one line of text is drawn.
std::vector<uint32_t> Band(int32_t x, int32_t y) {
    std::vector<uint32_t> pixels;
    for (int32_t row = y; row < y + 20; ++row)
        // The rounds choice sits right of 470 on the same rows.
        for (int32_t column = x; column < x + 420 && column < 470; ++column)
            pixels.push_back(ReadColor(Screen->Surface, column, row));
    return pixels;
}

class NetConnect : public NetMatch {
protected:
    // The band as the setup screen drew it, and as it looks with just that text on the background.
    bool SetupShows(int32_t x, int32_t y, const std::string& text) {
        Game->RenderGameSetup();
        const std::vector<uint32_t> shown = Band(x, y);
        Game->DrawMenuBackground();
        FontList->Items(kFontSmall).TextOut(x, y, text);
        return shown == Band(x, y);
    }
    void ConnectTo(uint16_t port) {
        Game->NetPort = port;
        Game->SetNetMode(2);
        Game->IPText = "127.0.0.1";
        Game->Player2Char = kKnight;
        Game->SetState(TGameState::Initialization);
        Game->GameInitialization();
    }
    // A server whose queue is full: nobody ever answers a connect.
    nettest::TRawListener Silent{0};
    nettest::TRawSocket Filler = nettest::TRawSocket::Connect(Silent.Port);
};

// The window keeps drawing and answering while the connection is being made; nothing waits.
TEST_F(NetConnect, ConnectingShowsTheAddressAndCancelAndEscapeAnswer) {
    ASSERT_TRUE(Filler.Valid());
    ConnectTo(Silent.Port);
    ASSERT_EQ(Game->State, TGameState::WaitForServer);
    ASSERT_NE(Game->Client, nullptr);
    EXPECT_TRUE(Game->Client->Connecting());
    Game->RunFrame(TGameState::WaitForServer, Game->SetupHooks());
    EXPECT_TRUE(SetupShows(120, 390, "Connecting to 127.0.0.1 ..."));
    EXPECT_FALSE(SetupShows(120, 390, "Waiting for the Server to Start the Game."));
    // CANCEL gives the attempt up.
    PushMouseUp(300, 450);
    Game->RunFrame(TGameState::WaitForServer, Game->SetupHooks());
    EXPECT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->Client, nullptr);
    // Escape quits while connecting.
    ConnectTo(Silent.Port);
    PushKeyDown(kKeyEscape);
    Game->RunFrame(TGameState::WaitForServer, Game->SetupHooks());
    EXPECT_EQ(Game->State, TGameState::Quit);
}

TEST_F(NetConnect, AnAttemptNobodyAnswersEndsAfterFiveSecondsSayingSo) {
    ASSERT_TRUE(Filler.Valid());
    ConnectTo(Silent.Port);
    Media->Clock.Advance(4999);
    Game->RunFrame(TGameState::WaitForServer, Game->SetupHooks());
    EXPECT_EQ(Game->State, TGameState::WaitForServer);
    Media->Clock.Advance(1);
    Game->RunFrame(TGameState::WaitForServer, Game->SetupHooks());
    EXPECT_EQ(Game->State, TGameState::Setup);
    EXPECT_EQ(Game->Client, nullptr);
    EXPECT_EQ(Game->SetupNotice, "No answer from 127.0.0.1 within 5 seconds.");
    EXPECT_TRUE(SetupShows(20, 235, "No answer from 127.0.0.1 within 5 seconds."));
}

TEST_F(NetConnect, AServerThatCannotListenSaysSoInsteadOfWaiting) {
    TBriskTCPServer holder(kTestPort);
    ASSERT_TRUE(holder.Listening());
    Game->SetState(TGameState::Setup);
    PushMouseUp(150, 175);
    Game->RunFrame(TGameState::Setup, Game->SetupHooks());
    EXPECT_EQ(Game->NetMode, 1);
    EXPECT_EQ(Game->Server, nullptr);
    EXPECT_EQ(Game->SetupNotice, "Could not listen on port 23080: is another game serving on it?");
    EXPECT_TRUE(SetupShows(20, 235, Game->SetupNotice));
    EXPECT_TRUE(SetupShows(180, 390, "")) << "not waiting for anybody";
}

} // namespace
