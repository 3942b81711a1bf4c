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

private:
    // What the host routine of that name does for this fighter's script.
    TEvalHandler Handler(std::string_view routine);
    void SetKey(int32_t id, bool held, std::string_view routine);
    // Name, X, Y, CX, CY, Missile, Melee from fighter; zeros and an empty name without one.
    static void FillPlayerInfo(const TVarInfo& info, const TBasePlayer* fighter);
    // Returns the search's work in script steps (TBaseMap::FindPath).
    int32_t FillPath(const TVarInfo& info, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);

    // Reused by every GetPath, so the search allocates once per script.
    std::unique_ptr<TPath> HostPath;
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
