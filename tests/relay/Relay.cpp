// The relay's sockets: non-blocking reads, queues of due pieces, blocking writes (records are
// small and the games read every frame).
#include "Relay.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// Pieces must leave as separate segments for the receiver to see them apart.
void NoDelay(int fd) {
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool Readable(int fd) {
    pollfd ready{fd, POLLIN, 0};
    return poll(&ready, 1, 0) == 1;
}

// Signed difference: a due time just past the clock's wrap still counts as later.
bool Reached(uint32_t now, uint32_t due) {
    return static_cast<int32_t>(now - due) >= 0;
}

} // namespace

TRelay::TRelay(uint16_t listenPort, uint16_t serverPort, TTicks now, size_t recordSize)
    : Now(std::move(now)), RecordSize(recordSize), ServerPort(serverPort) {
    Listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(Listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = Loopback(listenPort);
    if (bind(Listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(Listener, 4) != 0) {
        close(Listener);
        Listener = -1;
        return;
    }
    socklen_t length = sizeof address;
    getsockname(Listener, reinterpret_cast<sockaddr*>(&address), &length);
    ListenPort = ntohs(address.sin_port);
}

TRelay::~TRelay() {
    Drop();
    if (Listener >= 0) close(Listener);
}

bool TRelay::Listening() const {
    return Listener >= 0;
}

void TRelay::Stall(uint32_t ms) {
    StallUntil = Now() + ms;
    Stalled = true;
}

void TRelay::Close(TLink& link) {
    if (link.Client >= 0) close(link.Client);
    if (link.Server >= 0) close(link.Server);
    link.Client = link.Server = -1;
}

void TRelay::Drop() {
    for (const auto& link : Links)
        Close(*link);
    Links.clear();
}

void TRelay::Accept() {
    if (Listener < 0 || !Readable(Listener)) return;
    const int client = accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(ServerPort);
    if (server < 0 || connect(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        // Nobody serves behind the relay: the client sees its connection closed.
        if (server >= 0) close(server);
        close(client);
        return;
    }
    NoDelay(client);
    NoDelay(server);
    auto link = std::make_unique<TLink>();
    link->Client = client;
    link->Server = server;
    link->Up.From = link->Down.To = client;
    link->Up.To = link->Down.From = server;
    Links.push_back(std::move(link));
}

void TRelay::Read(TWay& way) {
    while (!way.Closed && Readable(way.From)) {
        uint8_t chunk[4096];
        const ssize_t got = recv(way.From, chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            way.Closed = true;
            return;
        }
        way.Partial.insert(way.Partial.end(), chunk, chunk + got);
        const uint32_t due = Now() + DelayMs;
        while (way.Partial.size() >= RecordSize) {
            // Pieces as even as the record allows, the first ones one byte longer.
            size_t at = 0;
            for (uint32_t piece = 0; piece < Pieces; ++piece) {
                const size_t length = RecordSize / Pieces + (piece < RecordSize % Pieces ? 1 : 0);
                if (length == 0) continue;
                way.Queue.push_back(TPiece{
                    due,
                    std::vector<uint8_t>(way.Partial.begin() + static_cast<std::ptrdiff_t>(at),
                                         way.Partial.begin() + static_cast<std::ptrdiff_t>(at + length))});
                at += length;
            }
            way.Partial.erase(way.Partial.begin(),
                              way.Partial.begin() + static_cast<std::ptrdiff_t>(RecordSize));
        }
    }
}

uint64_t TRelay::Send(TWay& way, uint32_t now) {
    uint64_t sent = 0;
    while (!way.Queue.empty() && Reached(now, way.Queue.front().Due)) {
        const std::vector<uint8_t>& bytes = way.Queue.front().Bytes;
        size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t wrote = send(way.To, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (wrote < 0 && errno == EINTR) continue;
            if (wrote <= 0) {
                way.Queue.clear();
                way.Closed = true;
                return sent;
            }
            at += static_cast<size_t>(wrote);
        }
        sent += bytes.size();
        way.Queue.pop_front();
        // Cut records go one piece per pump, so the receiver reads them apart.
        if (Pieces > 1) break;
    }
    return sent;
}

void TRelay::Pump() {
    Accept();
    const uint32_t now = Now();
    if (Stalled && Reached(now, StallUntil)) Stalled = false;
    for (size_t i = 0; i < Links.size();) {
        TLink& link = *Links[i];
        Read(link.Up);
        Read(link.Down);
        if (!Stalled) {
            PassedToServer += Send(link.Up, now);
            PassedToClient += Send(link.Down, now);
        }
        const bool upDone = link.Up.Closed && link.Up.Queue.empty();
        const bool downDone = link.Down.Closed && link.Down.Queue.empty();
        if (upDone || downDone) {
            Close(link);
            Links.erase(Links.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}
