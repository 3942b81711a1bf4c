// Server and client over loopback: whole records only, relaying, closing and failing to connect.
#include "Loopback.h"
#include "net/NetLibrary.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using nettest::Pattern;
using nettest::PollAWhile;
using nettest::PollUntil;
using nettest::TRawListener;
using nettest::TRawSocket;
using TBytes = std::vector<uint8_t>;

namespace {

constexpr int32_t kRecord = 304;

// Records and notices an endpoint handed on.
struct TInbox {
    std::vector<TBytes> Records;
    std::vector<std::string> Notices;
    std::vector<TBriskNetBase*> Senders;

    void Attach(TBriskNetBase& endpoint) {
        endpoint.SetOnData([this](TBriskNetBase& sender, std::span<const uint8_t> data) {
            Records.emplace_back(data.begin(), data.end());
            Senders.push_back(&sender);
        });
        endpoint.SetOnError(
            [this](TBriskNetBase&, std::string_view message) { Notices.emplace_back(message); });
    }
};

class Transport : public testing::Test {
protected:
    void SetUp() override {
        Server = nettest::OpenTestServer(Port);
        ASSERT_NE(Server, nullptr) << "no free port for the test server";
        Server->SetMessageSize(kRecord);
        ServerInbox.Attach(*Server);
    }

    // A raw peer the server has accepted.
    TRawSocket ConnectRaw() {
        TRawSocket peer = TRawSocket::Connect(Port);
        const int32_t before = Server->ClientCount();
        EXPECT_TRUE(peer.Valid());
        EXPECT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return Server->ClientCount() == before + 1; }));
        return peer;
    }

    std::unique_ptr<TBriskTCPClient> ConnectClient(TInbox& inbox) {
        auto client = std::make_unique<TBriskTCPClient>();
        client->SetMessageSize(kRecord);
        inbox.Attach(*client);
        const size_t notices = ServerInbox.Notices.size();
        client->Connect("127.0.0.1", Port);
        EXPECT_TRUE(client->Connected());
        // One connection per attempt: the server sees the client come, and nothing else.
        EXPECT_TRUE(
            PollUntil([&] { Server->Poll(); }, [&] { return ServerInbox.Notices.size() == notices + 1; }));
        PollAWhile([&] { Server->Poll(); });
        EXPECT_EQ(ServerInbox.Notices.size(), notices + 1);
        return client;
    }

    TNetLibrary Library;
    uint16_t Port = 0;
    std::unique_ptr<TBriskTCPServer> Server;
    TInbox ServerInbox;
};

} // namespace

TEST_F(Transport, ServerListensOnTheAnyAddressAndAnnouncesNewClients) {
    EXPECT_EQ(Server->AddressText, "0.0.0.0");
    TRawSocket peer = ConnectRaw();
    EXPECT_EQ(ServerInbox.Notices, std::vector<std::string>{"New Client 127.0.0.1"});
}

TEST_F(Transport, RecordSentInTwoPiecesReachesTheServerOnceWhole) {
    TRawSocket peer = ConnectRaw();
    const TBytes record = Pattern(kRecord, 1);
    peer.Send(std::span(record).first(100));
    PollAWhile([&] { Server->Poll(); });
    EXPECT_TRUE(ServerInbox.Records.empty());
    peer.Send(std::span(record).subspan(100));
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return !ServerInbox.Records.empty(); }));
    PollAWhile([&] { Server->Poll(); });
    EXPECT_EQ(ServerInbox.Records, std::vector<TBytes>{record});
    EXPECT_EQ(ServerInbox.Senders.front(), Server.get());
}

TEST_F(Transport, TwoRecordsInOnePieceReachTheServerAsTwo) {
    TRawSocket peer = ConnectRaw();
    const TBytes first = Pattern(kRecord, 1), second = Pattern(kRecord, 2);
    TBytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    both.resize(both.size() + 50, 9); // the start of a third
    peer.Send(both);
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return ServerInbox.Records.size() >= 2; }));
    PollAWhile([&] { Server->Poll(); });
    EXPECT_EQ(ServerInbox.Records, (std::vector<TBytes>{first, second}));
}

TEST_F(Transport, RecordSentToTheClientInPiecesArrivesWhole) {
    TRawListener listener;
    TBriskTCPClient client;
    client.SetMessageSize(kRecord);
    TInbox inbox;
    inbox.Attach(client);
    client.Connect("127.0.0.1", listener.Port);
    ASSERT_TRUE(client.Connected());
    EXPECT_EQ(client.AddressText, "127.0.0.1");
    TRawSocket server = listener.Accept();
    ASSERT_TRUE(server.Valid());
    // The attempt made one connection only.
    EXPECT_FALSE(listener.Accept(50).Valid());

    const TBytes first = Pattern(kRecord, 3), second = Pattern(kRecord, 4), third = Pattern(kRecord, 5);
    server.Send(std::span(first).first(100));
    PollAWhile([&] { client.Poll(); });
    EXPECT_TRUE(inbox.Records.empty());
    TBytes rest(first.begin() + 100, first.end());
    rest.insert(rest.end(), second.begin(), second.end());
    rest.insert(rest.end(), third.begin(), third.begin() + 10);
    server.Send(rest);
    ASSERT_TRUE(PollUntil([&] { client.Poll(); }, [&] { return inbox.Records.size() >= 2; }));
    server.Send(std::span(third).subspan(10));
    ASSERT_TRUE(PollUntil([&] { client.Poll(); }, [&] { return inbox.Records.size() >= 3; }));
    PollAWhile([&] { client.Poll(); });
    EXPECT_EQ(inbox.Records, (std::vector<TBytes>{first, second, third}));
}

