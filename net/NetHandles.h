// Owning handles for the network library's sockets and socket sets; for the transport's own
// source files only, as it brings in the library's header.
#pragma once

#include "net/BriskNet.h"

#include <SDL_net.h>
#include <memory>

struct TTcpSocketClose {
    void operator()(_TCPsocket* socket) const { SDLNet_TCP_Close(socket); }
};
using TTcpSocket = std::unique_ptr<_TCPsocket, TTcpSocketClose>;

struct TSocketSetFree {
    void operator()(_SDLNet_SocketSet* set) const { SDLNet_FreeSocketSet(set); }
};
using TSocketSet = std::unique_ptr<_SDLNet_SocketSet, TSocketSetFree>;

inline TNetAddress ToNetAddress(const IPaddress& ip) {
    return TNetAddress{ip.host, ip.port};
}

// One read from a ready socket takes at most this much; what is left waits for the next poll.
constexpr int kReceiveChunk = 4096;
