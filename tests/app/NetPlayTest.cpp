// The game's answer to each message a peer may send, delivered straight to ReceiveMessage:
// the handshake, the state of the peer's fighter, its strikes and its hits, and every way a
// hostile or mismatched peer is refused without the match or the choices suffering.
#include "NetTestGame.h"
#include "app/NetPlayChecks.h"
#include "media/BriskSound.h"
#include "platform/Random.h"
#include "world/Weapons.h"

#include <climits>
#include <vector>

namespace {

using NetPlay = NetTestGame;

TMovePlayerBody Standing(int32_t x, int32_t y) {
    TMovePlayerBody body;
    body.X = x;
    body.Y = y;
    body.Speed = 120;
    body.Armor = 4;
    body.Health = 25;
    body.Action = kActionWalk;
    body.Direction = 3;
    body.FrameBase = 17;
    body.Frame = 2;
    body.MaxFrame = 7;
    return body;
}

TEST_F(NetPlay, ClientsChoosePlayerReadiesTheServer) {
    Game->SetNetMode(1);
    Game->Player2Char = -1;
    Deliver(FromPeer(TMessageKind::ChoosePlayer, TChoosePlayerBody{"Ninja", "Player2", ""}));
    EXPECT_EQ(Game->Player2Char, 3);
    EXPECT_TRUE(Game->OpponentReady);
    const TBriskSound* ready = SoundEngine->Find("ReadyToPlay");
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(ready->LastPlayed, Media->Clock.Ticks());
}

TEST_F(NetPlay, ChoosePlayerNamingNoCharacterHereIsRefusedInWords) {
    // The check box sheet is item 0 of the portrait list but no character.
    for (const std::string name : {"Dragon", "CheckBox", "", "elf", "Elf "}) {
        SCOPED_TRACE(name);
        Game->SetNetMode(1);
        Game->Player2Char = -1;
        Game->OpponentReady = false;
        Deliver(FromPeer(TMessageKind::ChoosePlayer, TChoosePlayerBody{name, "Player2", ""}));
        EXPECT_EQ(Game->Player2Char, -1);
        EXPECT_FALSE(Game->OpponentReady);
        EXPECT_EQ(ReceiveErrors("Unknown character \"" + name + "\""), 1u);
        EXPECT_EQ(Game->SetupNotice, "The client's character " + name + " is missing here.");

        // The client lacks the server's character: no match, back to the setup screen.
        Game->SetNetMode(2);
        Game->Player1Char = kBarbar;
        Game->SetState(TGameState::WaitForServer);
        Deliver(FromPeer(TMessageKind::ChoosePlayer, TChoosePlayerBody{name, "Player1", "Maps\\Arena.map"}));
        EXPECT_EQ(Game->Player1Char, kBarbar);
        EXPECT_EQ(Game->State, TGameState::Setup);
        EXPECT_EQ(Game->Map, nullptr);
        EXPECT_EQ(Game->SetupNotice, "The server's character " + name + " is missing here.");
        EXPECT_EQ(
            LogLinesWith("MSG : The server's character " + name + " is missing here. IN : Choose Player"),
            1u);
    }
}

TEST_F(NetPlay, ServersChoosePlayerBuildsTheMatchOnTheClient) {
    struct TCase {
        std::string Sent, Kept;
    };
    for (const TCase& c : std::vector<TCase>{{"Maps\\Arena.map", "Maps\\Arena.map"},
                                             {"Arena", "Maps\\Arena.map"},
                                             {"maps\\Arena", "maps\\Arena.map"}}) {
        SCOPED_TRACE(c.Sent);
        Game->SetNetMode(2);
        Game->Player2Char = kKnight;
        Game->SetState(TGameState::WaitForServer);
        Deliver(FromPeer(TMessageKind::ChoosePlayer, TChoosePlayerBody{"Elf", "Player1", c.Sent}));
        ASSERT_EQ(Game->State, TGameState::Game);
        EXPECT_EQ(Game->Player1Char, kElf);
        EXPECT_EQ(Game->MapName, c.Kept);
        // Player 2 is this keyboard's, player 1 the server's person; both stand where the map says.
        EXPECT_TRUE(Game->Players[1]->HasKeySet());
        EXPECT_FALSE(Game->Players[0]->HasKeySet());
        EXPECT_TRUE(Game->Players[0]->HideWhenInvisible);
        EXPECT_TRUE(Game->Players[1]->PeerDecidesHits);
        EXPECT_FLOAT_EQ(Game->Players[0]->X(), 300.0f);
        EXPECT_FLOAT_EQ(Game->Players[1]->X(), 500.0f);
        EXPECT_EQ(Game->Map->FollowedItem(), Game->Players[1]);
    }
}

TEST_F(NetPlay, MapPathsThatLeaveTheMapsFolderAreRejected) {
    for (const std::string path : {"..\\Duelmark.def", "Maps\\..\\data\\Elf.plr", "C:\\x.map", "/etc/passwd",
                                   "Maps\\a\\b.map", "Maps\\", "", "Arena\x01"}) {
        SCOPED_TRACE(path);
        Game->SetNetMode(2);
        Game->SetState(TGameState::WaitForServer);
        Deliver(FromPeer(TMessageKind::ChoosePlayer, TChoosePlayerBody{"Elf", "Player1", path}));
        EXPECT_EQ(Game->State, TGameState::WaitForServer);
        EXPECT_EQ(Game->Map, nullptr);
        EXPECT_EQ(ReceiveErrors("Refused map path \"" + LoggableName(path) + "\""), 1u);
    }
}

TEST_F(NetPlay, MovePlayerOverwritesThePeersFighter) {
    BuildMatch(1);
    TMovePlayerBody body = Standing(640, 410);
    body.MagicItems[2] = 1;       // magic number 3
    body.AbilitiesActive[0] = 1;  // WATERWALK
    body.AbilitiesActive[14] = 1; // slot 15
    Deliver(FromPeer(TMessageKind::MovePlayer, body));
    const TBasePlayer& remote = Remote();
    EXPECT_FLOAT_EQ(remote.X(), 640.0f);
    EXPECT_FLOAT_EQ(remote.Y(), 410.0f);
    EXPECT_FLOAT_EQ(remote.Speed(), 0.12f);
    EXPECT_EQ(remote.Armor, 4);
    EXPECT_FLOAT_EQ(remote.Health(), 25.0f);
    EXPECT_EQ(remote.Action(), kActionWalk);
    EXPECT_EQ(remote.Direction(), 3);
    EXPECT_EQ(remote.FrameBase(), 17);
    EXPECT_EQ(remote.Frame(), 2);
    EXPECT_EQ(remote.MaxFrame(), 7);
    for (int32_t k = 1; k <= kAbilityCount; ++k) {
        EXPECT_EQ(remote.MagicItems[static_cast<size_t>(k)], k == 3) << k;
        EXPECT_EQ(remote.Abilities(k).Active, k == 1 || k == 15) << k;
        EXPECT_EQ(remote.Abilities(k).Expiry, 0u) << k;
    }
    // Back on the map once, on the square under its new foot point.
    size_t onMap = 0;
    for (const auto& item : Game->Map->Items())
        onMap += item.get() == &remote;
    EXPECT_EQ(onMap, 1u);
    EXPECT_EQ(Game->Map->GetSquare(remote.FootX(), remote.FootY()).Occupant, &remote);
    // Our own fighter is the sender's business only.
    EXPECT_FLOAT_EQ(Local().X(), 300.0f);
}

TEST_F(NetPlay, MovePlayerWithWildNumbersIsBroughtIntoRange) {
    BuildMatch(2);
    struct TCase {
        int32_t Value;
        int32_t Direction, Action, MaxFrame, Frame, FrameBase;
        float X, Y;
    };
    for (const TCase& c : std::vector<TCase>{{INT32_MIN, 0, kActionAttack, 0, 0, 0, -28.0f, -48.0f},
                                             {-1, 0, kActionAttack, 0, 0, 0, -1.0f, -1.0f},
                                             {8, 7, kActionDie, 8, 0, 8, 8.0f, 8.0f},
                                             {INT32_MAX, 7, kActionDie, 4095, 0, 4095, 1860.0f, 1450.0f}}) {
        SCOPED_TRACE(c.Value);
        TMovePlayerBody body;
        body.X = body.Y = body.Speed = body.Armor = body.Health = c.Value;
        body.Action = body.Direction = body.FrameBase = body.Frame = body.MaxFrame = c.Value;
        Deliver(FromPeer(TMessageKind::MovePlayer, body));
        const TBasePlayer& remote = Remote();
        EXPECT_EQ(remote.Direction(), c.Direction);
        EXPECT_EQ(remote.Action(), c.Action);
        EXPECT_EQ(remote.MaxFrame(), c.MaxFrame);
        EXPECT_GE(remote.Frame(), 0);
        EXPECT_LE(remote.Frame(), remote.MaxFrame());
        EXPECT_EQ(remote.FrameBase(), c.FrameBase);
        EXPECT_FLOAT_EQ(remote.X(), c.X);
        EXPECT_FLOAT_EQ(remote.Y(), c.Y);
        // Drawn and moved with those values: no table is read outside its bounds.
        for (int frame = 0; frame < 5; ++frame) {
            Game->RenderGame();
            Media->Clock.Advance(150);
        }
    }
    EXPECT_EQ(ReceiveErrors("Received -X :-2147483648"), 1u);
    EXPECT_EQ(ReceiveErrors("Received -Y :-1"), 1u);
}

TEST_F(NetPlay, StartThrowStrikesWithTheNamedWeaponCreatingItFirst) {
    BuildMatch(1);
    TBasePlayer& remote = Remote();
    ASSERT_NE(remote.Weapon, nullptr);
    const std::string own = remote.Weapon->Name;
    const auto missiles = [this, &remote](std::string_view name) {
        size_t count = 0;
        for (const auto& item : Game->Map->Items())
            if (const auto* missile = dynamic_cast<const TWeapon*>(item.get()))
                count += missile->Owner == &remote && missile->Name == name;
        return count;
    };
    Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{1, 2, 3, 4, own}));
    EXPECT_EQ(missiles(own), 1u);
    EXPECT_EQ(remote.SecondWeapon, nullptr);
    const std::string other = own == "Axe" ? "Bow" : "Axe";
    Media->Clock.Advance(151);
    Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{1, 2, 3, 4, other}));
    ASSERT_NE(remote.SecondWeapon, nullptr);
    EXPECT_EQ(remote.SecondWeapon->Name, other);
    EXPECT_EQ(missiles(other), 1u);
    // A weapon with no file here launches nothing, and the match goes on.
    Media->Clock.Advance(151);
    Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{1, 2, 3, 4, "Ghost"}));
    EXPECT_EQ(missiles("Ghost"), 0u);
    EXPECT_EQ(LogLinesWith("Refused Start Throw of \"Ghost\": Invalid Speed"), 1u);
}