TEST_F(Transport, RecordFromOneClientReachesTheServerAndTheOtherClientOnce) {
    TInbox inboxA, inboxB;
    auto a = ConnectClient(inboxA);
    auto b = ConnectClient(inboxB);
    const TBytes record = Pattern(kRecord, 6);
    a->Send(record);
    ASSERT_TRUE(PollUntil(
        [&] {
            Server->Poll();
            a->Poll();
            b->Poll();
        },
        [&] { return !inboxB.Records.empty(); }));
    PollAWhile([&] {
        Server->Poll();
        a->Poll();
        b->Poll();
    });
    EXPECT_EQ(ServerInbox.Records, std::vector<TBytes>{record});
    EXPECT_EQ(inboxB.Records, std::vector<TBytes>{record});
    EXPECT_TRUE(inboxA.Records.empty());
    EXPECT_EQ(inboxB.Senders.front(), b.get());
}

// With one client there is nobody to relay to; the listening socket is never written to and
// goes on accepting.
TEST_F(Transport, RelaySkipsTheListeningSocket) {
    TInbox inboxA, inboxB;
    auto a = ConnectClient(inboxA);
    const TBytes record = Pattern(kRecord, 7);
    a->Send(record);
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return !ServerInbox.Records.empty(); }));
    auto b = ConnectClient(inboxB);
    PollAWhile([&] {
        Server->Poll();
        a->Poll();
        b->Poll();
    });
    EXPECT_EQ(ServerInbox.Records.size(), 1u);
    EXPECT_TRUE(inboxA.Records.empty());
    EXPECT_TRUE(inboxB.Records.empty());
}

TEST_F(Transport, ServerSendReachesEveryClientAndClientSendReachesTheServer) {
    TInbox inboxA, inboxB;
    auto a = ConnectClient(inboxA);
    auto b = ConnectClient(inboxB);
    const TBytes record = Pattern(kRecord, 8);
    Server->Send(record);
    ASSERT_TRUE(PollUntil(
        [&] {
            a->Poll();
            b->Poll();
        },
        [&] { return !inboxA.Records.empty() && !inboxB.Records.empty(); }));
    EXPECT_EQ(inboxA.Records, std::vector<TBytes>{record});
    EXPECT_EQ(inboxB.Records, std::vector<TBytes>{record});
    EXPECT_TRUE(ServerInbox.Records.empty());
}

TEST_F(Transport, OrderlyCloseRemovesTheClientWithoutHandingOnZeros) {
    TRawSocket peer = ConnectRaw();
    peer.Close();
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return Server->ClientCount() == 0; }));
    EXPECT_TRUE(ServerInbox.Records.empty());
    EXPECT_EQ(ServerInbox.Notices,
              (std::vector<std::string>{"New Client 127.0.0.1", "Client Closed 127.0.0.1"}));
}

TEST_F(Transport, HalfRecordBeforeTheCloseIsDropped) {
    TRawSocket peer = ConnectRaw();
    const TBytes record = Pattern(kRecord, 9);
    peer.Send(std::span(record).first(200));
    peer.Close();
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return Server->ClientCount() == 0; }));
    EXPECT_TRUE(ServerInbox.Records.empty());
}

TEST_F(Transport, ClientNoticesTheServerGoingAway) {
    TInbox inbox;
    auto client = ConnectClient(inbox);
    Server.reset();
    ASSERT_TRUE(PollUntil([&] { client->Poll(); }, [&] { return !client->Connected(); }));
    client->Send(Pattern(kRecord, 1));
    client->Poll();
    EXPECT_TRUE(inbox.Records.empty());
    EXPECT_TRUE(inbox.Notices.empty());
}

TEST_F(Transport, SetOfElevenHoldsTenClients) {
    std::vector<TRawSocket> peers;
    for (int i = 0; i < 10; ++i)
        peers.push_back(ConnectRaw());
    TRawSocket eleventh = TRawSocket::Connect(Port);
    PollAWhile([&] { Server->Poll(); });
    EXPECT_EQ(Server->ClientCount(), 10);
    // Once a place is free the waiting one gets it.
    peers.front().Close();
    ASSERT_TRUE(PollUntil([&] { Server->Poll(); }, [&] { return ServerInbox.Notices.size() == 12; }));
    EXPECT_EQ(ServerInbox.Notices.back(), "New Client 127.0.0.1");
    EXPECT_EQ(Server->ClientCount(), 10);
}

