// Play strength: on the shipped maps, each character's computer opponent against a simple
// keyboard fighter of the same character that walks straight at it and keeps striking,
// headless with the test clock. DUELMARK_AI_DUELS sets the matches per map and character
// (1 by default, which keeps the sanitizer build quick; the full table is 20);
// DUELMARK_AI_MAP and DUELMARK_AI_CHARACTER pick one map or character, and DUELMARK_AI_TRACE
// prints both fighters every that many milliseconds of game time, and what the script prints.
#include "platform/IniFile.h"
#include "platform/Random.h"
#include "support/MediaFixture.h"
#include "script/BriskAI.h"
#include "world/AIPlayers.h"
#include "world/KeyState.h"
#include "world/Map.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kUpdateMs = 16;
// A match may last three minutes of game time.
constexpr uint32_t kMatchLimitMs = 3 * 60 * 1000;
const std::vector<std::string> kMaps{"Default", "Forest", "Lake", "Ruins"};
const std::vector<std::string> kCharacters{"Barbar", "Elf", "Knight", "Ninja", "Orc"};

// A fighter as the character loader makes one, without its sprite sheet.
template <class T> T& MakeFighter(TBaseMap& map, const std::string& name, int32_t x, int32_t y) {
    const TIniFile file("data\\" + name + ".plr");
    auto fighter = std::make_unique<T>();
    fighter->SetMap(&map);
    fighter->SetX(static_cast<float>(x));
    fighter->SetY(static_cast<float>(y));
    fighter->SetFrameBase(20);
    fighter->SetMaxFrame(4);
    fighter->SetFrameDelay(100);
    fighter->SetAction(kActionAttack);
    fighter->SetDirection(5);
    fighter->SetOffsetX(48);
    fighter->SetOffsetY(70);
    fighter->SetControls(0);
    fighter->SetMaxHealth(static_cast<float>(file.ReadInteger("Skills", "Health", 3) * 10));
    fighter->SetHealth(fighter->MaxHealth());
    fighter->Melee = file.ReadInteger("Fight", "Melee", 3);
    fighter->Missile = file.ReadInteger("Fight", "Missile", 3);
    fighter->Damage = file.ReadInteger("Fight", "Damage", 0);
    fighter->Armor = file.ReadInteger("Skills", "Armor", 1);
    fighter->SetSpeed(static_cast<float>(file.ReadInteger("Skills", "Speed", 5)) / 100.0f);
    fighter->Weapon = map.CreateWeapon(file.ReadString("Fight", "Weapon", "Knife"), 0, 0);
    fighter->AttackFrames = file.ReadInteger("Animation", "AttackFrames", 5);
    fighter->WalkFrames = file.ReadInteger("Animation", "WalkFrames", 8);
    fighter->DieFrames = file.ReadInteger("Animation", "DieFrames", 8);
    fighter->StandFrames = file.ReadInteger("Animation", "StandFrames", 1);
    for (size_t i = 0; i < 8; ++i) {
        const std::string d = std::to_string(i);
        fighter->AttackDirFrames[i] = file.ReadInteger("Animation", "Attack" + d, 0);
        fighter->WalkDirFrames[i] = file.ReadInteger("Animation", "Walk" + d, 0);
        fighter->StandDirFrames[i] = file.ReadInteger("Animation", "Stand" + d, 0);
        fighter->DieDirFrames[i] = file.ReadInteger("Animation", "Die" + d, 0);
    }
    if constexpr (std::is_same_v<T, TAIPlayer>) {
        fighter->AIName = file.ReadString("Detail", "AIName", "Path");
        fighter->LoadAI();
    }
    return map.Add(std::move(fighter));
}

bool DoneDying(const TBasePlayer& fighter) {
    return fighter.Action() == kActionDie && fighter.Frame() == fighter.MaxFrame();
}

// The simple opponent's keys (key set 0): straight at the other fighter, no route; fire held
// within close-combat reach and for 700 ms of every two seconds.
void SimpleKeys(const TBasePlayer& self, const TBasePlayer& other, uint32_t elapsedMs) {
    ClearKeyState();
    const int32_t dx = other.FootX() - self.FootX();
    const int32_t dy = other.FootY() - self.FootY();
    if (dy < -6) SetKeyState(273, true);
    if (dy > 6) SetKeyState(274, true);
    if (dx < -6) SetKeyState(276, true);
    if (dx > 6) SetKeyState(275, true);
    const bool inReach = std::abs(dx) < 48 && std::abs(dy) < 32;
    if (inReach || elapsedMs % 2000 < 700) SetKeyState(32, true);
}

// A foe that waits where it starts, striking only what comes within reach: the computer must
// find it.
void StandingKeys(const TBasePlayer& self, const TBasePlayer& other, uint32_t) {
    ClearKeyState();
    const int32_t dx = other.FootX() - self.FootX();
    const int32_t dy = other.FootY() - self.FootY();
    if (std::abs(dx) >= 48 || std::abs(dy) >= 32) return;
    if (dy < -6) SetKeyState(273, true);
    if (dy > 6) SetKeyState(274, true);
    if (dx < -6) SetKeyState(276, true);
    if (dx > 6) SetKeyState(275, true);
    SetKeyState(32, true);
}