TEST_F(NetPlay, StartThrowWithAPathForAWeaponIsRejected) {
    BuildMatch(1);
    const size_t items = Game->Map->Items().size();
    for (const std::string name : {"..\\Elf", "data\\Axe", "a/b", "C:Axe", "", "Axe\x7F"}) {
        SCOPED_TRACE(name);
        Media->Clock.Advance(151);
        Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{0, 0, 0, 0, name}));
        EXPECT_EQ(Game->Map->Items().size(), items);
        EXPECT_EQ(Remote().SecondWeapon, nullptr);
        EXPECT_EQ(ReceiveErrors("Refused weapon name \"" + LoggableName(name) + "\""), 1u);
    }
}

TEST_F(NetPlay, OneHitTheDamageOnceOnTheWoundedSide) {
    BuildMatch(1);
    TBasePlayer& local = Local();
    TBasePlayer& remote = Remote();
    // The peer's fighter stands right beside ours, facing it, and strikes: its replayed
    // missile meets our fighter with a roll that always wounds.
    TMovePlayerBody body = Standing(330, 300);
    body.Action = kActionStand;
    body.Direction = 6;
    body.Speed = 0;
    Deliver(FromPeer(TMessageKind::MovePlayer, body));
    const float before = local.Health();
    // The attack roll high, the defence roll low: every roll wounds.
    int rolls = 0;
    SetRandomSource([&rolls] { return rolls++ % 2 == 0 ? 0.999 : 0.0; });
    Media->Clock.Advance(151);
    Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{0, 0, 6, 0, remote.Weapon->Name}));
    for (int frame = 0; frame < 80; ++frame) {
        Game->Map->Update();
        Media->Clock.Advance(15);
    }
    EXPECT_FLOAT_EQ(local.Health(), before);
    // The same replayed strike would have wounded here too, without the rule.
    local.PeerDecidesHits = false;
    Media->Clock.Advance(151);
    Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{0, 0, 6, 0, remote.Weapon->Name}));
    for (int frame = 0; frame < 80; ++frame) {
        Game->Map->Update();
        Media->Clock.Advance(15);
    }
    SetRandomSource({});
    EXPECT_LT(local.Health(), before);
    local.PeerDecidesHits = true;
    local.SetHealth(before);
    // The peer decided the hit and reports it: it costs exactly its damage, once.
    Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{7}));
    EXPECT_FLOAT_EQ(local.Health(), before - 7.0f);
    // The peer's fighter still takes the missiles of ours.
    EXPECT_FALSE(remote.PeerDecidesHits);
}