TEST_F(Transport, RecordsOfTheWrongSizeAreRefused) {
    TInbox inbox;
    auto client = ConnectClient(inbox);
    EXPECT_THROW(client->Send(Pattern(kRecord - 1, 0)), std::invalid_argument);
    EXPECT_THROW(Server->Send(Pattern(kRecord + 1, 0)), std::invalid_argument);
}

TEST(TransportConnect, RefusedConnectionLeavesAClientThatDoesNothing) {
    TNetLibrary library;
    TRawListener listener;
    const uint16_t port = listener.Port;
    listener.Close(); // nobody listens there now
    TBriskTCPClient client;
    client.SetMessageSize(kRecord);
    TInbox inbox;
    inbox.Attach(client);
    client.Connect("127.0.0.1", port);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Failure(), TConnectFailure::Refused);
    EXPECT_EQ(inbox.Notices, std::vector<std::string>{"Could not Open Socket"});
    client.Poll();
    client.Send(Pattern(kRecord, 1));
    EXPECT_EQ(inbox.Notices.size(), 1u);
    EXPECT_TRUE(inbox.Records.empty());
}

// A listener whose queue is full drops new connection requests, so nobody ever answers.
TEST(TransportConnect, ConnectGivesUpWhenNobodyAnswers) {
    TNetLibrary library;
    TRawListener listener(0);
    TRawSocket filler = TRawSocket::Connect(listener.Port);
    ASSERT_TRUE(filler.Valid());
    TBriskTCPClient client;
    client.SetMessageSize(kRecord);
    TInbox inbox;
    inbox.Attach(client);
    const auto started = std::chrono::steady_clock::now();
    client.Connect("127.0.0.1", listener.Port, 300);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Failure(), TConnectFailure::TimedOut);
    EXPECT_EQ(inbox.Notices, std::vector<std::string>{"Could not Open Socket"});
    EXPECT_LT(waited, std::chrono::seconds(3));
}

// The game's connect never waits: each Poll looks once, and the attempt ends by the game's
// clock, on the millisecond.
TEST(TransportConnect, StartedConnectIsPolledAndGivesUpByTheClock) {
    TNetLibrary library;
    TRawListener listener(0);
    TRawSocket filler = TRawSocket::Connect(listener.Port);
    ASSERT_TRUE(filler.Valid());
    TManualClock clock;
    SetClock(&clock);
    TBriskTCPClient client;
    client.SetMessageSize(kRecord);
    TInbox inbox;
    inbox.Attach(client);
    const auto started = std::chrono::steady_clock::now();
    client.StartConnect("127.0.0.1", listener.Port, 300);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(100));
    for (const uint32_t step : {0u, 299u}) {
        clock.Advance(step);
        client.Poll();
        EXPECT_TRUE(client.Connecting()) << step;
        EXPECT_FALSE(client.Connected()) << step;
    }
    EXPECT_TRUE(inbox.Notices.empty());
    clock.Advance(1);
    client.Poll();
    SetClock(nullptr);
    EXPECT_FALSE(client.Connecting());
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Failure(), TConnectFailure::TimedOut);
    EXPECT_EQ(inbox.Notices, std::vector<std::string>{"Could not Open Socket"});
}

TEST(TransportConnect, StartedConnectIsMadeByPollingAndCarriesRecords) {
    TNetLibrary library;
    TRawListener listener;
    TBriskTCPClient client;
    client.SetMessageSize(kRecord);
    TInbox inbox;
    inbox.Attach(client);
    client.StartConnect("127.0.0.1", listener.Port);
    ASSERT_TRUE(PollUntil([&] { client.Poll(); }, [&] { return client.Connected(); }));
    EXPECT_EQ(client.Failure(), TConnectFailure::None);
    TRawSocket server = listener.Accept();
    ASSERT_TRUE(server.Valid());
    EXPECT_FALSE(listener.Accept(50).Valid());
    const TBytes record = Pattern(kRecord, 2);
    client.Send(record);
    EXPECT_EQ(server.Receive(500), record);
    server.Send(record);
    ASSERT_TRUE(PollUntil([&] { client.Poll(); }, [&] { return !inbox.Records.empty(); }));
    EXPECT_EQ(inbox.Records, std::vector<TBytes>{record});
    EXPECT_TRUE(inbox.Notices.empty());
}

TEST(TransportConnect, PortOutsideTheRangeCannotBeResolved) {
    TNetLibrary library;
    TBriskTCPClient client;
    TInbox inbox;
    inbox.Attach(client);
    client.Connect("127.0.0.1", 70000);
    EXPECT_FALSE(client.Connected());
    EXPECT_EQ(client.Failure(), TConnectFailure::Unresolved);
    EXPECT_EQ(inbox.Notices, std::vector<std::string>{"Could not Resolve IP Address"});
}
