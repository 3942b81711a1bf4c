// The 304-byte record: fields at their offsets, round trips of every kind, hostile lengths.
#include "net/NetworkUnit.h"

#include <gtest/gtest.h>

namespace {

int32_t IntAt(const TNetRecord& record, size_t at) {
    return static_cast<int32_t>(record[at] | record[at + 1] << 8 | record[at + 2] << 16 |
                                static_cast<uint32_t>(record[at + 3]) << 24);
}

std::string TextAt(const TNetRecord& record, size_t at) {
    return std::string(record.begin() + static_cast<std::ptrdiff_t>(at + 1),
                       record.begin() + static_cast<std::ptrdiff_t>(at + 1 + record[at]));
}

THandshake Announce() {
    return THandshake{THandshakeStep::Announce, TRefusal::None, true, false, 0xDEADBEEF, 0, ""};
}

THandshake StartOffer() {
    return THandshake{THandshakeStep::Start,           TRefusal::None, true, true, 17, 0x80000001,
                      "Maps\\A very long map name.map"};
}

TItemStateBody ItemMessageBody() {
    TItemStateBody item{1073741830, {}};
    item.Fighter = TMovePlayerBody{640, 410, 0, 2, 30, 2, 4, 32, 1, 8, {}, {}};
    item.Fighter.MagicItems[4] = 1;
    item.Fighter.AbilitiesActive[0] = 1;
    return item;
}

TNetMessage MoveMessage() {
    TMovePlayerBody move{-3, 70000, 250, 4, 87, 2, 7, 16, 3, 8, {}, {}};
    move.MagicItems[0] = 1;
    move.MagicItems[14] = 1;
    move.AbilitiesActive[2] = 1;
    return TNetMessage{"Server", "", "", 1, move};
}

} // namespace

TEST(NetMessage, MovePlayerFieldsSitAtTheirOffsets) {
    const TNetRecord record = EncodeMessage(MoveMessage());
    EXPECT_EQ(TextAt(record, 0), "Server");
    EXPECT_EQ(record[93], 1);
    const int32_t expected[] = {-3, 70000, 250, 4, 87, 2, 7, 16, 3, 8};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(IntAt(record, 100 + 4 * i), expected[i]) << i;
    EXPECT_EQ(record[100], 0xFD); // little-endian: the low byte first
    EXPECT_EQ(record[140], 1);
    EXPECT_EQ(record[154], 1);
    EXPECT_EQ(record[157], 1);
    EXPECT_EQ(record[169], 0);
}

TEST(NetMessage, ChoosePlayerAndStartThrowFieldsSitAtTheirOffsets) {
    const TNetRecord choose = EncodeMessage(
        {"Server", "Player1", "MESSAGE", 2, TChoosePlayerBody{"Elf", "Player1", "Maps\\Arena.map"}});
    EXPECT_EQ(TextAt(choose, 31), "Player1");
    EXPECT_EQ(TextAt(choose, 62), "MESSAGE");
    EXPECT_EQ(TextAt(choose, 100), "Elf");
    EXPECT_EQ(TextAt(choose, 121), "Player1");
    EXPECT_EQ(TextAt(choose, 142), "Maps\\Arena.map");

    const TNetRecord strike =
        EncodeMessage({"Client", "", "", 5, TStartThrowBody{320, 240, 6, 2, "Short Bow"}});
    EXPECT_EQ(IntAt(strike, 100), 320);
    EXPECT_EQ(IntAt(strike, 104), 240);
    EXPECT_EQ(IntAt(strike, 108), 6);
    EXPECT_EQ(IntAt(strike, 112), 2);
    EXPECT_EQ(TextAt(strike, 116), "Short Bow");

    const TNetRecord hit = EncodeMessage({"Client", "", "", 6, THitPlayerBody{-12}});
    EXPECT_EQ(IntAt(hit, 100), -12);
}

