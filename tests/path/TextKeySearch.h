// A literal, slow route search for comparison: the open list is a sorted set of text keys
// "ffffffff:x,y" and squares are read back from the text, the way the search was first
// written. The fast search must give exactly its results.
#pragma once

#include "path/GamePath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace pathtest {

inline std::string TextKey(int32_t estimate, int32_t x, int32_t y) {
    char text[48];
    std::snprintf(text, sizeof text, "%08d:%d,%d", estimate, x, y);
    return text;
}

// Returns the steps of the route, or `unchanged` (with its flag) when the search gave up
// without touching the path.
struct TTextKeyResult {
    bool Touched = false;
    std::vector<TPathStep> Steps;
};

inline TTextKeyResult TextKeySearch(const TWalkableGrid& walkable, int32_t fromX, int32_t fromY, int32_t toX,
                                    int32_t toY) {
    static constexpr int32_t dxs[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    static constexpr int32_t dys[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
    static constexpr int32_t steps[8] = {14, 10, 14, 10, 10, 14, 10, 14};
    const int32_t columns = walkable.Columns(), rows = walkable.Rows();
    std::vector<int32_t> costs(static_cast<size_t>(columns * rows));
    for (int32_t x = 0; x < columns; ++x)
        for (int32_t y = 0; y < rows; ++y)
            costs[x * rows + y] = walkable.IsWalkable(x, y) ? 1 : 0;
    auto cost = [&](int32_t x, int32_t y) {
        return x < 0 || y < 0 || x >= columns || y >= rows ? 0 : costs[x * rows + y];
    };
    auto diagonalAllowed = [&](int32_t x, int32_t y, int i) {
        return dxs[i] == 0 || dys[i] == 0 || (cost(x + dxs[i], y) != 0 && cost(x, y + dys[i]) != 0);
    };
    std::set<std::string> open;
    TTextKeyResult result;
    bool found = false;
    auto expand = [&](int32_t x, int32_t y) {
        const int32_t g = x == fromX && y == fromY ? 0 : costs[x * rows + y];
        for (int i = 0; i < 8; ++i) {
            const int32_t nx = x + dxs[i], ny = y + dys[i];
            if (!diagonalAllowed(x, y, i)) continue;
            if (nx == toX && ny == toY) {
                found = true;
                return;
            }
            if (nx >= 0 && nx < columns && ny >= 0 && ny < rows && costs[nx * rows + ny] == 1) {
                costs[nx * rows + ny] = g + steps[i];
                open.insert(TextKey(g + steps[i] + 5 * (std::abs(nx - toX) + std::abs(ny - toY)), nx, ny));
            }
        }
    };
    for (int expansions = 0; !found && expansions < 10000; ++expansions) {
        if (expansions == 0) {
            expand(fromX, fromY);
            continue;
        }
        if (open.empty()) break;
        const std::string key = *open.begin();
        open.erase(open.begin());
        const size_t colon = key.find(':'), comma = key.find(',');
        expand(std::stoi(key.substr(colon + 1, comma - colon - 1)), std::stoi(key.substr(comma + 1)));
    }
    if (!found) return result;
    result.Touched = true;
    std::vector<TPathStep>& path = result.Steps;
    path.insert(path.begin(), TPathStep{toX, toY});
    costs[fromX * rows + fromY] = 5;
    int32_t cx = toX, cy = toY;
    int previous = -1;
    while (cx != fromX || cy != fromY) {
        int chosen = -1;
        for (int i = 0; i < 8; ++i) {
            const int32_t nx = cx + dxs[i], ny = cy + dys[i];
            if (!diagonalAllowed(cx, cy, i) || nx < 0 || ny < 0 || nx >= columns || ny >= rows) continue;
            const int32_t c = costs[nx * rows + ny];
            if (c > 1 && c < 99999 && (chosen < 0 || c < cost(cx + dxs[chosen], cy + dys[chosen])))
                chosen = i;
        }
        if (chosen < 0) {
            path.clear();
            return result;
        }
        cx += dxs[chosen];
        cy += dys[chosen];
        if (chosen == previous)
            path.front() = TPathStep{cx, cy};
        else
            path.insert(path.begin(), TPathStep{cx, cy});
        if (path.size() >= 250) break;
        previous = chosen;
    }
    if (path.size() >= 250) path.clear();
    return result;
}

} // namespace pathtest
