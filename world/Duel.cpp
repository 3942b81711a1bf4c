// One headless match between two scripts, played on a clock of its own.
#include "world/Duel.h"

#include "media/BriskLogger.h"
#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/Random.h"
#include "script/BriskAI.h"
#include "script/BuiltinsMath.h"
#include "world/AIPlayers.h"
#include "world/FighterFile.h"
#include "world/Map.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace {

// Puts the clock back that was installed before the match, whatever ends it.
class TClockGuard {
public:
    explicit TClockGuard(TClock& clock) : Previous(SetClock(&clock)) {}
    ~TClockGuard() { SetClock(Previous); }
    TClockGuard(const TClockGuard&) = delete;
    TClockGuard& operator=(const TClockGuard&) = delete;

private:
    TClock* Previous;
};

bool DoneDying(const TBasePlayer& fighter) {
    return fighter.Action() == kActionDie && fighter.Frame() == fighter.MaxFrame();
}

// Makes the fighter and starts its script. What the script's compile reports is logged as in
// the game and kept in messages, so an error that ends the match can say what was wrong.
TAIPlayer& MakeFighter(TBaseMap& map, const TDuelFighter& wanted, int32_t id, int32_t level, int32_t x,
                       int32_t y, std::string& messages) {
    // Without its file a character would fight with every statistic at its default.
    const std::string characterFile = "data\\" + wanted.Character + ".plr";
    if (!std::filesystem::is_regular_file(ResolvePath(characterFile)))
        throw EWorldError("No character file " + characterFile);
    auto fighter = std::make_unique<TAIPlayer>();
    fighter->SetMap(&map);
    // As in the game: any hurt ends invisibility on both fighters.
    fighter->OnHurt = [&map](TBasePlayer&, int32_t) {
        for (TBasePlayer* each : map.Players)
            if (each != nullptr) each->ResetAbility(kInvisibility, false);
    };
    fighter->SetX(static_cast<float>(x));
    fighter->SetY(static_cast<float>(y));
    ReadFighterFile(*fighter, wanted.Character, map);
    fighter->GameAI->PlayerID = id;
    fighter->GameAI->Level = level;
    fighter->GameAI->Script->Log = [&messages](std::string_view message, std::string_view location) {
        Logger->LogError(message, location);
        messages += "\n  " + std::string(message);
    };
    try {
        if (wanted.ScriptFile.empty()) {
            fighter->LoadAI();
        } else {
            fighter->GameAI->LoadAlone(wanted.ScriptFile);
            fighter->GameAI->Player = fighter.get();
        }
    } catch (const std::exception& error) {
        throw EWorldError(error.what() + messages);
    }
    return map.Add(std::move(fighter));
}

void Play(const TDuelOptions& options, const std::array<TDuelFighter, 2>& fighters, TManualClock& clock,
          TDuelResult& result) {
    const std::string mapFile = MapFileName(options.MapName);
    if (!std::filesystem::is_regular_file(ResolvePath(mapFile))) throw EWorldError("No map file " + mapFile);
    // Outlives the fighters, whose scripts write to it.
    std::string messages;
    TBaseMap map;
    map.LoadFromFile(options.MapName);
    // The game makes player 2 first; a map file's StartY keys are horizontal coordinates.
    TAIPlayer& second = MakeFighter(map, fighters[1], 1, options.Level, map.StartY1, map.StartX1, messages);
    messages.clear();
    TAIPlayer& first = MakeFighter(map, fighters[0], 0, options.Level, map.StartY0, map.StartX0, messages);
    map.Players = {&first, &second};
    const std::array<TAIPlayer*, 2> both{&first, &second};
    const uint32_t step = options.StepMs > 0 ? options.StepMs : 1;
    for (uint32_t elapsed = 0; elapsed < options.LimitMs; elapsed += step) {
        clock.Advance(step);
        // Frames advance as the fighters are drawn, so a match draws them as the game does.
        for (TAIPlayer* fighter : both)
            fighter->Draw();
        map.Update();
        result.GameMs = elapsed + step;
        const bool firstDown = DoneDying(first);
        const bool secondDown = DoneDying(second);
        if (firstDown || secondDown) {
            // Both down in one update: player 1 wins, as the game's end test decides.
            result.Winner = firstDown && !secondDown ? 1 : 0;
            break;
        }
    }
    for (size_t i = 0; i < both.size(); ++i) {
        result.Health[i] = both[i]->Health();
        result.MaxHealth[i] = both[i]->MaxHealth();
    }
}

} // namespace

TDuelResult PlayDuel(const TDuelOptions& options, const std::array<TDuelFighter, 2>& fighters) {
    TManualClock clock;
    const TClockGuard guard(clock);
    // The game's hit and charge rolls, and the scripts' own Random, both start from the seed.
    SeedRandom(options.Seed);
    Builtin::SetRandSeed(options.Seed);
    TDuelResult result;
    try {
        Play(options, fighters, clock, result);
    } catch (const std::exception& error) {
        result.Winner = -1;
        result.Error = error.what();
    }
    return result;
}
