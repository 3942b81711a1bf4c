// Fuzzes the game's judgement of a peer's record, in every role and match state: whatever the
// bytes, the check never crashes, and what it lets through names only a character this side
// has, plain weapon names, map paths that stay in the maps folder, handshake steps and
// refusals this side knows, and item states whose id and text agree.
#include "app/NetPlayChecks.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    TNetRecord record{};
    std::copy_n(data + 1, std::min(size - 1, record.size()), record.begin());
    // Bit 3 of the first byte turns a record into a kind 7 or a Choose Player with the
    // handshake's mark, so those paths are reached without guessing their bytes.
    if ((data[0] & 8) != 0) {
        record[93] = (data[0] & 16) != 0 ? 7 : 2;
        constexpr uint8_t kMark[] = {'D', 'M', 'X', '1'};
        if (record[93] == 2) std::copy(std::begin(kMark), std::end(kMark), record.begin() + 163);
        // An item state whose text says the id it carries.
        if (record[93] == 7 && (data[0] & 32) != 0) {
            const auto id = static_cast<int32_t>(record[108] | record[109] << 8 | record[110] << 16 |
                                                 static_cast<uint32_t>(record[111]) << 24);
            const std::string text = std::to_string(id);
            record[62] = static_cast<uint8_t>(text.size());
            std::copy(text.begin(), text.end(), record.begin() + 63);
        }
    }
    const auto knows = [](std::string_view name) { return name == "Elf" || name == "Knight"; };
    // The first byte picks the role and whether a match is running.
    const TPeerContext context{data[0] % 3, (data[0] & 4) != 0, knows};
    const TPeerMessage checked = CheckPeerRecord(record, context);
    if (checked.Verdict == TPeerVerdict::Reject && checked.Error.empty()) std::abort();
    if (checked.Verdict == TPeerVerdict::Ignore) return 0;
    if (!checked.FromPeer || context.NetMode == 0) std::abort();
    const TMessageBody& body = checked.Message.Body;
    if (checked.Verdict == TPeerVerdict::Reject || checked.Verdict == TPeerVerdict::Refuse) {
        for (const char c : checked.Error)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) std::abort();
        if (checked.Verdict == TPeerVerdict::Refuse && checked.Refusal != TRefusal::CharacterMissing)
            std::abort();
        return 0;
    }
    if (const auto* choice = std::get_if<TChoosePlayerBody>(&body)) {
        const auto& handshake = choice->Handshake;
        if (handshake &&
            (static_cast<uint8_t>(handshake->Step) > 3 || static_cast<uint8_t>(handshake->Refusal) > 4))
            std::abort();
        const bool answer = handshake && (handshake->Step == THandshakeStep::Accept ||
                                          handshake->Step == THandshakeStep::Refuse);
        if (!answer && !knows(choice->CharacterName)) std::abort();
        if (!answer && context.NetMode == 2 &&
            (!IsPlainMapPath(choice->MapName) || !IsPlainMapPath(ChosenMapPath(*choice))))
            std::abort();
    } else if (const auto* strike = std::get_if<TStartThrowBody>(&body)) {
        if (!context.MatchRunning || !IsPlainName(strike->WeaponName)) std::abort();
    } else if (const auto* item = std::get_if<TItemStateBody>(&body)) {
        if (!context.MatchRunning || checked.Message.Text != std::to_string(item->ItemId)) std::abort();
    } else if (!context.MatchRunning) {
        std::abort();
    }
    return 0;
}
