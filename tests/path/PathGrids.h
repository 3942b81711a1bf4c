// Grids for the route tests, drawn as text: "." walkable, "#" blocked, "S" the start and "G"
// the goal (both walkable), "g" a goal on a blocked square; without a goal the start is the goal.
#pragma once

#include "path/GamePath.h"

#include <ostream>
#include <string>
#include <vector>

namespace pathtest {

struct TDrawnGrid {
    TPathFinding Finder;
    TPathStep Start;
    TPathStep Goal;
};

inline bool HasGoal(const std::vector<std::string>& rows) {
    for (const std::string& row : rows)
        if (row.find_first_of("Gg") != std::string::npos) return true;
    return false;
}

inline std::unique_ptr<TDrawnGrid> DrawGrid(const std::vector<std::string>& rows) {
    auto grid = std::make_unique<TDrawnGrid>(TDrawnGrid{
        TPathFinding(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size())), {}, {}});
    for (int32_t y = 0; y < static_cast<int32_t>(rows.size()); ++y)
        for (int32_t x = 0; x < static_cast<int32_t>(rows[y].size()); ++x) {
            const char c = rows[y][x];
            grid->Finder.Walkable.Set(x, y, c == '.' || c == 'S' || c == 'G');
            if (c == 'S') grid->Start = {x, y};
            if (c == 'G' || c == 'g') grid->Goal = {x, y};
        }
    if (!HasGoal(rows)) grid->Goal = grid->Start;
    return grid;
}

inline std::vector<TPathStep> Steps(const TPath& path) {
    std::vector<TPathStep> steps;
    for (int32_t i = 0; i < path.Count(); ++i)
        steps.push_back(path.StepAt(i));
    return steps;
}

inline std::vector<TPathStep> Route(TDrawnGrid& grid) {
    std::unique_ptr<TPath> path;
    grid.Finder.Search(grid.Start.X, grid.Start.Y, grid.Goal.X, grid.Goal.Y, path);
    return Steps(*path);
}

} // namespace pathtest

inline std::ostream& operator<<(std::ostream& out, const TPathStep& step) {
    return out << "(" << step.X << "," << step.Y << ")";
}
