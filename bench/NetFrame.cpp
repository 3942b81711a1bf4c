// The network work of one networked match frame on the server: Messaging (accept, receive,
// apply the peer's Move Player and Item State) and NetRefresh (our fighter's state every
// 100 ms), with the clock stepped 20 ms per frame and a loopback peer that sends its state
// every fifth frame. With item traffic, each side's fighter takes one of the map's items every
// second (the match is built anew, untimed, when they are gone). Also counts the bytes each
// side sends per second of game time.
#include "app/GameUnit.h"
#include "bench/BenchGameFolder.h"
#include "media/BriskLibrary.h"
#include "net/BriskNet.h"
#include "net/NetLibrary.h"
#include "net/NetworkUnit.h"
#include "platform/Clock.h"
#include "world/Map.h"
#include "world/Players.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFrameMs = 20;
constexpr uint16_t kBenchPort = 23081;
// A Move Player from the peer every fifth frame (100 ms); an item taken by each side every
// fiftieth (one second).
constexpr int64_t kPeerMoveFrames = 5;
constexpr int64_t kItemFrames = 50;

class TNetBench {
public:
    TNetBench() : Setting("duelmark_bench_net") {
        Network = std::make_unique<TNetLibrary>();
        Game = std::make_unique<TBriskGame>();
        Game->NetPort = kBenchPort;
        Game->EnterSetup();
        Game->SetNetMode(1);
        Game->StartServer();
        Peer.SetMessageSize(kNetMessageSize);
        Peer.Connect("127.0.0.1", kBenchPort);
        for (int turn = 0; turn < 100 && Game->Server->ClientCount() == 0; ++turn) {
            Game->Messaging();
            SDL_Delay(5);
        }
        Game->MapNames = {"Default"};
        Game->MapIndex = 0;
        Game->Player2Char = 2;
        Game->State = TGameState::Initialization;
        Game->GameInitialization();
        Move.Sender = "Client";
        Move.Kind = static_cast<uint8_t>(TMessageKind::MovePlayer);
        TMovePlayerBody body;
        body.X = 400;
        body.Y = 600;
        body.Health = 50;
        body.Action = kActionStand;
        body.Direction = 4;
        Move.Body = body;
    }
    ~TNetBench() {
        Game.reset();
        Network.reset();
    }

    TBenchGameFolder Setting;
    std::unique_ptr<TNetLibrary> Network;
    std::unique_ptr<TBriskGame> Game;
    TBriskTCPClient Peer;
    // The map's pickups, for the peer and us to take in turn.
    std::vector<int32_t> PickUpIds() const {
        std::vector<int32_t> ids;
        for (const auto& item : Game->Map->Items())
            if (item->Id() >= kFirstMapItemId) ids.push_back(item->Id());
        return ids;
    }

    TNetMessage Move;
    int64_t SentRecords = 0;
};

TNetBench& Bench() {
    static TNetBench bench;
    return bench;
}

void BM_MessagingAndNetRefresh(benchmark::State& state) {
    TNetBench& bench = Bench();
    const bool items = state.range(0) != 0;
    int64_t frames = 0;
    int64_t peerRecords = 0;
    bench.Peer.SetOnData([&bench](TBriskNetBase&, std::span<const uint8_t>) { ++bench.SentRecords; });
    bench.SentRecords = 0;
    std::vector<int32_t> ids;
    bool peersTurn = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (frames % kPeerMoveFrames == 0) {
            bench.Peer.Send(EncodeMessage(bench.Move));
            ++peerRecords;
        }
        const bool itemFrame = items && frames % kItemFrames == 0;
        if (itemFrame && ids.empty()) {
            bench.Game->StartMatch();
            ids = bench.PickUpIds();
        }
        int32_t id = 0;
        if (itemFrame) {
            id = ids.back();
            ids.pop_back();
            if (peersTurn) {
                TNetMessage taken;
                taken.Sender = "Client";
                taken.Text = std::to_string(id);
                taken.Kind = static_cast<uint8_t>(TMessageKind::ItemState);
                taken.Body = TItemStateBody{id, {}};
                bench.Peer.Send(EncodeMessage(taken));
                ++peerRecords;
            }
        }
        bench.Peer.Poll();
        bench.Setting.Clock.Advance(kFrameMs);
        state.ResumeTiming();
        bench.Game->Messaging();
        // Our fighter's turn: it takes the item here and the peer is told.
        if (itemFrame && !peersTurn) bench.Game->SendItemState(*bench.Game->Players[0], id);
        bench.Game->NetRefresh();
        if (itemFrame) peersTurn = !peersTurn;
        ++frames;
    }
    bench.Peer.Poll();
    const double gameSeconds = static_cast<double>(frames) * kFrameMs / 1000.0;
    state.counters["server_bytes_per_game_s"] =
        static_cast<double>(bench.SentRecords * kNetMessageSize) / gameSeconds;
    state.counters["client_bytes_per_game_s"] =
        static_cast<double>(peerRecords * kNetMessageSize) / gameSeconds;
}
BENCHMARK(BM_MessagingAndNetRefresh)->Arg(0)->Arg(1)->ArgName("items")->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
