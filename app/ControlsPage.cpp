// The controls page of the help screen, written from the key sets in force.
#include "app/ControlsPage.h"

#include "app/GameUnit.h"
#include "world/KeyBindings.h"

std::vector<std::string> ControlsPageLines() {
    std::vector<std::string> lines{"Controls"};
    for (size_t set = 0; set < kBoundPlayers; ++set) {
        const TKeySet& keys = KeyBindings.Set(set);
        const auto label = [&keys](TControl control) { return KeyName(keys[static_cast<size_t>(control)]); };
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
                                  "other's health is gone. P pauses a match at one keyboard,",
                                  "M mutes the sound, Escape quits.",
                              });
    return lines;
}
