// A whole match between two computer-driven fighters without a window, sound or keyboard:
// the real map, items, missiles and rules, with the game clock stepped in fixed updates and
// the random generator seeded. The duel runner (tools/) and the tests play through it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct TDuelFighter {
    std::string Character; // a character file's base name: "data\<Character>.plr"
    // Empty: the character's shipped AI ("data\default.ai" joined with its own file). Else a
    // script file run alone, not joined with anything.
    std::string ScriptFile;
};

struct TDuelOptions {
    std::string MapName = "Default"; // "maps\<MapName>.map"
    uint32_t Seed = 1;
    int32_t Level = 1;                // kAILevelEasy, kAILevelNormal or kAILevelHard, for both
    uint32_t LimitMs = 5 * 60 * 1000; // game time after which the match is given up
    // One update of the field every this many milliseconds of game time: the pace of a game
    // drawing some sixty frames a second.
    uint32_t StepMs = 16;
};

struct TDuelResult {
    int32_t Winner = -1; // 0 or 1; -1 when unfinished or ended by an error
    uint32_t GameMs = 0; // game time played
    std::array<float, 2> Health{};
    std::array<float, 2> MaxHealth{};
    std::string Error; // what ended the match early (a script error, a broken file)
};

// Plays one match. The map's start places go to fighter 0 (player 1) and fighter 1 (player 2)
// as in the game; fighter i's script reads i from GetPlayerID. Needs the media library up
// (pictures are loaded as the game loads them) and the data folder as working directory.
// Every error of a match (a script error, a missing file) ends it with Error set; the clock
// and the random generator are given back as they were installed.
[[nodiscard]] TDuelResult PlayDuel(const TDuelOptions& options, const std::array<TDuelFighter, 2>& fighters);
