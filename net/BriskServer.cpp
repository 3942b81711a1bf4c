// The listening end: accepts clients, hands on their records and relays them to the others.
#include "net/BriskNet.h"
#include "net/NetHandles.h"
#include "net/RecordAssembler.h"

#include <SDL_net.h>
#include <string>
#include <vector>

struct TBriskTCPServer::TSockets {
    struct TClient {
        TTcpSocket Socket;
        TRecordAssembler Pending;
        std::string Address; // kept from the accept: a closed socket may no longer tell it
    };
    TTcpSocket Listen;
    TSocketSet Set;
    std::vector<TClient> Clients; // in the order they were added to Set, after Listen
};

TBriskTCPServer::TBriskTCPServer(uint16_t port) : Sockets(std::make_unique<TSockets>()) {
    IPaddress ip{};
    if (SDLNet_ResolveHost(&ip, nullptr, port) != 0) return;
    IP = ToNetAddress(ip);
    AddressText = FormatAddress(IP);
    if (const char* name = SDLNet_ResolveIP(&ip)) HostName = name;
    Sockets->Listen.reset(SDLNet_TCP_Open(&ip));
    if (!Sockets->Listen) return;
    Sockets->Set.reset(SDLNet_AllocSocketSet(kSocketSetSize));
    if (Sockets->Set) SDLNet_TCP_AddSocket(Sockets->Set.get(), Sockets->Listen.get());
}

// Clients close before the set goes, the listening socket last.
TBriskTCPServer::~TBriskTCPServer() {
    Sockets->Clients.clear();
    Sockets->Set.reset();
}

void TBriskTCPServer::SetMessageSize(int32_t size) {
    TBriskNetBase::SetMessageSize(size);
    for (TSockets::TClient& client : Sockets->Clients)
        client.Pending.SetRecordSize(size);
}

bool TBriskTCPServer::Listening() const {
    return Sockets->Set != nullptr;
}

int32_t TBriskTCPServer::ClientCount() const {
    return static_cast<int32_t>(Sockets->Clients.size());
}

void TBriskTCPServer::Poll() {
    if (!Sockets->Set || SDLNet_CheckSockets(Sockets->Set.get(), 0) <= 0) return;
    std::vector<TSockets::TClient>& clients = Sockets->Clients;

    if (SDLNet_SocketReady(Sockets->Listen.get()) && clients.size() + 1 < kSocketSetSize) {
        if (TTcpSocket accepted{SDLNet_TCP_Accept(Sockets->Listen.get())}) {
            const IPaddress* peer = SDLNet_TCP_GetPeerAddress(accepted.get());
            TSockets::TClient client{std::move(accepted), {}, peer ? FormatAddress(ToNetAddress(*peer)) : ""};
            client.Pending.SetRecordSize(MessageSize);
            SDLNet_TCP_AddSocket(Sockets->Set.get(), client.Socket.get());
            clients.push_back(std::move(client));
            DoError("New Client " + clients.back().Address);
        }
    }

    for (size_t i = 0; i < clients.size(); ++i) {
        if (!SDLNet_SocketReady(clients[i].Socket.get())) continue;
        uint8_t chunk[kReceiveChunk];
        const int received = SDLNet_TCP_Recv(clients[i].Socket.get(), chunk, sizeof chunk);
        if (received <= 0) {
            // Closed in order (0) or broken (-1): either way the client is gone. The rest
            // wait for the next poll, as the list has just changed under us.
            const std::string address = clients[i].Address;
            SDLNet_TCP_DelSocket(Sockets->Set.get(), clients[i].Socket.get());
            clients.erase(clients.begin() + static_cast<std::ptrdiff_t>(i));
            DoError("Client Closed " + address);
            return;
        }
        clients[i].Pending.Feed(std::span<const uint8_t>(chunk, static_cast<size_t>(received)),
                                [&](std::span<const uint8_t> record) {
                                    HandData(record);
                                    for (size_t j = 0; j < clients.size(); ++j)
                                        if (j != i)
                                            SDLNet_TCP_Send(clients[j].Socket.get(), record.data(),
                                                            static_cast<int>(record.size()));
                                });
    }
}

void TBriskTCPServer::Send(std::span<const uint8_t> data) {
    CheckRecordSize(data);
    for (TSockets::TClient& client : Sockets->Clients)
        SDLNet_TCP_Send(client.Socket.get(), data.data(), static_cast<int>(data.size()));
}