TEST(NetMessage, EveryKindSurvivesTheRoundTrip) {
    const TNetMessage messages[] = {
        MoveMessage(),
        {"Client", "", "MESSAGE", 2, TChoosePlayerBody{"Knight", "Player2", ""}},
        {"Server", "Player1", "MESSAGE", 2, TChoosePlayerBody{"Ninja", "Player1", "Maps\\Default.map"}},
        {"Server", "", "", 5, TStartThrowBody{-1, 2147483647, 0, -2147483647 - 1, "Axe"}},
        {"Client", "", "", 6, THitPlayerBody{25}},
        {"Client", "", "", 0, std::monostate{}},
        {"Server", "", "", 3, std::monostate{}},
        {"Server", "", "", 4, std::monostate{}},
        {"Server", "", "", 255, std::monostate{}},
        {"Client", "", "1073741830", 7, ItemMessageBody()},
        {"Client", "", "MESSAGE", 2, TChoosePlayerBody{"Knight", "Player2", "", Announce()}},
        {"Server", "Player1", "MESSAGE", 2,
         TChoosePlayerBody{"Ninja", "Player1", "Maps\\A very long ma", StartOffer()}},
        {"Client", "", "MESSAGE", 2,
         TChoosePlayerBody{"Orc", "Player2", "",
                           THandshake{THandshakeStep::Refuse, TRefusal::MapDiffers, true, false, 0, 0, ""}}},
    };
    for (const TNetMessage& message : messages) {
        const TNetRecord record = EncodeMessage(message);
        EXPECT_EQ(DecodeMessage(record), message) << "kind " << int(message.Kind);
    }
}

TEST(NetMessage, KindsWithoutABodyIgnoreTheBodyBytes) {
    for (const uint8_t kind : {0, 3, 4, 8, 200}) {
        TNetRecord record = EncodeMessage(MoveMessage());
        record[93] = kind;
        const TNetMessage message = DecodeMessage(record);
        EXPECT_EQ(message.Kind, kind);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(message.Body)) << int(kind);
    }
}

TEST(NetMessage, LongTextsAreCutToTheirFields) {
    const std::string longText(40, 'x');
    const TNetRecord record =
        EncodeMessage({longText, longText, longText, 2, TChoosePlayerBody{longText, longText, longText}});
    for (size_t at : {0, 31, 62})
        EXPECT_EQ(record[at], 30) << at;
    for (size_t at : {100, 121, 142})
        EXPECT_EQ(record[at], 20) << at;
    EXPECT_EQ(record[93], 2); // the header's last text stops short of the kind
    const TNetMessage decoded = DecodeMessage(record);
    EXPECT_EQ(decoded.Text, std::string(30, 'x'));
    EXPECT_EQ(std::get<TChoosePlayerBody>(decoded.Body).MapName, std::string(20, 'x'));
}

// A hostile peer claims 255 characters: only the field's own bytes are read.
TEST(NetMessage, OverlongLengthBytesAreCutToTheFieldsCapacity) {
    TNetRecord record{};
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = static_cast<uint8_t>('A' + i % 26);
    for (size_t at : {0, 31, 62})
        record[at] = 255;
    record[93] = 2;
    for (size_t at : {100, 121, 142})
        record[at] = 21;
    const TNetMessage message = DecodeMessage(record);
    EXPECT_EQ(message.Sender, std::string(record.begin() + 1, record.begin() + 31));
    EXPECT_EQ(message.Text, std::string(record.begin() + 63, record.begin() + 93));
    const auto& choose = std::get<TChoosePlayerBody>(message.Body);
    EXPECT_EQ(choose.CharacterName, std::string(record.begin() + 101, record.begin() + 121));
    EXPECT_EQ(choose.MapName, std::string(record.begin() + 143, record.begin() + 163));

    record[93] = 5;
    record[116] = 200;
    const TNetMessage strike = DecodeMessage(record);
    EXPECT_EQ(std::get<TStartThrowBody>(strike.Body).WeaponName.size(), 20u);

    record[116] = 20; // the capacity itself is still whole
    EXPECT_EQ(std::get<TStartThrowBody>(DecodeMessage(record).Body).WeaponName,
              std::string(record.begin() + 117, record.begin() + 137));
}

TEST(NetMessage, ItemStateIsTheMovePlayerLayoutWithTheItemIdOverTheSpeed) {
    TItemStateBody item = ItemMessageBody();
    item.Fighter.Speed = 95; // does not travel
    const TNetRecord record = EncodeMessage({"Server", "", "1073741830", 7, item});
    EXPECT_EQ(record[93], 7);
    EXPECT_EQ(TextAt(record, 62), "1073741830");
    const int32_t expected[] = {640, 410, 1073741830, 2, 30, 2, 4, 32, 1, 8};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(IntAt(record, 100 + 4 * i), expected[i]) << i;
    EXPECT_EQ(record[144], 1);
    EXPECT_EQ(record[155], 1);
    const auto decoded = std::get<TItemStateBody>(DecodeMessage(record).Body);
    EXPECT_EQ(decoded.ItemId, 1073741830);
    EXPECT_EQ(decoded.Fighter.Speed, 0);
    EXPECT_EQ(decoded.Fighter.X, 640);
}

