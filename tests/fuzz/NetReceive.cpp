// Fuzzes the game's judgement of a peer's record, in every role and match state: whatever the
// bytes, the check never crashes, and what it lets through names only a character this side
// has, plain weapon names and map paths that stay in the maps folder.
#include "app/NetPlayChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    TNetRecord record{};
    std::copy_n(data + 1, std::min(size - 1, record.size()), record.begin());
    const auto knows = [](std::string_view name) { return name == "Elf" || name == "Knight"; };
    // The first byte picks the role and whether a match is running.
    const TPeerContext context{data[0] % 3, (data[0] & 4) != 0, knows};
    const TPeerMessage checked = CheckPeerRecord(record, context);
    if (checked.Verdict == TPeerVerdict::Reject && checked.Error.empty()) std::abort();
    if (checked.Verdict == TPeerVerdict::Ignore) return 0;
    if (!checked.FromPeer || context.NetMode == 0) std::abort();
    const TMessageBody& body = checked.Message.Body;
    if (checked.Verdict == TPeerVerdict::Reject) {
        for (const char c : checked.Error)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) std::abort();
        return 0;
    }
    if (const auto* choice = std::get_if<TChoosePlayerBody>(&body)) {
        if (!knows(choice->CharacterName)) std::abort();
        if (context.NetMode == 2 && !IsPlainMapPath(choice->MapName)) std::abort();
    } else if (const auto* strike = std::get_if<TStartThrowBody>(&body)) {
        if (!context.MatchRunning || !IsPlainName(strike->WeaponName)) std::abort();
    } else if (!context.MatchRunning) {
        std::abort();
    }
    return 0;
}
