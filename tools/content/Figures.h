// The five fighters: body plans, gear and poses, and their 80 by 80 sprite sheets with the
// frame tables the character files name.
#pragma once

#include "Canvas.h"

#include <array>
#include <string>
#include <vector>

namespace content {

// Cell layout shared by every character sheet: per facing direction an attack, a walk, a
// stand and a dying run, never crossing the two portrait cells the status panel draws.
struct TSheetLayout {
    static constexpr int kColumns = 10;
    static constexpr int kAttackCells = 6; // AttackFrames 5: frames 0..5, the strike on frame 2
    static constexpr int kWalkCells = 8;
    static constexpr int kStandCells = 1;
    static constexpr int kDieCells = 6;
    static constexpr int kPortraitCell = 40;
    static constexpr int kDeadPortraitCell = 135;
    std::array<int, 8> Attack{}, Walk{}, Stand{}, Die{};
    int CellCount = 0;
};

[[nodiscard]] TSheetLayout CharacterLayout();

struct TCharacterArt {
    std::string Name;
    TCanvas Sheet;    // 800 pixels wide, rows of 80
    TCanvas Portrait; // the setup screen's picture
};

[[nodiscard]] std::vector<std::string> CharacterNames();
[[nodiscard]] TCharacterArt DrawCharacter(const std::string& name);

// The key of every character sheet and portrait.
inline constexpr TKey kFigureKey{181, 101, 181};

} // namespace content
