// The connecting end: one socket to the server, read whole records at a time. The library's
// connect waits as long as the system lets it (minutes against an address where nobody
// answers), so the socket is made and connected here without waiting, and each Poll looks
// whether the connection has come about; records then travel as with the library's sockets.
#include "net/BriskNet.h"
#include "net/Descriptor.h"
#include "net/NetHandles.h"
#include "net/RecordAssembler.h"

#include <SDL_net.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

struct TBriskTCPClient::TSockets {
    TDescriptor Socket;
    bool Connecting = false; // the socket exists but the connection is not made yet
    uint32_t StartTick = 0;  // SystemTicks when the attempt began
    int32_t TimeoutMs = 0;
    TRecordAssembler Pending;
};

TBriskTCPClient::TBriskTCPClient() : Sockets(std::make_unique<TSockets>()) {}

TBriskTCPClient::~TBriskTCPClient() {
    Disconnect();
}

void TBriskTCPClient::SetMessageSize(int32_t size) {
    TBriskNetBase::SetMessageSize(size);
    Sockets->Pending.SetRecordSize(size);
}

bool TBriskTCPClient::Connected() const {
    return Sockets->Socket.Valid() && !Sockets->Connecting;
}

bool TBriskTCPClient::Connecting() const {
    return Sockets->Connecting;
}

void TBriskTCPClient::Disconnect() {
    Sockets->Socket.Reset();
    Sockets->Connecting = false;
    Sockets->Pending.SetRecordSize(MessageSize);
}

void TBriskTCPClient::Fail(TConnectFailure failure) {
    Disconnect();
    LastFailure = failure;
    DoError(failure == TConnectFailure::Unresolved ? "Could not Resolve IP Address"
                                                   : "Could not Open Socket");
}

void TBriskTCPClient::Established() {
    const int fd = Sockets->Socket.Get();
    // From here on the socket behaves as the library's do: sends wait until the system has
    // taken the record, and reads happen only when a poll said there is something to read.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    // Records are small and each should leave at once.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    Sockets->Connecting = false;
    Sockets->Pending.SetRecordSize(MessageSize);
}

void TBriskTCPClient::StartConnect(std::string_view host, int32_t port, int32_t timeoutMs) {
    Disconnect();
    LastFailure = TConnectFailure::None;
    Host = host;
    Port = port;
    IPaddress ip{};
    if (port < 0 || port > 65535 || SDLNet_ResolveHost(&ip, Host.c_str(), static_cast<Uint16>(port)) != 0) {
        Fail(TConnectFailure::Unresolved);
        return;
    }
    IP = ToNetAddress(ip);
    AddressText = FormatAddress(IP);
    Sockets->Socket.Reset(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!Sockets->Socket.Valid()) {
        Fail(TConnectFailure::Unreachable);
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ip.host;
    address.sin_port = ip.port;
    if (connect(Sockets->Socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        Established();
        return;
    }
    if (errno != EINPROGRESS) {
        Fail(errno == ECONNREFUSED ? TConnectFailure::Refused : TConnectFailure::Unreachable);
        return;
    }
    Sockets->Connecting = true;
    Sockets->StartTick = SystemTicks();
    Sockets->TimeoutMs = timeoutMs;
}

void TBriskTCPClient::AwaitConnect(int waitMs) {
    pollfd writable{Sockets->Socket.Get(), POLLOUT, 0};
    if (poll(&writable, 1, waitMs) != 1) return;
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(Sockets->Socket.Get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == 0)
        Established();
    else
        Fail(error == ECONNREFUSED ? TConnectFailure::Refused : TConnectFailure::Unreachable);
}

void TBriskTCPClient::Connect(std::string_view host, int32_t port, int32_t timeoutMs) {
    StartConnect(host, port, timeoutMs);
    using TSteady = std::chrono::steady_clock;
    const TSteady::time_point deadline = TSteady::now() + std::chrono::milliseconds(timeoutMs);
    while (Connecting()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TSteady::now()).count();
        if (left <= 0) {
            Fail(TConnectFailure::TimedOut);
            return;
        }
        AwaitConnect(static_cast<int>(left));
    }
}

void TBriskTCPClient::Poll() {
    if (Connecting()) {
        AwaitConnect(0);
        if (Connecting() && SystemTicks() - Sockets->StartTick >= static_cast<uint32_t>(Sockets->TimeoutMs))
            Fail(TConnectFailure::TimedOut);
    }
    if (!Connected()) return;
    pollfd readable{Sockets->Socket.Get(), POLLIN, 0};
    if (poll(&readable, 1, 0) != 1) return;
    uint8_t chunk[kReceiveChunk];
    const ssize_t received = recv(Sockets->Socket.Get(), chunk, sizeof chunk, 0);
    if (received <= 0) {
        // The server is gone; a socket left open would report itself ready on every poll.
        Disconnect();
        return;
    }
    Sockets->Pending.Feed(std::span<const uint8_t>(chunk, static_cast<size_t>(received)),
                          [this](std::span<const uint8_t> record) { HandData(record); });
}

void TBriskTCPClient::Send(std::span<const uint8_t> data) {
    CheckRecordSize(data);
    if (!Connected()) return;
    while (!data.empty()) {
        const ssize_t sent = send(Sockets->Socket.Get(), data.data(), data.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) {
            DoError("Failed to send Data message ");
            return;
        }
        data = data.subspan(static_cast<size_t>(sent));
    }
}
