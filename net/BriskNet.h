// The TCP transport between two games: a server that accepts clients and relays what one
// sends to the others, and a client that connects to it. Messages are records of one fixed
// size whose meaning belongs to the transport's user. Everything is polled without waiting,
// on the main thread. The millisecond tick comes along for the transport's users.
#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

// An IPv4 address as the network library keeps it: host and port in network byte order.
struct TNetAddress {
    uint32_t Host = 0;
    uint16_t Port = 0;
};

// The game's port; servers listen on it on every local address.
constexpr uint16_t kGamePort = 2080;
// Clients wait at most this long for a server to answer.
constexpr int32_t kConnectTimeoutMs = 5000;

// The host as "%d.%d.%d.%d", the byte first in network order first.
[[nodiscard]] std::string FormatAddress(const TNetAddress& ip);
// Whether typed text is an IPv4 address: blanks around it are ignored, then four pieces
// separated by "." must each be a decimal number from 0 to 255; anything after the fourth
// piece's "." is not looked at.
[[nodiscard]] bool IsDottedQuad(std::string_view text);

class TBriskNetBase {
public:
    // A received record of MessageSize bytes, valid during the call only. A handler must not
    // destroy the endpoint that calls it.
    using TDataHandler = std::function<void(TBriskNetBase& sender, std::span<const uint8_t> data)>;
    using TErrorHandler = std::function<void(TBriskNetBase& sender, std::string_view message)>;

    TBriskNetBase() = default;
    virtual ~TBriskNetBase() = default;
    TBriskNetBase(const TBriskNetBase&) = delete;
    TBriskNetBase& operator=(const TBriskNetBase&) = delete;

    virtual void SetMessageSize(int32_t size) { MessageSize = size; }
    void SetOnData(TDataHandler handler) { OnData = std::move(handler); }
    void SetOnError(TErrorHandler handler) { OnError = std::move(handler); }

    // Errors and connection notices go to OnError, when there is one.
    virtual void DoError(std::string_view message);
    // Sends one record; data must hold exactly MessageSize bytes (std::invalid_argument).
    virtual void Send(std::span<const uint8_t> data) = 0;

    TNetAddress IP;
    int32_t MessageSize = 0;
    std::string AddressText;
    std::string HostName; // servers only: the name the address resolves to

protected:
    void CheckRecordSize(std::span<const uint8_t> data) const;
    void HandData(std::span<const uint8_t> data);

private:
    TDataHandler OnData;
    TErrorHandler OnError;
};

// Listens on every local address. Accepts up to ten clients, hands every whole record a
// client sends to OnData and relays it to the other clients (never back to its sender).
class TBriskTCPServer : public TBriskNetBase {
public:
    // Other ports serve tests; a port that cannot be opened leaves a server that never hears
    // anything (Listening() is false).
    explicit TBriskTCPServer(uint16_t port = kGamePort);
    ~TBriskTCPServer() override;

    void SetMessageSize(int32_t size) override;
    // Accepts a waiting client, then reads every client that has data. Never waits.
    void Poll();
    // To every client, in the order they came; results are not checked.
    void Send(std::span<const uint8_t> data) override;

    [[nodiscard]] bool Listening() const;
    [[nodiscard]] int32_t ClientCount() const;

    // The listening socket and ten clients.
    static constexpr int kSocketSetSize = 11;

private:
    struct TSockets;
    std::unique_ptr<TSockets> Sockets;
};

// How the last connect attempt failed, so the game can say it in words.
enum class TConnectFailure : uint8_t {
    None,
    Unresolved,  // the host text names no address
    Refused,     // something answered, but nobody listens on the port
    TimedOut,    // nobody answered within the time given
    Unreachable, // the system gave up for another reason (no route, no socket)
};

class TBriskTCPClient : public TBriskNetBase {
public:
    TBriskTCPClient();
    ~TBriskTCPClient() override;

    void SetMessageSize(int32_t size) override;
    // Resolves and starts one connection without waiting for it: the client is Connecting()
    // until a Poll finds it made (Connected()) or failed. An attempt still under way after
    // timeoutMs of SystemTicks fails. Failures reach OnError ("Could not Resolve IP Address",
    // "Could not Open Socket"), say why in Failure() and leave the client without a
    // connection, where Poll and Send do nothing.
    void StartConnect(std::string_view host, int32_t port, int32_t timeoutMs = kConnectTimeoutMs);
    // StartConnect, then waits (real time, at most timeoutMs) until the attempt is over; for
    // tests and tools, which may block.
    void Connect(std::string_view host, int32_t port, int32_t timeoutMs = kConnectTimeoutMs);
    // Completes a connect under way; then hands on every whole record that has arrived. When
    // the server has closed the connection the client closes its end and is no longer
    // Connected().
    void Poll();
    // Waits until the system has taken the whole record.
    void Send(std::span<const uint8_t> data) override;

    [[nodiscard]] bool Connected() const;
    [[nodiscard]] bool Connecting() const;
    [[nodiscard]] TConnectFailure Failure() const { return LastFailure; }

    int32_t Port = 0;
    std::string Host;

private:
    void Disconnect();
    void Fail(TConnectFailure failure);
    void Established();
    // Finishes the attempt if the socket became writable within waitMs.
    void AwaitConnect(int waitMs);

    TConnectFailure LastFailure = TConnectFailure::None;
    struct TSockets;
    std::unique_ptr<TSockets> Sockets;
};