TEST_F(NetPlay, AHitEndsInvisibilityOnBothFighters) {
    BuildMatch(2);
    Local().ResetAbility(kInvisibility, true);
    Remote().ResetAbility(kInvisibility, true);
    Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{1}));
    EXPECT_FALSE(Local().Abilities(kInvisibility).Active);
    EXPECT_FALSE(Remote().Abilities(kInvisibility).Active);
}

TEST_F(NetPlay, MessagesThatAreNotThePeersOrHaveNoUseAreIgnored) {
    BuildMatch(1);
    const float x = Remote().X();
    const float health = Local().Health();
    struct TCase {
        int32_t NetMode;
        std::string Sender;
        uint8_t Kind;
    };
    for (const TCase& c : std::vector<TCase>{{1, "Server", 1},
                                             {1, "client", 1},
                                             {1, "Client ", 1},
                                             {1, "", 6},
                                             {2, "Client", 1},
                                             {2, "Client", 6},
                                             {0, "Client", 1},
                                             {0, "Server", 6},
                                             {1, "Client", 0},
                                             {1, "Client", 3},
                                             {1, "Client", 4},
                                             {1, "Client", 7},
                                             {1, "Client", 8},
                                             {1, "Client", 255}}) {
        SCOPED_TRACE(testing::Message() << c.NetMode << " " << c.Sender << " " << int{c.Kind});
        Game->SetNetMode(c.NetMode);
        // A Move Player's or Hit Player's body under every kind byte.
        TNetRecord record = EncodeMessage(FromPeer(TMessageKind::MovePlayer, Standing(900, 900)));
        if (c.Kind == 6) record = EncodeMessage(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{5}));
        TNetMessage header = DecodeMessage(record);
        header.Sender = c.Sender;
        header.Kind = c.Kind;
        record = EncodeMessage(header);
        Game->ReceiveMessage(Unused, record);
        Game->SetNetMode(1);
        EXPECT_FLOAT_EQ(Remote().X(), x);
        EXPECT_FLOAT_EQ(Local().Health(), health);
    }
}