using TKeys = void (*)(const TBasePlayer& self, const TBasePlayer& other, uint32_t elapsedMs);

struct TOutcome {
    bool AIWon = false;
    bool Decided = false;
    uint32_t GameMs = 0;
};

TOutcome PlayMatch(TManualClock& clock, const std::string& mapName, const std::string& character,
                   uint32_t seed, TKeys keys) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    SetRandomSource([&] { return uniform(generator); });
    ClearKeyState();
    TBaseMap map;
    map.LoadFromFile(mapName);
    // As the game places them: the AI first, and the start keys with their axes swapped.
    TAIPlayer& ai = MakeFighter<TAIPlayer>(map, character, map.StartY1, map.StartX1);
    TPlayer& simple = MakeFighter<TPlayer>(map, character, map.StartY0, map.StartX0);
    map.Players = {&simple, &ai};
    TOutcome outcome;
    const char* trace = std::getenv("DUELMARK_AI_TRACE");
    const uint32_t traceMs =
        trace == nullptr ? 0 : std::max(kUpdateMs, static_cast<uint32_t>(std::atoi(trace)) / kUpdateMs * kUpdateMs);
    // While tracing, what the script prints shows too.
    if (traceMs > 0)
        ai.GameAI->Script->Output = [](std::string_view text, std::string_view) {
            std::printf("  %.*s\n", static_cast<int>(text.size()), text.data());
        };
    for (uint32_t elapsed = 0; elapsed < kMatchLimitMs; elapsed += kUpdateMs) {
        clock.Advance(kUpdateMs);
        keys(simple, ai, elapsed);
        simple.Draw();
        ai.Draw();
        map.Update();
        outcome.GameMs = elapsed;
        if (traceMs > 0 && elapsed % traceMs == 0)
            std::printf("%s %s t=%.2f ai=(%d,%d) h=%.0f a=%d  simple=(%d,%d) h=%.0f\n", mapName.c_str(),
                        character.c_str(), elapsed / 1000.0, ai.FootX(), ai.FootY(), ai.Health(), ai.Action(),
                        simple.FootX(), simple.FootY(), simple.Health());
        if (DoneDying(simple) || DoneDying(ai)) {
            outcome.Decided = true;
            outcome.AIWon = DoneDying(simple) && !DoneDying(ai);
            break;
        }
    }
    SetRandomSource({});
    ClearKeyState();
    return outcome;
}

int MatchesPerCell() {
    const char* text = std::getenv("DUELMARK_AI_DUELS");
    const int n = text != nullptr ? std::atoi(text) : 1;
    return n > 0 ? n : 1;
}

// The win table of every character on every map against one kind of foe.
void PlayTable(TKeys keys) {
    TMediaOptions options;
    options.WorkingFolder = DUELMARK_GAME_DIR;
    TMediaEnvironment media(options);
    const int perCell = MatchesPerCell();
    int wins = 0;
    int total = 0;
    std::string table = "map      ";
    for (const std::string& character : kCharacters)
        table += " " + character;
    table += "\n";
    for (const std::string& mapName : kMaps) {
        if (const char* only = std::getenv("DUELMARK_AI_MAP"); only != nullptr && mapName != only) continue;
        char row[16];
        std::snprintf(row, sizeof row, "%-9s", mapName.c_str());
        table += row;
        for (const std::string& character : kCharacters) {
            if (const char* only = std::getenv("DUELMARK_AI_CHARACTER"); only != nullptr && character != only)
                continue;
            int cellWins = 0;
            uint32_t longestMs = 0;
            for (int match = 0; match < perCell; ++match) {
                const TOutcome outcome = PlayMatch(media.Clock, mapName, character, 1000u * total + 17u, keys);
                ++total;
                if (outcome.AIWon) ++cellWins;
                longestMs = std::max(longestMs, outcome.GameMs);
                EXPECT_TRUE(outcome.Decided) << mapName << " " << character << " match " << match;
            }
            wins += cellWins;
            char cell[48];
            std::snprintf(cell, sizeof cell, " %d/%d (%us)", cellWins, perCell, longestMs / 1000);
            table += cell;
            // A single sample match may be lost; a real table holds every cell to 80 %.
            if (perCell >= 5) {
                EXPECT_GE(cellWins * 10, perCell * 8) << mapName << " " << character;
            }
        }
        table += "\n";
    }
    std::printf("%s", table.c_str());
    EXPECT_GE(wins * 10, total * 8);
}

TEST(AIDuels, EveryCharacterBeatsASimpleOpponentOnEveryMap) {
    PlayTable(SimpleKeys);
}

TEST(AIDuels, EveryCharacterFindsAndBeatsAStandingOpponentOnEveryMap) {
    PlayTable(StandingKeys);
}

} // namespace
