// What the game accepts from its peer: a record is decoded, its sender and kind weighed
// against this side's role and the state of the match, and the names that would pick a
// character or become file paths are checked, all before anything is applied. Kept free of
// the rest of the game (inline here) so that a fuzz target can drive it alone.
#pragma once

#include "net/NetworkUnit.h"
#include "net/PeerNames.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

enum class TPeerVerdict {
    Apply,  // a message this side handles, with everything in it acceptable
    Ignore, // not for us, or nothing to apply it to: dropped without a word
    Reject, // a hostile or broken message: logged and dropped, the match goes on
    Refuse, // a Choose Player naming a character this side lacks: logged, and the
            // handshake says so to both people (Refusal says what)
};

// What this side knows when a record arrives.
struct TPeerContext {
    int32_t NetMode = 0;       // 0 local, 1 server, 2 client
    bool MatchRunning = false; // a match is built and being played
    std::function<bool(std::string_view)> KnowsCharacter;
};

struct TPeerMessage {
    TNetMessage Message;
    TPeerVerdict Verdict = TPeerVerdict::Ignore;
    bool FromPeer = false; // Sender names the other role, whatever the kind
    std::string Error;     // the log line of a rejected or refused message
    TRefusal Refusal = TRefusal::None;
};

// The map path a server's Choose Player names: the whole path of the file check when it came,
// else the map name field, which holds its first 20 characters.
[[nodiscard]] inline std::string_view ChosenMapPath(const TChoosePlayerBody& choice) {
    return choice.Handshake && !choice.Handshake->MapPath.empty()
               ? std::string_view(choice.Handshake->MapPath)
               : std::string_view(choice.MapName);
}

// A peer's name as a log line may show it: anything outside printable ASCII becomes "?".
[[nodiscard]] inline std::string LoggableName(std::string_view name) {
    std::string shown(name);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
    return shown;
}

[[nodiscard]] inline TPeerMessage CheckPeerRecord(std::span<const uint8_t, kNetMessageSize> record,
                                                  const TPeerContext& context) {
    TPeerMessage result;
    result.Message = DecodeMessage(record);
    // A server hears only its client and a client only its server; a message of our own role
    // (relayed or looped back) is not the peer's.
    const std::string_view expected = context.NetMode == 1 ? "Client" : context.NetMode == 2 ? "Server" : "";
    result.FromPeer = !expected.empty() && result.Message.Sender == expected;
    if (!result.FromPeer) return result;
    const auto reject = [&result](std::string text) {
        result.Verdict = TPeerVerdict::Reject;
        result.Error = std::move(text);
        return result;
    };
    const TMessageBody& body = result.Message.Body;
    switch (static_cast<TMessageKind>(result.Message.Kind)) {
    case TMessageKind::MovePlayer:
    case TMessageKind::HitPlayer:
        // Before a match is built there is no fighter to apply them to.
        if (context.MatchRunning) result.Verdict = TPeerVerdict::Apply;
        return result;
    case TMessageKind::StartThrow: {
        const auto* strike = std::get_if<TStartThrowBody>(&body);
        if (!context.MatchRunning || strike == nullptr) return result;
        // The weapon's name becomes "data\<name>.wpn".
        if (!IsPlainName(strike->WeaponName))
            return reject("Refused weapon name \"" + LoggableName(strike->WeaponName) + "\"");
        result.Verdict = TPeerVerdict::Apply;
        return result;
    }
    case TMessageKind::ItemState: {
        const auto* item = std::get_if<TItemStateBody>(&body);
        if (!context.MatchRunning || item == nullptr) return result;
        // The id travels twice; a record whose two do not agree is not to be trusted.
        if (result.Message.Text != std::to_string(item->ItemId))
            return reject("Refused item state for " + std::to_string(item->ItemId) + " naming \"" +
                          LoggableName(result.Message.Text) + "\"");
        result.Verdict = TPeerVerdict::Apply;
        return result;
    }
    case TMessageKind::ChoosePlayer: {
        const auto* choice = std::get_if<TChoosePlayerBody>(&body);
        if (choice == nullptr) return result;
        const std::optional<THandshake>& handshake = choice->Handshake;
        if (handshake &&
            (static_cast<uint8_t>(handshake->Step) > static_cast<uint8_t>(THandshakeStep::Refuse) ||
             static_cast<uint8_t>(handshake->Refusal) > static_cast<uint8_t>(TRefusal::CharacterDiffers)))
            return reject("Refused handshake step " + std::to_string(static_cast<int>(handshake->Step)) +
                          " with refusal " + std::to_string(static_cast<int>(handshake->Refusal)));
        // An answer to our offer or our announcement names nothing new to check.
        if (handshake &&
            (handshake->Step == THandshakeStep::Accept || handshake->Step == THandshakeStep::Refuse)) {
            result.Verdict = TPeerVerdict::Apply;
            return result;
        }
        // The client opens the server's map path as it stands.
        if (context.NetMode == 2 &&
            (!IsPlainMapPath(choice->MapName) || !IsPlainMapPath(ChosenMapPath(*choice))))
            return reject("Refused map path \"" + LoggableName(ChosenMapPath(*choice)) + "\"");
        // Different character files on the two machines: the choice would name no portrait.
        if (!context.KnowsCharacter || !context.KnowsCharacter(choice->CharacterName)) {
            result.Verdict = TPeerVerdict::Refuse;
            result.Refusal = TRefusal::CharacterMissing;
            result.Error = "Unknown character \"" + LoggableName(choice->CharacterName) + "\"";
            return result;
        }
        result.Verdict = TPeerVerdict::Apply;
        return result;
    }
    default:
        // "Message", "Error", "Make Item" and anything above kind 7.
        return result;
    }
}
