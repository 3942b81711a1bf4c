// The game's one network message: a record of 304 bytes with a header and a body that depends
// on the kind. Encoded and decoded field by field (little-endian 32-bit integers, strings as
// a length byte and characters in a field of fixed capacity), so a hostile record can never
// make us read outside it. What the game does with a message is the game's business.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
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
    // Not in the kind list, which has no name for it: an item the sender's fighter has taken.
    ItemState = 7,
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

// The two games check that they play with the same files before a match starts. The check
// travels in bytes of the Choose Player body after the map name, which a game that knows
// nothing of it leaves without meaning; a record carries it only behind the mark "DMX1".
//
//   offset  size  field
//   100     21    character name            (every game)
//   121     21    "Player1" / "Player2"     (every game)
//   142     21    map path, first 20 chars  (every game; server only)
//   163     4     mark "DMX1"
//   167     1     Step (THandshakeStep)
//   168     1     Refusal (TRefusal), with Step Refuse
//   169     1     flags: bit 0 CharacterPresent, bit 1 MapPresent
//   170     4     CharacterChecksum, little-endian
//   174     4     MapChecksum, little-endian (server only)
//   178     101   MapPath: length byte and up to 100 characters (server only)
//   279..295      unused
//   296     1     Rounds: the server's match length (1, 3 or 5; 0 from a game that does not
//                 say, which plays one round). Written whether or not the mark is.
//   297..303      reserved for what else a match setting needs
//
// The client announces itself (Announce), the server offers its match (Start), and the
// client takes it (Accept) or either side refuses (Refuse, naming what is wrong). A game
// that does not send the mark is answered as before: its match starts at once.
enum class THandshakeStep : uint8_t { Announce = 0, Start = 1, Accept = 2, Refuse = 3 };
// What the refusing side lacks, or holds in a form other than the peer's, of the peer's
// choice: the server's map, or the character the other side plays.
enum class TRefusal : uint8_t {
    None = 0,
    MapMissing = 1,
    MapDiffers = 2,
    CharacterMissing = 3,
    CharacterDiffers = 4
};

// Whole map paths up to this length travel; the map name field keeps the first 20.
constexpr size_t kMapPathCapacity = 100;

struct THandshake {
    // Both kept as the byte that came, known or not; the game refuses what it does not know.
    THandshakeStep Step = THandshakeStep::Announce;
    TRefusal Refusal = TRefusal::None;
    bool CharacterPresent = false; // the sender has its character's file
    bool MapPresent = false;       // the server has the map's file
    uint32_t CharacterChecksum = 0;
    uint32_t MapChecksum = 0;
    std::string MapPath; // the whole map path
    friend bool operator==(const THandshake&, const THandshake&) = default;
};

struct TChoosePlayerBody {
    std::string CharacterName;
    std::string PlayerName; // "Player1" from the server, "Player2" from the client
    std::string MapName;    // server only
    std::optional<THandshake> Handshake = std::nullopt;
    uint8_t Rounds = 0; // the server's rounds; 0 for none said
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

// An item the sender's own fighter has taken from the map: the Move Player layout with the
// item's id at offset 108, where Move Player has the speed (the message's Text carries the id
// in decimal too). Fighter is the sender's fighter as it took the item; its Speed does not
// travel and reads 0.
struct TItemStateBody {
    int32_t ItemId = 0;
    TMovePlayerBody Fighter;
    friend bool operator==(const TItemStateBody&, const TItemStateBody&) = default;
};

// Kinds without a body (and unknown kinds) carry std::monostate.
using TMessageBody = std::variant<std::monostate, TMovePlayerBody, TChoosePlayerBody, TStartThrowBody,
                                  THitPlayerBody, TItemStateBody>;

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
// Reads the header and, for kinds 1, 2, 5, 6 and 7, their body; any other kind gets none.
[[nodiscard]] TNetMessage DecodeMessage(std::span<const uint8_t, kNetMessageSize> record);
