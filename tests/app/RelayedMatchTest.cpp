// Two games playing one match through the relay, as two people on two machines would: a stall
// while a fighter walks towards water, a death on its owner's machine ending the match on
// both, an item taken on one side vanishing on the other, and the check of the match's files
// refusing what does not match, in words on both setup screens.
#include "TwoGames.h"
#include "media/BriskDraws.h"
#include "media/SurfaceUtils.h"
#include "world/GameDisplays.h"

#include <vector>

namespace {

// Water (tiles of ground 1, frame 22) in tile columns 10 to 12 and rows 2 to 8: squares 20 to
// 25 across, x 640 to 831. Player 1's foot starts at (348, 320), on a row that meets the
// water; player 2's far below. A red boot lies on player 2's row at square (18, 32).
std::string LakeMap() {
    std::string map =
        "[Ground]\r\nWater=1\r\n[Map]\r\nStartY0=300\r\nStartX0=250\r\nStartY1=300\r\nStartX1=700\r\n";
    for (int row = 2; row <= 8; ++row)
        for (int column = 10; column <= 12; ++column)
            map += "Tile" + std::to_string(row) + "-" + std::to_string(column) + "=1-22\r\n";
    return map + "[Objects]\r\nObjectCount=1\r\nObject0=Red,Boot\r\nObjectX0=576\r\nObjectY0=758\r\n";
}
constexpr int32_t kWaterX = 640;
constexpr int32_t kBootX = 18 * 32;

class RelayedMatch : public TwoGames {
protected:
    void SetUp() override {
        TwoGames::SetUp();
        WriteFile("maps/Lake.map", LakeMap());
    }
    void PlayOnLake() {
        Connect();
        ASSERT_TRUE(Server->OpponentReady);
        Play("Lake");
        ASSERT_TRUE(BothPlaying());
    }
};

TEST_F(RelayedMatch, AStallWhileTheServersFighterWalksTowardsWaterDoesNotKillItOnTheClient) {
    PlayOnLake();
    Relay->SetDelay(40);
    const TBasePlayer& walker = Fighter(*Server, 0);
    const TBasePlayer& copy = Fighter(*Client, 0);
    // The server's person walks right until 60 px before the water; then the relay stalls
    // for 1.5 s while the fighter walks on 30 px more and stops.
    while (walker.FootX() < kWaterX - 60)
        Step({kRight});
    Relay->Stall(1500);
    while (walker.FootX() < kWaterX - 30)
        Step({kRight});
    int32_t furthest = 0;
    for (int step = 0; step < 1500 / 20; ++step) {
        Step();
        furthest = std::max(furthest, copy.FootX());
    }
    // The client's copy walked on by itself up to the water's edge, and stopped there.
    EXPECT_GE(furthest, kWaterX - 2);
    EXPECT_LT(furthest, kWaterX);
    for (int step = 0; step < 20; ++step)
        Step();
    EXPECT_EQ(copy.FootX(), walker.FootX()) << "the owner's word put it back";
    EXPECT_NE(copy.Action(), kActionDie);
    EXPECT_GT(copy.Health(), 0.0f);
    EXPECT_EQ(Server->State, TGameState::Game);
    EXPECT_EQ(Client->State, TGameState::Game);
    EXPECT_EQ(LogLinesWith("Match over"), 0u);
}

// A fighter dies on its owner's machine; the other machine learns it from the owner's state
// message and both name the same winner, in the log too.
TEST_F(RelayedMatch, AFighterKilledOnItsOwnersMachineEndsTheMatchOnBothWithTheSameWinner) {
    struct TCase {
        bool ServerFighterDrowns; // else the client's fighter loses its health on the client
        TMatchResult Result;
        const char* Line;
    };
    for (const TCase& c :
         {TCase{true, TMatchResult::Player2Wins, "MSG : Match over: Player 2 wins IN : GameProcess"},
          TCase{false, TMatchResult::Player1Wins, "MSG : Match over: Player 1 wins IN : GameProcess"}}) {
        SCOPED_TRACE(c.Line);
        Server.reset();
        Client.reset();
        Server = std::make_unique<TBriskGame>();
        Client = std::make_unique<TBriskGame>();
        Server->NetPort = kServerPort;
        Client->NetPort = Relay->Port();
        PlayOnLake();
        Relay->SetDelay(60);
        if (c.ServerFighterDrowns) {
            for (int step = 0; step < 400 && Fighter(*Server, 0).Action() != kActionDie; ++step)
                Step({kRight});
        } else {
            Fighter(*Client, 1).SetHealth(0);
        }
        ASSERT_TRUE(StepUntil(
            [this] { return Server->State == TGameState::End && Client->State == TGameState::End; }));
        EXPECT_EQ(Server->MatchResult, c.Result);
        EXPECT_EQ(Client->MatchResult, c.Result);
        EXPECT_EQ(LogLinesWith(c.Line), 2u);
        EXPECT_EQ(LogLinesWith("Match over"), c.ServerFighterDrowns ? 2u : 4u);
    }
}

TEST_F(RelayedMatch, AnItemTakenOnOneMachineVanishesOnTheOtherAndShowsOnTheRemotePanel) {
    PlayOnLake();
    Relay->SetPieces(3);
    const auto bootOnMap = [](const TBriskGame& game) {
        for (const auto& item : game.Map->Items())
            if (dynamic_cast<const TBoot*>(item.get()) != nullptr) return item->Id();
        return 0;
    };
    const int32_t id = bootOnMap(*Server);
    ASSERT_EQ(id, kFirstMapItemId);
    ASSERT_EQ(bootOnMap(*Client), id);
    // The server's panel of player 2 before and after.
    const auto panel = [this] {
        Server->Displays.at(1)->Draw();
        std::vector<uint32_t> pixels;
        for (int y = 382; y < 480; ++y)
            for (int x = 240; x < 440; ++x)
                pixels.push_back(ReadColor(Screen->Surface, x, y));
        return pixels;
    };
    const std::vector<uint32_t> before = panel();
    // The client's person walks right over the boot and on.
    TBasePlayer& taker = Fighter(*Client, 1);
    while (taker.FootX() < kBootX + 200)
        Step({}, {kRight});
    for (int step = 0; step < 10; ++step)
        Step();
    ASSERT_NE(taker.BootItem, nullptr);
    EXPECT_EQ(taker.BootItem->Id(), id);
    EXPECT_EQ(bootOnMap(*Client), 0);
    EXPECT_EQ(bootOnMap(*Server), 0);
    const TBasePlayer& copy = Fighter(*Server, 1);
    ASSERT_NE(copy.BootItem, nullptr);
    EXPECT_EQ(copy.BootItem->Id(), id);
    EXPECT_NE(panel(), before);
    // Its speed is the owner's: the boots counted once.
    EXPECT_FLOAT_EQ(copy.Speed(), taker.Speed());

    // The server's fighter now walks over the same square: nothing is left to take there.
    TBasePlayer& second = Fighter(*Server, 0);
    while (second.FootY() < taker.FootY() - 1)
        Step({kDown});
    while (second.FootX() < kBootX + 60)
        Step({kRight});
    for (int step = 0; step < 10; ++step)
        Step();
    EXPECT_EQ(second.BootItem, nullptr);
    EXPECT_EQ(Fighter(*Client, 0).BootItem, nullptr);
    EXPECT_EQ(LogLinesWith("Ignored"), 0u);
}

} // namespace
