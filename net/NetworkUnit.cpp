// Field-by-field encoding of the game's network record.
#include "net/NetworkUnit.h"

#include <algorithm>

namespace {

// Header fields: three strings of up to 30 characters, then the kind byte; bodies start at 100.
constexpr size_t kSenderAt = 0, kPlayerAt = 31, kTextAt = 62, kKindAt = 93, kBodyAt = 100;
// Move Player
constexpr size_t kMoveMagicAt = 140, kMoveAbilitiesAt = 155;
// Choose Player: three strings of up to 20 characters, then the handshake behind its mark
constexpr size_t kChooseCharacterAt = 100, kChoosePlayerAt = 121, kChooseMapAt = 142;
constexpr size_t kHandshakeMarkAt = 163, kHandshakeStepAt = 167, kHandshakeRefusalAt = 168,
                 kHandshakeFlagsAt = 169, kHandshakeCharacterSumAt = 170, kHandshakeMapSumAt = 174,
                 kHandshakeMapPathAt = 178;
// Bytes from here on belong to the match's settings, not to the handshake.
constexpr size_t kChooseSettingsAt = 296;
constexpr size_t kChooseRoundsAt = kChooseSettingsAt;
constexpr std::array<uint8_t, 4> kHandshakeMark{'D', 'M', 'X', '1'};
constexpr uint8_t kCharacterPresentBit = 1, kMapPresentBit = 2;
static_assert(kChooseMapAt + 1 + kBodyTextCapacity == kHandshakeMarkAt);
static_assert(kHandshakeMapPathAt + 1 + kMapPathCapacity <= kChooseSettingsAt);
// Item State: the Move Player layout with the item's id over the speed
constexpr size_t kItemIdAt = 108;
// Start Throw
constexpr size_t kThrowWeaponAt = 116;
static_assert(kMoveAbilitiesAt + kNetSlotCount <= kNetMessageSize);
static_assert(kChooseMapAt + 1 + kBodyTextCapacity <= kNetMessageSize);

class TWriter {
public:
    explicit TWriter(TNetRecord& record) : Record(record) {}
    void Int(size_t at, int32_t value) {
        const auto bits = static_cast<uint32_t>(value);
        for (size_t i = 0; i < 4; ++i)
            Record[at + i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    void Text(size_t at, size_t capacity, std::string_view text) {
        const size_t length = std::min(text.size(), capacity);
        Record[at] = static_cast<uint8_t>(length);
        std::copy_n(text.begin(), length, Record.begin() + static_cast<std::ptrdiff_t>(at + 1));
    }
    void Byte(size_t at, uint8_t value) { Record[at] = value; }
    void Bytes(size_t at, std::span<const uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), Record.begin() + static_cast<std::ptrdiff_t>(at));
    }

private:
    TNetRecord& Record;
};

class TReader {
public:
    explicit TReader(std::span<const uint8_t, kNetMessageSize> record) : Record(record) {}
    [[nodiscard]] int32_t Int(size_t at) const {
        uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i)
            bits |= static_cast<uint32_t>(Record[at + i]) << (8 * i);
        return static_cast<int32_t>(bits);
    }
    // A length byte larger than the field holds is the peer's mistake or malice; the field's
    // capacity is all there is to read.
    [[nodiscard]] std::string Text(size_t at, size_t capacity) const {
        const size_t length = std::min<size_t>(Record[at], capacity);
        const auto first = Record.begin() + static_cast<std::ptrdiff_t>(at + 1);
        return std::string(first, first + static_cast<std::ptrdiff_t>(length));
    }
    [[nodiscard]] uint8_t Byte(size_t at) const { return Record[at]; }
    template <size_t N> [[nodiscard]] std::array<uint8_t, N> Bytes(size_t at) const {
        std::array<uint8_t, N> bytes{};
        std::copy_n(Record.begin() + static_cast<std::ptrdiff_t>(at), N, bytes.begin());
        return bytes;
    }

private:
    std::span<const uint8_t, kNetMessageSize> Record;
};

