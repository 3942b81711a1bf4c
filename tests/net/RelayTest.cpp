// The relay the networked-match tests put between two games: records pass both ways, held
// back by the delay and the stall on the relay's own clock, cut into pieces, and dropped.
#include "Relay.h"

#include "Loopback.h"

#include <gtest/gtest.h>

using nettest::Pattern;
using nettest::TRawListener;
using nettest::TRawSocket;
using TBytes = std::vector<uint8_t>;

namespace {

constexpr size_t kRecord = 304;

class RelayTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Relay.Listening());
        Client = std::make_unique<TRawSocket>(TRawSocket::Connect(Relay.Port()));
        ASSERT_TRUE(Client->Valid());
        Relay.Pump();
        Server = std::make_unique<TRawSocket>(Listener.Accept());
        ASSERT_TRUE(Server->Valid());
        ASSERT_EQ(Relay.Connections(), 1u);
    }
    // What reaches the far end after one pump.
    static TBytes PumpAndRead(TRelay& relay, const TRawSocket& end) {
        relay.Pump();
        return end.Receive(30);
    }

    uint32_t Now = 50000;
    TRawListener Listener;
    TRelay Relay{0, Listener.Port, [this] { return Now; }};
    std::unique_ptr<TRawSocket> Client;
    std::unique_ptr<TRawSocket> Server;
};

TEST_F(RelayTest, RecordsPassBothWaysAndAreCounted) {
    const TBytes up = Pattern(kRecord, 1), down = Pattern(kRecord, 2);
    Client->Send(up);
    Server->Send(down);
    Relay.Pump();
    EXPECT_EQ(Server->Receive(200), up);
    EXPECT_EQ(Client->Receive(200), down);
    EXPECT_EQ(Relay.BytesPassed(TRelay::TDirection::ToServer), kRecord);
    EXPECT_EQ(Relay.BytesPassed(TRelay::TDirection::ToClient), kRecord);
}

TEST_F(RelayTest, DelayAndStallHoldRecordsByTheClock) {
    Relay.SetDelay(80);
    const TBytes record = Pattern(kRecord, 3);
    Client->Send(record);
    for (const uint32_t step : {0u, 79u}) {
        Now += step;
        EXPECT_TRUE(PumpAndRead(Relay, *Server).empty()) << step;
    }
    Now += 1;
    EXPECT_EQ(PumpAndRead(Relay, *Server), record);

    // A stall holds everything, what was due before it too, then lets it go at once.
    Relay.SetDelay(0);
    Client->Send(record);
    Relay.Stall(1500);
    Client->Send(record);
    Now += 1499;
    EXPECT_TRUE(PumpAndRead(Relay, *Server).empty());
    Now += 1;
    Relay.Pump();
    EXPECT_EQ(Server->Receive(200).size(), 2 * kRecord);
}

TEST_F(RelayTest, PiecesArriveOnePerPump) {
    Relay.SetPieces(3);
    const TBytes record = Pattern(kRecord, 4);
    Client->Send(record);
    TBytes got;
    for (const size_t expected : {102u, 101u, 101u}) {
        const TBytes piece = PumpAndRead(Relay, *Server);
        EXPECT_EQ(piece.size(), expected);
        got.insert(got.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(got, record);
}

TEST_F(RelayTest, ACloseFollowsWhatCameBeforeItAndDropClosesBothEnds) {
    Relay.SetDelay(50);
    const TBytes record = Pattern(kRecord, 5);
    Client->Send(record);
    Client->Close();
    Relay.Pump();
    EXPECT_EQ(Relay.Connections(), 1u) << "the record still waits";
    Now += 50;
    EXPECT_EQ(PumpAndRead(Relay, *Server), record);
    Relay.Pump();
    EXPECT_EQ(Relay.Connections(), 0u);

    TRawSocket again = TRawSocket::Connect(Relay.Port());
    Relay.Pump();
    TRawSocket server = Listener.Accept();
    ASSERT_EQ(Relay.Connections(), 1u);
    Relay.Drop();
    EXPECT_EQ(Relay.Connections(), 0u);
    EXPECT_TRUE(again.Receive(200).empty());
    EXPECT_TRUE(server.Receive(200).empty());
}

} // namespace
