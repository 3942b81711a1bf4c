// The game's one network message: a record of 304 bytes with a header and a body that depends
// on the kind. Encoded and decoded field by field (little-endian 32-bit integers, strings as
// a length byte and characters in a field of fixed capacity), so a hostile record can never
// make us read outside it. What the game does with a message is the game's business.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

constexpr int32_t kNetMessageSize = 304;
using TNetRecord = std::array<uint8_t, kNetMessageSize>;

// Kinds travel as one byte; any byte may arrive, so a message keeps the raw value.
enum class TMessageKind : uint8_t {
    Message = 0,
    MovePlayer = 1,
    ChoosePlayer = 2,
    Error = 3,
    MakeItem = 4,
    StartThrow = 5,
    HitPlayer = 6,
};
// The kind list's names, by kind number.
constexpr std::array<std::string_view, 7> kMessageKindNames = {
    "Message", "Move Player", "Choose Player", "Error", "Make Item", "Start Throw", "Hit Player"};

// Characters a string field can carry; longer texts are cut, and so are length bytes that
// claim more.
constexpr size_t kHeaderTextCapacity = 30;
constexpr size_t kBodyTextCapacity = 20;
// Magic item and ability slots 1..15 travel as one byte each, slot 1 first.
constexpr size_t kNetSlotCount = 15;

// The state of the sender's own fighter.
struct TMovePlayerBody {
    int32_t X = 0, Y = 0;
    int32_t Speed = 0; // pixels per ms times 1000
    int32_t Armor = 0, Health = 0;
    int32_t Action = 0, Direction = 0, FrameBase = 0, Frame = 0, MaxFrame = 0;
    std::array<uint8_t, kNetSlotCount> MagicItems{};
    std::array<uint8_t, kNetSlotCount> AbilitiesActive{};
    friend bool operator==(const TMovePlayerBody&, const TMovePlayerBody&) = default;
};

struct TChoosePlayerBody {
    std::string CharacterName;
    std::string PlayerName; // "Player1" from the server, "Player2" from the client
    std::string MapName;    // server only
    friend bool operator==(const TChoosePlayerBody&, const TChoosePlayerBody&) = default;
};

// The sender's own fighter strikes with the named weapon.
struct TStartThrowBody {
    int32_t PixelX = 0, PixelY = 0, Direction = 0, Speed = 0;
    std::string WeaponName;
    friend bool operator==(const TStartThrowBody&, const TStartThrowBody&) = default;
};

// The health a hit took from the receiver's own fighter.
struct THitPlayerBody {
    int32_t Damage = 0;
    friend bool operator==(const THitPlayerBody&, const THitPlayerBody&) = default;
};

// Kinds without a body (and unknown kinds) carry std::monostate.
using TMessageBody =
    std::variant<std::monostate, TMovePlayerBody, TChoosePlayerBody, TStartThrowBody, THitPlayerBody>;

struct TNetMessage {
    std::string Sender; // "Server" or "Client"
    std::string Player; // "Player1" in the server's Choose Player
    std::string Text;   // "MESSAGE" in both Choose Player messages
    uint8_t Kind = 0;
    TMessageBody Body;
    friend bool operator==(const TNetMessage&, const TNetMessage&) = default;
};

// Writes the header and the body held (whatever the kind byte says); unused bytes are zero.
// Texts longer than their field are cut.
[[nodiscard]] TNetRecord EncodeMessage(const TNetMessage& message);
// Reads the header and, for kinds 1, 2, 5 and 6, their body; any other kind gets none.
[[nodiscard]] TNetMessage DecodeMessage(std::span<const uint8_t, kNetMessageSize> record);
