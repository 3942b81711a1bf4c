// duelmark-relay: a relay between a client game and its server on this machine, to try a
// networked match over a slow or stalling connection. Options:
//   --listen PORT   where the client connects (default 2081)
//   --server PORT   where the server game listens (default 2080)
//   --delay MS      hold every record this long (default 0)
//   --pieces N      send every record in N pieces (default 1)
//   --stall AT:MS   stall for MS, AT ms after the first connection (may be repeated)
//   --drop-after MS drop the connection MS after the first connection
// Lines on standard input act at once: "stall MS", "delay MS", "pieces N", "drop".
// Every 10 seconds and at the end it prints how many bytes per second went each way.
#include "Relay.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t Stop = 0;

uint32_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

struct TTimedStall {
    uint32_t AtMs;
    uint32_t ForMs;
    bool Done = false;
};

void Report(const TRelay& relay, uint32_t since, uint32_t now) {
    const double seconds = (now - since) / 1000.0;
    if (seconds <= 0) return;
    std::printf("relay: %.1f s, to server %.0f B/s, to client %.0f B/s\n", seconds,
                relay.BytesPassed(TRelay::TDirection::ToServer) / seconds,
                relay.BytesPassed(TRelay::TDirection::ToClient) / seconds);
    std::fflush(stdout);
}

void Command(TRelay& relay, const std::string& line) {
    unsigned value = 0;
    char word[16] = {};
    const int read = std::sscanf(line.c_str(), "%15s %u", word, &value);
    if (read >= 1 && std::strcmp(word, "drop") == 0) {
        relay.Drop();
        std::printf("relay: dropped\n");
    } else if (read == 2 && std::strcmp(word, "stall") == 0) {
        relay.Stall(value);
        std::printf("relay: stalling %u ms\n", value);
    } else if (read == 2 && std::strcmp(word, "delay") == 0) {
        relay.SetDelay(value);
        std::printf("relay: delay %u ms\n", value);
    } else if (read == 2 && std::strcmp(word, "pieces") == 0) {
        relay.SetPieces(value);
        std::printf("relay: %u pieces\n", value);
    } else {
        std::printf("relay: commands are stall MS, delay MS, pieces N, drop\n");
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    unsigned listenPort = 2081, serverPort = 2080, delay = 0, pieces = 1;
    long dropAfter = -1;
    std::vector<TTimedStall> stalls;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--listen")
            listenPort = static_cast<unsigned>(std::atoi(value));
        else if (option == "--server")
            serverPort = static_cast<unsigned>(std::atoi(value));
        else if (option == "--delay")
            delay = static_cast<unsigned>(std::atoi(value));
        else if (option == "--pieces")
            pieces = static_cast<unsigned>(std::atoi(value));
        else if (option == "--drop-after")
            dropAfter = std::atol(value);
        else if (option == "--stall") {
            unsigned at = 0, ms = 0;
            if (std::sscanf(value, "%u:%u", &at, &ms) == 2) stalls.push_back({at, ms});
        } else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    TRelay relay(static_cast<uint16_t>(listenPort), static_cast<uint16_t>(serverPort), SteadyMs);
    if (!relay.Listening()) {
        std::fprintf(stderr, "relay: cannot listen on port %u\n", listenPort);
        return 1;
    }
    relay.SetDelay(delay);
    relay.SetPieces(pieces);
    std::signal(SIGINT, [](int) { Stop = 1; });
    std::signal(SIGTERM, [](int) { Stop = 1; });
    std::printf("relay: 127.0.0.1:%u -> 127.0.0.1:%u, delay %u ms, %u pieces\n", listenPort, serverPort,
                delay, pieces);
    std::fflush(stdout);

    bool started = false;
    uint32_t start = 0, lastReport = 0;
    std::string line;
    bool input = true;
    while (Stop == 0) {
        relay.Pump();
        const uint32_t now = SteadyMs();
        if (!started && relay.Connections() > 0) {
            started = true;
            start = lastReport = now;
        }
        if (started) {
            for (TTimedStall& stall : stalls)
                if (!stall.Done && now - start >= stall.AtMs) {
                    relay.Stall(stall.ForMs);
                    stall.Done = true;
                    std::printf("relay: stalling %u ms\n", stall.ForMs);
                    std::fflush(stdout);
                }
            if (dropAfter >= 0 && now - start >= static_cast<uint32_t>(dropAfter)) {
                relay.Drop();
                dropAfter = -1;
                std::printf("relay: dropped\n");
                std::fflush(stdout);
            }
            if (now - lastReport >= 10000) {
                Report(relay, start, now);
                lastReport = now;
            }
        }
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (input && poll(&in, 1, 0) == 1) {
            char chunk[256];
            const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
            if (got <= 0) input = false;
            for (ssize_t i = 0; i < got; ++i) {
                if (chunk[i] != '\n') {
                    line += chunk[i];
                    continue;
                }
                Command(relay, line);
                line.clear();
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (started) Report(relay, start, SteadyMs());
    return 0;
}
