// What the game accepts from its peer: a record is decoded, its sender and kind weighed
// against this side's role and the state of the match, and the names that would pick a
// character or become file paths are checked, all before anything is applied. Kept free of
// the rest of the game (inline here) so that a fuzz target can drive it alone.
#pragma once

#include "net/NetworkUnit.h"
#include "net/PeerNames.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

enum class TPeerVerdict {
    Apply,  // a message this side handles, with everything in it acceptable
    Ignore, // not for us, or nothing to apply it to: dropped without a word
    Reject, // a hostile or mismatched message: logged and dropped, the match goes on
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
    std::string Error;     // the log line of a rejected message
};

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
    case TMessageKind::ChoosePlayer: {
        const auto* choice = std::get_if<TChoosePlayerBody>(&body);
        if (choice == nullptr) return result;
        // Different character files on the two machines: the choice would name no portrait.
        if (!context.KnowsCharacter || !context.KnowsCharacter(choice->CharacterName))
            return reject("Unknown character \"" + LoggableName(choice->CharacterName) + "\"");
        // The client opens the server's map path as it stands.
        if (context.NetMode == 2 && !IsPlainMapPath(choice->MapName))
            return reject("Refused map path \"" + LoggableName(choice->MapName) + "\"");
        result.Verdict = TPeerVerdict::Apply;
        return result;
    }
    default:
        // "Message", "Error", "Make Item", the reserved kind 7 and anything above.
        return result;
    }
}
