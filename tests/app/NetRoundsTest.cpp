// Rounds in a networked match: the client plays as many as its server chose, and what the
// peer says about a round that has ended here, or not yet there, cannot decide the next one.
#include "NetTestGame.h"

#include <gtest/gtest.h>

namespace {

using NetRounds = NetTestGame;

TMovePlayerBody Alive(int32_t x, int32_t health) {
    TMovePlayerBody body;
    body.X = x;
    body.Y = 300;
    body.Health = health;
    body.Action = health > 0 ? kActionStand : kActionDie;
    body.MaxFrame = 7;
    body.Frame = health > 0 ? 0 : 7;
    return body;
}

TEST_F(NetRounds, TheClientPlaysTheServersRoundsAndKeepsItsOwnChoice) {
    struct TCase {
        uint8_t Sent;
        int32_t Played;
    };
    for (const TCase c : {TCase{3, 3}, TCase{5, 5}, TCase{0, 1}, TCase{4, 1}, TCase{255, 1}}) {
        SCOPED_TRACE(int(c.Sent));
        Game->SetNetMode(2);
        Game->Rounds = 5;
        Game->Player2Char = kKnight;
        Game->SetState(TGameState::WaitForServer);
        TChoosePlayerBody offer{"Elf", "Player1", "Maps\\Arena.map"};
        offer.Rounds = c.Sent;
        Deliver(FromPeer(TMessageKind::ChoosePlayer, offer));
        ASSERT_EQ(Game->State, TGameState::Game);
        EXPECT_EQ(Game->Score.Rounds, c.Played);
        EXPECT_EQ(Game->Rounds, 5);
    }
}

TEST_F(NetRounds, ThePeersWordOnALastRoundIsDroppedUntilItsNewFighterIsHeardAlive) {
    Game->Rounds = 3;
    BuildMatch(1);
    TBasePlayer* remote = &Remote();
    const float fullHealth = remote->Health();
    // A dying state from the round before, late: dropped, and so is a hit from it.
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(640, 0)));
    EXPECT_FLOAT_EQ(remote->Health(), fullHealth);
    const float localHealth = Local().Health();
    Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{5}));
    EXPECT_FLOAT_EQ(Local().Health(), localHealth);
    // Its new fighter alive: from then on its word counts.
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(640, 25)));
    EXPECT_FLOAT_EQ(remote->Health(), 25.0f);
    EXPECT_FLOAT_EQ(remote->X(), 640.0f);
    Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{5}));
    EXPECT_FLOAT_EQ(Local().Health(), localHealth - 5);
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(650, 0)));
    EXPECT_FLOAT_EQ(remote->Health(), 0.0f);
    // The peer has started its next round before this screen saw the last one out: its new
    // fighter does not bring the dead one back.
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(300, 25)));
    EXPECT_FLOAT_EQ(remote->Health(), 0.0f);
    EXPECT_FLOAT_EQ(remote->X(), 650.0f);
    Game->EndRound(TMatchResult::Player1Wins);
    EXPECT_EQ(Game->Score.Wins, (std::array<int32_t, 2>{1, 0}));
    EXPECT_EQ(LogLinesWith("Round over: Player 1 wins, 1 : 0"), 1u);
    remote = &Remote();
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(700, 25)));
    EXPECT_FLOAT_EQ(remote->X(), 700.0f) << "the next round hears the peer again";
}

TEST_F(NetRounds, AOneRoundMatchTakesThePeersWordAsAlways) {
    BuildMatch(1);
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(640, 0)));
    EXPECT_FLOAT_EQ(Remote().Health(), 0.0f);
    Deliver(FromPeer(TMessageKind::MovePlayer, Alive(640, 25)));
    EXPECT_FLOAT_EQ(Remote().Health(), 25.0f);
}

} // namespace
