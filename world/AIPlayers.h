// The script-driven fighter and the host of its script: the six virtual buttons the script
// holds, the records and routines scripts see, loading "data\default.ai" joined with the
// fighter's own AI file, and the update that runs the script before the fighter moves.
#pragma once

#include "script/HostUnit.h"
#include "world/Players.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TBriskAI;
class TAIPlayer;
class TPath;
class TVarInfo;

// Virtual buttons 1..15 a script presses with KeyDown and releases with KeyUp. Only 1..6 are
// read: up, down, left, right, fire, second fire.
constexpr int32_t kAIButtons = 15;
constexpr int32_t kButtonUp = 1;
constexpr int32_t kButtonDown = 2;
constexpr int32_t kButtonLeft = 3;
constexpr int32_t kButtonRight = 4;
constexpr int32_t kButtonFire = 5;
constexpr int32_t kButtonSecondFire = 6;

// The computer opponent's levels, as GetAILevel answers them. They change how the scripts
// play (reaction, aim, items, the second weapon), never a fighter's statistics.
constexpr int32_t kAILevelEasy = 0;
constexpr int32_t kAILevelNormal = 1;
constexpr int32_t kAILevelHard = 2;
// "Easy", "Normal" or "Hard"; a number outside the levels reads as Normal.
[[nodiscard]] std::string_view AILevelName(int32_t level);
// The level a name gives, without regard to case; Normal for anything else.
[[nodiscard]] int32_t AILevelFromName(std::string_view name);

// The shared part of every AI script, put in front of the fighter's own file.
inline constexpr std::string_view kSharedAIFile = "data\\default.ai";

class TGameAI {
public:
    // Script := a new runner; every button released.
    TGameAI();
    ~TGameAI();
    TGameAI(const TGameAI&) = delete;
    TGameAI& operator=(const TGameAI&) = delete;

    // Joins "data\default.ai" and fileName (in that order) into the script, declares the
    // records and routines, compiles and calls "Init". A missing file raises EWorldError
    // "Could not open AI script <file>"; a script that does not compile logs its messages and
    // then fails on "Init" with EScriptError, as does any run-time error in "Init"; its text
    // ends with "in "Init" of <file>".
    void Load(std::string_view fileName);
    // The same for a script that stands alone: fileName only, without the shared file (the
    // duel runner's Character:FILE).
    void LoadAlone(std::string_view fileName);
    // Calls the script's "Execute". A run-time error (the step limit included) is raised on as
    // EScriptError whose text ends with "in "Execute" of <file>".
    void Execute();
    [[nodiscard]] bool KeyHeld(int32_t id) const;

    std::unique_ptr<TBriskAI> Script;
    TBaseMap* Map = nullptr;     // the field the fighter stands on; borrowed
    TAIPlayer* Player = nullptr; // the fighter the script drives; attached after "Init"
    // Indexed by button number 1..15; entry 0 is never used.
    std::array<bool, kAIButtons + 1> Keys{};
    // The fighter's own AI file, as Load was given it; named in log lines.
    std::string FileName;
    // What GetPlayerID answers: 1 in the game (the computer is player 2); the duel runner
    // gives each fighter its own index.
    int32_t PlayerID = 1;
    // What GetAILevel answers.
    int32_t Level = kAILevelNormal;

private:
    // Declares the host, compiles the script text and calls "Init".
    void Start();
    // The new routines that let a script see the field (GameAISight.cpp); an empty handler
    // for any other name.
    TEvalHandler SightHandler(std::string_view routine);
    // The fighter the script asks about: 0 or 1, else a run-time error naming routine.
    [[nodiscard]] const TBasePlayer* Fighter(int32_t id, std::string_view routine) const;
    // Whether fighter is the foe and hidden by invisibility: the script is not shown it.
    [[nodiscard]] bool HiddenFoe(const TBasePlayer* fighter) const;
    // What the host routine of that name does for this fighter's script.
    TEvalHandler Handler(std::string_view routine);
    void SetKey(int32_t id, bool held, std::string_view routine);
    // Name, X, Y, CX, CY, Missile, Melee from fighter; zeros and an empty name without one.
    // A hidden foe's X, Y, CX and CY read -1.
    void FillPlayerInfo(const TVarInfo& info, const TBasePlayer* fighter) const;
    // Returns the search's work in script steps (TBaseMap::FindPath).
    int32_t FillPath(const TVarInfo& info, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);

    // Reused by every GetPath, so the search allocates once per script.
    std::unique_ptr<TPath> HostPath;
    // The pickups lying on the field, gathered by GetItemCount for the GetItem calls after it.
    std::vector<const TEquipment*> FieldItems;
};

class TAIPlayer : public TBasePlayer {
public:
    TAIPlayer();
    ~TAIPlayer() override;

    void SetMap(TBaseMap* map) override;
    // The script first, then strike, action and facing from its buttons, ability expiry and
    // the walking step; water stops the fighter at its edge instead of drowning it.
    void Move() override;
    [[nodiscard]] bool ScriptDriven() const override { return true; }

    // Loads "data\" + AIName + ".ai" (with the shared file), runs "Init", then attaches this
    // fighter to the script.
    void LoadAI();
    [[nodiscard]] bool KeyHeld(int32_t id) const { return GameAI->KeyHeld(id); }

    std::unique_ptr<TGameAI> GameAI;
    std::string AIName = "Path"; // base name of the fighter's AI file
};
