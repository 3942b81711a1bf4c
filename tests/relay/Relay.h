// A TCP relay on loopback between a game client and its server, for the tests and for trying
// two games on one machine by hand: it passes the fixed-size records on both ways, and can
// hold each one back, stall, cut each into pieces and drop the connection. It never waits:
// Pump does what is due and returns, so a test can run it between two games' frames on the
// games' own clock.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class TRelay {
public:
    // Milliseconds; the games' clock in the tests, a steady clock in the relay program.
    using TTicks = std::function<uint32_t()>;
    enum class TDirection { ToServer, ToClient };

    // Listens on 127.0.0.1:listenPort (0: any free port) and connects every client it accepts
    // to 127.0.0.1:serverPort.
    TRelay(uint16_t listenPort, uint16_t serverPort, TTicks now, size_t recordSize = 304);
    ~TRelay();
    TRelay(const TRelay&) = delete;
    TRelay& operator=(const TRelay&) = delete;

    [[nodiscard]] bool Listening() const;
    [[nodiscard]] uint16_t Port() const { return ListenPort; }

    // Accepts, reads both ways and sends on what is due. A relayed connection that either end
    // closes is closed at the other end once what came before the close has been passed on.
    void Pump();

    // Every record is held this long after it has come whole.
    void SetDelay(uint32_t ms) { DelayMs = ms; }
    // Nothing is passed on for the next ms; what comes meanwhile waits and then goes at once.
    void Stall(uint32_t ms);
    // Each record goes in this many sends (1 or more), at most one piece per Pump and way.
    void SetPieces(uint32_t pieces) { Pieces = pieces < 1 ? 1 : pieces; }
    // Closes every relayed connection at both ends at once.
    void Drop();

    [[nodiscard]] size_t Connections() const { return Links.size(); }
    // Bytes passed on so far, each way.
    [[nodiscard]] uint64_t BytesPassed(TDirection direction) const {
        return direction == TDirection::ToServer ? PassedToServer : PassedToClient;
    }

private:
    struct TPiece {
        uint32_t Due;
        std::vector<uint8_t> Bytes;
    };
    // One way of a relayed connection: bytes read from From wait as a partial record, then as
    // pieces due at their time, then are written to To.
    struct TWay {
        int From = -1;
        int To = -1;
        bool Closed = false; // From has closed; To closes once Queue is empty
        std::vector<uint8_t> Partial;
        std::deque<TPiece> Queue;
    };
    struct TLink {
        int Client = -1;
        int Server = -1;
        TWay Up;   // client to server
        TWay Down; // server to client
    };

    void Accept();
    void Read(TWay& way);
    // Returns the bytes written.
    uint64_t Send(TWay& way, uint32_t now);
    static void Close(TLink& link);

    TTicks Now;
    size_t RecordSize;
    int Listener = -1;
    uint16_t ListenPort = 0;
    uint16_t ServerPort = 0;
    uint32_t DelayMs = 0;
    uint32_t Pieces = 1;
    uint32_t StallUntil = 0;
    bool Stalled = false;
    std::vector<std::unique_ptr<TLink>> Links;
    uint64_t PassedToServer = 0;
    uint64_t PassedToClient = 0;
};
