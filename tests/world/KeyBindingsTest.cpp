// The key bindings in force: refusals, the [Keys] section read and written, a garbage section
// falling back to the default sets, and fighters reading their bound keys and their gamepad
// through the one held-control table.
#include "world/KeyBindings.h"

#include "PlayersFixture.h"
#include "platform/IniFile.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

class Bindings : public PlayersFixture {
protected:
    void TearDown() override {
        KeyBindings.RestoreDefaults();
        ClearPadState();
        PlayersFixture::TearDown();
    }
    // A settings file holding text, read back through the game's INI reader.
    [[nodiscard]] TKeyBindings ReadFrom(const std::string& text) const {
        const auto path = Media->Folder() / "Keys.def";
        std::ofstream(path, std::ios::binary) << text;
        TKeyBindings read;
        read.Bind(0, TControl::Up, 105); // something other than the defaults, to be replaced
        read.Read(TIniFile(path.string()));
        return read;
    }
};

TEST_F(Bindings, RefusesKeysOfTheGameAndKeysBoundElsewhereButNotAControlsOwnKey) {
    TKeyBindings keys;
    EXPECT_EQ(keys.Bind(0, TControl::Up, 27), TBindRefusal::Reserved);  // Escape
    EXPECT_EQ(keys.Bind(0, TControl::Up, 112), TBindRefusal::Reserved); // P
    EXPECT_EQ(keys.Bind(0, TControl::Up, 109), TBindRefusal::Reserved); // M
    EXPECT_EQ(keys.Bind(0, TControl::Up, 0), TBindRefusal::Reserved);
    EXPECT_EQ(keys.Bind(0, TControl::Up, 324), TBindRefusal::Reserved);
    EXPECT_EQ(keys.Bind(0, TControl::Up, kW), TBindRefusal::Taken);     // player 2's Up
    EXPECT_EQ(keys.Bind(0, TControl::Up, kSpace), TBindRefusal::Taken); // its own Fire
    EXPECT_EQ(keys.Key(0, TControl::Up), kUp);
    EXPECT_EQ(keys.Bind(0, TControl::Up, kUp), TBindRefusal::None);
    EXPECT_EQ(keys.Bind(0, TControl::Up, 105), TBindRefusal::None);
    EXPECT_EQ(keys.Key(0, TControl::Up), 105);
    // The arrow it gave up is free again.
    EXPECT_EQ(keys.Bind(1, TControl::Up, kUp), TBindRefusal::None);
    const auto owner = keys.Owner(kUp);
    ASSERT_TRUE(owner.has_value());
    EXPECT_EQ(owner->first, 1u);
    EXPECT_EQ(owner->second, TControl::Up);
}

TEST_F(Bindings, TheKeysSectionRoundTripsAndBadValuesFallBackToTheDefaults) {
    TKeyBindings custom;
    ASSERT_EQ(custom.Bind(0, TControl::Right, 108), TBindRefusal::None);
    ASSERT_EQ(custom.Bind(1, TControl::SecondFire, 113), TBindRefusal::None);
    std::string text = "[Keys]\n";
    for (const TIniWrite& write : custom.Writes())
        text += write.Key + "=" + write.Value + "\n";
    EXPECT_NE(text.find("P1Right=108\n"), std::string::npos);
    EXPECT_NE(text.find("P2SecondFire=113\n"), std::string::npos);
    EXPECT_NE(text.find("P1Up=273\n"), std::string::npos);
    const TKeyBindings read = ReadFrom(text);
    EXPECT_EQ(read.Set(0), custom.Set(0));
    EXPECT_EQ(read.Set(1), custom.Set(1));

    struct TCase {
        const char* Section;
        TKeySet Player1;
    };
    TKeySet rightOnL = kDefaultKeySets[0];
    rightOnL[static_cast<size_t>(TControl::Right)] = 108;
    const TCase cases[] = {
        {"", kDefaultKeySets[0]},
        {"[Keys]\nP1Up=banana\nP1Down=-4\nP1Left=99999\nP1Fire=27\n", kDefaultKeySets[0]},
        // Each unusable value keeps its own default; a good one is kept.
        {"[Keys]\nP1Up=\nP1Right=108\nP2Up=$FFFFFFFF\n", rightOnL},
        // One key twice: the whole table is back to the defaults.
        {"[Keys]\nP1Right=108\nP2Left=108\n", kDefaultKeySets[0]},
        {"[Keys]\nP1Up=119\n", kDefaultKeySets[0]},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Section);
        const TKeyBindings bindings = ReadFrom(c.Section);
        EXPECT_EQ(bindings.Set(0), c.Player1);
        EXPECT_EQ(bindings.Set(1), kDefaultKeySets[1]);
    }
}

TEST_F(Bindings, AFighterWalksOnItsReboundKeyAndNoLongerOnTheOldOne) {
    ASSERT_EQ(KeyBindings.Bind(0, TControl::Right, 108), TBindRefusal::None);
    TPlayer& player = AddPlayer(300, 300, 0);
    Hold(kRight);
    Step(20);
    EXPECT_EQ(player.Action(), kActionStand);
    Release(kRight);
    Hold(108);
    Step(20);
    EXPECT_EQ(player.Action(), kActionWalk);
    EXPECT_EQ(player.Direction(), 2);
}

TEST_F(Bindings, APadHoldsAPlayersControlsBesideItsKeys) {
    TPlayer& first = AddPlayer(300, 300, 0);
    TPlayer& second = AddPlayer(600, 600, 1);
    SetPadControl(1, static_cast<size_t>(TControl::Left), true);
    Step(20);
    EXPECT_EQ(second.Action(), kActionWalk);
    EXPECT_EQ(second.Direction(), 6);
    EXPECT_EQ(first.Action(), kActionStand);
    // Key and pad together, then the key alone when the pad lets go.
    Hold(kW);
    Step(20);
    EXPECT_EQ(second.Direction(), 7);
    SetPadControl(1, static_cast<size_t>(TControl::Left), false);
    Step(20);
    EXPECT_EQ(second.Direction(), 0);
    Release(kW);
    SetPadControl(1, static_cast<size_t>(TControl::Fire), true);
    Step(20);
    EXPECT_EQ(second.Action(), kActionAttack);
    // Pads past the second and unknown controls change nothing.
    SetPadControl(2, 0, true);
    SetPadControl(-1, 0, true);
    SetPadControl(0, kControlCount, true);
    EXPECT_FALSE(PadControlHeld(2, 0));
    EXPECT_FALSE(PadControlHeld(0, kControlCount));
}

} // namespace