struct TBodyWriter {
    TWriter& Out;
    void operator()(std::monostate) const {}
    void operator()(const TMovePlayerBody& move) const {
        const int32_t values[] = {move.X,      move.Y,         move.Speed,     move.Armor, move.Health,
                                  move.Action, move.Direction, move.FrameBase, move.Frame, move.MaxFrame};
        for (size_t i = 0; i < std::size(values); ++i)
            Out.Int(kBodyAt + 4 * i, values[i]);
        Out.Bytes(kMoveMagicAt, move.MagicItems);
        Out.Bytes(kMoveAbilitiesAt, move.AbilitiesActive);
    }
    void operator()(const TChoosePlayerBody& choose) const {
        Out.Text(kChooseCharacterAt, kBodyTextCapacity, choose.CharacterName);
        Out.Text(kChoosePlayerAt, kBodyTextCapacity, choose.PlayerName);
        Out.Text(kChooseMapAt, kBodyTextCapacity, choose.MapName);
        Out.Byte(kChooseRoundsAt, choose.Rounds);
        if (!choose.Handshake) return;
        const THandshake& handshake = *choose.Handshake;
        Out.Bytes(kHandshakeMarkAt, kHandshakeMark);
        const uint8_t flags = (handshake.CharacterPresent ? kCharacterPresentBit : 0) |
                              (handshake.MapPresent ? kMapPresentBit : 0);
        Out.Byte(kHandshakeStepAt, static_cast<uint8_t>(handshake.Step));
        Out.Byte(kHandshakeRefusalAt, static_cast<uint8_t>(handshake.Refusal));
        Out.Byte(kHandshakeFlagsAt, flags);
        Out.Int(kHandshakeCharacterSumAt, static_cast<int32_t>(handshake.CharacterChecksum));
        Out.Int(kHandshakeMapSumAt, static_cast<int32_t>(handshake.MapChecksum));
        Out.Text(kHandshakeMapPathAt, kMapPathCapacity, handshake.MapPath);
    }
    void operator()(const TStartThrowBody& strike) const {
        Out.Int(kBodyAt, strike.PixelX);
        Out.Int(kBodyAt + 4, strike.PixelY);
        Out.Int(kBodyAt + 8, strike.Direction);
        Out.Int(kBodyAt + 12, strike.Speed);
        Out.Text(kThrowWeaponAt, kBodyTextCapacity, strike.WeaponName);
    }
    void operator()(const THitPlayerBody& hit) const { Out.Int(kBodyAt, hit.Damage); }
    void operator()(const TItemStateBody& item) const {
        (*this)(item.Fighter);
        Out.Int(kItemIdAt, item.ItemId);
    }
};

TMovePlayerBody ReadMoveBody(const TReader& in) {
    TMovePlayerBody move;
    int32_t* const fields[] = {&move.X,      &move.Y,         &move.Speed,     &move.Armor, &move.Health,
                               &move.Action, &move.Direction, &move.FrameBase, &move.Frame, &move.MaxFrame};
    for (size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = in.Int(kBodyAt + 4 * i);
    move.MagicItems = in.Bytes<kNetSlotCount>(kMoveMagicAt);
    move.AbilitiesActive = in.Bytes<kNetSlotCount>(kMoveAbilitiesAt);
    return move;
}

// The handshake, when the record carries its mark.
std::optional<THandshake> ReadHandshake(const TReader& in) {
    if (in.Bytes<kHandshakeMark.size()>(kHandshakeMarkAt) != kHandshakeMark) return std::nullopt;
    THandshake handshake;
    handshake.Step = static_cast<THandshakeStep>(in.Byte(kHandshakeStepAt));
    handshake.Refusal = static_cast<TRefusal>(in.Byte(kHandshakeRefusalAt));
    const uint8_t flags = in.Byte(kHandshakeFlagsAt);
    handshake.CharacterPresent = (flags & kCharacterPresentBit) != 0;
    handshake.MapPresent = (flags & kMapPresentBit) != 0;
    handshake.CharacterChecksum = static_cast<uint32_t>(in.Int(kHandshakeCharacterSumAt));
    handshake.MapChecksum = static_cast<uint32_t>(in.Int(kHandshakeMapSumAt));
    handshake.MapPath = in.Text(kHandshakeMapPathAt, kMapPathCapacity);
    return handshake;
}

} // namespace

TNetRecord EncodeMessage(const TNetMessage& message) {
    TNetRecord record{};
    TWriter out(record);
    out.Text(kSenderAt, kHeaderTextCapacity, message.Sender);
    out.Text(kPlayerAt, kHeaderTextCapacity, message.Player);
    out.Text(kTextAt, kHeaderTextCapacity, message.Text);
    record[kKindAt] = message.Kind;
    std::visit(TBodyWriter{out}, message.Body);
    return record;
}

TNetMessage DecodeMessage(std::span<const uint8_t, kNetMessageSize> record) {
    const TReader in(record);
    TNetMessage message;
    message.Sender = in.Text(kSenderAt, kHeaderTextCapacity);
    message.Player = in.Text(kPlayerAt, kHeaderTextCapacity);
    message.Text = in.Text(kTextAt, kHeaderTextCapacity);
    message.Kind = record[kKindAt];
    switch (static_cast<TMessageKind>(message.Kind)) {
    case TMessageKind::MovePlayer:
        message.Body = ReadMoveBody(in);
        break;
    case TMessageKind::ChoosePlayer:
        message.Body = TChoosePlayerBody{in.Text(kChooseCharacterAt, kBodyTextCapacity),
                                         in.Text(kChoosePlayerAt, kBodyTextCapacity),
                                         in.Text(kChooseMapAt, kBodyTextCapacity), ReadHandshake(in),
                                         in.Byte(kChooseRoundsAt)};
        break;
    case TMessageKind::ItemState: {
        TItemStateBody item{in.Int(kItemIdAt), ReadMoveBody(in)};
        item.Fighter.Speed = 0;
        message.Body = item;
        break;
    }
    case TMessageKind::StartThrow:
        message.Body = TStartThrowBody{in.Int(kBodyAt), in.Int(kBodyAt + 4), in.Int(kBodyAt + 8),
                                       in.Int(kBodyAt + 12), in.Text(kThrowWeaponAt, kBodyTextCapacity)};
        break;
    case TMessageKind::HitPlayer:
        message.Body = THitPlayerBody{in.Int(kBodyAt)};
        break;
    default:
        break; // no body the game reads
    }
    return message;
}
