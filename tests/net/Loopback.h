// Raw loopback sockets for the transport tests: a peer that sends exactly the pieces a test
// asks for, and a listener that accepts (or refuses to). Everything waits a bounded time.
#pragma once

#include "net/BriskNet.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <span>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace nettest {

class TRawSocket {
public:
    explicit TRawSocket(int fd = -1) : Fd(fd) {}
    ~TRawSocket() { Close(); }
    TRawSocket(TRawSocket&& other) noexcept : Fd(other.Fd) { other.Fd = -1; }
    TRawSocket& operator=(TRawSocket&&) = delete;

    // Connects to 127.0.0.1:port; Valid() tells whether it worked.
    static TRawSocket Connect(uint16_t port) {
        TRawSocket socket(::socket(AF_INET, SOCK_STREAM, 0));
        sockaddr_in address = Loopback(port);
        if (connect(socket.Fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) socket.Close();
        const int on = 1;
        if (socket.Valid()) setsockopt(socket.Fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return socket;
    }
    static sockaddr_in Loopback(uint16_t port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        return address;
    }

    [[nodiscard]] bool Valid() const { return Fd >= 0; }
    [[nodiscard]] int Get() const { return Fd; }
    void Close() {
        if (Fd >= 0) close(Fd);
        Fd = -1;
    }
    void Send(std::span<const uint8_t> bytes) const {
        while (!bytes.empty()) {
            const ssize_t sent = send(Fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) return;
            bytes = bytes.subspan(static_cast<size_t>(sent));
        }
    }
    // Everything that arrives within waitMs.
    [[nodiscard]] std::vector<uint8_t> Receive(int waitMs) const {
        std::vector<uint8_t> bytes;
        pollfd ready{Fd, POLLIN, 0};
        while (poll(&ready, 1, waitMs) == 1) {
            uint8_t chunk[1024];
            const ssize_t got = recv(Fd, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            bytes.insert(bytes.end(), chunk, chunk + got);
            waitMs = 20;
        }
        return bytes;
    }

private:
    int Fd;
};

// Listens on 127.0.0.1 on a port the system picks.
class TRawListener {
public:
    explicit TRawListener(int backlog = 4) : Socket(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address = TRawSocket::Loopback(0);
        bind(Socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(Socket.Get(), backlog);
        socklen_t length = sizeof address;
        getsockname(Socket.Get(), reinterpret_cast<sockaddr*>(&address), &length);
        Port = ntohs(address.sin_port);
    }
    [[nodiscard]] TRawSocket Accept(int waitMs = 2000) const {
        pollfd ready{Socket.Get(), POLLIN, 0};
        if (poll(&ready, 1, waitMs) != 1) return TRawSocket();
        TRawSocket accepted(accept(Socket.Get(), nullptr, nullptr));
        const int on = 1;
        setsockopt(accepted.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return accepted;
    }
    void Close() { Socket.Close(); }
    uint16_t Port = 0;

private:
    TRawSocket Socket;
};

// Calls poll until done() holds, at most about two seconds.
template <class TPoll, class TDone> bool PollUntil(TPoll poll, TDone done) {
    for (int i = 0; i < 400; ++i) {
        poll();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Polls for a while without expecting anything, so that anything wrongly sent shows up.
template <class TPoll> void PollAWhile(TPoll poll) {
    for (int i = 0; i < 20; ++i) {
        poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A server on a free port other than the game's, so tests never meet a running game.
inline std::unique_ptr<TBriskTCPServer> OpenTestServer(uint16_t& port) {
    const uint16_t base = static_cast<uint16_t>(21000 + (getpid() % 2000) * 7);
    for (uint16_t attempt = 0; attempt < 200; ++attempt) {
        port = static_cast<uint16_t>(base + attempt);
        auto server = std::make_unique<TBriskTCPServer>(port);
        if (server->Listening()) return server;
    }
    return nullptr;
}

inline std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(seed + i * 7);
    return bytes;
}

} // namespace nettest
