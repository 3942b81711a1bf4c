// The KEYS screen, reached from the setup screen: both players' six controls with their keys.
// A click on a control and a key pressed rebind it; a key the game keeps for itself, or one
// already bound to another control of either player, is refused with a word on screen.
// DEFAULTS restores the two shipped key sets, BACK returns to the setup screen.
#include "app/GameUnit.h"
#include "media/BriskText.h"
#include "world/KeyBindings.h"

#include <SDL.h>
#include <cctype>
#include <string>

namespace {

// The two columns, one per player, and the rows of their controls.
constexpr int32_t kColumnWidth = 300;
constexpr int32_t kColumnLeft = 20;
constexpr int32_t kHeaderY = 80;
constexpr int32_t kFirstRowY = 125;
constexpr int32_t kRowHeight = 40;
constexpr int32_t kLabelX = 40;
constexpr int32_t kKeyX = 180;
constexpr int32_t kNoticeX = 40;
constexpr int32_t kNoticeY = 385;

constexpr TClickRect kBackRect{10, 200, 430, 480};
constexpr TClickRect kDefaultsRect{210, 450, 430, 480};

// The control under a click (player * 6 + control), or -1.
int32_t ControlAt(int32_t x, int32_t y) {
    for (int32_t player = 0; player < static_cast<int32_t>(kBoundPlayers); ++player)
        for (int32_t control = 0; control < static_cast<int32_t>(kControlCount); ++control) {
            const int32_t left = kColumnLeft + player * kColumnWidth;
            const int32_t top = kFirstRowY + control * kRowHeight;
            if (TClickRect{left - 1, left + kColumnWidth, top - 1, top + kRowHeight}.Contains(x, y))
                return player * static_cast<int32_t>(kControlCount) + control;
        }
    return -1;
}

std::string ControlTitle(size_t player, TControl control) {
    return "Player " + std::to_string(player + 1) + "'s " +
           std::string(kControlNames[static_cast<size_t>(control)]);
}

void KeysClick(TBriskGame& game, int32_t x, int32_t y) {
    if (kBackRect.Contains(x, y)) {
        game.KeysChoice = -1;
        game.SetState(TGameState::Setup);
        return;
    }
    if (kDefaultsRect.Contains(x, y)) {
        KeyBindings.RestoreDefaults();
        game.KeysChoice = -1;
        game.KeysNotice = "The default keys are back.";
        return;
    }
    game.KeysChoice = ControlAt(x, y);
    if (game.KeysChoice < 0) {
        game.KeysNotice.clear();
        return;
    }
    const auto player = static_cast<size_t>(game.KeysChoice) / kControlCount;
    const auto control = static_cast<TControl>(static_cast<size_t>(game.KeysChoice) % kControlCount);
    game.KeysNotice = "Press a key for " + ControlTitle(player, control) + ".";
}

// A key pressed while a control waits for one.
void KeysPress(TBriskGame& game, int32_t key) {
    const auto player = static_cast<size_t>(game.KeysChoice) / kControlCount;
    const auto control = static_cast<TControl>(static_cast<size_t>(game.KeysChoice) % kControlCount);
    const auto owner = KeyBindings.Owner(key);
    switch (KeyBindings.Bind(player, control, key)) {
    case TBindRefusal::None:
        game.KeysChoice = -1;
        game.KeysNotice = ControlTitle(player, control) + " is now " + KeyName(key) + ".";
        break;
    case TBindRefusal::Reserved:
        game.KeysNotice = KeyName(key) + " is the game's own key; press another.";
        break;
    case TBindRefusal::Taken:
        game.KeysNotice =
            KeyName(key) + " is taken by " + ControlTitle(owner->first, owner->second) + "; press another.";
        break;
    }
}

} // namespace

std::string KeyName(int32_t key) {
    const char* sdlName = key > 0 && key < SDLK_LAST ? SDL_GetKeyName(static_cast<SDLKey>(key)) : nullptr;
    std::string name = sdlName != nullptr ? sdlName : "";
    if (name.empty() || name == "unknown key") return "Key " + std::to_string(key);
    // The arrows' own names would read like the controls beside them.
    if (name == "up" || name == "down" || name == "left" || name == "right") name += " arrow";
    // SDL names keys in lower case ("left alt"); the screen capitalises each word.
    bool wordStart = true;
    for (char& c : name) {
        if (wordStart) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        wordStart = c == ' ';
    }
    return name;
}

TFrameHooks TBriskGame::KeysHooks() {
    return {[this](const SDL_Event& event) {
                if (IsClick(event)) {
                    KeysClick(*this, event.button.x, event.button.y);
                    return true;
                }
                // Escape still quits and M still mutes; any other key goes to the waiting control.
                if (event.type != SDL_KEYDOWN || KeysChoice < 0) return false;
                const int32_t key = event.key.keysym.sym;
                if (key == kKeyEscape || key == kKeyMute) return false;
                KeysPress(*this, key);
                return true;
            },
            [this] { RenderKeys(); }, nullptr};
}

void TBriskGame::KeysProcess() {
    RunFrameLoop(TGameState::Keys, KeysHooks());
}

void TBriskGame::RenderKeys() {
    TBriskFont& blue = FontList->Items(kFontBlue);
    TBriskFont& yellow = FontList->Items(kFontYellow);
    TBriskFont& small = FontList->Items(kFontSmall);
    DrawMenuBackground();
    DrawTitleLine();
    for (size_t player = 0; player < kBoundPlayers; ++player) {
        const int32_t left = kColumnLeft + static_cast<int32_t>(player) * kColumnWidth;
        blue.TextOut(left + kLabelX - kColumnLeft, kHeaderY, "Player " + std::to_string(player + 1));
        for (size_t control = 0; control < kControlCount; ++control) {
            const int32_t y = kFirstRowY + static_cast<int32_t>(control) * kRowHeight;
            const int32_t x = left - kColumnLeft;
            small.TextOut(x + kLabelX, y + 8, kControlNames[control]);
            const bool waiting = KeysChoice == static_cast<int32_t>(player * kControlCount + control);
            const std::string key =
                waiting ? "press a key" : KeyName(KeyBindings.Key(player, static_cast<TControl>(control)));
            (waiting ? yellow : blue).TextOut(x + kKeyX, y, key);
        }
    }
    if (!KeysNotice.empty()) small.TextOut(kNoticeX, kNoticeY, KeysNotice);
    yellow.TextOut(50, 430, "[  BACK  ]");
    yellow.TextOut(220, 430, "[  DEFAULTS  ]");
}
