// The connecting end: one socket to the server, read whole records at a time.
#include "net/BriskNet.h"
#include "net/ConnectProbe.h"
#include "net/NetHandles.h"
#include "net/RecordAssembler.h"

#include <SDL_net.h>

struct TBriskTCPClient::TSockets {
    TTcpSocket Socket;
    TSocketSet Set;
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
    return Sockets->Socket != nullptr;
}

void TBriskTCPClient::Disconnect() {
    Sockets->Set.reset();
    Sockets->Socket.reset();
    Sockets->Pending.SetRecordSize(MessageSize);
}

void TBriskTCPClient::Connect(std::string_view host, int32_t port, int32_t timeoutMs) {
    Disconnect();
    Host = host;
    Port = port;
    IPaddress ip{};
    if (port < 0 || port > 65535 || SDLNet_ResolveHost(&ip, Host.c_str(), static_cast<Uint16>(port)) != 0) {
        DoError("Could not Resolve IP Address");
        return;
    }
    IP = ToNetAddress(ip);
    AddressText = FormatAddress(IP);
    // The library's connect would wait minutes on a silent address; ask first, briefly.
    if (!PeerAnswers(ip.host, ip.port, timeoutMs)) {
        DoError("Could not Open Socket");
        return;
    }
    Sockets->Socket.reset(SDLNet_TCP_Open(&ip));
    if (!Sockets->Socket) {
        DoError("Could not Open Socket");
        return;
    }
    Sockets->Set.reset(SDLNet_AllocSocketSet(1));
    if (!Sockets->Set) {
        Disconnect();
        DoError("Could not Open Socket");
        return;
    }
    SDLNet_TCP_AddSocket(Sockets->Set.get(), Sockets->Socket.get());
}

void TBriskTCPClient::Poll() {
    if (!Connected()) return;
    if (SDLNet_CheckSockets(Sockets->Set.get(), 0) != 1 || !SDLNet_SocketReady(Sockets->Socket.get())) return;
    uint8_t chunk[kReceiveChunk];
    const int received = SDLNet_TCP_Recv(Sockets->Socket.get(), chunk, sizeof chunk);
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
    if (SDLNet_TCP_Send(Sockets->Socket.get(), data.data(), static_cast<int>(data.size())) != MessageSize)
        DoError("Failed to send Data message ");
}