TEST_F(NetPlay, FighterMessagesBeforeAnyMatchAreIgnored) {
    for (const int32_t netMode : {1, 2}) {
        Game->SetNetMode(netMode);
        Game->SetState(TGameState::Setup);
        Deliver(FromPeer(TMessageKind::MovePlayer, Standing(10, 10)));
        Deliver(FromPeer(TMessageKind::StartThrow, TStartThrowBody{0, 0, 0, 0, "Axe"}));
        Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{3}));
        EXPECT_EQ(Game->Map, nullptr);
        EXPECT_EQ(Game->State, TGameState::Setup);
    }
    // A finished match's fighters are left as the end screen shows them.
    BuildMatch(1);
    const float health = Local().Health();
    Game->SetState(TGameState::End);
    Deliver(FromPeer(TMessageKind::HitPlayer, THitPlayerBody{3}));
    EXPECT_FLOAT_EQ(Local().Health(), health);
}

TEST_F(NetPlay, APeerWithoutConnectionHasLeft) {
    BuildMatch(1);
    Game->LastHeardTick = Media->Clock.Ticks();
    // The server has no client here, so it counts as gone; a client without connection too.
    EXPECT_TRUE(Game->PeerGone());
    Game->SetNetMode(2);
    EXPECT_TRUE(Game->PeerGone());
    Game->SetNetMode(0);
    EXPECT_FALSE(Game->PeerGone());
    EXPECT_EQ(Game->PeerStatusLine(), "");
}

} // namespace

