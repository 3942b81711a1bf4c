// The controls page of the help screen, written from the key sets in force.
#include "app/ControlsPage.h"

#include "world/Players.h"

#include <SDL.h>
#include <cctype>

std::string KeyLabel(int32_t key) {
    if (key <= 0 || key >= SDLK_LAST) return "none";
    std::string name = SDL_GetKeyName(static_cast<SDLKey>(key));
    if (name.empty() || name == "unknown key") return "key " + std::to_string(key);
    name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::vector<std::string> ControlsPageLines() {
    std::vector<std::string> lines{"Controls"};
    for (int32_t set = 0; set < 2; ++set) {
        const auto& keys = KeySetKeys(set);
        const auto label = [&keys](TControl control) { return KeyLabel(keys[static_cast<size_t>(control)]); };
        lines.push_back("Player " + std::to_string(set + 1) + ": walk " + label(TControl::Up) + ", " +
                        label(TControl::Down) + ", " + label(TControl::Left) + ", " + label(TControl::Right) + ";");
        lines.push_back("     fire " + label(TControl::Fire) + ", second fire " + label(TControl::SecondFire) + ".");
    }
    lines.insert(lines.end(), {
                                  "Two directions walk diagonally. A tap of fire strikes once,",
                                  "holding it goes on striking. Second fire throws the weapon",
                                  "picked up last. Walk over an item to take it: weapons,",
                                  "cloaks (armour), gloves, boots, potions and magic items;",
                                  "its name shows for a moment. Water drowns a fighter",
                                  "without water-walking boots.",
                                  "The match is won by the fighter left standing when the",
                                  "other's health is gone. Escape quits, M mutes the sound.",
                              });
    return lines;
}
