// The key bindings: the refusal rules, the owner of a key, and the [Keys] section.
#include "world/KeyBindings.h"

#include "platform/IniFile.h"
#include "world/KeyState.h"

#include <algorithm>
#include <set>

TKeyBindings KeyBindings;

namespace {

// Keys every screen, the match included, takes before the fighters: Return stands for Alt+Enter.
constexpr std::array<int32_t, 7> kReservedKeys{
    27,  // Escape quits
    109, // M mutes
    112, // P pauses
    19,  // Pause pauses
    284, // F3, the test key
    292, // F11, full screen
    13,  // Return, with Alt full screen
};

} // namespace

bool ReservedKey(int32_t key) {
    return std::find(kReservedKeys.begin(), kReservedKeys.end(), key) != kReservedKeys.end();
}

std::string BindingName(size_t player, TControl control) {
    return "P" + std::to_string(player + 1) + std::string(kControlKeyNames[static_cast<size_t>(control)]);
}

std::optional<std::pair<size_t, TControl>> TKeyBindings::Owner(int32_t key) const {
    for (size_t player = 0; player < kBoundPlayers; ++player)
        for (size_t control = 0; control < kControlCount; ++control)
            if (Sets[player][control] == key) return std::pair{player, static_cast<TControl>(control)};
    return std::nullopt;
}

TBindRefusal TKeyBindings::Bind(size_t player, TControl control, int32_t key) {
    // Key 0 is SDL's "unknown"; a fighter bound to it would read no keys at all.
    if (key <= 0 || key >= kKeyCount || ReservedKey(key)) return TBindRefusal::Reserved;
    const auto owner = Owner(key);
    if (owner && *owner != std::pair{player, control}) return TBindRefusal::Taken;
    Sets[player][static_cast<size_t>(control)] = key;
    return TBindRefusal::None;
}

void TKeyBindings::Read(const TIniFile& settings) {
    std::array<TKeySet, kBoundPlayers> read = kDefaultKeySets;
    std::set<int32_t> seen;
    for (size_t player = 0; player < kBoundPlayers; ++player)
        for (size_t control = 0; control < kControlCount; ++control) {
            const int32_t fallback = kDefaultKeySets[player][control];
            const int32_t key =
                settings.ReadInteger("Keys", BindingName(player, static_cast<TControl>(control)), fallback);
            const bool usable = key > 0 && key < kKeyCount && !ReservedKey(key);
            read[player][control] = usable ? key : fallback;
            seen.insert(read[player][control]);
        }
    // One key for two controls would move both at once: the whole table is then untrusted.
    Sets = seen.size() == kBoundPlayers * kControlCount ? read : kDefaultKeySets;
}

std::vector<TIniWrite> TKeyBindings::Writes() const {
    std::vector<TIniWrite> writes;
    for (size_t player = 0; player < kBoundPlayers; ++player)
        for (size_t control = 0; control < kControlCount; ++control)
            writes.push_back({"Keys", BindingName(player, static_cast<TControl>(control)),
                              std::to_string(Sets[player][control])});
    return writes;
}
