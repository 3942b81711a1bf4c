// The network work of one networked match frame on the server: Messaging (accept, receive,
// apply the peer's Move Player) and NetRefresh (our fighter's state every 100 ms), with the
// clock stepped 20 ms per frame and a loopback peer that sends its state every fifth frame.
// Also counts the bytes the server sends per second of game time.
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

namespace {


constexpr uint32_t kFrameMs = 20;
constexpr uint16_t kBenchPort = 23081;

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
    TNetMessage Move;
    int64_t SentRecords = 0;
};

TNetBench& Bench() {
    static TNetBench bench;
    return bench;
}

void BM_MessagingAndNetRefresh(benchmark::State& state) {
    TNetBench& bench = Bench();
    int64_t frames = 0;
    bench.Peer.SetOnData([&bench](TBriskNetBase&, std::span<const uint8_t>) { ++bench.SentRecords; });
    bench.SentRecords = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (frames % 5 == 0) bench.Peer.Send(EncodeMessage(bench.Move));
        bench.Peer.Poll();
        bench.Setting.Clock.Advance(kFrameMs);
        state.ResumeTiming();
        bench.Game->Messaging();
        bench.Game->NetRefresh();
        ++frames;
    }
    bench.Peer.Poll();
    const double gameSeconds = static_cast<double>(frames) * kFrameMs / 1000.0;
    state.counters["server_bytes_per_game_s"] =
        static_cast<double>(bench.SentRecords * kNetMessageSize) / gameSeconds;
}
BENCHMARK(BM_MessagingAndNetRefresh)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