TEST(NetMessage, HandshakeSitsBehindItsMarkAfterTheMapName) {
    const std::string longPath = "Maps\\" + std::string(94, 'L') + ".map"; // 103 characters
    THandshake offer = StartOffer();
    offer.MapPath = longPath;
    const TNetRecord record = EncodeMessage(
        {"Server", "Player1", "MESSAGE", 2, TChoosePlayerBody{"Elf", "Player1", longPath, offer}});
    // The older fields stay where they are, the map path cut to 20 there.
    EXPECT_EQ(TextAt(record, 100), "Elf");
    EXPECT_EQ(TextAt(record, 121), "Player1");
    EXPECT_EQ(TextAt(record, 142), longPath.substr(0, 20));
    EXPECT_EQ(std::string(record.begin() + 163, record.begin() + 167), "DMX1");
    EXPECT_EQ(record[167], 1); // Start
    EXPECT_EQ(record[168], 0);
    EXPECT_EQ(record[169], 3); // character and map present
    EXPECT_EQ(IntAt(record, 170), 17);
    EXPECT_EQ(static_cast<uint32_t>(IntAt(record, 174)), 0x80000001u);
    EXPECT_EQ(TextAt(record, 178), longPath.substr(0, 100));
    // The match settings' bytes are left alone.
    for (size_t at = 279; at < 304; ++at)
        EXPECT_EQ(record[at], 0) << at;

    THandshake refusal{THandshakeStep::Refuse, TRefusal::CharacterMissing, false, false, 0, 0, ""};
    const TNetRecord refused =
        EncodeMessage({"Client", "", "MESSAGE", 2, TChoosePlayerBody{"Orc", "Player2", "", refusal}});
    EXPECT_EQ(refused[167], 3);
    EXPECT_EQ(refused[168], 3);
    EXPECT_EQ(refused[169], 0);
}

// A game that knows nothing of the handshake sends zeros or anything else there; only the mark
// makes the bytes count. Step and refusal bytes arrive as they are, known or not.
TEST(NetMessage, HandshakeIsReadOnlyBehindItsMark) {
    TNetRecord record =
        EncodeMessage({"Server", "Player1", "MESSAGE", 2, TChoosePlayerBody{"Elf", "Player1", "Lake"}});
    EXPECT_FALSE(std::get<TChoosePlayerBody>(DecodeMessage(record).Body).Handshake.has_value());
    for (size_t at = 163; at < 304; ++at)
        record[at] = static_cast<uint8_t>(at * 13);
    EXPECT_FALSE(std::get<TChoosePlayerBody>(DecodeMessage(record).Body).Handshake.has_value());
    for (const std::string mark : {"DMX2", "dmx1", "XMX1"}) {
        std::copy(mark.begin(), mark.end(), record.begin() + 163);
        EXPECT_FALSE(std::get<TChoosePlayerBody>(DecodeMessage(record).Body).Handshake.has_value()) << mark;
    }
    const std::string mark = "DMX1";
    std::copy(mark.begin(), mark.end(), record.begin() + 163);
    record[167] = 9;
    record[168] = 200;
    record[178] = 255; // claims more than the field holds
    const auto handshake = std::get<TChoosePlayerBody>(DecodeMessage(record).Body).Handshake;
    ASSERT_TRUE(handshake.has_value());
    EXPECT_EQ(static_cast<int>(handshake->Step), 9);
    EXPECT_EQ(static_cast<int>(handshake->Refusal), 200);
    EXPECT_EQ(handshake->MapPath.size(), 100u);
    EXPECT_EQ(std::get<TChoosePlayerBody>(DecodeMessage(EncodeMessage(DecodeMessage(record))).Body).Handshake,
              handshake);
}

// The server's match length travels in byte 296, with or without the handshake's mark; a game
// that does not say sends 0 there.
TEST(NetMessage, ChoosePlayerCarriesTheRoundsInByte296) {
    for (const bool marked : {false, true}) {
        SCOPED_TRACE(marked);
        TChoosePlayerBody choice{"Elf", "Player1", "Lake"};
        if (marked) choice.Handshake = StartOffer();
        choice.Rounds = 5;
        const TNetMessage message{"Server", "Player1", "MESSAGE", 2, choice};
        const TNetRecord record = EncodeMessage(message);
        EXPECT_EQ(record[296], 5);
        for (size_t at = 297; at < 304; ++at)
            EXPECT_EQ(record[at], 0) << at;
        EXPECT_EQ(DecodeMessage(record), message);
    }
}
