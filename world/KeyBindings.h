// The key bindings in force: which SDL 1.2 key each player's six controls answer to, their
// defaults, and how they are read from and written to the settings' [Keys] section. The
// keyboard fighters, the KEYS screen and the help read them from here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TIniFile;
struct TIniWrite;

// A fighter's controls, in the order of its key set.
enum class TControl : size_t { Up, Down, Left, Right, Fire, SecondFire };
constexpr size_t kControlCount = 6;
// Two players at one keyboard; a networked match plays with player 1's keys.
constexpr size_t kBoundPlayers = 2;

using TKeySet = std::array<int32_t, kControlCount>;

// Player 1: the arrows, Space, right Alt; player 2: w s a d, left Ctrl, left Alt.
constexpr std::array<TKeySet, kBoundPlayers> kDefaultKeySets{{
    {273, 274, 276, 275, 32, 307},
    {119, 115, 97, 100, 306, 308},
}};

// The words the KEYS screen and the settings use for each control.
constexpr std::array<std::string_view, kControlCount> kControlNames{"Up",    "Down", "Left",
                                                                    "Right", "Fire", "Second fire"};
constexpr std::array<std::string_view, kControlCount> kControlKeyNames{"Up",    "Down", "Left",
                                                                       "Right", "Fire", "SecondFire"};

// Why a key cannot be bound.
enum class TBindRefusal : uint8_t { None, Reserved, Taken };

class TKeyBindings {
public:
    [[nodiscard]] int32_t Key(size_t player, TControl control) const {
        return Sets[player][static_cast<size_t>(control)];
    }
    [[nodiscard]] const TKeySet& Set(size_t player) const { return Sets[player]; }
    // Binds key to the control unless it is no key, one the game itself answers to on every
    // screen (Escape, M, P, Pause, F3, F11, Return), or bound to another control of either
    // player. The refusal says which; rebinding a control to its own key is no change.
    TBindRefusal Bind(size_t player, TControl control, int32_t key);
    // The player and control a key is bound to, if any.
    [[nodiscard]] std::optional<std::pair<size_t, TControl>> Owner(int32_t key) const;
    void RestoreDefaults() { Sets = kDefaultKeySets; }

    // [Keys] "P1Up" .. "P2SecondFire". A value that is no usable key keeps its control's
    // default; when the result binds one key twice, all of them take the defaults.
    void Read(const TIniFile& settings);
    [[nodiscard]] std::vector<TIniWrite> Writes() const;

private:
    std::array<TKeySet, kBoundPlayers> Sets = kDefaultKeySets;
};

// A key the game answers to before any fighter does, so it can control nobody.
[[nodiscard]] bool ReservedKey(int32_t key);
// "P1Up", "P2SecondFire": the settings' name of a player's control.
[[nodiscard]] std::string BindingName(size_t player, TControl control);

// The bindings in force, read at start and written back with the settings.
extern TKeyBindings KeyBindings;