namespace {

// A field with one item of every kind, and the peer's reports of its fighter taking them.
class NetItems : public NetTestGame {
protected:
    void SetUp() override {
        NetTestGame::SetUp();
        std::ofstream(Media->Folder() / "maps" / "Market.map", std::ios::binary)
            << "[Map]\r\nStartY0=300\r\nStartX0=300\r\nStartY1=500\r\nStartX1=300\r\n"
               "[Objects]\r\nObjectCount=3\r\nObject0=Red,Boot\r\nObjectX0=900\r\nObject1=Blue,Boot\r\n"
               "ObjectX1=940\r\nObject2=White,Armor\r\nObjectX2=980\r\n"
               "[MagicItems]\r\nItemCount=1\r\nItem0=Fire,Scroll\r\nItemX0=1020\r\n"
               "[Weapons]\r\nWeaponCount=1\r\nWeapon0=Axe\r\nWeaponX0=1060\r\n"
               "[Potions]\r\nPotionCount=1\r\nPotion0=Invisibility\r\nPotionX0=1100\r\n";
        Game->SetNetMode(1);
        Game->Player1Char = kElf;
        Game->Player2Char = kKnight;
        Game->MapName = "Maps\\Market.map";
        Game->StartMatch();
    }
    void Taken(int32_t id) {
        TNetMessage message = FromPeer(TMessageKind::ItemState, TItemStateBody{id, {}});
        message.Text = std::to_string(id);
        Deliver(message);
    }
    [[nodiscard]] bool Lying(int32_t id) const {
        for (const auto& item : Game->Map->Items())
            if (item->Id() == id) return true;
        return false;
    }
};

// Ids in the order the map file places its items.
constexpr int32_t kRedBoot = kFirstMapItemId, kBlueBoot = kFirstMapItemId + 1, kArmor = kFirstMapItemId + 2,
                  kScroll = kFirstMapItemId + 3, kAxe = kFirstMapItemId + 4, kPotion = kFirstMapItemId + 5;

TEST_F(NetItems, ThePeersFighterTakesWhatItsOwnerTookAndItsPanelShowsIt) {
    TBasePlayer& remote = Remote();
    const float health = remote.Health();
    const float speed = remote.Speed();
    const int32_t armor = remote.Armor;
    for (const int32_t id : {kRedBoot, kArmor, kScroll, kAxe, kPotion}) {
        Taken(id);
        EXPECT_FALSE(Lying(id)) << id;
    }
    ASSERT_NE(remote.BootItem, nullptr);
    EXPECT_EQ(remote.BootItem->Id(), kRedBoot);
    ASSERT_NE(remote.ArmorItem, nullptr);
    EXPECT_EQ(remote.ArmorItem->Id(), kArmor);
    ASSERT_NE(remote.SecondWeapon, nullptr);
    EXPECT_EQ(remote.SecondWeapon->Name, "Axe");
    EXPECT_TRUE(remote.MagicItems[9]) << "fire scroll: magic number 9";
    EXPECT_TRUE(remote.Abilities(kInvisibility).Active);
    // Health, speed and armour stay what its owner last sent.
    EXPECT_FLOAT_EQ(remote.Health(), health);
    EXPECT_FLOAT_EQ(remote.Speed(), speed);
    EXPECT_EQ(remote.Armor, armor);
    // Boots taken in place of others: the first pair is gone on this machine too.
    Taken(kBlueBoot);
    ASSERT_NE(remote.BootItem, nullptr);
    EXPECT_EQ(remote.BootItem->Id(), kBlueBoot);
    EXPECT_FALSE(Lying(kRedBoot));
    EXPECT_EQ(Local().BootItem, nullptr);
    EXPECT_EQ(LogLinesWith("Ignored"), 0u);
}

TEST_F(NetItems, ReportsOfItemsNotLyingHereAreIgnoredAndLogged) {
    // Our fighter took the red boots before the peer's report of its own came in.
    Local().PickUp(*dynamic_cast<TEquipment*>([this] {
        for (const auto& item : Game->Map->Items())
            if (item->Id() == kRedBoot) return item.get();
        return static_cast<TBaseItem*>(nullptr);
    }()));
    ASSERT_NE(Local().BootItem, nullptr);
    Taken(kRedBoot);
    EXPECT_EQ(Remote().BootItem, nullptr);
    EXPECT_EQ(ReceiveErrors("Ignored item " + std::to_string(kRedBoot) + ": taken here first"), 1u);
    // An id no item here has, one the peer's fighter took already, and a missile's.
    Taken(kScroll);
    for (const int32_t id : {kFirstMapItemId + 99, kScroll, 5, -1}) {
        Taken(id);
        EXPECT_EQ(ReceiveErrors("Ignored unknown item " + std::to_string(id)), 1u) << id;
    }
    Local().Strike(*Local().Weapon);
    for (const auto& item : Game->Map->Items())
        if (const auto* missile = dynamic_cast<const TWeapon*>(item.get());
            missile && missile->ExpireTick != 0)
            Taken(missile->Id());
    EXPECT_EQ(Remote().SecondWeapon, nullptr);
    // The id's text must say the same id.
    TNetMessage mismatched = FromPeer(TMessageKind::ItemState, TItemStateBody{kAxe, {}});
    mismatched.Text = "42";
    Deliver(mismatched);
    EXPECT_TRUE(Lying(kAxe));
    EXPECT_EQ(ReceiveErrors("Refused item state for " + std::to_string(kAxe) + " naming \"42\""), 1u);
}

} // namespace
